// Converting between the plain text of a strings file (one "key=value" entry per
// line) and the scrambled file the program loads.
#pragma once

#include <string>

// Each non-empty line becomes an entry (LF or CRLF breaks; bytes as they are), followed
// by its zero byte; one more zero byte ends the table. False when a line holds a zero
// byte, which would end its entry early.
bool PackStrings(const std::string& plain, std::string& packed, std::string& error);
// The entries up to the table's end, one per line with LF breaks.
std::string UnpackStrings(const std::string& packed);
