// Base forms that follow from spelling alone, so no dictionary lists them: the edges a
// text's punctuation leaves on a word, English possessives and contractions, French
// elision, and the regular plural endings of German and Dutch derived nouns. Bytes are in
// the pair's code page, where the typographic apostrophe is 0x92 (the Windows code pages
// of the Latin and Greek languages all put it there).
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Which language's rules apply, from the locale name.
enum class RuleLanguage { Other, English, German, Dutch, French };
RuleLanguage RuleLanguageOf(std::string_view locale);

// The word without the apostrophes and hyphens that stand at its edges: the reading aid
// takes both as parts of a word, so a quoted word or a "Haus-" of "Haus- und Hofhund"
// comes with them. Empty when nothing else is left.
std::string_view TrimWordEdges(std::string_view word);

// The words `word` stands for by rule, most likely first; none when no rule applies.
std::vector<std::string> RuleBases(RuleLanguage language, std::string_view word);
