#include "core/lookup/sounds.h"

#include <cstdio>

#include "core/text/file_names.h"
#include "platform/platform.h"

std::optional<std::string> SoundFileName(const std::string& language, const std::string& text) {
    return platform::MakePath({"sound\\", language, "\\", text, ".wav"});
}

bool SoundExists(const std::string& fileName) {
    FILE* file = platform::OpenFile(fileName, "rb");
    if (!file) return false;
    std::fclose(file);
    return true;
}

void PlaySoundFile(const std::string& fileName) { platform::PlayWaveFile(fileName); }

std::vector<std::string> TranslationPieces(const std::string& translation) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start <= translation.size()) {
        std::size_t comma = translation.find(',', start);
        if (comma == std::string::npos) comma = translation.size();
        if (comma > start) {
            std::size_t b = translation.find_first_not_of(' ', start);
            std::size_t e = translation.find_last_not_of(' ', comma - 1);
            pieces.push_back(b == std::string::npos || b >= comma ? std::string() : translation.substr(b, e - b + 1));
        }
        start = comma + 1;
    }
    return pieces;
}

std::vector<std::string> WordSounds(const std::string& language, const std::string& word) {
    std::vector<std::string> files;
    if (auto f = SoundFileName(language, word); f && SoundExists(*f)) files.push_back(*f);
    return files;
}

std::vector<std::string> TranslationSounds(const std::string& language, const std::string& translation) {
    std::vector<std::string> files;
    for (const std::string& piece : TranslationPieces(translation))
        if (auto f = SoundFileName(language, piece); f && SoundExists(*f)) files.push_back(*f);
    return files;
}

// The file is the word with ".wav" after it, so a word such as "nul" names a device.
bool CanNameSoundFile(const std::string& word) { return !word.empty() && CanNameWindowsFile(word + ".wav"); }
