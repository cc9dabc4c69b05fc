// Recorded pronunciations: sound\<language>\<word>.wav.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The file of a text's sound; the text is used exactly as given. None when the path
// would be too long.
std::optional<std::string> SoundFileName(const std::string& language, const std::string& text);
bool SoundExists(const std::string& fileName);
// Whether a word can name its own sound file: not empty, none of the characters Windows
// forbids in a name (control characters, < > : " / \ | ? *), and no device name such as
// CON or LPT1, which the system would take for the device.
bool CanNameSoundFile(const std::string& word);
// Plays a wave file and returns when it has ended.
void PlaySoundFile(const std::string& fileName);

// The sound files that exist for a word cell (first language) or a translation cell
// (second language, each piece in order).
std::vector<std::string> WordSounds(const std::string& language, const std::string& word);
std::vector<std::string> TranslationSounds(const std::string& language, const std::string& translation);
