// The help file, opened in the user's browser at its contents or at a keyword's section.
#pragma once

#include <optional>
#include <string>

// What the shell is asked to open: the help file's full path, or a file URL with the
// keyword as its fragment. None when the full path does not fit a Windows path.
std::optional<std::string> HelpTarget(const char* keyword);
void OpenHelp(const char* keyword);
