#include "core/checker/checker.h"

#include <cstring>
#include <filesystem>

#include "test_support.h"

namespace {

std::vector<std::string> FindingsOf(const std::vector<FileCheck>& checks, const std::string& pathEnd) {
    for (const FileCheck& c : checks)
        if (c.path.ends_with(pathEnd)) return c.findings;
    ADD_FAILURE() << "no check of " << pathEnd;
    return {};
}

class Checker : public InWorkDir {
protected:
    void SetUp() override { UsePair("[languages]\ngerman\n"); }
};

}  // namespace

TEST_F(Checker, ReportsDamageAndRepairsWordAndListFilesInOneStep) {
    WordRecord unterminated = Record("Zug", "trein");
    std::memset(unterminated.translation, 'x', sizeof unterminated.translation);
    // Zebrb and Zebra are out of order by one letter's step.
    WriteFile("words/ger_dut.gk", RecordBytes({Record("", "leeg"), Record("Apfel", "appel"), Record("Baum", "boom", 1),
                                               Record("Zebrb"), Record("Zebra", "zebra"), unterminated}) +
                                      "half");
    WriteRecords("lists/week1/ger_dut.ls",
                 {Record("APFEL", "appeltje"), Record("Haus", "huis"), Record("Zebra", "zebra", 1)});
    WriteFile("lists/week1/ger_dut.score", "-4\n2\n");
    // The list finds its entries by their word alone: APFEL is there, Haus is not.

    const std::vector<FileCheck> found = CheckWorkingDirectory(false);
    EXPECT_EQ(
        FindingsOf(found, "ger_dut.gk"),
        (std::vector<std::string>{"a partial record of 4 bytes at the end", "1 records with a field that has no end",
                                  "1 deleted records", "1 records with an empty word", "1 records out of order"}));
    EXPECT_EQ(FindingsOf(found, "ger_dut.ls"),
              (std::vector<std::string>{"1 records marked for removal", "1 entries no longer in the word file",
                                        "its score file is damaged; it counts as no score"}));
    EXPECT_TRUE(FindingsOf(found, "dut_ger.gk").empty());
    EXPECT_EQ(ReadRecords("words/ger_dut.gk").size(), 6u);  // looking changes nothing

    CheckWorkingDirectory(true);
    EXPECT_EQ(WordsIn("words/ger_dut.gk"), (std::vector<std::string>{"Apfel", "Zebra", "Zebrb", "Zug"}));
    EXPECT_EQ(ReadFile("words/ger_dut.gk").size(), 4 * sizeof(WordRecord));
    EXPECT_EQ(ReadRecords("lists/week1/ger_dut.ls").size(), 2u);
    // What stays is the user's: a list entry the word file lacks, and the score as it was.
    EXPECT_EQ(FindingsOf(CheckWorkingDirectory(false), "ger_dut.ls"),
              (std::vector<std::string>{"1 entries no longer in the word file",
                                        "its score file is damaged; it counts as no score"}));
    EXPECT_TRUE(FindingsOf(CheckWorkingDirectory(false), "ger_dut.gk").empty());
}

TEST_F(Checker, ReviewLogFindingsAreReportedAndTheLogKept) {
    WriteRecords("words/ger_dut.gk", {Record("Apfel", "appel"), Record("Baum", "boom", 1)});
    const std::string log = "1,APFEL,3,10\r\n2,Apfel,9,10\r\n3,Baum,3,10\r\n4,\"Haus, alt\",1,10\r\n5,Zug,";
    WriteFile("words/ger_dut.revlog", log);
    EXPECT_EQ(
        FindingsOf(CheckWorkingDirectory(true), "ger_dut.revlog"),
        (std::vector<std::string>{"line 2 skipped (rating not 1-4): 2,Apfel,9,10", "line 5 skipped (cut off): 5,Zug,",
                                  "2 reviewed words no longer in the word file: Baum, Haus, alt"}));
    EXPECT_EQ(ReadFile("words/ger_dut.revlog"), log);
}
