// Text from UTF-8 into a code page, for the half million words of a dictionary. ASCII is
// the same in every code page a pair can have; for the single-byte code pages the platform
// converts each of the 128 upper bytes once, and the table made of them serves every word
// after.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CodePageWriter {
public:
    explicit CodePageWriter(unsigned codePage);
    // False when a character is not in the code page.
    bool Convert(const std::string& utf8, std::string& out) const;

private:
    unsigned codePage_;
    bool singleByte_;
    std::vector<std::pair<std::uint32_t, char>> bytes_;
};
