// The named character references of HTML ("&eacute;"), which flashcard fields hold.
#pragma once

#include <string_view>

// The UTF-8 text of the entity named `name` (without "&" and ";"), case as written; null
// for a name HTML does not define.
const char* HtmlNamedEntity(std::string_view name);
