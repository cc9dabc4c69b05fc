// The program's windows made in-process, for tests that work them by messages, and what
// their tests share.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/session/session.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "resource.h"
#include "test_support.h"
#include "ui/app_state.h"
#include "ui/gdi.h"
#include "ui/secondary_window.h"
#include "ui/ui_text.h"

// A working directory with a catalogue and an empty word file per pair, win.ini emptied,
// the store open on the selected pair and the main window made, as start-up makes it.
class UiTest : public testing::Test {
protected:
    void Start(const std::string& catalogue, const std::map<std::string, std::string>& strings = {});
    // Start on english alone: the pair english into dutch current over `words`, and the
    // practice list `list` (when named) holding `listed`.
    void StartEnglish(const std::vector<WordRecord>& words, const std::map<std::string, std::string>& strings = {},
                      const std::string& list = "", const std::vector<WordRecord>& listed = {});
    // Opens a secondary window as its command does, into `secondary`; TearDown destroys it if it is still up.
    HWND OpenWindow(HWND (*open)());
    void TearDown() override;
    WorkDir dir;
    HWND secondary = nullptr;
};

// A 32-bit top-down bitmap selected into a memory context, read back by its pixels.
class Canvas {
public:
    Canvas(int width, int height);
    HDC dc() const { return dc_.get(); }
    std::vector<std::uint32_t> Pixels() const { return {pixels_, pixels_ + count_}; }

private:
    MemoryDc dc_;
    std::uint32_t* pixels_ = nullptr;  // set when the bitmap is made, after this
    std::size_t count_;
    Bitmap bitmap_;
    SelectGuard select_;
};

// A key held on `target`: its first key-down, `repeats` auto-repeated ones, then its release.
void HoldKey(HWND target, WPARAM key, int repeats = 0);

// Runs `work` from a timer of this thread, which goes on inside modal loops (menus,
// dialogs, message boxes) that `open` starts.
void WhileModal(const std::function<void()>& work, const std::function<void()>& open);

std::wstring WideText(HWND window);
// A menu's items as they read: each text and id, "*" after a checked one; "-" for a separator.
std::vector<std::wstring> MenuItems(HMENU menu);

// Writes morphology\english.* into the working directory: "went" is "go" by the table of
// forms, a plural's -s comes off by Hunspell's rule. The language loaded before (another
// test's) is let go, so these files are read.
void WriteEnglishMorphology();

// Dispatches this thread's messages (timers among them) until `done`; false when it is not
// done within `timeoutMs`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);

// A message box shown while BoxesShownWhile ran.
struct ShownBox {
    HWND owner;
    std::wstring caption, text;
};
// Runs `work`; every message box this thread shows meanwhile is noted and answered with `button`.
std::vector<ShownBox> BoxesShownWhile(const std::function<void()>& work, int button = IDOK);
// The boxes' texts (or captions), each "(not owned)" when `owner` does not own it.
std::vector<std::wstring> OwnedBoxes(const std::vector<ShownBox>& boxes, HWND owner, bool captions = false);
