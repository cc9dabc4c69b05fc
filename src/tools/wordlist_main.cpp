// wordlist: looks at a working directory the way the program does, from the command line.
//
//   wordlist [--pair N] [--gk NAME] pairs | count | dump
//   wordlist strings pack IN OUT | strings unpack IN OUT

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "shell/startup.h"
#include "shell/ui_strings.h"
#include "store/catalogue.h"
#include "store/collation.h"
#include "store/store.h"
#include "tools/strings_file.h"

namespace {

const char kUsage[] =
    "usage: wordlist [--pair N] [--gk NAME] pairs | count | dump\n"
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

bool WriteWholeFile(const std::string& path, const std::string& data) {
    const std::string tmp = path + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out || !out.write(data.data(), static_cast<std::streamsize>(data.size())) || !out.flush()) {
            std::remove(tmp.c_str());
            return false;
        }
    }
    return platform::MoveIntoPlace(tmp, path) == 0;
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

void PrintRecords() {
    for (std::int32_t i = 0; i < WordCount; ++i) {
        if (ReadWord(i) != 0) break;
        std::printf("%d\t%s\t%s\t%d\n", i, CurrentRecord.word, CurrentRecord.translation, CurrentRecord.deleted);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "strings") return StringsCommand(args);

    std::string commandLine;
    int pair = -1;
    std::string command;
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
        } else {
            return Fail("unexpected argument " + args[i] + "\n" + kUsage);
        }
    }
    if (command != "pairs" && command != "count" && command != "dump") return Fail(std::string("no command\n") + kUsage);

    LoadUiStrings();
    PrepareCatalogue(ParseCommandLine(commandLine));
    if (pair >= 0) {
        if (!PairAt(pair)) return Fail("there is no pair " + std::to_string(pair));
        CurrentPair = PairAt(pair);
        SetCollation(*CurrentPair, MessageOwner::None);
    }
    if (command == "pairs") {
        PrintPairs();
        return 0;
    }

    CheckSavedPracticeList();
    SetStoreReadOnly(true);
    OpenStore();
    CountRecords();
    if (command == "count")
        std::printf("%d\t%d\n", WordCount, ListCount);
    else
        PrintRecords();
    CloseStore();
    return 0;
}
