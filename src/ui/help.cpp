#include "ui/help.h"

#include <windows.h>

#include <shellapi.h>

#include "core/strings/ui_strings.h"

std::optional<std::string> HelpTarget(const char* keyword) {
    char full[MAX_PATH];
    // The result is the length needed when the buffer is too small, and the buffer is
    // then left unterminated.
    const DWORD n = GetFullPathNameA(Ui(UiKey::FilenameHelp), sizeof full, full, nullptr);
    if (n == 0 || n >= sizeof full) return std::nullopt;
    if (!keyword || !*keyword) return std::string(full, n);
    std::string url = "file:///" + std::string(full, n) + "#" + keyword;
    for (char& c : url)
        if (c == '\\') c = '/';
    return url;
}

void OpenHelp(const char* keyword) {
    if (const std::optional<std::string> target = HelpTarget(keyword))
        ShellExecuteA(nullptr, "open", target->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
