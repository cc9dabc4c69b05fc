#include "core/exchange/format_table.h"

#include <cstring>

#include "core/exchange/format_helpers.h"
#include "core/text/fixed_text.h"

const char* FormatName(ExchangeFormat format) { return FormatInfo(format).name; }

std::optional<ExchangeFormat> FormatNamed(std::string_view name) {
    for (const ExchangeFormatInfo& info : kExchangeFormats)
        if (EqualsIgnoringAsciiCase(name, info.name)) return info.format;
    return std::nullopt;
}

std::string FormatNameList() {
    std::string list;
    for (std::size_t i = 0; i < std::size(kExchangeFormats); ++i) {
        if (i > 0) list += i + 1 == std::size(kExchangeFormats) ? " or " : ", ";
        list += kExchangeFormats[i].name;
    }
    return list;
}

std::optional<ExchangeFormat> FormatWithExtension(std::string_view extension) {
    for (const ExchangeFormatInfo& info : kExchangeFormats)
        for (const char* known : info.extensions)
            if (known && EqualsIgnoringAsciiCase(extension, known)) return info.format;
    return std::nullopt;
}

bool FormatIsUtf8(ExchangeFormat format) { return FormatInfo(format).utf8; }

std::string ReadPattern(std::initializer_list<ExchangeFormat> formats) {
    std::string pattern;
    for (ExchangeFormat format : formats)
        for (const char* extension : FormatInfo(format).extensions) {
            const std::string item = extension ? std::string("*.") + extension : "";
            if (item.empty() || (";" + pattern + ";").find(";" + item + ";") != std::string::npos) continue;
            if (!pattern.empty()) pattern += ';';
            pattern += item;
        }
    return pattern;
}

std::string WritePattern(ExchangeFormat format) { return std::string("*.") + FormatInfo(format).extensions[0]; }

std::optional<ExchangeFormat> FormatOfFile(std::string_view path, std::string_view head) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return std::nullopt;
    // Plain text and the flashcard program's share their extensions; the head tells them apart.
    const std::optional<ExchangeFormat> format = FormatWithExtension(path.substr(dot + 1));
    if (format != ExchangeFormat::Tsv && format != ExchangeFormat::Anki) return format;
    const std::string_view text = WithoutBom(head);
    for (const char* header : {"#separator:", "#html:", "#columns:", "#notetype", "#deck", "#tags", "#guid"})
        if (text.substr(0, std::strlen(header)) == header) return ExchangeFormat::Anki;
    return ExchangeFormat::Tsv;
}

std::string SizeName(std::size_t bytes) {
    static const char* const kUnits[] = {"bytes", "KB", "MB", "GB"};
    std::size_t unit = 0;
    while (unit + 1 < std::size(kUnits) && bytes >= 1024 && bytes % 1024 == 0) {
        bytes /= 1024;
        ++unit;
    }
    return std::to_string(bytes) + " " + kUnits[unit];
}
