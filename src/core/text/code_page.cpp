#include "core/text/code_page.h"

#include <string>

#include "platform/text_convert.h"

unsigned CodePageOfCharset(int charset) {
    // The character sets of the GDI font headers and their code pages, as Windows pairs them.
    static const struct {
        int charset;
        unsigned codePage;
    } kPages[] = {
        {2, 42},     {77, 10000}, {128, 932},  {129, 949},  {130, 1361}, {134, 936},
        {136, 950},  {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
        {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}, {255, 437},
    };
    for (const auto& page : kPages)
        if (page.charset == charset) return page.codePage;
    return 1252;
}

bool IsDoubleByteCodePage(unsigned codePage) {
    // The East Asian sets above: Japanese, Simplified Chinese, Korean (two ways), Traditional Chinese.
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 || codePage == 1361;
}

namespace {

// The named character sets, the most used first.
const struct {
    int charset;
    const char* name;
} kNames[] = {
    {0, "Western"},
    {238, "Central European"},
    {204, "Cyrillic"},
    {161, "Greek"},
    {162, "Turkish"},
    {186, "Baltic"},
    {177, "Hebrew"},
    {178, "Arabic"},
    {163, "Vietnamese"},
    {222, "Thai"},
    {128, "Japanese"},
    {134, "Simplified Chinese"},
    {136, "Traditional Chinese"},
    {129, "Korean"},
};

}  // namespace

const char* CharsetName(int charset) {
    for (const auto& name : kNames)
        if (name.charset == charset) return name.name;
    return "";
}

int CharsetHolding(std::string_view utf8) {
    std::string converted;
    for (const auto& name : kNames)
        if (platform::Utf8ToCodePage(utf8, CodePageOfCharset(name.charset), converted)) return name.charset;
    return -1;
}
