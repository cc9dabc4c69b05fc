#include "core/strings/ui_strings.h"

#include "core/strings/strings_file.h"
#include "test_support.h"

namespace {

// Looks a key up in an image of zero-terminated entries.
std::string Lookup(std::string image, const char* key, bool terminated = true) {
    const std::size_t size = terminated ? image.size() + 1 : image.size();
    image.push_back('\0');  // the guard every loaded image carries
    const char* value = FindUiEntry(image.data(), size, key);
    return value ? value : "<missing>";
}

}  // namespace

TEST(UiStrings, EntryMatchingRules) {
    // An image, a key and the value found.
    const std::tuple<std::string, const char*, const char*> cases[] = {
        {std::string("dictionary=Woordenboek"), "Dictionary", "Woordenboek"},
        {std::string("Done =Close"), "Done", "<missing>"},
        {std::string("Done=First\0Done=Second", 22), "Done", "First"},
        {std::string("Done="), "Done", ""},
        {std::string("HelpX=no\0Help=yes", 17), "Help", "yes"},
        {std::string("\xC9rror=x"), "\xE9rror", "<missing>"},        // only A-Z fold
        {std::string("Done=1\0\0Help=2", 14), "Help", "<missing>"},  // the table ends at an empty entry
    };
    for (const auto& [image, key, value] : cases) EXPECT_EQ(Lookup(image, key), value) << key;
    EXPECT_EQ(Lookup("Help=ok", "Help", false), "ok");  // or at the data's end
}

#ifndef _WIN32
// Without language.ini the file is strings\.str; the file language.ini names, and no file at
// all, are the command line's test's. The first missing key is named.
TEST(UiStringsDeathTest, FixedMessagesAndExitCodeOne) {
    WorkDir dir;
    std::string packed, error;
    ASSERT_TRUE(PackStrings(StringsText({{"IniAddnew", "\x01"}, {"AccelExit", "\x01"}}), packed, error));
    WriteFile("strings/.str", packed);
    EXPECT_EXIT(LoadUiStrings(), testing::ExitedWithCode(1), "Dictionary: String: IniAddnew not found\\.   ");
}
#endif
