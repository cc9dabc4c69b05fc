#include "core/lookup/sounds.h"

#include <cstdio>

#include "core/text/file_names.h"
#include "core/text/pieces.h"
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

std::vector<std::string> WordSounds(const std::string& language, const std::string& word) {
    std::vector<std::string> files;
    if (auto f = SoundFileName(language, word); f && SoundExists(*f)) files.push_back(*f);
    return files;
}

std::vector<std::string> TranslationSounds(const std::string& language, const std::string& translation) {
    std::vector<std::string> files;
    ForEachTranslationPiece(
        translation,
        [&](std::string_view piece) {
            if (auto f = SoundFileName(language, std::string(piece)); f && SoundExists(*f)) files.push_back(*f);
            return false;
        },
        BlankPieces::KeptEmpty);
    return files;
}

// The file is the word with ".wav" after it, so a word such as "nul" names a device.
bool CanNameSoundFile(const std::string& word) { return !word.empty() && CanNameWindowsFile(word + ".wav"); }
