#include "core/exchange/import_files.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/catalogue/catalogue.h"
#include "core/exchange/kvtml.h"
#include "core/exchange/text_formats.h"
#include "core/text/fixed_text.h"
#include "platform/platform.h"
#include "platform/replace_file.h"

bool LoadWordFile(const WordListDescriptor& pair, std::vector<WordRecord>& records, std::string& bytes,
                  std::string& error) {
    const std::optional<std::string> path = WordFilePath(pair);
    if (!path) {
        error = "the word file's path is too long";
        return false;
    }
    bytes.clear();
    if (platform::FileExists(*path) && !platform::ReadFileBytes(*path, bytes)) {
        error = "cannot read " + *path;
        return false;
    }
    records.clear();
    records.reserve(bytes.size() / sizeof(WordRecord));
    for (std::size_t at = 0; at + sizeof(WordRecord) <= bytes.size(); at += sizeof(WordRecord)) {
        WordRecord record;
        std::memcpy(&record, bytes.data() + at, sizeof record);
        TerminateFields(record);
        if (!IsDeleted(record)) records.push_back(record);
    }
    return true;
}

namespace {

// The file's size, unless it cannot be told or is larger than `limit`: then none, with a
// message ("cannot read" when a read would fail).
std::optional<std::uint64_t> BoundedSize(const std::string& path, std::size_t limit, std::string& error) {
    FILE* in = platform::OpenFile(path, "rb");
    const std::int64_t size = in ? platform::FileSize(in) : -1;
    if (in) std::fclose(in);
    if (size >= 0 && static_cast<std::uint64_t>(size) > limit) {
        error = path + " is larger than " + SizeName(limit) + ", more than an import takes";
        return std::nullopt;
    }
    if (size < 0) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(size);
}

// The whole file, unless it is larger than `limit`.
bool ReadBounded(const std::string& path, std::size_t limit, std::string& bytes, std::string& error) {
    if (!BoundedSize(path, limit, error)) return false;
    if (!platform::ReadFileBytes(path, bytes)) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

// The whole file as a view of it, unless it is larger than `limit`.
bool ViewBounded(const std::string& path, std::size_t limit, platform::FileView& view, std::string& error) {
    if (!BoundedSize(path, limit, error)) return false;
    if (!view.Open(path) || view.Bytes().size() > limit) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

}  // namespace

bool ReadDictionaryFiles(const std::string& path, const ImportOptions& options, platform::FileView& index,
                         std::optional<UnpackingText>& dict, std::string& error) {
    const bool indexNamed = path.size() > 6 && EqualsIgnoringAsciiCase(path.substr(path.size() - 6), ".index");
    const std::string stem = indexNamed ? path.substr(0, path.size() - 6) : path;
    // The definitions first, so that they are unpacked while the index is read; the index's
    // failure is still the one told.
    platform::FileView packed;
    std::string dictError;
    const bool plain = !platform::FileExists(stem + ".dict.dz");
    const bool dictRead = ViewBounded(stem + (plain ? ".dict" : ".dict.dz"), options.maxText, packed, dictError);
    if (dictRead) dict.emplace(std::move(packed), options.maxText);
    if (!ViewBounded(path, options.maxText, index, error)) {
        dict.reset();
        return false;
    }
    if (!dictRead) {
        error = dictError.rfind("cannot read ", 0) == 0 ? "cannot read " + stem + ".dict.dz (nor " + stem + ".dict)"
                                                        : dictError;
        return false;
    }
    return true;
}

bool ReadForeignFile(const std::string& path, ExchangeFormat format, const ImportOptions& options,
                     const WordListDescriptor& pair, ForeignFile& file, std::string& error) {
    std::string text;
    if (!ReadBounded(path, options.maxText, text, error)) return false;
    switch (format) {
        case ExchangeFormat::Tsv:
            return ReadDelimited(text, options.separator, file, error, '\t');
        case ExchangeFormat::Csv:
            return ReadDelimited(text, options.separator, file, error, ',');
        case ExchangeFormat::Anki:
            return ReadAnki(text, file, error);
        case ExchangeFormat::Kvtml:
            return ReadKvtml(text, options.first.empty() ? LanguageNameUtf8(pair.name1) : options.first,
                             options.second.empty() ? LanguageNameUtf8(pair.name2) : options.second, file, error);
        case ExchangeFormat::FreeDict:
            break;
    }
    return false;
}

std::optional<ExchangeFormat> FormatFor(const std::string& path, std::optional<ExchangeFormat> format,
                                        const std::string& head, std::string& error) {
    if (format) return format;
    format = FormatOfFile(path, head);
    if (!format) error = "the format of " + path + " is not known by its name; give it with --format";
    return format;
}

bool OutOfMemory(std::string& error, const std::string& what) {
    error = "there is not enough memory to " + what + "; nothing was changed";
    return false;
}
