// What the practice windows share beyond their layout: the first part of their state, its
// start and end, and for the two that take typed answers, their controls, menu, keys,
// painting and commands.
#pragma once

#include <windows.h>

#include <string>

#include "core/settings/settings.h"
#include "resource.h"
#include "ui/fonts.h"
#include "ui/practice_layout.h"
#include "ui/secondary_window.h"
#include "ui/top_level_window.h"

struct PracticeWindowState {
    HWND window;
    CentredLayout layout;
    LanguageFonts fonts;
};

// On WM_CREATE: the window, the pair's fonts and a layout with nothing in it yet.
void StartPracticeWindow(PracticeWindowState& state, HWND hwnd);
// On WM_DESTROY: the place the next practice window opens at, the state as new, the main
// window back.
template <class State>
void EndPracticeWindow(State& state, HWND hwnd) {
    Settings.practiseWindow = NormalPosition(hwnd);
    SecondaryWindowClosed(state);
}

HWND AddProgressBar(PracticeWindowState& state, HWND hwnd, int id, int x, int y);
HWND AddFrame(PracticeWindowState& state, HWND hwnd, int id, int height, int x, int y);

// The answer field's notification codes for a checked answer: Return, and Ctrl+Return
// where the window rates a right answer Easy.
constexpr UINT kAnswerChecked = VK_RETURN, kAnswerCheckedEasy = VK_CONTROL;

struct AnsweringWindowState : PracticeWindowState {
    HWND question, answer, progress, show;
};

// The palette's and the sounds' menus.
HMENU AnsweringMenuBar();
// The word asked, the answer field, the progress bar and the frame at the lower left.
void AddAnswerFields(AnsweringWindowState& state, HWND hwnd);
// A line of text in the frame.
HWND AddFrameText(AnsweringWindowState& state, HWND hwnd, const std::wstring& text, int x, int y,
                  int id = IDC_PRACTICE_TEXT);
// The Show and Quit buttons.
void AddAnswerButtons(AnsweringWindowState& state, HWND hwnd);
// Once the controls stand: the window at its stored place, the keys of the answer field
// (Ctrl+Return told apart where `easyKey`), the focus and the palette on it.
void ReadyAnswerField(AnsweringWindowState& state, HWND hwnd, bool easyKey);

std::string TypedAnswer(const AnsweringWindowState& state);
void PlayPracticeSound(const char* sound);
// The translation in the answer field with the caret at its end, the skip's sound, and
// Show no longer offered.
void ShowTranslationAsAnswer(const AnsweringWindowState& state, const char* translation);

void PaintAnsweringWindow(HWND hwnd, const AnsweringWindowState& state);
// The menus' commands and Quit; false for the window's own commands.
bool OnAnsweringCommand(HWND hwnd, int id, UINT code);
// On WM_DESTROY, before the window's own closing work.
void LeaveAnsweringWindow();
