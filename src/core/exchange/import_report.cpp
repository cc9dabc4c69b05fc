// The report of an import, as lines for the user and as the file kept beside the word file.
#include <cstdio>
#include <new>

#include "core/catalogue/catalogue.h"
#include "core/exchange/exchange.h"
#include "core/exchange/text_formats.h"
#include "core/text/code_page.h"
#include "core/text/utf8.h"
#include "platform/replace_file.h"
#include "platform/text_convert.h"

namespace {

// Appends text whose line ends are '\n' with `newline` for each.
void AppendLines(std::string& out, std::string_view text, std::string_view newline) {
    for (std::size_t end; newline != "\n" && (end = text.find('\n')) != std::string_view::npos;) {
        out.append(text.substr(0, end)).append(newline);
        text.remove_prefix(end + 1);
    }
    out.append(text);
}

// The report's lines, each ending in `newline`, after `prefix`.
std::string Describe(const ImportReport& report, std::size_t maxProblems, std::string_view newline,
                     std::string_view prefix = {}, std::optional<std::string_view> shownFile = std::nullopt) {
    const std::string_view file = shownFile ? *shownFile : std::string_view(report.file);
    // Room for every line at once: a dictionary's report runs to megabytes, which growing
    // by doubling would copy over and over.
    std::size_t size = prefix.size() + file.size() + report.languages.size() + report.encoding.size() + 256;
    for (std::size_t i = 0; i < report.problems.size() && i < maxProblems; ++i)
        size += report.problems[i].message.size() + 20;
    std::string text;
    text.reserve(size);
    text.append(prefix);
    AppendLines(text, file, newline);
    text.append(" (").append(FormatName(report.format)).append("): ");
    text.append(std::to_string(report.entries)).append(" entries").append(newline);
    if (!report.languages.empty()) {
        text.append("languages: ");
        AppendLines(text, report.languages, newline);
        text.append(newline);
    }
    if (!report.encoding.empty()) {
        text.append("text: ");
        AppendLines(text, report.encoding, newline);
        text.append(newline);
    }
    if (report.separator) text.append("fields separated by ").append(SeparatorName(report.separator)).append(newline);
    text += "added " + std::to_string(report.added) + ", merged " + std::to_string(report.merged) + ", already there " +
            std::to_string(report.unchanged) + ", skipped " + std::to_string(report.skipped);
    if (report.partsLeftOut) text += ", parts left out " + std::to_string(report.partsLeftOut);
    text.append(newline);
    text += "reverse pair: added " + std::to_string(report.reverseAdded) + ", merged " +
            std::to_string(report.reverseMerged);
    if (report.reverseSkipped) text += ", not taken " + std::to_string(report.reverseSkipped);
    text.append(newline);
    std::size_t shown = 0;
    char number[16];
    for (const ImportProblem p : report.problems) {
        if (shown++ == maxProblems) {
            text.append("... and ").append(std::to_string(report.problems.size() - maxProblems));
            text.append(" more lines").append(newline);
            break;
        }
        const int digits = std::snprintf(number, sizeof number, "%d", p.line);
        text.append("line ").append(number, static_cast<std::size_t>(digits)).append(": ");
        AppendLines(text, p.message, newline);
        text.append(newline);
    }
    return text;
}

}  // namespace

std::string DescribeImport(const ImportReport& report, std::size_t maxProblems, std::string_view newline) {
    return Describe(report, maxProblems, newline);
}

std::string ImportReportPath(const WordListDescriptor& pair) {
    std::string name = WordFileName(pair);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name + ".import.txt";
}

std::string ImportReportFile(const ImportReport& report, const WordListDescriptor& pair,
                             std::optional<std::string_view> file) {
    if (report.utf8) return Describe(report, static_cast<std::size_t>(-1), "\r\n", kUtf8Bom, file);
    std::string text = Describe(report, static_cast<std::size_t>(-1), "\r\n", {}, file), utf8;
    if (platform::CodePageToUtf8(text, CodePageOfCharset(pair.charset1), utf8)) text.swap(utf8);
    return std::string(kUtf8Bom) + text;
}

bool SaveImportReport(std::string_view file, const WordListDescriptor& pair, std::string& error) {
    const std::string path = ImportReportPath(pair);
    try {
        if (platform::ReplaceFileWith(path, file) == 0) return true;
        error = "cannot write " + path;
    } catch (const std::bad_alloc&) {
        error = "there is not enough memory to write " + path;
    }
    return false;
}

bool WriteImportReport(const ImportReport& report, const WordListDescriptor& pair, std::string& error,
                       std::optional<std::string_view> file) {
    try {
        return SaveImportReport(ImportReportFile(report, pair, file), pair, error);
    } catch (const std::bad_alloc&) {
        error = "there is not enough memory to write " + ImportReportPath(pair);
    }
    return false;
}
