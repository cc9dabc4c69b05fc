// The program's windows made in-process, for tests that work them by messages.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "test_support.h"

// A working directory with a catalogue and an empty word file per pair, win.ini emptied,
// the store open on the selected pair and the main window made, as start-up makes it.
class UiTest : public testing::Test {
protected:
    void Start(const std::string& catalogue, const std::map<std::string, std::string>& strings = {});
    void TearDown() override;
    WorkDir dir;
};

// Runs `work` from a timer of this thread, which goes on inside modal loops (menus,
// dialogs, message boxes) that `open` starts.
void WhileModal(const std::function<void()>& work, const std::function<void()>& open);

// The top-level windows of a class that this thread has made.
int ThreadWindows(const char* className);
std::wstring WideText(HWND window);

// A message box shown while BoxesShownWhile ran.
struct ShownBox {
    HWND owner;
    std::wstring caption, text;
};
// Runs `work`; every message box this thread shows meanwhile is noted and answered with `button`.
std::vector<ShownBox> BoxesShownWhile(const std::function<void()>& work, int button = IDOK);
