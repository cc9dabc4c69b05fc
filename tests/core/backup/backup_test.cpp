#include "core/backup/backup.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>

#include "core/catalogue/catalogue.h"
#include "core/session/session.h"
#include "core/store/store.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

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

const std::string kScore = "lists/week1/ger_dut.score";

}  // namespace

TEST(KeepingRule, KeepsTheTenNewestAndTheNewestOfEachOfTwelveMonths) {
    // The backups, the year and month now, and k for each backup that stays.
    const std::tuple<const char*, int, int, const char*> cases[] = {
        {"2020-01-01 2026-06-01", 2026, 6, "kk"},                             // fewer than ten
        {"2026-06-01..12", 2026, 6, "--kkkkkkkkkk"},                          // twelve in one month: the two oldest go
        {"2026-05-03 2026-05-30 2026-06-01..12", 2026, 6, "-k--kkkkkkkkkk"},  // an older month's newest stays
        {"2025-06-20 2025-07-01..02 2026-06-01..12", 2026, 6, "--k--kkkkkkkkkk"},  // twelve months back is out
        {"2025-02-01 2025-03-09 2026-02-01..10", 2026, 2, "-kkkkkkkkkkk"},         // months counted over the new year
    };
    for (auto [backups, year, month, want] : cases) {
        std::string kept;
        for (bool k : KeptBackups(Stamps(backups), year, month)) kept += k ? 'k' : '-';
        EXPECT_EQ(kept, want) << backups;
    }
}

TEST(BackupNames, ReadBackAsWrittenAndOthersAreNotBackups) {
    EXPECT_EQ(ParseBackupName(BackupName({2026, 12, 7, 9, 5, 3, 12}))->sequence, 12);
    for (const char* other : {"2026-12-07", "2026-13-07-090503", "2026-12-07-090503-1", "2026-12-07-090503-05",
                              "2026-12-07-090503x", "mine"})
        EXPECT_FALSE(ParseBackupName(other)) << other;
}

// Every file damaged (the word file cut inside a record) or gone, then all put back. The
// restore's backup of the damaged files is made with the clock put back (corrected, a move
// west, the hour repeated at the end of summer time): named as if older, it is the newest.
TEST_F(Backup, EveryKindOfFileGoesBackAsItWasAndTheCurrentOnesAreKeptFirst) {
    LayOutWork();
    const BackupResult first = BackUpFiles(WorkingFiles(), At(2026, 12, 7, 9, 0, 0));
    ASSERT_EQ(first.copied, kWork.size());
    EXPECT_TRUE(BackUpFiles(WorkingFiles(), At(2026, 12, 7, 9, 0, 1)).name.empty()) << "nothing changed";
    for (const auto& [path, bytes] : kWork) WriteFile(path, bytes.substr(0, bytes.size() / 2) + "?");
    std::remove("lists/week1/ger_dut.score");
    ASSERT_EQ(PlanRestore(first.name).size(), kWork.size());

    const RestoreResult restored = RestoreBackup(first.name, PlanRestore(first.name), At(2026, 12, 7, 8));
    EXPECT_EQ(restored.error, 0);
    std::map<std::string, std::string> work = FilesHere();
    std::erase_if(work, [](const auto& f) { return f.first.starts_with("backups/"); });
    EXPECT_EQ(work, kWork);
    EXPECT_EQ(WordCount, 2) << "the store is open on the restored word file";
    EXPECT_EQ(ListCount, 1);
    const std::vector<BackupInfo> backups = ListBackups();
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_EQ(backups[0].name, restored.backup.name);
    EXPECT_EQ(backups[0].files.size(), kWork.size() - 1) << "the damaged files, kept before they were replaced";
}

// Backups in one second each keep their own copies, and what they were made for on one line
// of their note: a reason naming a file with a line break in it makes no line of its own.
// A backup the keeping rule lets go hands its only copies on; where one cannot go (a folder
// stands in its way), the backup stays with it and the run says which, until the way is free.
TEST_F(Backup, ABackupWhoseCopiesCannotBeHandedOnStays) {
    const std::string only = "words/extra.gk";
    LayOutWork();
    WriteFile(only, "the only copy");
    ASSERT_EQ(BackUpFiles({"words\\extra.gk"}, At(2026, 1, 1), "import C:\\in\\words.txt\r\nmade 9").error, 0);
    WriteFile(kScore, "0");
    ASSERT_EQ(BackUpFiles(WorkingFiles(), At(2026, 1, 1)).name, "2026-01-01-120000-2");
    EXPECT_EQ(ListBackups().back().why, "import C:\\in\\words.txt");
    EXPECT_EQ(ReadFile("backups/2026-01-01-120000/backup.txt").find("made 9"), std::string::npos);
    fs::create_directories("backups/2026-01-01-120000-2/" + only);
    // From day 10 on the first backup goes; on day 11 the second goes with the folder in
    // the way, and on day 12 the first hands its copy on.
    for (int day = 2; day <= 12; ++day) {
        WriteFile(kScore, std::to_string(day));
        const BackupResult result = BackUpFiles(WorkingFiles(), At(2026, 1, day));
        EXPECT_EQ(result.error, 0);
        EXPECT_EQ(result.keptName, day == 10 || day == 11 ? "2026-01-01-120000" : "") << day;
    }
    const std::vector<BackupInfo> backups = ListBackups();
    EXPECT_NE(backups.back().name, "2026-01-01-120000");
    EXPECT_EQ(ReadFile("backups/" + backups.back().name + "/" + only), "the only copy");
}

