#include "core/strings/strings_file.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>
#include <string>

#include "core/strings/ui_strings.h"
#include "test_support.h"

namespace {

// The texts of a strings source by key.
std::map<std::string, std::string> TextsOf(const std::string& source) {
    std::map<std::string, std::string> texts;
    std::istringstream in(source);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (const std::size_t eq = line.find('='); eq != std::string::npos)
            texts[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return texts;
}

}  // namespace

TEST(StringsFile, PackedFormAndRoundTrip) {
    std::string packed, error;
    ASSERT_TRUE(PackStrings("Done=Close\r\n\nHelp=Help\n", packed, error));
    std::string plain = packed;
    auto key = ScramblingKey();
    Descramble(reinterpret_cast<unsigned char*>(plain.data()), plain.size(), key.data());
    EXPECT_EQ(plain, std::string("Done=Close\0Help=Help\0\0", 22));
    EXPECT_EQ(UnpackStrings(packed), "Done=Close\nHelp=Help\n");

    EXPECT_FALSE(PackStrings(std::string("Done=a\0b\n", 9), packed, error));
}

// Each shipped file is its source packed and holds every key. Alt and a letter pick one
// item of the open menu: two File items sharing a letter make the second unreachable that
// way. The program opens its help page at the anchor a "...Helpkey" text names; a page
// without that anchor opens at its top, far from the topic.
TEST(StringsFile, ShippedFilesMatchTheirSourcesHoldEveryKeyAndTheirMenusAndHelpAgree) {
    const char* const fileMenu[] = {"MainMenuFile1",      "MainMenuFile2",      "MainMenuFile3",      "MainMenuFile4",
                                    "MainMenuFileImport", "MainMenuFileExport", "MainMenuFileRestore"};
    for (const char* language : {"english", "dutch"}) {
        SCOPED_TRACE(language);
        const std::string source = ReadFile(std::string(DICT_SOURCE_DIR) + "/res/strings/" + language + ".txt");
        const std::string shipped = ReadFile(std::string(DICT_SOURCE_DIR) + "/data/strings/" + language + ".str");
        std::string packed, error;
        ASSERT_TRUE(PackStrings(source, packed, error)) << error;
        EXPECT_EQ(packed, shipped) << "run the 'strings' target of the native build";
        const UiLoadResult result = InstallUiStrings(StringsImage(UnpackStrings(shipped)));
        EXPECT_EQ(result.status, UiLoadStatus::Loaded) << "lacks " << UiKeyName(result.missingKey);

        std::map<std::string, std::string> texts = TextsOf(source);
        std::map<char, std::string> taken;
        for (const char* key : fileMenu) {
            const std::size_t amp = texts[key].find('&');
            ASSERT_NE(amp, std::string::npos) << key;
            const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(texts[key][amp + 1])));
            EXPECT_TRUE(taken.emplace(letter, key).second) << key << " and " << taken[letter];
        }
        std::string page = texts["FilenameHelp"];
        std::replace(page.begin(), page.end(), '\\', '/');
        const std::string html = ReadFile(std::string(DICT_SOURCE_DIR) + "/data/" + page);
        ASSERT_FALSE(html.empty()) << page;
        int keys = 0;
        for (const auto& [key, anchor] : texts) {
            if (!key.ends_with("Helpkey")) continue;
            ++keys;
            EXPECT_NE(html.find("id=\"" + anchor + "\""), std::string::npos) << key << "=" << anchor << " in " << page;
        }
        EXPECT_GT(keys, 0);
    }
}
