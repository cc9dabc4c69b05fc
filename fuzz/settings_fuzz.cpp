// win.ini as the settings read and write it in the native build: whatever the file holds,
// the settings written at exit read back as they were, and the texts stay within their
// lengths. Input: the file.
#include <cstdlib>

#include "core/settings/settings.h"
#include "fuzz_support.h"

namespace {

void ReadAll() {
    ReadStartupSettings();
    ReadWindowSettings();
    ReadPracticeListSettings();
}

bool Same(const WindowPosition& a, const WindowPosition& b) { return a.left == b.left && a.top == b.top; }

// The settings written at exit, compared.
bool SameWritten(const SettingsValues& a, const SettingsValues& b) {
    return a.searchwindowsize == b.searchwindowsize && a.searchwindowminimal == b.searchwindowminimal &&
           a.PracticeMode == b.PracticeMode && a.PracticeSound == b.PracticeSound && a.StayOnTop == b.StayOnTop &&
           Same(a.mainWindow, b.mainWindow) && Same(a.practiseWindow, b.practiseWindow) &&
           Same(a.makelistWindow, b.makelistWindow) && Same(a.addWindow, b.addWindow) &&
           Same(a.translateWindow, b.translateWindow) && Same(a.searchWindow, b.searchWindow) &&
           a.ClipSearch == b.ClipSearch && a.AddNewWordsToList == b.AddNewWordsToList &&
           a.PracticeList == b.PracticeList && a.ListID == b.ListID;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EnterScratchWorkingDirectory();
    static const bool ready = (setenv("DICT_WININI", "win.ini", 1), true);
    (void)ready;
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    PutFile("win.ini", file);

    Settings = SettingsValues{};
    ReadAll();
    const SettingsValues read = Settings;
    const std::string detail = Shown(file);
    FUZZ_CHECK(read.languagefont.size() <= 48 && read.guifont.size() <= 48, detail);
    FUZZ_CHECK(read.PracticeList.size() <= 148, detail);

    WriteSettings(read.mainWindow);
    const std::string written = FileBytes("win.ini");
    Settings = SettingsValues{};
    ReadAll();
    FUZZ_CHECK(SameWritten(read, Settings), detail + "\nwritten: " + Shown(written));
    // Writing the same settings again leaves the file as it is.
    WriteSettings(read.mainWindow);
    FUZZ_CHECK(FileBytes("win.ini") == written, detail + "\nwritten: " + Shown(written));
    return 0;
}
