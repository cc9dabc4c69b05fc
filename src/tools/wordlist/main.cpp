// wordlist: looks at a working directory the way the program does, from the command line.
// Each command is one entry of kCommands below: its usage, operands, options, how it opens
// the store and what it runs.
//
// load replaces the pair's word file by the lines "word<TAB>translation" of FILE,
// sorted by the pair's collation (or in the file's order with --as-is); it is how the
// demo word lists are made. --stats reports timings and counts on stderr. import reads
// another program's file (F: tsv, csv, anki, kvtml, freedict; by default from the file's
// name), prints what it adds, merges and skips with the first lines it cannot take (all of
// them with --report -), writes the whole report to the word file's name with ".import.txt"
// in the working directory, and unless --dry-run stores the words in the pair and its
// reverse; --languages picks a KVTML file's two languages (by id, name or locale) where
// the pair's names do not, --separator (tab, semicolon, comma or a character) the one of
// tab and comma text instead of what the file says or shows.
// backup does what the program does at start-up: it backs up what changed (--stats: how
// long that took). backups lists the backups, newest first, with the files each holds; restore puts back
// the files of backup NAME that differ from the current ones (or only the FILEs named),
// after backing up the current ones. load and check --repair back up what they replace.
// review logs one answer (RATING 1-4) to a word of the pair; due lists the words due at
// TIME (ISO 8601 UTC, default now; --all: every word with a state), most overdue first, of
// the live words of the word file (the log keeps the others' answers for when they come back);
// review-stats prints the progress window's figures; review-log export writes the log in
// the FSRS optimizer's CSV; review-optimize fits the scheduler's weights to the log and
// measures them against the ones in use (--apply: keeps them when they predict better). Days
// are UTC days here. lookup prints how each word (of FILE, cut out as the reading aid cuts
// them, or each WORD) is found: "word<TAB>how<TAB>headword<TAB>translation", how being
// exact, base (a base form of it), part (a compound's final part) or none.

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/exchange/format_table.h"
#include "core/exchange/text_formats.h"
#include "core/lists/list_storage.h"
#include "core/review/review_queue.h"
#include "core/session/session.h"
#include "core/session/startup.h"
#include "core/store/collation.h"
#include "core/store/store.h"
#include "core/strings/ui_strings.h"
#include "tools/wordlist/backup_commands.h"
#include "tools/wordlist/exchange_commands.h"
#include "tools/wordlist/lookup_command.h"
#include "tools/wordlist/options.h"
#include "tools/wordlist/review_commands.h"
#include "tools/wordlist/stats_timer.h"
#include "tools/wordlist/store_commands.h"
#include "tools/wordlist/strings_command.h"
#include "tools/wordlist/usage.h"

