// FreeDict dictionaries: the index, then "@@" and the dictionary, compressed or not. Every
// index line's definition lies inside the dictionary or the file is refused with its line.
// The text unpacked while it is read (piece by piece when dictzip packed it) is the text
// unpacked whole, or both fail. No translation keeps a bracket of a note.
#include "core/exchange/freedict.h"
#include "core/exchange/gzip.h"
#include "core/exchange/unpacking.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kLimit = std::size_t{1} << 20;
    const auto parts = SplitInput(data, size, 2);
    const std::string_view index = parts[0].value_or("");
    std::string dict, error, unpackError;
    const std::string detail = Shown(std::string_view(reinterpret_cast<const char*>(data), size));
    const bool whole = Gunzip(parts[1].value_or(""), dict, error, kLimit);
    UnpackingText unpacking(platform::FileView(std::string(parts[1].value_or(""))), kLimit);
    const std::optional<std::string_view> read = unpacking.Upto(kLimit + 1, unpackError);
    FUZZ_CHECK(read.has_value() == whole, detail);
    if (!whole) {
        FUZZ_CHECK(unpackError == error, detail);
        return 0;
    }
    FUZZ_CHECK(*read == dict, detail);
    ForeignFile file;
    if (!ReadFreeDict(index, dict, file, error)) {
        FUZZ_CHECK(!error.empty(), detail);
        return 0;
    }
    for (std::size_t i = 1; i < file.entries.size(); ++i)
        FUZZ_CHECK(file.entries[i - 1].line < file.entries[i].line, detail);
    for (const ForeignEntry& e : file.entries) FUZZ_CHECK(e.word.find('\n') == std::string::npos, detail);
    // Brackets are a dictionary's notes, paired or not; only our own export keeps them as text.
    if (index.find("00-database-literal-translations") == std::string_view::npos)
        for (const ForeignEntry& e : file.entries)
            FUZZ_CHECK(e.translation.find_first_of("<>[]{}") == std::string::npos, detail);
    return 0;
}
