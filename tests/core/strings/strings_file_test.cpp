#include "core/strings/strings_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "core/catalogue/catalogue.h"
#include "core/strings/ui_strings.h"
#include "test_support.h"

TEST(StringsFile, ReadBackAsPackedWithoutBlankLines) {
    std::string packed, error;
    ASSERT_TRUE(PackStrings("Done=Close\r\n\nHelp=Help\n", packed, error));
    // The packed bytes themselves are the shipped files' test's.
    EXPECT_EQ(UnpackStrings(packed), "Done=Close\nHelp=Help\n");

    EXPECT_FALSE(PackStrings(std::string("Done=a\0b\n", 9), packed, error));
}

// Each shipped strings file is its source packed and holds every key. Alt and a letter
// pick one item of the open menu: two File items sharing a letter make the second
// unreachable that way. A help page without the anchor a "...Helpkey" text names opens at
// its top, far from the topic. The demo's catalogue for each interface language names the
// same languages (switching keeps the user's), each pair with its word file (the program
// stops on a missing one).
TEST(StringsFile, ShippedStringsMenusHelpAndCataloguesAgree) {
    WorkDir dir;
    const std::string data = std::string(DICT_SOURCE_DIR) + "/data/";
    std::map<std::string, std::set<std::string>> locales;
    for (const std::string language : {"english", "dutch"}) {
        SCOPED_TRACE(language);
        const std::string source = ReadFile(std::string(DICT_SOURCE_DIR) + "/res/strings/" + language + ".txt");
        const std::string shipped = ReadFile(data + "strings/" + language + ".str");
        std::string packed, error;
        ASSERT_TRUE(PackStrings(source, packed, error)) << error;
        EXPECT_EQ(packed, shipped) << "run the 'strings' target of the native build";
        const UiLoadResult result = InstallUiStrings(StringsImage(UnpackStrings(shipped)));
        ASSERT_EQ(result.status, UiLoadStatus::Loaded) << "lacks " << UiKeyName(result.missingKey);
        EXPECT_STREQ(UiTextOr("NoSuchKey", "Built in"), "Built in");

        std::set<int> letters;
        for (const char* key : {"MainMenuFile1", "MainMenuFile2", "MainMenuFile3", "MainMenuFile4",
                                "MainMenuFileImport", "MainMenuFileExport", "MainMenuFileRestore"}) {
            const std::string text = UiTextOr(key, "");
            EXPECT_TRUE(letters.insert(std::tolower(static_cast<unsigned char>(text[text.find('&') + 1]))).second)
                << key;
        }
        std::string page = Ui(UiKey::FilenameHelp);
        std::replace(page.begin(), page.end(), '\\', '/');
        const std::string html = ReadFile(data + page);
        std::istringstream entries(UnpackStrings(shipped));
        for (std::string entry; std::getline(entries, entry);) {
            const std::size_t key = entry.find("Helpkey=");
            EXPECT_TRUE(key == std::string::npos ||
                        html.find("id=\"" + entry.substr(key + 8) + "\"") != std::string::npos)
                << entry;
        }

        WriteFile(Ui(UiKey::FilenameIni), ReadFile(data + Ui(UiKey::FilenameIni)));
        ASSERT_EQ(BuildCatalogue(), 0);
        for (const WordListDescriptor* d = CatalogueHead; d; d = d->next) {
            locales[language].insert(d->locale);
            EXPECT_TRUE(std::filesystem::is_regular_file(data + "wordlists/" + WordFileName(*d))) << WordFileName(*d);
        }
    }
    EXPECT_EQ(locales["dutch"], locales["english"]);
}
