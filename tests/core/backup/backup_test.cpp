#include "core/backup/backup.h"

#include <gtest/gtest.h>

#include "core/catalogue/catalogue.h"
#include "core/session/session.h"
#include "core/settings/settings.h"
#include "core/store/collation.h"
#include "core/store/store.h"
#include "test_support.h"

namespace {

// Local time, as the folder names are.
std::time_t At(int year, int month, int day, int hour = 12, int minute = 0, int second = 0) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

// A working directory with a file of every kind the user's work lives in.
const std::map<std::string, std::string> kWork = {
    {"language.ini", "[Dictionary]\r\nLanguage=english\r\n"},
    {"cat.ini", "[languages]\r\ngerman\r\n\r\n[selected]\r\nger_dut.gk\r\n"},
    {"words/ger_dut.gk", RecordBytes({Record("Apfel", "appel"), Record("Haus", "huis")})},
    {"words/dut_ger.gk", RecordBytes({Record("appel", "Apfel")})},
    {"words/ger_dut.revlog", "Apfel\t1\t4\r\n"},
    {"lists/week1/ger_dut.ls", RecordBytes({Record("Haus", "huis")})},
    {"lists/week1/ger_dut.score", "3\r\n12\r\n"},
};

void LayOutWork() {
    UseCatalogue(kWork.at("cat.ini"));
    for (const auto& [path, bytes] : kWork) WriteFile(path, bytes);
    CurrentPair = PairAt(0);
    SetStoreAccess(StoreAccess::ReadWrite);
    SetCollation(*CurrentPair, LocaleReport::Silent);
    Settings.PracticeList = "week1";
    ReopenStore();
}

std::map<std::string, std::string> WorkHere() {
    std::map<std::string, std::string> files = FilesHere();
    std::erase_if(files, [](const auto& f) { return f.first.starts_with("backups/"); });
    return files;
}

struct StoreCloser {
    ~StoreCloser() { CloseStore(); }
};

}  // namespace

TEST(KeepingRule, KeepsTheTenNewestAndTheNewestOfEachOfTwelveMonths) {
    struct Case {
        const char* what;
        std::vector<BackupStamp> backups;  // oldest first
        int year, month;                   // now
        std::vector<bool> kept;
    };
    auto day = [](int y, int m, int d, int seq = 1) { return BackupStamp{y, m, d, 12, 0, 0, seq}; };
    std::vector<BackupStamp> twelveInJune;
    for (int d = 1; d <= 12; ++d) twelveInJune.push_back(day(2026, 6, d));
    const std::vector<bool> lastTen = {false, false, true, true, true, true, true, true, true, true, true, true};
    std::vector<BackupStamp> withMay = twelveInJune;
    withMay.insert(withMay.begin(), {day(2026, 5, 3), day(2026, 5, 30)});
    std::vector<bool> withMayKept = lastTen;
    withMayKept.insert(withMayKept.begin(), {false, true});
    std::vector<BackupStamp> sameSecond;
    for (int seq = 1; seq <= 11; ++seq) sameSecond.push_back(day(2026, 6, 1, seq));
    const Case cases[] = {
        {"none", {}, 2026, 6, {}},
        {"fewer than ten", {day(2020, 1, 1), day(2026, 6, 1)}, 2026, 6, {true, true}},
        {"eleven and twelve in one month: the oldest go", twelveInJune, 2026, 6, lastTen},
        {"the newest of an older month stays, the one before it goes", withMay, 2026, 6, withMayKept},
        {"a month twelve back is out, eleven back is in",
         [&] {
             std::vector<BackupStamp> b = {day(2025, 6, 20), day(2025, 7, 1), day(2025, 7, 2)};
             b.insert(b.end(), twelveInJune.begin(), twelveInJune.end());
             return b;
         }(),
         2026, 6,
         [&] {
             std::vector<bool> k = {false, false, true};
             k.insert(k.end(), lastTen.begin(), lastTen.end());
             return k;
         }()},
        {"months counted across the new year",
         [&] {
             std::vector<BackupStamp> b = {day(2025, 2, 1), day(2025, 3, 9)};
             for (int d = 1; d <= 10; ++d) b.push_back(day(2026, 2, d));
             return b;
         }(),
         2026, 2,
         [&] {
             std::vector<bool> k = {false, true};
             k.insert(k.end(), 10, true);
             return k;
         }()},
        {"eleven in one second: the first of them goes",
         sameSecond,
         2026,
         6,
         {false, true, true, true, true, true, true, true, true, true, true}},
    };
    for (const Case& c : cases) EXPECT_EQ(KeptBackups(c.backups, c.year, c.month), c.kept) << c.what;
}

