#include "core/editing/add_words.h"

#include "core/catalogue/catalogue.h"
#include "core/session/session.h"
#include "core/settings/settings.h"
#include "core/store/store.h"
#include "test_support.h"

namespace {

std::vector<std::string> Texts(const std::string& path) {
    std::vector<std::string> texts;
    for (const WordRecord& r : ReadRecords(path))
        texts.push_back(std::string(r.word) + "=" + r.translation + (r.deleted ? "*" : ""));
    return texts;
}

// The pair english into dutch and its reverse, the list week1 current, the window opened.
class AddWordsTest : public InWorkDir {
protected:
    void SetUp() override {
        UsePair("[languages]\nenglish\n",
                {Record("apple", "appel"), Record("house", "huis"), Record("plum", "pruim", 1)}, "week1");
        // onderdak has room for ", house" to the last character, woning one too few.
        WriteRecords("words/dut_eng.gk",
                     {Record("huis", "House"), Record("onderdak", "shelter, lodging, roof, accommodation, home"),
                      Record("pruim", "prune", 1), Record("thuis", "home"),
                      Record("woning", "flat, apartment, dwelling, lodging, quarters")});
        ReopenStore();
        BeginAdding();
    }
};

}  // namespace

// A deleted word is gone for the user: typing it shows nothing, and confirming it brings the
// record back holding what was confirmed, in both directions, new to the journal and the list.
TEST_F(AddWordsTest, ExistingAndDeletedWordsTakeTheTranslationAndFeedTheReversePair) {
    EXPECT_EQ(PreviewTranslation("HOUSE"), "huis");
    EXPECT_EQ(PreviewTranslation("plum"), std::nullopt);
    EXPECT_EQ(ConfirmEntry("house", "huis , thuis,, woning, verblijf, onderdak "), EntryResult::Stored);
    EXPECT_EQ(Adding.reverseLeftOut, std::vector<std::string>{"woning"});  // the window says so
    EXPECT_EQ(ConfirmEntry("plum", "pruim, kwets"), EntryResult::Stored);
    // The records keep their places, and the file its order.
    EXPECT_EQ(Texts("words/eng_dut.gk"),
              (std::vector<std::string>{"apple=appel", "house=huis, thuis, woning, verblijf, onderdak",
                                        "plum=pruim, kwets"}));
    EXPECT_EQ(ModifiedFlag, 0);
    // huis lists house already (in another case); thuis and onderdak get it; woning has no
    // room; verblijf is new; pruim comes back as plum alone, not "prune, plum".
    EXPECT_EQ(Texts("words/dut_eng.gk"),
              (std::vector<std::string>{"huis=House", "onderdak=shelter, lodging, roof, accommodation, home, house",
                                        "pruim=plum", "thuis=home, house",
                                        "woning=flat, apartment, dwelling, lodging, quarters", "verblijf=house",
                                        "kwets=plum"}));
    // Of the forward pair only the revived word is new.
    EXPECT_EQ(Texts("new/english_dutch.gk"), std::vector<std::string>{"plum=pruim, kwets"});
    EXPECT_EQ(Texts("lists/week1/eng_dut.ls"), std::vector<std::string>{"plum=pruim, kwets"});
    EXPECT_EQ(Texts("lists/week1/dut_eng.ls"),
              (std::vector<std::string>{"verblijf=house", "pruim=plum", "kwets=plum"}));
    EXPECT_TRUE(Adding.reverseChanged);
    EXPECT_EQ(CurrentPair, PairAt(0));  // the window's pair again
    EXPECT_EQ(Adding.entries, 2);
}

