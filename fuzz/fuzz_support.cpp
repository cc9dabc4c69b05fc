#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "core/catalogue/catalogue.h"
#include "core/store/collation.h"
#include "core/store/sorting.h"
#include "core/store/store.h"
#include "core/store/word_record.h"
#include "core/strings/ui_strings.h"
#include "platform/message.h"

namespace fs = std::filesystem;

namespace {

fs::path scratch;

// The program's own paths use backslashes; here they name the same files.
std::string Native(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

void RemoveScratch() {
    std::error_code ec;
    fs::current_path(scratch.parent_path(), ec);
    fs::remove_all(scratch, ec);
}

}  // namespace

void EnterScratchWorkingDirectory() {
    if (!scratch.empty()) return;
    std::string pattern = (fs::temp_directory_path() / "dict-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    scratch = pattern;
    fs::current_path(scratch);
    std::atexit(RemoveScratch);
    SetMessageHandler([](const UserMessage&) {});

    std::string image = FileBytes(DICT_SOURCE_DIR "/data/strings/english.str");
    const auto key = ScramblingKey();
    Descramble(reinterpret_cast<unsigned char*>(image.data()), image.size(), key.data());
    if (InstallUiStrings(std::vector<char>(image.begin(), image.end())).status != UiLoadStatus::Loaded) {
        std::fprintf(stderr, "cannot load %s\n", DICT_SOURCE_DIR "/data/strings/english.str");
        std::abort();
    }
}

std::vector<std::optional<std::string_view>> SplitInput(const std::uint8_t* data, std::size_t size, std::size_t parts) {
    static constexpr std::string_view kMarker = "\n@@\n";
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::optional<std::string_view>> out(parts);
    for (std::size_t i = 0; i < parts; ++i) {
        const std::size_t cut = rest.find(kMarker);
        if (cut == std::string_view::npos || i + 1 == parts) {
            out[i] = rest;
            break;
        }
        out[i] = rest.substr(0, cut);
        rest.remove_prefix(cut + kMarker.size());
    }
    return out;
}

void PutFile(const std::string& programPath, std::optional<std::string_view> bytes) {
    const std::string path = Native(programPath);
    std::error_code ec;
    if (!bytes) {
        fs::remove(path, ec);
        return;
    }
    const fs::path p(path);
    if (p.has_parent_path()) fs::create_directories(p.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(Native(path), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void PropertyFailed(const char* what, const char* file, int line, const std::string& detail) {
    std::fprintf(stderr, "\n%s:%d: property failed: %s\n%s\n", file, line, what, detail.c_str());
    std::abort();
}

std::string Shown(std::string_view bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

std::vector<WordRecord> WholeRecords(std::string_view bytes) {
    std::vector<WordRecord> records(bytes.size() / sizeof(WordRecord));
    if (!records.empty()) std::memcpy(records.data(), bytes.data(), records.size() * sizeof(WordRecord));
    for (WordRecord& r : records) TerminateFields(r);
    return records;
}

std::string Fields(const WordRecord& record) { return std::string(record.word) + '\0' + record.translation; }

void SortAndCheck(const std::vector<WordRecord>& before, std::int32_t sortedCount, const std::string& detail) {
    FUZZ_CHECK(SortStore(nullptr, sortedCount) == 0, detail);
    const std::optional<std::string> path = WordFilePath(*CurrentPair);
    const std::vector<WordRecord> after = WholeRecords(FileBytes(*path));
    std::multiset<std::string> wanted, got;
    for (const WordRecord& r : before)
        if (!IsDeleted(r)) wanted.insert(Fields(r));
    for (const WordRecord& r : after) {
        FUZZ_CHECK(!IsDeleted(r), detail);
        got.insert(Fields(r));
    }
    FUZZ_CHECK(got == wanted, detail);
    FUZZ_CHECK(WordCount == static_cast<std::int32_t>(after.size()), detail);
    for (std::size_t i = 1; i < after.size(); ++i)
        FUZZ_CHECK(CompareWords(after[i - 1].word, after[i].word) <= 0,
                   Shown(after[i - 1].word) + " before " + Shown(after[i].word) + "\n" + detail);
}
