// wordlist: looks at a working directory the way the program does, from the command line.
//
//   wordlist [--pair N] [--gk NAME] pairs | count | dump | find KEY | sort | lists | load FILE
//   wordlist strings pack IN OUT | strings unpack IN OUT
//
// load replaces the pair's word file by the lines "word<TAB>translation" of FILE,
// sorted by the pair's collation; it is how the demo word lists are made.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "shell/startup.h"
#include "shell/ui_strings.h"
#include "store/catalogue.h"
#include "store/collation.h"
#include "store/sorting.h"
#include "store/store.h"
#include "lists/list_storage.h"
#include "shell/settings.h"
#include "store/fixed_text.h"
#include "tools/strings_file.h"

namespace {

const char kUsage[] =
    "usage: wordlist [--pair N] [--gk NAME] pairs | count | dump | find KEY | sort | lists | load FILE\n"
    "       wordlist strings pack IN OUT | wordlist strings unpack IN OUT\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "wordlist: %s\n", message.c_str());
    return 1;
}

bool ReadWholeFile(const std::string& path, std::string& data) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    data = s.str();
    return !in.bad();
}

// Writes beside the target first, so a failed write leaves the old file whole.
bool WriteWholeFile(const std::string& path, const std::string& data) {
    const std::string tmp = path + ".tmp";
    FILE* out = platform::OpenFile(tmp, "wb");
    if (!out) return false;
    bool written = std::fwrite(data.data(), 1, data.size(), out) == data.size();
    if (std::fclose(out) != 0) written = false;
    if (!written || platform::MoveIntoPlace(tmp, path) != 0) {
        platform::RemoveFile(tmp);
        return false;
    }
    return true;
}

int StringsCommand(const std::vector<std::string>& args) {
    if (args.size() != 4 || (args[1] != "pack" && args[1] != "unpack")) return Fail(std::string("bad arguments\n") + kUsage);
    std::string in, out, error;
    if (!ReadWholeFile(args[2], in)) return Fail("cannot read " + args[2]);
    if (args[1] == "pack") {
        if (!PackStrings(in, out, error)) return Fail(args[2] + ": " + error);
    } else {
        out = UnpackStrings(in);
    }
    if (!WriteWholeFile(args[3], out)) return Fail("cannot write " + args[3]);
    return 0;
}

void PrintPairs() {
    for (WordListDescriptor* d = CatalogueHead; d; d = d->next) {
        std::printf("%d\t%s\t%s\t%s\t%s\t%s\t%d\t%d\t%d%s\n", PairPosition(d), d->name1, d->name2, WordFileName(*d),
                    ListFileName(*d), d->locale, d->charset1, d->charset2, d->hasSortTable,
                    d == CurrentPair ? "\t*" : "");
    }
}

void PrintRecord(std::int32_t index) {
    std::printf("%d\t%s\t%s\t%d\n", index, CurrentRecord.word, CurrentRecord.translation, CurrentRecord.deleted);
}

void PrintLists() {
    int id = kFirstListId;
    for (const std::string& name : EnumerateLists()) {
        std::printf("%d\t%s%s\n", id, name.c_str(),
                    EqualsIgnoringAsciiCase(name, Settings.PracticeList) ? "\t*" : "");
        ++id;
    }
}

void PrintRecords() {
    for (std::int32_t i = 0; i < WordCount; ++i) {
        if (ReadWord(i) != 0) break;
        PrintRecord(i);
    }
}

// Reads "word<TAB>translation" lines into records; refuses the whole file on a bad line.
bool ParseWordLines(const std::string& text, std::vector<WordRecord>& records, std::string& error) {
    std::istringstream in(text);
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::size_t tab = line.find('\t');
        const std::string word = line.substr(0, tab);
        const std::string translation = tab == std::string::npos ? "" : line.substr(tab + 1);
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (word.empty() || word.size() > kMaxWordChars || word.find(',') != std::string::npos) {
            error = where + "a word has 1 to 30 characters and no comma";
            return false;
        }
        if (translation.size() > kMaxTranslationChars || translation.find('\t') != std::string::npos) {
            error = where + "a translation has at most 50 characters and no tab";
            return false;
        }
        WordRecord record{};
        SetWord(record, word);
        SetTranslation(record, translation);
        records.push_back(record);
    }
    return true;
}

int LoadCommand(const std::string& source) {
    std::string text, error;
    if (!ReadWholeFile(source, text)) return Fail("cannot read " + source);
    std::vector<WordRecord> records;
    if (!ParseWordLines(text, records, error)) return Fail(source + ": " + error);
    std::stable_sort(records.begin(), records.end(),
                     [](const WordRecord& a, const WordRecord& b) { return CompareWords(a.word, b.word) < 0; });
    const std::optional<std::string> path = WordFilePath(*CurrentPair);
    if (!path) return Fail("the word file's path is too long");
    std::string bytes(records.size() * sizeof(WordRecord), '\0');
    if (!records.empty()) std::memcpy(bytes.data(), records.data(), bytes.size());
    CloseStore();
    if (!WriteWholeFile(*path, bytes)) return Fail("cannot write " + *path);
    std::printf("%zu\n", records.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "strings") return StringsCommand(args);

    std::string commandLine;
    int pair = -1;
    std::string command, operand;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--pair" && i + 1 < args.size()) {
            char* end = nullptr;
            long n = std::strtol(args[++i].c_str(), &end, 10);
            if (*end != '\0' || n < 0 || n > 100000) return Fail("--pair needs a pair number");
            pair = static_cast<int>(n);
        } else if (args[i] == "--gk" && i + 1 < args.size()) {
            commandLine = "/gk " + args[++i];
        } else if (command.empty() && args[i][0] != '-') {
            command = args[i];
            if (command == "load" || command == "find") {
                if (i + 1 >= args.size()) return Fail(command + " needs an operand\n" + kUsage);
                operand = args[++i];
            }
        } else {
            return Fail("unexpected argument " + args[i] + "\n" + kUsage);
        }
    }
    static const char* const kCommands[] = {"pairs", "count", "dump", "find", "sort", "lists", "load"};
    if (std::find(std::begin(kCommands), std::end(kCommands), command) == std::end(kCommands)) return Fail(std::string("no command\n") + kUsage);

    LoadUiStrings();
    PrepareCatalogue(ParseCommandLine(commandLine));
    if (pair >= 0) {
        if (!PairAt(pair)) return Fail("there is no pair " + std::to_string(pair));
        CurrentPair = PairAt(pair);
        SetCollation(*CurrentPair, LocaleReport::NoOwner);
    }
    if (command == "pairs") {
        PrintPairs();
        return 0;
    }
    if (command == "load") return LoadCommand(operand);

    CheckSavedPracticeList();
    SetStoreReadOnly(command != "sort");
    OpenStore();
    CountRecords();
    int result = 0;
    if (command == "count") {
        std::printf("%d\t%d\n", WordCount, ListCount);
    } else if (command == "dump") {
        PrintRecords();
    } else if (command == "find") {
        std::int32_t index = FindWord(operand.substr(0, kMaxTranslationChars).c_str());
        if (ReadWord(index) != 0) std::memset(&CurrentRecord, 0, sizeof CurrentRecord);
        PrintRecord(index);
    } else if (command == "lists") {
        PrintLists();
    } else if (command == "sort") {
        if (SortStore(nullptr) == 0)
            std::printf("%d\n", WordCount);
        else
            result = Fail("sorting failed; the word file is as it was");
    }
    CloseStore();
    return result;
}
