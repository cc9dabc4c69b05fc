// Word files and practice-list files: records read one by one and in blocks, the list
// compacted and filled from the word file, and the word file sorted.
// Input: the word file, then the list file, then a search key, then a byte giving how
// many records are said to be sorted already, each after a "@@" line.
#include <cstring>
#include <filesystem>

#include "core/catalogue/catalogue.h"
#include "core/lists/list_storage.h"
#include "core/settings/settings.h"
#include "core/store/collation.h"
#include "core/store/store.h"
#include "fuzz_support.h"

namespace {

const char kWordFile[] = "wordlists/eng_dut.gk";
const char kListFile[] = "lists/week/eng_dut.ls";

void Setup() {
    std::filesystem::create_directories("lists/week");
    PutFile("languages.ini", "[languages]\r\ndutch,dutch,0\r\n");
    if (BuildCatalogue() != 0) PropertyFailed("BuildCatalogue() == 0", __FILE__, __LINE__, "");
    SetCollation(*CurrentPair, LocaleReport::Silent);
    Settings.PracticeList = "week";
}

void CheckReads(int (*read)(std::int32_t), std::int32_t count, const std::vector<WordRecord>& whole,
                const std::string& detail) {
    for (std::int32_t n = -1; n <= count; ++n) {
        const bool inside = n >= 0 && n < count;
        FUZZ_CHECK((read(n) == 0) == inside, "record " + std::to_string(n) + "\n" + detail);
        if (inside) FUZZ_CHECK(Fields(CurrentRecord) == Fields(whole[static_cast<std::size_t>(n)]), detail);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EnterScratchWorkingDirectory();
    static const bool ready = (Setup(), true);
    (void)ready;
    const auto parts = SplitInput(data, size, 4);
    const std::string words(parts[0].value_or(""));
    const std::string key(parts[2].value_or(""));
    const std::int32_t sortedCount = parts[3] && !parts[3]->empty() ? static_cast<unsigned char>(parts[3]->front()) : 0;
    const std::string detail = "words: " + Shown(words) + "\nlist: " + Shown(parts[1].value_or("(none)"));
    PutFile(kWordFile, words);
    PutFile(kListFile, parts[1]);

    OpenWordFile();
    FUZZ_CHECK(OpenListFile() == 0, detail);
    CountRecords();
    const std::vector<WordRecord> wordRecords = WholeRecords(words);
    const std::vector<WordRecord> listRecords = WholeRecords(parts[1].value_or(""));
    FUZZ_CHECK(WordCount == static_cast<std::int32_t>(wordRecords.size()), detail);
    FUZZ_CHECK(ListCount == static_cast<std::int32_t>(listRecords.size()), detail);

    CheckReads(ReadWord, WordCount, wordRecords, detail);
    CheckReads(ReadListEntry, ListCount, listRecords, detail);
    std::vector<WordRecord> block(wordRecords.size() + 1);
    FUZZ_CHECK(ReadWordRecords(0, WordCount + 1, block.data()) == WordCount, detail);
    const std::int32_t found = FindWord(key.c_str());
    FUZZ_CHECK(found >= 0 && found <= WordCount, detail);

    // Compacting keeps the unmarked entries in their order and drops a partial record.
    FUZZ_CHECK(CompactCurrentList() == 0, detail);
    std::vector<std::string> kept, compacted;
    for (const WordRecord& r : listRecords)
        if (!IsDeleted(r)) kept.push_back(Fields(r));
    for (const WordRecord& r : WholeRecords(FileBytes(kListFile))) compacted.push_back(Fields(r));
    FUZZ_CHECK(compacted == kept && FileBytes(kListFile).size() == kept.size() * sizeof(WordRecord), detail);
    FUZZ_CHECK(ListCount == static_cast<std::int32_t>(kept.size()), detail);

    SortAndCheck(wordRecords, sortedCount, detail);

    // A list filled from the word file is a copy of it, byte for byte.
    FUZZ_CHECK(FillListFromWordFile() == 0, detail);
    FUZZ_CHECK(FileBytes(kListFile) == FileBytes(kWordFile), detail);
    FUZZ_CHECK(ListCount == WordCount, detail);
    CloseStore();
    return 0;
}