TEST(BackupNames, ReadBackAsWrittenAndOthersAreNotBackups) {
    const BackupStamp stamp{2026, 12, 7, 9, 5, 3, 1};
    EXPECT_EQ(BackupName(stamp), "2026-12-07-090503");
    const BackupStamp later{2026, 12, 7, 9, 5, 3, 12};
    EXPECT_EQ(ParseBackupName(BackupName(later))->sequence, 12);
    for (const char* other :
         {"2026-12-07", "2026-13-07-090503", "2026-12-07-090503-1", "2026-12-07-090503x", "mine", "2026-12-07-09O503"})
        EXPECT_FALSE(ParseBackupName(other)) << other;
}

TEST(Backup, EveryKindOfFileGoesBackAsItWasAndTheCurrentOnesAreKeptFirst) {
    WorkDir dir;
    StoreCloser closer;
    LayOutWork();
    const BackupResult first = BackUpFiles(WorkingFiles(), At(2026, 12, 7, 9, 0, 0));
    ASSERT_EQ(first.error, 0);
    EXPECT_EQ(first.copied, kWork.size());

    // Nothing changed: nothing copied, no folder.
    EXPECT_TRUE(BackUpFiles(WorkingFiles(), At(2026, 12, 7, 9, 0, 1)).name.empty());
    EXPECT_EQ(ListBackups().size(), 1u);

    std::map<std::string, std::string> spoilt;
    for (const auto& [path, bytes] : kWork) spoilt[path] = bytes.substr(0, bytes.size() / 2) + "?";
    for (const auto& [path, bytes] : spoilt) WriteFile(path, bytes);
    std::remove("lists/week1/ger_dut.score");
    spoilt.erase("lists/week1/ger_dut.score");
    EXPECT_EQ(PlanRestore(first.name).size(), kWork.size());

    const RestoreResult restored = RestoreBackup(first.name, PlanRestore(first.name));
    EXPECT_EQ(restored.error, 0);
    EXPECT_EQ(restored.restored, kWork.size());
    EXPECT_EQ(WorkHere(), kWork);
    EXPECT_EQ(WordCount, 2) << "the store is open on the restored word file";
    EXPECT_EQ(ListCount, 1);
    // What the restore replaced is itself a backup now, and can be put back in turn.
    const std::vector<BackupInfo> backups = ListBackups();
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_EQ(backups[0].name, restored.backup.name);
    EXPECT_EQ(backups[0].files.size(), spoilt.size());
    EXPECT_TRUE(PlanRestore(first.name).empty());
}

TEST(Backup, ADamagedWordFileIsRestoredAndOpensWhole) {
    WorkDir dir;
    StoreCloser closer;
    LayOutWork();
    const std::string name = BackUpFiles(WorkingFiles(), At(2026, 3, 1)).name;
    WriteFile("words/ger_dut.gk", kWork.at("words/ger_dut.gk").substr(0, 100));
    ReopenStore();
    ASSERT_EQ(WordCount, 1);
    EXPECT_EQ(PlanRestore(name), std::vector<std::string>{"words\\ger_dut.gk"});
    RestoreBackup(name, {"words\\ger_dut.gk"});
    EXPECT_EQ(ReadFile("words/ger_dut.gk"), kWork.at("words/ger_dut.gk"));
    EXPECT_EQ(WordCount, 2);
}

TEST(Backup, BackupsInOneSecondEachKeepTheirOwnCopies) {
    WorkDir dir;
    StoreCloser closer;
    LayOutWork();
    const std::time_t now = At(2026, 12, 7, 9, 0, 0);
    std::vector<std::string> names;
    for (int i = 0; i < 3; ++i) {
        WriteFile("lists/week1/ger_dut.score", std::to_string(i) + "\r\n");
        names.push_back(BackUpFiles({"lists\\week1\\ger_dut.score"}, now).name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"2026-12-07-090000", "2026-12-07-090000-2", "2026-12-07-090000-3"}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ReadFile("backups/" + names[i] + "/lists/week1/ger_dut.score"), std::to_string(i) + "\r\n");
}

TEST(Backup, ADroppedBackupHandsOnTheOnlyCopiesOfUnchangedFiles) {
    WorkDir dir;
    StoreCloser closer;
    LayOutWork();
    BackUpFiles(WorkingFiles(), At(2026, 1, 1));
    // Twelve more backups in one month, each of the score alone: the first backup goes.
    for (int i = 1; i <= 12; ++i) {
        WriteFile("lists/week1/ger_dut.score", std::to_string(i));
        BackUpFiles(WorkingFiles(), At(2026, 1, 1 + i));
    }
    const std::vector<BackupInfo> backups = ListBackups();
    ASSERT_EQ(backups.size(), 10u);
    EXPECT_EQ(backups.back().name, "2026-01-04-120000");
    EXPECT_EQ(backups.back().files.size(), kWork.size()) << "the older copies moved on to the oldest kept";
    EXPECT_EQ(ReadFile("backups/2026-01-04-120000/words/ger_dut.gk"), kWork.at("words/ger_dut.gk"));
    EXPECT_TRUE(BackUpFiles(WorkingFiles(), At(2026, 1, 20)).name.empty()) << "they still count as backed up";
}
