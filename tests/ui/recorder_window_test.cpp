// The recorder worked in-process, its MCI commands answered by the test: held keys, takes
// that fail at each step, and a place that cannot be stored.

#include "ui/recorder_window.h"

#include <mmsystem.h>

#include <optional>

#include "ui/ui_support.h"

namespace {

// The one command word that fails. A save writes the file it names, as the device does,
// and leaves it half written when it fails.
struct FakeMci {
    std::string failing;
} mci;

DWORD FakeSend(const char* command) {
    const std::string c = command;
    const bool fails = !mci.failing.empty() && c.rfind(mci.failing + " ", 0) == 0;
    const std::string save = "save mysound \"";
    // A wave's 44-byte header, and sound after it unless nothing was heard.
    const std::string wave = std::string(44, 'h') + (mci.failing == "silent" ? "" : "new");
    if (c.rfind(save, 0) == 0) WriteFile(c.substr(save.size(), c.size() - save.size() - 1), fails ? "half" : wave);
    return fails ? MCIERR_DEVICE_OPEN : 0;
}

// The pair english into dutch over five words; the recorder opens at a stored place.
class RecorderWindowTest : public UiTest {
protected:
    void SetUp() override {
        StartEnglish({Record("apple"), Record("bird"), Record("cat"), Record("dog"), Record("egg")},
                     {{"RecordPlaceNotSaved", "place lost"}});
        SetRecorderMciSender(FakeSend);
    }
    void Open(int position) {
        WriteLastRecord("english", position);
        mci = {};
        ASSERT_NE(recorder = OpenWindow(OpenRecorderWindow), nullptr);
        start = GetDlgItem(recorder, 26);
    }
    void TearDown() override {
        SetRecorderMciSender(nullptr);
        UiTest::TearDown();
    }
    void Press(WORD key, int repeats = 0) { HoldKey(start, key, repeats); }
    std::wstring Word() { return WideText(GetDlgItem(recorder, 45)); }
    bool Recording() { return !IsWindowEnabled(GetDlgItem(recorder, 27)); }
    HWND recorder = nullptr, start = nullptr;
};

}  // namespace

// The recorder opens at its stored place, past the last word too; a held key acts once.
TEST_F(RecorderWindowTest, ItOpensAtItsPlaceAndAHeldKeyActsOnce) {
    const std::wstring end = UiWide(UiKey::RecordEndOfList);
    const struct {
        int place;
        std::wstring opened;
        WORD key;
        const wchar_t* word;
        bool recording;
    } cases[] = {{2, L"cat", VK_SPACE, L"cat", true},
                 {2, L"cat", VK_RETURN, L"dog", false},
                 {2, L"cat", VK_BACK, L"bird", false},
                 {5, end, VK_BACK, L"egg", false}};
    for (const auto& c : cases) {
        Open(c.place);
        EXPECT_EQ(Word(), c.opened) << c.place;
        Press(c.key, 2);
        EXPECT_EQ(Word(), c.word) << c.key;
        EXPECT_EQ(Recording(), c.recording) << c.key;
        DestroyWindow(recorder);
    }
    for (const auto& [path, bytes] : FilesHere()) EXPECT_NE(path.rfind("sound/", 0), 0u) << path;  // nothing recorded
}

// A take that fails to start or to be saved whole is told in boxes the recorder owns, and
// leaves the word shown as it was. (Which MCI commands go out, and which recording is kept,
// are the core's sequence.)
TEST_F(RecorderWindowTest, OnlyATakeSavedWholeReplacesTheRecordingAndMovesOn) {
    const struct {
        bool stopping;        // the fault hits the stop of a take begun cleanly, not its start
        const char* failing;  // the MCI step that fails, or "silent": the take holds no sound
        int failingFileStep;  // or the file step (the move into place)
        const wchar_t* wordAfter;
        std::vector<std::wstring> boxes;
    } cases[] = {
        {false, "open", 0, L"apple", {L"MCI Error", L"Error"}},
        {false, "record", 0, L"apple", {L"MCI Error"}},
        {true, "", 0, L"bird", {}},
        {true, "silent", 0, L"apple", {UiWide(UiKey::RecordCaption)}},
        {true, "save", 0, L"apple", {L"MCI Error"}},
        {true, "", 1, L"apple", {UiWide(UiKey::RecordCaption)}},
    };
    for (const auto& c : cases) {
        Open(0);
        if (c.stopping) Press(VK_SPACE);
        mci.failing = c.failing;
        std::optional<FailingFileStep> fail;
        if (c.failingFileStep) fail.emplace(c.failingFileStep);
        const std::vector<ShownBox> boxes = BoxesShownWhile([&] { Press(VK_SPACE); });
        fail.reset();
        EXPECT_EQ(OwnedBoxes(boxes, recorder, true), c.boxes) << c.failing << c.failingFileStep;
        EXPECT_EQ(Word(), c.wordAfter) << c.failing << c.failingFileStep;
        EXPECT_FALSE(Recording());
        DestroyWindow(recorder);
    }
}

TEST_F(RecorderWindowTest, APlaceThatCannotBeStoredIsReportedOnClosing) {
    Open(0);
    Press(VK_RETURN);
    FailingFileStep fail(1);
    EXPECT_EQ(OwnedBoxes(BoxesShownWhile([&] { SendMessageA(recorder, WM_CLOSE, 0, 0); }), recorder),
              std::vector<std::wstring>{L"place lost"});
    EXPECT_FALSE(IsWindow(recorder));
}
