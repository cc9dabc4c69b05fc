// Text where it meets a control. The program's texts are single-byte in a character
// set; controls get them as UTF-16 converted with that set's code page, and back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "core/strings/ui_keys.h"

struct WordListDescriptor;

// The code page of a character set; the special face's set reads as Western.
UINT CodePageOf(int charset);
std::wstring WideFromCharset(const char* text, int charset);
std::string CharsetFromWide(const wchar_t* text, int charset);

// An edit field's text in a character set (the field's language's), cut to maxChars, and back.
std::string FieldText(HWND field, int charset, std::size_t maxChars = std::string::npos);
void SetFieldText(HWND field, const std::string& text, int charset);

// An interface text, in the interface's character set.
std::wstring UiWide(UiKey key);
// An interface text that strings files may lack (UiTextOr), in the interface's character set.
std::wstring UiWideOr(const char* key, const char* builtIn);
// A language name of the catalogue: the user typed it in the interface's language, so it
// reads in the interface's character set wherever it shows, whatever the pair's own set.
std::wstring NameWide(const char* languageName);
// A pair as every window names it, "dutch - english".
std::wstring PairNameWide(const WordListDescriptor& pair);
// A control's text (or a window's caption, with id 0) from the interface texts.
void SetUiText(HWND window, int id, UiKey key);
// A message box with texts in the interface's character set; the button pressed.
int UiMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT style);
// The same for a text already made of pieces in their own encodings (a list name is the
// file system's, not the interface's).
int UiMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style);
// The same with a text that holds letters of any set (a letter a word list cannot hold).
int UiMessageBox(HWND owner, const std::wstring& text, const std::string& caption, UINT style);

// Text in a code page only when every character has a place of its own there: no best fit
// ("l" for "\u0142"), no default character. Otherwise false, and `missing` (when given)
// gets the first character that has none.
bool ExactFromWide(const wchar_t* text, UINT codePage, std::string& out, std::wstring* missing = nullptr);

// A name for the file system, in the code page the ...A file functions use. False when a
// character has no place in that code page (it would land on disk as another one).
bool FileNameFromWide(const wchar_t* text, std::string& name);
// A name from the file system (a practice list's) as it reads.
std::wstring FileNameWide(const std::string& name);
// An interface text with each "%s" in turn taken by the next of `parts`, or each "%d" by
// the next of `counts`; a text with fewer marks takes fewer.
std::wstring WithTexts(std::wstring text, std::initializer_list<std::wstring> parts);
std::wstring WithCounts(std::wstring text, std::initializer_list<std::int64_t> counts);
// A day as every window names it, "9 Nov 2026" (or "9 Nov" without the year), in the
// user's language, and with its time of day "9 Nov 2026 14:25:03" when asked.
std::wstring DayWide(const SYSTEMTIME& day, bool withYear = true, bool withTime = false);
// A measure as the review windows give it, with four decimals ("0.3450").
std::wstring DecimalWide(double value);
