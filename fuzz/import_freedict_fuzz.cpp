// FreeDict dictionaries: the index, then "@@" and the dictionary, compressed or not. Every
// index line's definition lies inside the dictionary or the file is refused with its line.
#include "core/exchange/formats.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = SplitInput(data, size, 2);
    const std::string_view index = parts[0].value_or("");
    std::string dict, error;
    const std::string detail = Shown(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!Gunzip(parts[1].value_or(""), dict, error)) {
        FUZZ_CHECK(error == "the compressed dictionary is damaged", detail);
        return 0;
    }
    ForeignFile file;
    if (!ReadFreeDict(index, dict, file, error)) {
        FUZZ_CHECK(!error.empty(), detail);
        return 0;
    }
    for (std::size_t i = 1; i < file.entries.size(); ++i)
        FUZZ_CHECK(file.entries[i - 1].line < file.entries[i].line, detail);
    for (const ForeignEntry& e : file.entries) FUZZ_CHECK(e.word.find('\n') == std::string::npos, detail);
    return 0;
}
