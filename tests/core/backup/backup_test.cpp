#include "core/backup/backup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>

#include "core/catalogue/catalogue.h"
#include "core/session/session.h"
#include "core/settings/settings.h"
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
    UsePair(kWork.at("cat.ini"), {}, "week1");
    for (const auto& [path, bytes] : kWork) WriteFile(path, bytes);
    ReopenStore();
}

std::map<std::string, std::string> WorkHere() {
    std::map<std::string, std::string> files = FilesHere();
    std::erase_if(files, [](const auto& f) { return f.first.starts_with("backups/"); });
    return files;
}

// "2026-06-01..12": one backup a day from the 1st to the 12th; items oldest first.
std::vector<BackupStamp> Stamps(const std::string& days) {
    std::vector<BackupStamp> stamps;
    std::istringstream in(days);
    for (std::string item; in >> item;) {
        const int y = std::stoi(item.substr(0, 4)), m = std::stoi(item.substr(5, 2)), d = std::stoi(item.substr(8, 2));
        const int last = item.size() > 10 ? std::stoi(item.substr(12)) : d;
        for (int day = d; day <= last; ++day) stamps.push_back({y, m, day, 12, 0, 0});
    }
    return stamps;
}

using Backup = InWorkDir;

}  // namespace

TEST(KeepingRule, KeepsTheTenNewestAndTheNewestOfEachOfTwelveMonths) {
    const struct {
        const char* what;
        const char* backups;
        int year, month;   // now
        const char* kept;  // k for each backup that stays
    } cases[] = {
        {"fewer than ten", "2020-01-01 2026-06-01", 2026, 6, "kk"},
        {"twelve in one month: the two oldest go", "2026-06-01..12", 2026, 6, "--kkkkkkkkkk"},
        {"an older month's newest stays", "2026-05-03 2026-05-30 2026-06-01..12", 2026, 6, "-k--kkkkkkkkkk"},
        {"twelve months back is out, eleven in", "2025-06-20 2025-07-01..02 2026-06-01..12", 2026, 6,
         "--k--kkkkkkkkkk"},
        {"months counted over the new year", "2025-02-01 2025-03-09 2026-02-01..10", 2026, 2, "-kkkkkkkkkkk"},
    };
    for (const auto& c : cases) {
        std::string kept;
        for (bool k : KeptBackups(Stamps(c.backups), c.year, c.month)) kept += k ? 'k' : '-';
        EXPECT_EQ(kept, c.kept) << c.what;
    }
}

TEST(BackupNames, ReadBackAsWrittenAndOthersAreNotBackups) {
    EXPECT_EQ(BackupName({2026, 12, 7, 9, 5, 3}), "2026-12-07-090503");
    EXPECT_EQ(ParseBackupName(BackupName({2026, 12, 7, 9, 5, 3, 12}))->sequence, 12);
    for (const char* other : {"2026-12-07", "2026-13-07-090503", "2026-12-07-090503-1", "2026-12-07-090503x", "mine"})
        EXPECT_FALSE(ParseBackupName(other)) << other;
}

// Every file damaged (the word file cut inside a record) or gone, then all put back.
TEST_F(Backup, EveryKindOfFileGoesBackAsItWasAndTheCurrentOnesAreKeptFirst) {
    LayOutWork();
    const BackupResult first = BackUpFiles(WorkingFiles(), At(2026, 12, 7, 9, 0, 0));
    ASSERT_EQ(first.copied, kWork.size());
    EXPECT_TRUE(BackUpFiles(WorkingFiles(), At(2026, 12, 7, 9, 0, 1)).name.empty()) << "nothing changed";
    for (const auto& [path, bytes] : kWork) WriteFile(path, bytes.substr(0, bytes.size() / 2) + "?");
    std::remove("lists/week1/ger_dut.score");
    ASSERT_EQ(PlanRestore(first.name).size(), kWork.size());

    const RestoreResult restored = RestoreBackup(first.name, PlanRestore(first.name));
    EXPECT_EQ(restored.error, 0);
    EXPECT_EQ(WorkHere(), kWork);
    EXPECT_EQ(WordCount, 2) << "the store is open on the restored word file";
    EXPECT_EQ(ListCount, 1);
    const std::vector<BackupInfo> backups = ListBackups();
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_EQ(backups[0].name, restored.backup.name);
    EXPECT_EQ(backups[0].files.size(), kWork.size() - 1) << "the damaged files, kept before they were replaced";
}

TEST_F(Backup, BackupsInOneSecondEachKeepTheirOwnCopies) {
    LayOutWork();
    for (const char* score : {"1", "2"}) {
        WriteFile("lists/week1/ger_dut.score", score);
        BackUpFiles({"lists\\week1\\ger_dut.score"}, At(2026, 12, 7, 9, 0, 0));
    }
    EXPECT_EQ(ReadFile("backups/2026-12-07-090000/lists/week1/ger_dut.score"), "1");
    EXPECT_EQ(ReadFile("backups/2026-12-07-090000-2/lists/week1/ger_dut.score"), "2");
}

// A copy keeps its file's size and write time, and a file that still has both is not read
// again, unless it had been written so shortly before the copy was taken that a later write
// may have left the same time. Here each file is changed behind its stamp's back.
TEST_F(Backup, AFileWhoseStampAgreesWithItsCopyIsReadOnlyWhenWrittenJustBeforeTheCopy) {
    namespace fs = std::filesystem;
    const struct {
        std::chrono::seconds writtenBefore;
        bool readAgain;
    } cases[] = {{std::chrono::hours(1), false}, {std::chrono::seconds(0), true}};
    LayOutWork();
    const std::string path = "lists/week1/ger_dut.score", named = "lists\\week1\\ger_dut.score";
    for (const auto& c : cases) {
        const fs::file_time_type written = fs::last_write_time(path) - c.writtenBefore;
        fs::last_write_time(path, written);
        const std::time_t now = std::time(nullptr);
        const BackupResult taken = BackUpFiles({named}, now);
        ASSERT_EQ(taken.copied, 1u) << c.writtenBefore.count();
        std::string bytes = ReadFile(path);
        bytes[0] ^= 1;  // the same size
        WriteFile(path, bytes);
        fs::last_write_time(path, written);
        EXPECT_EQ(BackUpFiles({named}, now + 3).copied, c.readAgain ? 1u : 0u) << c.writtenBefore.count();
        WriteFile(path, "changed again, to another size");
    }
}

TEST_F(Backup, ADroppedBackupHandsOnTheOnlyCopiesOfUnchangedFiles) {
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
