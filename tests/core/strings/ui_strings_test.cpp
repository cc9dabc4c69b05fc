#include "core/strings/ui_strings.h"

#include <gtest/gtest.h>

#include <random>

#include "test_support.h"
#include "core/strings/strings_file.h"

namespace {

// A descrambled image from entries, each followed by its zero byte.
std::vector<char> Image(std::initializer_list<std::string> entries) {
    std::vector<char> image;
    for (const std::string& e : entries) {
        image.insert(image.end(), e.begin(), e.end());
        image.push_back('\0');
    }
    return image;
}

std::string Lookup(const std::vector<char>& image, const char* key) {
    std::vector<char> guarded = image;
    guarded.push_back('\0');
    const char* value = FindUiEntry(guarded.data(), image.size(), key);
    return value ? value : "<missing>";
}

std::string PackedStrings(const std::string& text) {
    std::string packed, error;
    EXPECT_TRUE(PackStrings(text, packed, error)) << error;
    return packed;
}

}  // namespace

TEST(UiStrings, KeyIsTwentyNineNonZeroBytes) {
    auto key = ScramblingKey();
    for (int i = 0; i < 29; ++i) EXPECT_NE(key[i], 0) << i;
    EXPECT_EQ(key[29], 0);
}

TEST(UiStrings, ScramblingRunsAcrossEntriesAndInverts) {
    auto key = ScramblingKey();
    std::string data = std::string("Done=Close\0Help=Help\0\0", 22) + std::string(100, 'x');
    std::string scrambled = data;
    Scramble(reinterpret_cast<unsigned char*>(scrambled.data()), scrambled.size(), key.data());
    // The 30th byte uses the key's first byte again.
    EXPECT_EQ(static_cast<unsigned char>(scrambled[29] - data[29]), key[0]);
    EXPECT_EQ(static_cast<unsigned char>(scrambled[0]), static_cast<unsigned char>(data[0] + key[0]));
    Descramble(reinterpret_cast<unsigned char*>(scrambled.data()), scrambled.size(), key.data());
    EXPECT_EQ(scrambled, data);
}

TEST(UiStrings, EntryMatchingRules) {
    EXPECT_EQ(Lookup(Image({"dictionary=Woordenboek"}), "Dictionary"), "Woordenboek");
    EXPECT_EQ(Lookup(Image({"Done =Close"}), "Done"), "<missing>");
    EXPECT_EQ(Lookup(Image({"Done=First", "Done=Second"}), "Done"), "First");
    EXPECT_EQ(Lookup(Image({"Done="}), "Done"), "");
    EXPECT_EQ(Lookup(Image({"Done=a=b=c"}), "Done"), "a=b=c");
    EXPECT_EQ(Lookup(Image({"HelpX=no", "Help=yes"}), "Help"), "yes");
    EXPECT_EQ(Lookup(Image({"a note without a key", "Help=yes"}), "Help"), "yes");
    // Only A-Z fold: a byte above 127 must be equal.
    EXPECT_EQ(Lookup(Image({"\xC9rror=x"}), "\xE9rror"), "<missing>");
}

TEST(UiStrings, TableEndsAtFirstEmptyEntryOrDataEnd) {
    EXPECT_EQ(Lookup(Image({"Done=1", "", "Help=2"}), "Help"), "<missing>");
    std::vector<char> unterminated = {'H', 'e', 'l', 'p', '=', 'o', 'k'};
    EXPECT_EQ(Lookup(unterminated, "Help"), "ok");
}

TEST(UiStrings, MissingKeyReportsFirstInLoadOrder) {
    std::string text = StringsText({{"IniAddnew", "\x01"}, {"AccelExit", "\x01"}});
    std::vector<char> image(text.begin(), text.end());
    for (char& c : image)
        if (c == '\n') c = '\0';
    UiLoadResult result = InstallUiStrings(image);
    EXPECT_EQ(result.status, UiLoadStatus::MissingKey);
    EXPECT_EQ(result.missingKey, UiKey::IniAddnew);
    EXPECT_FALSE(UiStringsLoaded());
}

