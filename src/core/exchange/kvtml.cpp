// KVTML, the vocabulary files of KDE's learning programs: read with the platform's XML reader,
// written with its writer.
#include "core/exchange/kvtml.h"

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/text/fixed_text.h"
#include "platform/xml.h"

namespace {

struct KvtmlEntry {
    int line;
    std::map<std::string, std::string> texts;  // by identifier
};

// The file's languages and, when `entries` is given, its entries' texts.
bool ParseKvtml(std::string_view text, std::vector<KvtmlLanguage>& languages, std::vector<KvtmlEntry>* entries,
                std::string& error) {
    languages.clear();
    std::vector<std::string> path;
    std::string translationId;
    bool root = false;
    const bool read = platform::ReadXml(
        text,
        [&](const platform::XmlNode& node) {
            using Kind = platform::XmlNode::Kind;
            if (node.kind == Kind::Start) {
                if (path.empty()) root = node.name == "kvtml";
                std::string id;
                for (const auto& [name, value] : node.attributes)
                    if (name == "id") id = value;
                const std::string parent = path.empty() ? "" : path.back();
                if (node.name == "identifier" && parent == "identifiers") languages.push_back({id, "", ""});
                if (entries && node.name == "entry" && parent == "entries") entries->push_back({node.line, {}});
                if (node.name == "translation" && parent == "entry") translationId = id;
                path.push_back(node.name);
            } else if (node.kind == Kind::End) {
                if (!path.empty()) path.pop_back();
            } else if (path.size() >= 2) {
                const std::string& element = path.back();
                const std::string& parent = path[path.size() - 2];
                if (parent == "identifier" && !languages.empty()) {
                    if (element == "name") languages.back().name += node.text;
                    if (element == "locale") languages.back().locale += node.text;
                } else if (entries && parent == "translation" && element == "text" && !entries->empty() &&
                           path.size() >= 3 && path[path.size() - 3] == "entry") {
                    entries->back().texts[translationId] += node.text;
                }
            }
        },
        error);
    if (!read) return false;
    if (!root) {
        error = "not a KVTML file: its root element is not <kvtml>";
        return false;
    }
    if (languages.size() < 2) {
        error = "the file names fewer than two languages (<identifier>)";
        return false;
    }
    return true;
}

}  // namespace

bool ReadKvtmlLanguages(std::string_view text, std::vector<KvtmlLanguage>& languages, std::string& error) {
    return ParseKvtml(text, languages, nullptr, error);
}

int FindKvtmlLanguage(const std::vector<KvtmlLanguage>& languages, std::string_view wanted, int other) {
    if (wanted.empty()) return -1;
    const int count = static_cast<int>(languages.size());
    for (int i = 0; i < count; ++i)
        if (i != other && languages[i].id == wanted) return i;
    for (int i = 0; i < count; ++i)
        if (i != other && (EqualsIgnoringAsciiCase(languages[i].name, wanted) ||
                           EqualsIgnoringAsciiCase(languages[i].locale, wanted)))
            return i;
    return -1;
}

KvtmlMatch MatchKvtmlLanguages(const std::vector<KvtmlLanguage>& languages, std::string_view first,
                               std::string_view second) {
    KvtmlMatch match;
    match.first = FindKvtmlLanguage(languages, first);
    match.second = FindKvtmlLanguage(languages, second, match.first);
    match.choose = languages.size() > 2 || match.first < 0 || match.second < 0;
    return match;
}

std::string ListKvtmlLanguages(const std::vector<KvtmlLanguage>& languages) {
    std::string text;
    for (const KvtmlLanguage& l : languages) {
        if (!text.empty()) text += ", ";
        text += l.id;
        if (!l.name.empty() || !l.locale.empty())
            text += " (" + l.name + (!l.name.empty() && !l.locale.empty() ? ", " : "") + l.locale + ")";
    }
    return text;
}

bool ReadKvtml(std::string_view text, const std::string& first, const std::string& second, ForeignFile& file,
               std::string& error) {
    file = ForeignFile{};
    std::vector<KvtmlLanguage> languages;
    std::vector<KvtmlEntry> entries;
    if (!ParseKvtml(text, languages, &entries, error)) return false;
    const KvtmlMatch match = MatchKvtmlLanguages(languages, first, second);
    const int a = match.first, b = match.second;
    if (a < 0 || b < 0) {
        const std::string& missing = a < 0 ? first : second;
        error = (a >= 0 && FindKvtmlLanguage(languages, second) == a
                     ? "\"" + second + "\" is the same language of the file as \"" + first + "\""
                     : "the file has no language \"" + missing + "\"") +
                "; its languages are " + ListKvtmlLanguages(languages);
        return false;
    }
    const KvtmlLanguage& x = languages[a];
    const KvtmlLanguage& y = languages[b];
    file.languages = "identifier " + x.id + " (" + x.name + ") and identifier " + y.id + " (" + y.name + ")";
    for (KvtmlEntry& entry : entries)
        file.entries.push_back({entry.line, entry.texts[x.id], entry.texts[y.id], {}, {}});
    return true;
}

bool WriteKvtml(const std::vector<ForeignEntry>& entries, const std::string& first, const std::string& second,
                std::string& document, std::string& error) {
    platform::XmlWriter xml;
    xml.DocType("kvtml", "kvtml2.dtd", "http://edu.kde.org/kvtml/kvtml2.dtd");
    xml.Start("kvtml");
    xml.Attribute("version", "2.0");
    xml.Start("information");
    xml.Start("generator");
    xml.Text("Dictionary");
    xml.End();
    xml.Start("title");
    xml.Text(first + " - " + second);
    xml.End();
    xml.End();
    xml.Start("identifiers");
    const std::string names[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        xml.Start("identifier");
        xml.Attribute("id", std::to_string(i));
        xml.Start("name");
        xml.Text(names[i]);
        xml.End();
        xml.End();
    }
    xml.End();
    xml.Start("entries");
    for (std::size_t n = 0; n < entries.size(); ++n) {
        xml.Start("entry");
        xml.Attribute("id", std::to_string(n));
        const std::string* texts[2] = {&entries[n].word, &entries[n].translation};
        for (int i = 0; i < 2; ++i) {
            xml.Start("translation");
            xml.Attribute("id", std::to_string(i));
            xml.Start("text");
            xml.Text(*texts[i]);
            xml.End();
            xml.End();
        }
        xml.End();
    }
    xml.End();
    xml.End();
    return xml.Finish(document, error);
}
