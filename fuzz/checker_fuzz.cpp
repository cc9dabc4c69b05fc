// The checker of a working directory (wordlist check): whatever the word, list and score
// files hold, it reports, and after a repair the files hold the live records that have a word, sorted in the
// word files, and a second check finds nothing left to repair.
// Input: the Spanish word file (sorted by the demo's sort table), its list file and that
// list's score file, then the reverse pair's word file, each after a "@@" line; a missing
// part leaves its file out.
#include <algorithm>
#include <filesystem>

#include "core/catalogue/catalogue.h"
#include "core/checker/checker.h"
#include "core/store/collation.h"
#include "core/store/word_record.h"
#include "fuzz_support.h"

namespace {

const char* const kFiles[] = {"wordlists/spa_eng.gk", "lists/week/spa_eng.ls", "lists/week/spa_eng.score",
                              "wordlists/eng_spa.gk"};

void Setup() {
    std::filesystem::create_directories("tables");
    std::filesystem::create_directories("lists/week");
    std::filesystem::copy_file(DICT_SOURCE_DIR "/data/tables/spanish.stb", "tables/spanish.stb",
                               std::filesystem::copy_options::overwrite_existing);
    PutFile("languages.ini", "[languages]\r\nspanish,spanish,0\r\n");
    if (BuildCatalogue() != 0) PropertyFailed("BuildCatalogue() == 0", __FILE__, __LINE__, "");
}

// A repair keeps the live records with a word: nothing can find, show or practise the others.
std::vector<std::string> Live(const std::string& bytes) {
    std::vector<std::string> live;
    for (const WordRecord& r : WholeRecords(bytes))
        if (!IsDeleted(r) && r.word[0] != '\0') live.push_back(Fields(r));
    return live;
}

// Findings that a repair leaves on purpose: list entries are the user's, and so is the score.
bool Kept(const std::string& finding) {
    return finding.find("entries no longer in the word file") != std::string::npos ||
           finding.find("score file is damaged") != std::string::npos || finding == "cannot be read";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EnterScratchWorkingDirectory();
    static const bool ready = (Setup(), true);
    (void)ready;
    const auto parts = SplitInput(data, size, 4);
    std::string detail;
    for (std::size_t i = 0; i < 4; ++i) {
        PutFile(kFiles[i], parts[i]);
        detail += std::string(kFiles[i]) + ": " + (parts[i] ? Shown(*parts[i]) : "(none)") + "\n";
    }

    CheckWorkingDirectory(false);
    for (std::size_t i = 0; i < 4; ++i)
        FUZZ_CHECK(FileBytes(kFiles[i]) == parts[i].value_or(""), "looking changed a file\n" + detail);

    CheckWorkingDirectory(true);
    for (std::size_t i : {0, 1, 3}) {
        if (!parts[i]) continue;
        std::vector<std::string> before = Live(std::string(*parts[i])), after = Live(FileBytes(kFiles[i]));
        FUZZ_CHECK(FileBytes(kFiles[i]).size() == after.size() * sizeof(WordRecord), detail);
        // A word file may come back in another order, a list file only in its own.
        if (i != 1) {
            std::sort(before.begin(), before.end());
            std::sort(after.begin(), after.end());
        }
        FUZZ_CHECK(before == after, std::string(kFiles[i]) + " lost or gained records\n" + detail);
    }
    FUZZ_CHECK(FileBytes(kFiles[2]) == parts[2].value_or(""), "the score file changed\n" + detail);

    for (const FileCheck& check : CheckWorkingDirectory(false))
        for (const std::string& finding : check.findings)
            FUZZ_CHECK(Kept(finding), check.path + ": " + finding + " after a repair\n" + detail);
    return 0;
}
