// The text of a profile file ("[section]" lines, then "key=value" lines), read and
// changed the way the Windows profile functions do: names without regard to case,
// blanks around keys and values dropped, every other line kept as it is. CR, LF and
// CRLF all end a line.
#pragma once

#include <optional>
#include <string>

std::optional<std::string> ProfileTextGet(const std::string& text, const std::string& section, const std::string& key);
// Returns the text with the key set, added at the end of its section, or the section
// added at the end of the text.
std::string ProfileTextSet(const std::string& text, const std::string& section, const std::string& key,
                           const std::string& value);
// Leading blanks, an optional sign and decimal digits, as the profile integer reader takes them.
int ProfileTextToInt(const std::string& value);
