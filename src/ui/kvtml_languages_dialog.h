// The dialog that picks a KVTML file's two languages (KVTMLDIALOG).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

// Asks which of a file's languages hold the current pair's words and which their
// translations; `first` and `second` are shown chosen (-1: neither). OK needs two different
// ones. The positions chosen, or none when the user cancelled.
std::optional<std::pair<int, int>> ChooseKvtmlLanguages(HWND owner, const std::vector<std::wstring>& languages,
                                                        int first, int second);
