#include "core/text/file_names.h"

#include "core/text/fixed_text.h"

namespace {

bool IsDeviceName(std::string_view stem) {
    static constexpr std::string_view kDevices[] = {
        "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",   "COM8",
        "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9", "CONIN$", "CONOUT$"};
    for (std::string_view device : kDevices)
        if (EqualsIgnoringAsciiCase(stem, device)) return true;
    return false;
}

}  // namespace

bool CanNameWindowsFile(std::string_view name) {
    if (name.empty() || name.back() == ' ' || name.back() == '.') return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
            return false;
    std::string_view stem = name.substr(0, name.find('.'));
    const std::size_t end = stem.find_last_not_of(" .");
    stem = end == std::string_view::npos ? std::string_view() : stem.substr(0, end + 1);
    return !IsDeviceName(stem);
}