namespace wordlist {
namespace {

enum class Operands {
    None,
    One,
    Two,
    OneThenFiles,  // restore: the backup, then the files to put back, if any
    Words,         // lookup: any number of words, none too
};

// The store is opened only for the commands that read records, and then with the least access.
enum class StoreUse { None, ReadOnly, WordFileOnly };

// The options a command takes beside --pair, --gk and --stats, which every command takes.
enum Takes : unsigned {
    kNoOption = 0,
    kAppended = 1u << 0,   // --appended N
    kRepair = 1u << 1,     // --repair
    kDryRun = 1u << 2,     // --dry-run
    kReport = 1u << 3,     // --report -
    kFormat = 1u << 4,     // --format F
    kLanguages = 1u << 5,  // --languages A,B
    kSeparator = 1u << 6,  // --separator S
    kAsIs = 1u << 7,       // --as-is
    kAt = 1u << 8,         // --at TIME
    kAll = 1u << 9,        // --all
    kApply = 1u << 10,     // --apply
    kText = 1u << 11,      // --text FILE
};

struct Command {
    const char* name;
    // The usage text: a command that starts a line of it gives the line's start; the others
    // follow the one before on its line after " | ".
    const char* usageLine;
    const char* usage;
    Operands operands;
    const char* onlyFirstOperand;  // the one word the first operand may be, if so limited
    StoreUse store;
    unsigned takes;
    bool timed;  // --stats: how long the whole command took, as "name<TAB>n.n ms"
    int (*run)(const Options&);
    // Takes the arguments as given, before any option: needs no working directory.
    int (*runOnArguments)(const std::vector<std::string>&);
};

// In the order of the usage text.
const Command kCommands[] = {
    // clang-format off
    {"pairs", "wordlist [--pair N] [--gk NAME] [--stats] ", "pairs",
     Operands::None, nullptr, StoreUse::None, kNoOption, false, PairsCommand, nullptr},
    {"count", nullptr, "count", Operands::None, nullptr, StoreUse::ReadOnly, kNoOption, false, CountCommand, nullptr},
    {"dump", nullptr, "dump", Operands::None, nullptr, StoreUse::ReadOnly, kNoOption, false, DumpCommand, nullptr},
    {"find", nullptr, "find KEY", Operands::One, nullptr, StoreUse::ReadOnly, kNoOption, false, FindCommand, nullptr},
    {"sort", nullptr, "sort [--appended N]",
     Operands::None, nullptr, StoreUse::WordFileOnly, kAppended, false, SortCommand, nullptr},
    {"lists", nullptr, "lists", Operands::None, nullptr, StoreUse::ReadOnly, kNoOption, false, ListsCommand, nullptr},
    {"load", "wordlist [--pair N] [--gk NAME] ", "load [--as-is] FILE",
     Operands::One, nullptr, StoreUse::None, kAsIs, false, LoadCommand, nullptr},
    {"strings", "wordlist ", "strings pack IN OUT | wordlist strings unpack IN OUT",
     Operands::None, nullptr, StoreUse::None, kNoOption, false, nullptr, StringsCommand},
    {"check", "wordlist ", "check [--repair]",
     Operands::None, nullptr, StoreUse::None, kRepair, false, CheckCommand, nullptr},
    {"import", "wordlist [--pair N] ",
     "import [--dry-run] [--report -] [--format F] [--languages A,B] [--separator S] FILE",
     Operands::One, nullptr, StoreUse::None, kDryRun | kReport | kFormat | kLanguages | kSeparator, false,
     ImportCommand, nullptr},
    {"export", "wordlist [--pair N] ", "export [--format F] FILE",
     Operands::One, nullptr, StoreUse::None, kFormat, false, ExportCommand, nullptr},
    {"backup", "wordlist [--stats] ", "backup",
     Operands::None, nullptr, StoreUse::None, kNoOption, true, BackupCommand, nullptr},
    {"backups", nullptr, "wordlist backups",
     Operands::None, nullptr, StoreUse::None, kNoOption, false, BackupsCommand, nullptr},
    {"restore", nullptr, "wordlist restore NAME [FILE...]",
     Operands::OneThenFiles, nullptr, StoreUse::None, kNoOption, false, RestoreCommand, nullptr},
    {"review", "wordlist [--pair N] [--stats] ", "review WORD RATING [--at TIME]",
     Operands::Two, nullptr, StoreUse::ReadOnly, kAt, false, ReviewCommand, nullptr},
    {"due", nullptr, "due [--at TIME] [--all]",
     Operands::None, nullptr, StoreUse::ReadOnly, kAt | kAll, false, DueCommand, nullptr},
    {"review-stats", "wordlist [--pair N] ", "review-stats [--at TIME]",
     Operands::None, nullptr, StoreUse::ReadOnly, kAt, false, ReviewStatsCommand, nullptr},
    {"review-log", nullptr, "review-log export FILE",
     Operands::Two, "export", StoreUse::ReadOnly, kNoOption, false, ReviewLogExportCommand, nullptr},
    {"review-optimize", "wordlist [--pair N] ", "review-optimize [--apply]",
     Operands::None, nullptr, StoreUse::ReadOnly, kApply, false, ReviewOptimizeCommand, nullptr},
    {"lookup", "wordlist [--pair N] [--stats] ", "lookup [--text FILE] [WORD...]",
     Operands::Words, nullptr, StoreUse::ReadOnly, kText, false, LookupCommand, nullptr},
    // clang-format on
};

// A command that follows options; none for "strings", which comes only first.
const Command* CommandNamed(const std::string& name) {
    for (const Command& c : kCommands)
        if (c.run && name == c.name) return &c;
    return nullptr;
}

bool Takes(const Command* command, unsigned option) { return command && (command->takes & option); }

// The option `name`, when it takes a value and the command takes it: the value checked
// into `options`. Unknown: the option takes no value here.
std::optional<bool> TakeValue(const Command* command, const std::string& name, const std::string& value,
                              Options& options, std::string& error) {
    const auto refuse = [&](std::string message) {
        error = std::move(message);
        return false;
    };
    if (name == "--pair") {
        char* end = nullptr;
        const long n = std::strtol(value.c_str(), &end, 10);
        if (*end != '\0' || n < 0 || n > 100000 || value.empty()) return refuse("--pair needs a pair number");
        options.pair = static_cast<int>(n);
    } else if (name == "--gk") {
        options.commandLine = "/gk " + value;
    } else if (name == "--appended" && Takes(command, kAppended)) {
        options.appended = static_cast<std::int32_t>(std::strtol(value.c_str(), nullptr, 10));
    } else if (name == "--report" && Takes(command, kReport)) {
        if (value != "-") return refuse("--report takes - (the whole report on stdout)");
        options.wholeReport = true;
    } else if (name == "--format" && Takes(command, kFormat)) {
        options.format = FormatNamed(value);
        if (!options.format) return refuse("unknown format " + value + " (" + FormatNameList() + ")");
    } else if (name == "--languages" && Takes(command, kLanguages)) {
        options.languages = value;
    } else if (name == "--separator" && Takes(command, kSeparator)) {
        options.separator = SeparatorNamed(value);
        if (!options.separator)
            return refuse("unknown separator " + value + " (tab, semicolon, comma or one character)");
    } else if (name == "--text" && Takes(command, kText)) {
        options.textFile = value;
    } else if (name == "--at" && Takes(command, kAt)) {
        std::int64_t ms = 0;
        if (!review::ParseTime(value, ms)) return refuse("--at needs a time as 2026-01-05T08:00:00Z");
        options.at = ms;
    } else {
        return std::nullopt;
    }
    return true;
}

// The option `name`, when it is a switch the command takes.
bool TakeSwitch(const Command* command, const std::string& name, Options& options) {
    const struct {
        const char* name;
        unsigned option;  // 0: any command's
        bool Options::*on;
    } kSwitches[] = {{"--stats", 0, &Options::stats},          {"--repair", kRepair, &Options::repair},
                     {"--dry-run", kDryRun, &Options::dryRun}, {"--as-is", kAsIs, &Options::asIs},
                     {"--all", kAll, &Options::all},           {"--apply", kApply, &Options::apply}};
    for (const auto& s : kSwitches)
        if (name == s.name && (s.option == 0 || Takes(command, s.option))) return options.*s.on = true;
    return false;
}

// Whether the command has the operands it needs.
bool CheckOperands(const Command* command, const Options& options, std::string& error) {
    if (!command) {
        error = "no command";
        return false;
    }
    if ((command->operands != Operands::None && command->operands != Operands::Words && options.operand.empty()) ||
        (command->operands == Operands::Two && options.operand2.empty())) {
        error = options.command + " needs " + (command->operands == Operands::Two ? "two operands" : "an operand");
        return false;
    }
    if (command->onlyFirstOperand && options.operand != command->onlyFirstOperand) {
        error = options.command + " knows only " + command->onlyFirstOperand;
        return false;
    }
    return true;
}

bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error) {
    const Command* command = nullptr;
    const auto operands = [&] { return command ? command->operands : Operands::None; };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i + 1 < args.size()) {
            if (const std::optional<bool> taken = TakeValue(command, a, args[i + 1], options, error)) {
                if (!*taken) return false;
                ++i;
                continue;
            }
        }
        if (TakeSwitch(command, a, options)) {
        } else if (options.command.empty() && !a.empty() && a[0] != '-') {
            options.command = a;
            command = CommandNamed(a);
        } else if (operands() == Operands::Words) {
            options.words.push_back(a);
        } else if (operands() != Operands::None && options.operand.empty()) {
            options.operand = a;
        } else if (operands() == Operands::Two && options.operand2.empty()) {
            options.operand2 = a;
        } else if (operands() == Operands::OneThenFiles) {
            std::string file = a;
            std::replace(file.begin(), file.end(), '/', '\\');
            options.files.push_back(file);
        } else {
            error = "unexpected argument " + a;
            return false;
        }
    }
    return CheckOperands(command, options, error);
}

