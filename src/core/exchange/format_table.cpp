#include "core/exchange/format_table.h"

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