// A copy keeps its file's size and write time, and a file that still has both is not read
// again, unless it had been written so shortly before the copy was taken that a later write
// may have left the same time. A backup the keeping rule drops hands its only copies on to
// the oldest one kept, each with the time it was taken. Here two files are changed behind
// their stamps' back: one written an hour before its copy, one the second it was copied.
TEST_F(Backup, ADroppedBackupHandsOnItsOnlyCopiesWithTheTimeTheyWereTaken) {
    LayOutWork();
    const std::string words = "words/ger_dut.gk", older = "words/dut_ger.gk";
    fs::last_write_time(older, fs::last_write_time(older) - std::chrono::hours(1));
    const std::time_t takenAt = std::time(nullptr);
    ASSERT_EQ(BackUpFiles(WorkingFiles(), takenAt).copied, kWork.size());
    // Eleven backups of the score alone, days later: the first two go, the copies move on twice.
    for (int day = 1; day <= 11; ++day) {
        WriteFile(kScore, std::to_string(day));
        BackUpFiles(WorkingFiles(), takenAt + day * 86400);
    }
    const std::vector<BackupInfo> backups = ListBackups();
    ASSERT_EQ(backups.size(), 10u);
    EXPECT_EQ(backups.back().files.size(), kWork.size()) << "the older copies moved on to the oldest kept";
    EXPECT_EQ(ReadFile("backups/" + backups.back().name + "/" + words), kWork.at(words));
    EXPECT_TRUE(BackUpFiles(WorkingFiles(), takenAt + 20 * 86400).name.empty()) << "they still count as backed up";
    for (const std::string& path : {words, older}) {
        const fs::file_time_type written = fs::last_write_time(path);
        std::string bytes = ReadFile(path);
        bytes.back() ^= 1;  // the same size
        WriteFile(path, bytes);
        fs::last_write_time(path, written);
    }
    const BackupResult changed = BackUpFiles(WorkingFiles(), takenAt + 21 * 86400);
    EXPECT_EQ(changed.copied, 1u);
    EXPECT_TRUE(Exists("backups/" + changed.name + "/" + words));
}

// Pruning and listing stay inside backups\: a link there, or in a backup, leads elsewhere.
TEST_F(Backup, LinksUnderBackupsAreNeitherBackupsNorFollowed) {
    LayOutWork();
    WriteFile("elsewhere/keep.txt", "not a copy");
    for (int day = 1; day <= 12; ++day) {  // one backup of the score file a day
        WriteFile(kScore, std::to_string(day));
        ASSERT_EQ(BackUpFiles(WorkingFiles(), At(2026, 1, day)).error, 0);
        if (day > 1) continue;
        std::error_code error;
        fs::create_directory_symlink(fs::absolute("elsewhere"), "backups/2026-01-01-000000", error);
        if (error) GTEST_SKIP() << "no directory links here: " << error.message();
        fs::create_directory_symlink(fs::absolute("elsewhere"), "backups/2026-01-01-120000/lists/elsewhere");
    }
    EXPECT_EQ(ReadFile("elsewhere/keep.txt"), "not a copy");
    EXPECT_FALSE(fs::exists(fs::symlink_status("backups/2026-01-01-120000"))) << "the backup that held the link went";
    const std::vector<BackupInfo> backups = ListBackups();
    EXPECT_TRUE(std::none_of(backups.begin(), backups.end(),
                             [](const BackupInfo& b) { return b.name == "2026-01-01-000000"; }));
}

// The restore window names the files by what they are to the user: each of a pair's files
// by its pair (and list), the catalogue and the language choice by name; others, such as
// the word file of a pair the catalogue does not know, by path.
TEST(BackupFiles, AreNamedByTheirPairAndList) {
    WorkDir dir;
    UseCatalogue("[languages]\ngerman\n");
    const char* const kinds[] = {"other", "words", "log", "list", "score", "catalogue", "language"};
    const std::pair<const char*, const char*> cases[] = {
        {"words\\ger_dut.gk", "words german"},
        {"words\\DUT_GER.gk", "words dutch"},
        {"words\\ger_dut.revlog", "log german"},
        {"lists\\week 1\\dut_ger.ls", "list dutch week 1"},
        {"lists\\week 1\\ger_dut.score", "score german week 1"},
        {"cat.ini", "catalogue"},
        {"language.ini", "language"},
        {"words\\fre_dut.gk", "other"},
        {"notes.txt", "other"},
    };
    for (auto [path, meaning] : cases) {
        const BackupFileMeaning m = MeaningOfBackupFile(path);
        std::string seen = kinds[static_cast<int>(m.kind)];
        if (m.pair) seen += std::string(" ") + m.pair->name1;
        if (!m.list.empty()) seen += " " + m.list;
        EXPECT_EQ(seen, meaning) << path;
    }
}
