#include "core/text/file_names.h"

#include <gtest/gtest.h>

#include <string>

// What Windows would refuse, change or open as a device, against names it keeps as typed.
TEST(FileNames, OnlyNamesWindowsKeepsAsTypedAndNoDevices) {
    const struct {
        std::string name;
        bool allowed;
    } cases[] = {
        {"house", true},      {"caf\xE9", true},   {"don't", true},     {"con-man", true},
        {"console", true},    {"a.con", true},     {"COM0", true},      {"COM10", true},
        {"LPT", true},        {"conin", true},     {" lead", true},     {"house..wav", true},
        {"", false},          {"a<b", false},      {"a>b", false},      {"a:b", false},
        {"say \"x\"", false}, {"1/2", false},      {"a\\b", false},     {"a|b", false},
        {"what?", false},     {"a*", false},       {"tab\t", false},    {std::string("a\0b", 3), false},
        {"trailing ", false}, {"dot.", false},     {".", false},        {"..", false},
        {"CON", false},       {"prn", false},      {"Aux", false},      {"nUl", false},
        {"COM1", false},      {"com9", false},     {"LPT1", false},     {"lpt9", false},
        {"CONIN$", false},    {"conout$", false},  {"nul.x", false},    {"NUL.tar.gz", false},
        {"aux ", false},      {"Con .txt", false}, {"con..wav", false}, {"prn. .wav", false},
    };
    for (const auto& c : cases) EXPECT_EQ(CanNameWindowsFile(c.name), c.allowed) << '"' << c.name << '"';
}
