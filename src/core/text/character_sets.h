// The character sets a pair's language can be written in: the codes the catalogue stores,
// with the names the windows show for them.
#pragma once

struct CharacterSetName {
    int charset;
    // As the new-language window offers it: the Western set under its font character set's name.
    const char* entry;
    // As the information window names a pair's set.
    const char* name;
};

// In the order the new-language window offers them; the first is preselected.
inline constexpr CharacterSetName kCharacterSetNames[] = {
    {0, "ANSI", "Western"},      {161, "Greek", "Greek"},
    {162, "Turkish", "Turkish"}, {238, "East Europe", "East Europe"},
    {204, "Russian", "Russian"}, {186, "Baltic", "Baltic"},
};

// The information window's name of a set; nullptr for a set the table does not hold.
inline const char* CharacterSetNameOf(int charset) {
    for (const CharacterSetName& set : kCharacterSetNames)
        if (set.charset == charset) return set.name;
    return nullptr;
}
