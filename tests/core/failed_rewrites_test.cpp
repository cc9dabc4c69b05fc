// The rewrites of the program's files, made once with each of its file steps failing in
// turn: what is on disk afterwards is the old file or the new one, whole, and the caller
// is told of the failure. A file replaced alone, with nothing else to put back (the
// catalogue's selection, a score, a list, a sorted word file), is the one-step
// replacement's test's; a win.ini key that fails is the settings tests'.
#include <algorithm>
#include <filesystem>
#include <functional>

#include "core/backup/backup.h"
#include "core/catalogue/catalogue.h"
#include "core/checker/checker.h"
#include "core/editing/new_language.h"
#include "core/exchange/exchange.h"
#include "core/session/session.h"
#include "platform/file_writes.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

using Files = std::map<std::string, std::string>;

// What a rewrite may leave after a failure.
enum class Leaves {
    OldFiles,      // one file is rewritten: a failure leaves everything as it was
    EachOldOrNew,  // several are: each is its old self or its new one
};

struct Rewrite {
    const char* name;
    std::function<void()> prepare;  // lays out the old files and opens what the rewrite works on
    std::function<bool()> run;      // true when the rewrite reported success
    Leaves leaves;
    std::function<void()> afterFailure = {};  // what else must hold after a failed run
};

const char kCatalogue[] = "# mine\r\n[languages]\r\ngerman,german,0\r\nfrench\r\n\r\n[selected]\r\ndut_ger.gk\r\n";

void ExpectEachOldOrNew(const Files& before, const Files& after, const Files& left, const std::string& what) {
    for (const auto& [path, bytes] : left) {
        const auto old = before.find(path), made = after.find(path);
        EXPECT_TRUE((old != before.end() && old->second == bytes) || (made != after.end() && made->second == bytes))
            << what << ": " << path << " is neither the old file nor the new one";
    }
    for (const auto& [path, bytes] : before)
        if (after.count(path)) {
            EXPECT_TRUE(left.count(path)) << what << ": " << path << " is missing";
        }
}

std::vector<FileCheck> lastChecks;

std::size_t NotRewritten(const std::vector<FileCheck>& checks) {
    std::size_t n = 0;
    for (const FileCheck& c : checks)
        n += std::count(c.findings.begin(), c.findings.end(), "could not be rewritten; it is as it was");
    return n;
}

const Rewrite kRewrites[] = {
    {.name = "creating a new language",
     .prepare =
         [] {
             UsePair(kCatalogue);
             fs::create_directories("icons");
         },
     .run =
         [] {
             const std::string icon(1078, '\x42');
             const NewLanguageResult r = CreateNewLanguage("Klingon", "english", 0, icon.data(), icon.size());
             return r.catalogue == CatalogueWrite::Done && r.wordFilesFailed == 0 && !r.iconFailed;
         },
     .leaves = Leaves::EachOldOrNew},
    {.name = "importing words into a pair and its reverse",
     .prepare =
         [] {
             UsePair(kCatalogue, {Record("Zug", "trein"), Record("alt", "oud", 1)});
             WriteRecords("words/dut_ger.gk", {Record("trein", "Zug")});
             WriteFile("new.tsv", "Apfel\tappel\nZug\tspoor\n");
         },
     .run =
         [] {
             ImportPlan plan;
             std::string error;
             return PlanImport("new.tsv", {}, plan, error) && ApplyImport(plan, error);
         },
     .leaves = Leaves::OldFiles},
    {.name = "backing up what changed",
     .prepare =
         [] {
             OpenPair(kCatalogue, {Record("Apfel", "appel")}, "week1", {Record("Apfel", "appel")});
             WriteFile("lists/week1/ger_dut.score", "3\r\n12\r\n");
         },
     .run =
         [] {
             MessageLog log;
             const bool done = BackUpAndReport(WorkingFiles(), MessageOwner::MainWindow).error == 0;
             EXPECT_EQ(log.messages.size(), done ? 0u : 1u) << "a failure is shown once";
             return done;
         },
     .leaves = Leaves::OldFiles},
    {.name = "restoring a backup",
     .prepare =
         [] {
             OpenPair(kCatalogue, {Record("Apfel", "appel"), Record("Haus", "huis")}, "week1",
                      {Record("Haus", "huis")});
             BackUpFiles(WorkingFiles(), 0);
             WriteFile("words/ger_dut.gk", "damaged");
             WriteFile("lists/week1/ger_dut.ls", "");
         },
     .run =
         [] {
             const std::string name = ListBackups().at(0).name;
             // A fixed time, so every run names the backup of the current files alike.
             const RestoreResult r = RestoreBackup(name, PlanRestore(name), 86400);
             return r.backup.error == 0 && r.error == 0;
         },
     .leaves = Leaves::EachOldOrNew},
    {.name = "repairing with the checker",
     .prepare =
         [] {
             UsePair(kCatalogue, {Record("Zug", "trein"), Record("Apfel", "appel"), Record("alt", "oud", 1)});
             WriteRecords("words/dut_ger.gk", {Record("trein", "Zug"), Record("appel", "Apfel")});
             WriteRecords("lists/week1/ger_dut.ls", {Record("Zug", "trein", 1), Record("Apfel", "appel")});
             WriteFile("lists/week1/dut_ger.ls", RecordBytes({Record("appel", "Apfel")}) + "half");
         },
     .run =
         [] {
             lastChecks = CheckWorkingDirectory(true);
             return NotRewritten(lastChecks) == 0;
         },
     .leaves = Leaves::EachOldOrNew,
     .afterFailure = [] { EXPECT_EQ(NotRewritten(lastChecks), 1u) << "the one failed file is named"; }},
};

}  // namespace

TEST(FailedRewrites, EveryFailingStepLeavesTheOldFileOrTheNewOneAndIsReported) {
    for (const Rewrite& rewrite : kRewrites) {
        Files before, after;
        std::uint64_t steps = 0;
        {
            WorkDir dir;
            StoreCloser closer;
            rewrite.prepare();
            before = FilesHere();
            FailingFileStep counting(0);
            ASSERT_TRUE(rewrite.run()) << rewrite.name;
            steps = platform::FileStepsTaken();
            after = FilesHere();
        }
        ASSERT_NE(before, after) << rewrite.name << " changed nothing";
        ASSERT_GT(steps, 0u) << rewrite.name;
        for (std::uint64_t n = 1; n <= steps; ++n) {
            const std::string what =
                std::string(rewrite.name) + ", step " + std::to_string(n) + " of " + std::to_string(steps) + " failing";
            WorkDir dir;
            StoreCloser closer;
            rewrite.prepare();
            {
                FailingFileStep failing(n);
                EXPECT_FALSE(rewrite.run()) << what << ": the failure is not reported";
            }
            const Files left = FilesHere();
            if (rewrite.leaves == Leaves::OldFiles)
                EXPECT_EQ(left, before) << what;
            else
                ExpectEachOldOrNew(before, after, left, what);
            if (rewrite.afterFailure) rewrite.afterFailure();
        }
    }
}