TEST(UiStrings, LoadsFileChosenByLanguageIni) {
    WorkDir dir;
    WriteFile("language.ini", "[Dictionary]\nLanguage=english\n");
    WriteFile("strings/english.str", PackedStrings(StringsText({{"Done", "Close now"}})));
    ASSERT_EQ(LoadUiStringsFromWorkingDirectory().status, UiLoadStatus::Loaded);
    EXPECT_STREQ(Ui(UiKey::Done), "Close now");
    EXPECT_STREQ(UiText("MainLanguage"), "dutch");
}

TEST(UiStrings, BadFilesFailAtStartWithoutCrashing) {
    WorkDir dir;
    // No language.ini: the file looked for is strings\.str.
    EXPECT_EQ(LoadUiStringsFromWorkingDirectory().status, UiLoadStatus::NoFile);
    WriteFile("strings/.str", PackedStrings(StringsText()));
    EXPECT_EQ(LoadUiStringsFromWorkingDirectory().status, UiLoadStatus::Loaded);

    WriteFile("language.ini", "[Dictionary]\nLanguage=english\n");
    WriteFile("strings/english.str", "");
    UiLoadResult empty = LoadUiStringsFromWorkingDirectory();
    EXPECT_EQ(empty.status, UiLoadStatus::MissingKey);
    EXPECT_EQ(empty.missingKey, UiKey::MainMenuFile0);

    // Scrambled with another key: nothing reads as a key.
    std::string plain = StringsText();
    std::string other;
    for (std::size_t i = 0; i < plain.size(); ++i) other += static_cast<char>((plain[i] == '\n' ? 0 : plain[i]) + 7);
    WriteFile("strings/english.str", other);
    UiLoadResult wrongKey = LoadUiStringsFromWorkingDirectory();
    EXPECT_EQ(wrongKey.status, UiLoadStatus::MissingKey);
    EXPECT_EQ(wrongKey.missingKey, UiKey::MainMenuFile0);

    // Truncated anywhere before the last entry: a key is missing.
    std::string packed = PackedStrings(StringsText());
    for (std::size_t cut : {std::size_t{1}, packed.size() / 3, packed.size() / 2, packed.size() - 30}) {
        WriteFile("strings/english.str", packed.substr(0, cut));
        EXPECT_EQ(LoadUiStringsFromWorkingDirectory().status, UiLoadStatus::MissingKey) << cut;
    }
}

TEST(UiStrings, RandomAndTruncatedImagesNeverReadOutside) {
    std::mt19937 random(12345);
    std::string valid = StringsText();
    for (char& c : valid)
        if (c == '\n') c = '\0';
    for (int round = 0; round < 300; ++round) {
        std::vector<char> image;
        if (round % 2 == 0) {
            std::size_t n = random() % 600;
            for (std::size_t i = 0; i < n; ++i) image.push_back(static_cast<char>(random() % 4 == 0 ? 0 : random()));
        } else {
            std::size_t cut = random() % valid.size();
            image.assign(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(cut));
            if (!image.empty()) image[random() % image.size()] = static_cast<char>(random());
        }
        UiLoadResult result = InstallUiStrings(image);
        EXPECT_NE(result.status, UiLoadStatus::Loaded);
    }
}

#ifndef _WIN32
TEST(UiStringsDeathTest, FixedMessagesAndExitCodeOne) {
    WorkDir dir;
    EXPECT_EXIT(LoadUiStrings(), testing::ExitedWithCode(1), "Dictionary: No strings file found\\.   ");
    WriteFile("strings/.str", PackedStrings(StringsText({{"IniAddnew", "\x01"}})));
    EXPECT_EXIT(LoadUiStrings(), testing::ExitedWithCode(1), "Dictionary: String: IniAddnew not found\\.   ");
}
#endif
