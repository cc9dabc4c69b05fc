// The line that says which record stands for a word the word file lacks ("ging → gehen"):
// the reading aid and the search window show it beside their rows.
#pragma once

#include <windows.h>

#include <string>

#include "core/morphology/word_lookup.h"

// An empty label in the first language's font; a click on it comes to the parent as
// STN_CLICKED.
HWND CreateBaseFormLabel(HWND parent, int id, int x, int y, int width, int height, HFONT font);
// "ging → gehen", a compound's part marked as such, for a word of `charset` found by another
// form; empty when it was found as it is, or not at all.
std::wstring BaseFormText(const std::string& word, const LookupResult& found, int charset);
// Whether `found` is a record of another form of the word.
inline bool FoundByOtherForm(const LookupResult& found) { return found.how == Match::Base || found.how == Match::Part; }
// Sets the label's text, only when it changes: a keystroke that leaves it should not
// repaint it.
void ShowBaseForm(HWND label, const std::wstring& text);
// The label's colours, for its window's WM_CTLCOLORSTATIC: its own text colour on the
// window's grey.
HBRUSH BaseFormColours(HWND window, HDC dc, HWND label);