int Run(const Command& command, const Options& options) {
    const StatsTimer timer(options.stats && command.timed, command.name);
    if (command.store == StoreUse::None) return command.run(options);
    CheckSavedPracticeList();
    SetStoreAccess(command.store == StoreUse::WordFileOnly ? StoreAccess::WordFileOnly : StoreAccess::ReadOnly);
    OpenStore();
    CountRecords();
    const int result = command.run(options);
    CloseStore();
    return result;
}

}  // namespace

std::string Usage() {
    std::string usage;
    for (const Command& c : kCommands) {
        if (c.usageLine) {
            if (!usage.empty()) usage += "\n";
            usage += usage.empty() ? "usage: " : "       ";
            usage += c.usageLine;
        } else {
            usage += " | ";
        }
        usage += c.usage;
    }
    return usage + "\n       (F: " + FormatNameList() + ")\n";
}

}  // namespace wordlist

int main(int argc, char** argv) {
    using namespace wordlist;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty())
        for (const Command& c : kCommands)
            if (c.runOnArguments && args[0] == c.name) return c.runOnArguments(args);

    Options options;
    std::string error;
    if (!ParseOptions(args, options, error)) return Fail(error + "\n" + Usage());

    LoadUiStrings();
    PrepareCatalogue(ParseCommandLine(options.commandLine));
    if (options.pair >= 0) {
        if (!PairAt(options.pair)) return Fail("there is no pair " + std::to_string(options.pair));
        CurrentPair = PairAt(options.pair);
        SetCollation(*CurrentPair, LocaleReport::NoOwner);
    }
    return Run(*CommandNamed(options.command), options);
}
