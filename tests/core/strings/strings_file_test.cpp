#include "core/strings/strings_file.h"

#include <cctype>
#include <map>
#include <string>

#include "core/strings/ui_strings.h"
#include "test_support.h"

TEST(StringsFile, PackedFormAndRoundTrip) {
    std::string packed, error;
    ASSERT_TRUE(PackStrings("Done=Close\r\n\nHelp=Help\n", packed, error));
    std::string plain = packed;
    auto key = ScramblingKey();
    Descramble(reinterpret_cast<unsigned char*>(plain.data()), plain.size(), key.data());
    EXPECT_EQ(plain, std::string("Done=Close\0Help=Help\0\0", 22));
    EXPECT_EQ(UnpackStrings(packed), "Done=Close\nHelp=Help\n");

    std::string again;
    ASSERT_TRUE(PackStrings(UnpackStrings(packed), again, error));
    EXPECT_EQ(again, packed);
    EXPECT_FALSE(PackStrings(std::string("Done=a\0b\n", 9), packed, error));
}

TEST(StringsFile, ShippedFilesMatchTheirSourcesAndHoldEveryKey) {
    for (const char* language : {"english", "dutch"}) {
        const std::string source = ReadFile(std::string(DICT_SOURCE_DIR) + "/res/strings/" + language + ".txt");
        const std::string shipped = ReadFile(std::string(DICT_SOURCE_DIR) + "/data/strings/" + language + ".str");
        ASSERT_FALSE(source.empty()) << language;
        std::string packed, error;
        ASSERT_TRUE(PackStrings(source, packed, error)) << error;
        EXPECT_EQ(packed, shipped) << language << ": run the 'strings' target of the native build";

        const UiLoadResult result = InstallUiStrings(StringsImage(UnpackStrings(shipped)));
        EXPECT_EQ(result.status, UiLoadStatus::Loaded) << language << " lacks " << UiKeyName(result.missingKey);
    }
}

// Alt and a letter pick one item of the open menu: two items sharing a letter make the
// second unreachable that way (Alt+F, R opened the reading aid, never the restore).
TEST(StringsFile, EachFileMenuItemHasALetterOfItsOwn) {
    const char* const fileMenu[] = {"MainMenuFile1",      "MainMenuFile2",      "MainMenuFile3",      "MainMenuFile4",
                                    "MainMenuFileImport", "MainMenuFileExport", "MainMenuFileRestore"};
    for (const char* language : {"english", "dutch"}) {
        const std::string source = ReadFile(std::string(DICT_SOURCE_DIR) + "/res/strings/" + language + ".txt");
        std::map<char, std::string> taken;
        for (const char* key : fileMenu) {
            const std::size_t line = source.find(std::string("\n") + key + "=");
            ASSERT_NE(line, std::string::npos) << language << " " << key;
            const std::string text = source.substr(line + 1, source.find('\n', line + 1) - line - 1);
            const std::size_t amp = text.find('&');
            ASSERT_NE(amp, std::string::npos) << text;
            const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(text[amp + 1])));
            EXPECT_TRUE(taken.emplace(letter, key).second) << language << ": " << key << " and " << taken[letter];
        }
    }
}

// The program opens its help page at the anchor a "...Helpkey" text names; a page without
// that anchor opens at its top, and the user lands far from the topic.
TEST(StringsFile, EveryHelpkeyIsAnAnchorOfTheLanguagesHelpPage) {
    for (const char* language : {"english", "dutch"}) {
        const std::string source = ReadFile(std::string(DICT_SOURCE_DIR) + "/res/strings/" + language + ".txt");
        std::map<std::string, std::string> texts;
        for (std::size_t at = 0; at < source.size();) {
            std::size_t end = source.find('\n', at);
            if (end == std::string::npos) end = source.size();
            std::string line = source.substr(at, end - at);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (const std::size_t eq = line.find('='); eq != std::string::npos)
                texts[line.substr(0, eq)] = line.substr(eq + 1);
            at = end + 1;
        }
        std::string page = texts["FilenameHelp"];
        ASSERT_FALSE(page.empty()) << language;
        for (char& c : page)
            if (c == '\\') c = '/';
        const std::string html = ReadFile(std::string(DICT_SOURCE_DIR) + "/data/" + page);
        ASSERT_FALSE(html.empty()) << page;
        int keys = 0;
        for (const auto& [key, anchor] : texts) {
            if (key.size() < 7 || key.compare(key.size() - 7, 7, "Helpkey") != 0) continue;
            ++keys;
            EXPECT_TRUE(html.find("id=\"" + anchor + "\"") != std::string::npos)
                << language << ": " << key << "=" << anchor << " is no anchor of " << page;
        }
        EXPECT_GT(keys, 0) << language;
    }
}
