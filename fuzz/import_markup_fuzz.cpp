// KVTML files, read with the system's XML reader, and HTML in flashcard fields. Input: the
// file. Entries come in document order, and HTML never grows by being made text.
#include "core/exchange/kvtml.h"
#include "core/exchange/text_formats.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string detail = Shown(text);
    FUZZ_CHECK(HtmlToText(text).size() <= size, detail);
    ForeignFile file;
    std::string error;
    if (!ReadKvtml(text, "english", "1", file, error)) {
        FUZZ_CHECK(!error.empty(), detail);
        return 0;
    }
    for (std::size_t i = 1; i < file.entries.size(); ++i)
        FUZZ_CHECK(file.entries[i - 1].line <= file.entries[i].line, detail);
    return 0;
}
