#include "core/strings/strings_file.h"

#include <cctype>
#include <map>

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
