#include "core/strings/ui_strings.h"

#include <cstdint>
#include <cstdio>

#include "core/text/fixed_text.h"
#include "platform/message.h"
#include "platform/platform.h"

namespace {

const char* const kKeyNames[] = {
#define DICTIONARY_UI_KEY_NAME(name) #name,
    DICTIONARY_UI_KEYS(DICTIONARY_UI_KEY_NAME)
#undef DICTIONARY_UI_KEY_NAME
};
static_assert(sizeof kKeyNames / sizeof kKeyNames[0] == kUiKeyCount, "every key has a name");

struct UiTable {
    std::vector<char> image;  // descrambled file plus one zero byte, so the last entry always ends
    const char* slots[kUiKeyCount] = {};
};

UiTable table;

std::size_t KeyLength(const unsigned char* key) {
    std::size_t n = 0;
    while (key[n] != 0) ++n;
    return n;
}

const char kNoStringsFile[] = "No strings file found.   ";
const char kMissingKey[] = "String: %s not found.   ";
const char kFixedCaption[] = "Dictionary";

}  // namespace

const char* UiKeyName(UiKey key) {
    int i = static_cast<int>(key);
    return i >= 0 && i < kUiKeyCount ? kKeyNames[i] : "";
}

std::array<unsigned char, 30> ScramblingKey() {
    // A small linear congruential sequence; any fixed non-zero bytes would do.
    std::array<unsigned char, 30> key{};
    std::uint32_t state = 0x2545F491u;
    for (std::size_t i = 0; i < 29; ++i) {
        state = state * 1103515245u + 12345u;
        key[i] = static_cast<unsigned char>(1 + (state >> 16) % 255);
    }
    key[29] = 0;
    return key;
}

void Descramble(unsigned char* data, std::size_t size, const unsigned char* key) {
    std::size_t n = KeyLength(key);
    if (n == 0) return;
    for (std::size_t p = 0; p < size; ++p) data[p] = static_cast<unsigned char>(data[p] - key[p % n]);
}

void Scramble(unsigned char* data, std::size_t size, const unsigned char* key) {
    std::size_t n = KeyLength(key);
    if (n == 0) return;
    for (std::size_t p = 0; p < size; ++p) data[p] = static_cast<unsigned char>(data[p] + key[p % n]);
}

const char* FindUiEntry(const char* image, std::size_t size, const char* key) {
    std::string pattern = std::string(key) + "=";
    std::size_t pos = 0;
    while (pos < size && image[pos] != '\0') {
        const char* entry = image + pos;
        std::size_t i = 0;
        while (i < pattern.size() && pos + i < size && FoldAscii(entry[i]) == FoldAscii(pattern[i])) ++i;
        if (i == pattern.size()) return entry + i;
        while (pos < size && image[pos] != '\0') ++pos;
        ++pos;  // past the entry's zero byte
    }
    return nullptr;
}

UiLoadResult InstallUiStrings(std::vector<char> image) {
    FreeUiStrings();
    UiTable loaded;
    const std::size_t size = image.size();
    loaded.image = std::move(image);
    loaded.image.push_back('\0');
    for (int k = 0; k < kUiKeyCount; ++k) {
        const char* value = FindUiEntry(loaded.image.data(), size, kKeyNames[k]);
        if (!value) return {UiLoadStatus::MissingKey, static_cast<UiKey>(k)};
        loaded.slots[k] = value;
    }
    table = std::move(loaded);
    return {};
}

// The interface language's name as language.ini holds it, cut after this many characters.
constexpr std::size_t kLanguageNameChars = 148;

UiLoadResult LoadUiStringsFromWorkingDirectory() {
    const std::string cwd = platform::CurrentDirectory();
    std::string language;
    if (!cwd.empty() && cwd.size() <= 258)
        language =
            platform::ProfileReadString(cwd + "\\language.ini", "Dictionary", "Language", "", kLanguageNameChars);

    std::string bytes;
    if (!platform::ReadFileBytes(cwd + "\\strings\\" + language + ".str", bytes))
        return {UiLoadStatus::NoFile, UiKey::Count};
    std::vector<char> image(bytes.begin(), bytes.end());

    const auto key = ScramblingKey();
    Descramble(reinterpret_cast<unsigned char*>(image.data()), image.size(), key.data());
    return InstallUiStrings(std::move(image));
}

void LoadUiStrings() {
    UiLoadResult result = LoadUiStringsFromWorkingDirectory();
    switch (result.status) {
        case UiLoadStatus::Loaded:
            return;
        case UiLoadStatus::NoFile:
            ShowWarning(kNoStringsFile, kFixedCaption);
            break;
        case UiLoadStatus::MissingKey: {
            char text[128];
            std::snprintf(text, sizeof text, kMissingKey, UiKeyName(result.missingKey));
            ShowWarning(text, kFixedCaption);
            break;
        }
    }
    EndProcess(1);
}

const char* Ui(UiKey key) {
    int i = static_cast<int>(key);
    return i >= 0 && i < kUiKeyCount && table.slots[i] ? table.slots[i] : "";
}

const char* UiText(const char* key) {
    const char* value = table.image.empty() ? nullptr : FindUiEntry(table.image.data(), table.image.size() - 1, key);
    if (value) return value;
    char text[160];
    std::snprintf(text, sizeof text, kMissingKey, key);
    ShowWarning(text, kFixedCaption);
    EndProcess(1);
}

const char* UiTextOr(const char* key, const char* builtIn) {
    const char* value = table.image.empty() ? nullptr : FindUiEntry(table.image.data(), table.image.size() - 1, key);
    return value ? value : builtIn;
}

void FreeUiStrings() { table = UiTable{}; }

bool UiStringsLoaded() { return table.slots[0] != nullptr; }

int UiNumber(UiKey key) { return LeadingNumber(Ui(key)); }
