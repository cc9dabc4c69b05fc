// A language's table of forms (data/morphology/<locale>.forms), which users edit by hand.
// Input: the file's bytes.
#include "core/morphology/forms_table.h"
#include "core/text/utf8.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (unsigned codePage : {1252u, 1253u, 65001u}) {
        std::vector<MorphologyFinding> findings;
        const FormsTable table = ReadFormsTable(text, codePage, "f.forms", findings);
        const std::string detail = Shown(text) + "\ncode page " + std::to_string(codePage);
        // Damage is named once, by a line the text has, and leaves nothing read.
        FUZZ_CHECK(findings.size() <= 1, detail);
        if (!findings.empty()) {
            FUZZ_CHECK(table.bases.empty(), detail);
            FUZZ_CHECK(findings[0].line >= 1 && findings[0].line <= size + 1, detail);
            continue;
        }
        for (const auto& [form, bases] : table.bases) {
            FUZZ_CHECK(!form.empty() && form.size() <= kMaxFormsLineBytes, detail);
            FUZZ_CHECK(form.find('\t') == std::string::npos && form.find('\n') == std::string::npos, detail);
            FUZZ_CHECK(!bases.empty(), detail);
            for (const std::string& base : bases)
                FUZZ_CHECK(!base.empty() && base.find('\t') == std::string::npos, detail);
            if (codePage == 65001u) FUZZ_CHECK(ValidUtf8(form), detail);
            FUZZ_CHECK(BasesOf(table, form) == &bases, detail);
        }
    }
    return 0;
}
