#include "core/strings/strings_file.h"

#include "core/strings/ui_strings.h"

bool PackStrings(const std::string& plain, std::string& packed, std::string& error) {
    packed.clear();
    std::size_t pos = 0, lineNumber = 0;
    while (pos < plain.size()) {
        std::size_t nl = plain.find('\n', pos);
        std::string line = plain.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        pos = nl == std::string::npos ? plain.size() : nl + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // An empty entry would end the table, so blank lines only separate.
        if (line.empty()) continue;
        if (line.find('\0') != std::string::npos) {
            error = "line " + std::to_string(lineNumber) + " holds a zero byte";
            return false;
        }
        packed += line;
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
