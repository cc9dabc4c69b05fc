#include "test_support.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "core/catalogue/catalogue.h"
#include "core/session/session.h"
#include "core/settings/settings.h"
#include "core/store/collation.h"
#include "core/store/store.h"
#include "core/strings/ui_keys.h"
#include "core/strings/ui_strings.h"
#include "platform/file_writes.h"
#include "platform/message.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

WorkDir::WorkDir() : previous_(fs::current_path()) {
    static std::atomic<int> counter{0};
    for (;;) {
        path_ =
            fs::temp_directory_path() / ("dict-test-" + std::to_string(std::rand()) + "-" + std::to_string(counter++));
        if (fs::create_directory(path_)) break;
    }
    fs::current_path(path_);
}

WorkDir::~WorkDir() {
    std::error_code ec;
    fs::current_path(previous_, ec);
    fs::remove_all(path_, ec);
}

StoreCloser::~StoreCloser() { CloseStore(); }

void WriteFile(const std::string& path, const std::string& content) {
    if (const fs::path parent = fs::path(path).parent_path(); !parent.empty()) fs::create_directories(parent);
    std::ofstream(path, std::ios::binary) << content;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Exists(const std::string& path) { return fs::exists(path); }

std::string StringsText(const std::map<std::string, std::string>& overrides) {
    static const std::map<std::string, std::string> values = {
        {"PathLanguage", "words\\"}, {"PathNameList", "lists\\"},      {"PathIcons", "icons\\"},
        {"FilenameIni", "cat.ini"},  {"FilenameTempList", "list.tmp"}, {"FilenameTempLanguage", "words.tmp"},
        {"IniSelectedLen", "10"},    {"IniLanguage", "[languages]"},   {"IniSelected", "[selected]"},
        {"Locale", "dutch"},         {"MainLanguage", "dutch"},        {"Dictionary", "Dictionary"},
        {"CharactersetCode", "0"},   {"AviDelay", "AviDelay"},         {"NoIni", "No catalogue."},
    };
    std::map<std::string, std::string> all = overrides;
    for (int k = 0; k < kUiKeyCount; ++k) {
        const std::string key = UiKeyName(static_cast<UiKey>(k));
        const auto v = values.find(key);
        all.emplace(key, v != values.end() ? v->second : key + " text");
    }
    std::string text;
    for (const auto& [key, value] : all)
        if (value != "\x01") text += key + "=" + value + "\n";
    return text;
}

std::vector<char> StringsImage(const std::string& text) {
    std::vector<char> image(text.begin(), text.end());
    std::replace(image.begin(), image.end(), '\n', '\0');
    return image;
}

void UseStrings(const std::map<std::string, std::string>& overrides) {
    ASSERT_EQ(InstallUiStrings(StringsImage(StringsText(overrides))).status, UiLoadStatus::Loaded);
}

WordRecord Record(const std::string& word, const std::string& translation, int deleted) {
    WordRecord r{};
    SetWord(r, word);
    SetTranslation(r, translation);
    r.deleted = static_cast<std::int16_t>(deleted);
    return r;
}

std::string RecordBytes(const std::vector<WordRecord>& records) {
    return std::string(reinterpret_cast<const char*>(records.data()), records.size() * sizeof(WordRecord));
}

void WriteRecords(const std::string& path, const std::vector<WordRecord>& records) {
    WriteFile(path, RecordBytes(records));
}

std::string NumberedWord(int n) {
    char word[16];
    std::snprintf(word, sizeof word, "w%05d", n);
    return word;
}

void UseCatalogue(const std::string& text, const std::map<std::string, std::string>& strings) {
    UseStrings(strings);
    Settings = SettingsValues{};
    WriteFile("cat.ini", text);
    ASSERT_EQ(BuildCatalogue(), 0) << text;
}

void WriteEmptyWordFiles() {
    for (WordListDescriptor* d = CatalogueHead; d; d = d->next)
        WriteRecords(std::string("words/") + WordFileName(*d), {});
}

void UsePair(const std::string& text, const std::vector<WordRecord>& words, const std::string& list,
             const std::vector<WordRecord>& entries) {
    UseCatalogue(text);
    WriteEmptyWordFiles();
    CurrentPair = PairAt(0);
    WriteRecords(std::string("words/") + WordFileName(*CurrentPair), words);
    if (!list.empty()) {
        WriteRecords("lists/" + list + "/" + ListFileName(*CurrentPair), entries);
        Settings.PracticeList = list;
    }
    SetStoreAccess(StoreAccess::ReadWrite);
    SetCollation(*CurrentPair, LocaleReport::Silent);
}

void OpenPair(const std::string& text, const std::vector<WordRecord>& words, const std::string& list,
              const std::vector<WordRecord>& entries) {
    UsePair(text, words, list, entries);
    ReopenStore();
}

namespace {
MessageLog* activeLog;
}

MessageLog::MessageLog() {
    activeLog = this;
    SetMessageHandler([](const UserMessage& m) { activeLog->messages.push_back(m.caption + ": " + m.text); });
}

MessageLog::~MessageLog() {
    SetMessageHandler(nullptr);
    activeLog = nullptr;
}

std::vector<WordRecord> ReadRecords(const std::string& path) {
    std::string bytes = ReadFile(path);
    std::vector<WordRecord> records(bytes.size() / sizeof(WordRecord));
    if (!records.empty()) std::memcpy(records.data(), bytes.data(), records.size() * sizeof(WordRecord));
    return records;
}

std::vector<std::string> WordsIn(const std::string& path) {
    std::vector<std::string> words;
    for (const WordRecord& r : ReadRecords(path)) words.push_back(r.word);
    return words;
}

#ifdef _WIN32
void ResetWinIni() {
    WriteProfileStringA("Dictionary", nullptr, nullptr);
    WriteProfileStringA(nullptr, nullptr, nullptr);  // flush the cached file
}

std::string WinIniText() {
    WriteProfileStringA(nullptr, nullptr, nullptr);
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, sizeof dir);
    return ReadFile(std::string(dir) + "\\win.ini");
}
#else
void ResetWinIni() {
    static const std::string path =
        (fs::temp_directory_path() / ("dict-win-" + std::to_string(getpid()) + ".ini")).string();
    setenv("DICT_WININI", path.c_str(), 1);
    std::remove(path.c_str());
}

std::string WinIniText() { return ReadFile(std::getenv("DICT_WININI")); }
#endif

FailingFileStep::FailingFileStep(std::uint64_t n) { platform::FailFileStep(n); }

FailingFileStep::~FailingFileStep() { platform::FailFileStep(0); }

std::map<std::string, std::string> FilesHere() {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(fs::current_path()))
        if (e.is_regular_file())
            files[fs::relative(e.path(), fs::current_path()).generic_string()] = ReadFile(e.path().string());
    return files;
}
