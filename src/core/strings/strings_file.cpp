#include "core/strings/strings_file.h"

#include "core/strings/ui_strings.h"
#include "platform/lines.h"

bool PackStrings(const std::string& plain, std::string& packed, std::string& error) {
    packed.clear();
    std::size_t lineNumber = 0;
    for (const TextLine& line : SplitLines(plain, LineBreaks::LineFeed)) {
        ++lineNumber;
        // An empty entry would end the table, so blank lines only separate.
        if (line.text.empty()) continue;
        if (line.text.find('\0') != std::string_view::npos) {
            error = "line " + std::to_string(lineNumber) + " holds a zero byte";
            return false;
        }
        packed += line.text;
        packed += '\0';
    }
    packed += '\0';
    const auto key = ScramblingKey();
    Scramble(reinterpret_cast<unsigned char*>(packed.data()), packed.size(), key.data());
    return true;
}

std::string UnpackStrings(const std::string& packed) {
    std::string data = packed;
    const auto key = ScramblingKey();
    Descramble(reinterpret_cast<unsigned char*>(data.data()), data.size(), key.data());
    std::string plain;
    std::size_t pos = 0;
    while (pos < data.size() && data[pos] != '\0') {
        std::size_t end = data.find('\0', pos);
        if (end == std::string::npos) end = data.size();
        plain.append(data, pos, end - pos);
        plain += '\n';
        pos = end + 1;
    }
    return plain;
}