// A piece too long for a word of the reverse pair gets no reverse entry, and the window says
// so for that entry only; the forward record keeps it.
TEST_F(AddWordsTest, NewWordsGoToTheEndTheJournalAndTheList) {
    const std::string piece(31, 'x'), first = "pear=" + piece + ", peer";
    EXPECT_EQ(ConfirmEntry("  pear ", piece + ",peer"), EntryResult::Stored);
    EXPECT_EQ(Adding.reverseLeftOut, std::vector<std::string>{piece});
    EXPECT_EQ(PreviewTranslation("pear"), std::nullopt);  // added while the window is open: not found
    EXPECT_EQ(ConfirmEntry("pear", "peer"), EntryResult::Stored);
    EXPECT_TRUE(Adding.reverseLeftOut.empty());
    const std::vector<std::string> added = {first, "pear=peer"};
    EXPECT_EQ(Texts("words/eng_dut.gk"),
              (std::vector<std::string>{"apple=appel", "house=huis", "plum=pruim*", first, "pear=peer"}));
    EXPECT_EQ(Texts("new/english_dutch.gk"), added);
    EXPECT_EQ(Texts("lists/week1/eng_dut.ls"), added);
    EXPECT_EQ(ModifiedFlag, 1);
    // The reverse file gained peer once per entry, and no piece: the first is past its sorted part too.
    EXPECT_EQ(Texts("words/dut_eng.gk").size(), 7u);
    Settings.AddNewWordsToList = 0;
    EXPECT_EQ(ConfirmEntry("cherry", "kers"), EntryResult::Stored);
    EXPECT_EQ(Texts("lists/week1/eng_dut.ls").size(), 2u);
}

TEST_F(AddWordsTest, EntriesThatStoreNothing) {
    const std::string before = ReadFile("words/eng_dut.gk") + ReadFile("words/dut_eng.gk");
    const struct {
        const char *word, *translation;
        EntryResult result;
    } cases[] = {{"", "peer", EntryResult::Ignored},
                 {"pear", "  ", EntryResult::Ignored},
                 {"pear", " , ,, ", EntryResult::Cleared},
                 {"pe,ar", "peer", EntryResult::HasComma},
                 {"a word of thirty-one characters", "peer", EntryResult::TooLong},
                 // Grows past 50 characters once every comma is followed by a blank: never cut.
                 {"pear", "aaaaaaaaaa,bbbbbbbbbb,cccccccccc,dddddddddd,eeeee", EntryResult::TooLong}};
    for (const auto& c : cases) EXPECT_EQ(ConfirmEntry(c.word, c.translation), c.result) << c.translation;
    EXPECT_EQ(ReadFile("words/eng_dut.gk") + ReadFile("words/dut_eng.gk"), before);
    EXPECT_EQ(Adding.entries, 0);
    EXPECT_FALSE(Adding.reverseChanged || ModifiedFlag);
}

// A word the forward file does not take is reported and stored nowhere. The entry lands in
// both word files or in neither: a reverse file that cannot be opened is found before
// anything is written, and a reverse write that fails takes back the writes before it (an
// appended record is marked deleted, for the closing sort to drop).
TEST_F(AddWordsTest, AnEntryAWordFileDoesNotTakeIsStoredInNeither) {
    const std::vector<std::string> forward = Texts("words/eng_dut.gk");
    std::vector<std::string> reverse = Texts("words/dut_eng.gk");
    for (const char* word : {"pear", "apple"}) {  // a new word, and an existing one rewritten
        FailingFileStep failing(1);
        EXPECT_EQ(ConfirmEntry(word, "peer"), EntryResult::NotStored) << word;
    }
    EXPECT_EQ(Adding.entries, 0);
    {
        FailingFileStep failing(5);  // the forward record (write, flush), verblijf, then thuis
        EXPECT_EQ(ConfirmEntry("house", "verblijf, thuis"), EntryResult::ReverseNotStored);
    }
    EXPECT_EQ(Texts("words/eng_dut.gk"), forward);
    reverse.push_back("verblijf=house*");
    EXPECT_EQ(Texts("words/dut_eng.gk"), reverse);
    EXPECT_TRUE(Adding.reverseChanged);
    EXPECT_TRUE(Texts("lists/week1/dut_eng.ls").empty());

    std::filesystem::remove("words/dut_eng.gk");
    EXPECT_EQ(ConfirmEntry("pear", "peer"), EntryResult::ReverseNotStored);
    EXPECT_EQ(Texts("words/eng_dut.gk"), forward);
    EXPECT_FALSE(Exists("new/english_dutch.gk"));
}
