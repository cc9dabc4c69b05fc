#include "core/exchange/freedict.h"
#include "core/exchange/gzip.h"
#include "core/exchange/kvtml.h"
#include "core/exchange/text_formats.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <tuple>

#include "core/exchange/unpacking.h"
#include "platform/lines.h"
#include "test_support.h"

namespace {

// Line, word and translation of each entry.
using Expected = std::tuple<int, std::string, std::string>;

std::vector<Expected> Entries(const ForeignFile& file) {
    std::vector<Expected> entries;
    for (const ForeignEntry& e : file.entries) entries.emplace_back(e.line, e.word, e.translation);
    return entries;
}

// `n` bytes from `data` through the stream, to the given flush.
std::string Deflated(z_stream& z, const char* data, std::size_t n, int flush) {
    std::string out(deflateBound(&z, n) + 32, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    z.avail_in = static_cast<uInt>(n);
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, flush);
    out.resize(out.size() - z.avail_out);
    return out;
}

std::string Gzip(const std::string& text) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    const std::string out = Deflated(z, text.data(), text.size(), Z_FINISH);
    deflateEnd(&z);
    return out;
}

// As dictzip packs: pieces of `length` bytes, each deflated to a full flush, their packed
// sizes in the header's "RA" field, and the stream's end in an empty block of its own.
std::string Dictzip(const std::string& text, std::size_t length) {
    auto two = [](std::size_t n) { return std::string{static_cast<char>(n & 0xFF), static_cast<char>(n >> 8 & 0xFF)}; };
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string body, sizes;
    const std::size_t count = (text.size() + length - 1) / length;
    for (std::size_t k = 0; k <= count; ++k) {  // the last round ends the stream
        const std::size_t at = std::min(k * length, text.size()), n = std::min(length, text.size() - at);
        const std::string out = Deflated(z, text.data() + at, n, k < count ? Z_FULL_FLUSH : Z_FINISH);
        if (k < count) sizes += two(out.size());
        body += out;
    }
    deflateEnd(&z);
    const std::string extra = "RA" + two(6 + sizes.size()) + two(1) + two(length) + two(count) + sizes;
    const unsigned long crc = crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size()));
    return std::string("\x1F\x8B\x08\x04\0\0\0\0\x02\x03", 10) + two(extra.size()) + extra + body + two(crc) +
           two(crc >> 16) + two(text.size()) + two(text.size() >> 16);
}

std::string Utf16(const std::u16string& text, bool little) {
    std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
    for (char16_t c : text) {
        const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
        bytes += little ? lo : hi;
        bytes += little ? hi : lo;
    }
    return bytes;
}

}  // namespace

// A separator given wins over one a first line names ("sep=;"), which wins over the one the
// lines show; fields are quoted as spreadsheets quote them.
TEST(Formats, DelimitedTextAsSpreadsheetsWriteIt) {
    const struct {
        const char* name;
        std::string text;
        char given, preferred, separator;
        std::vector<Expected> entries;
    } cases[] = {
        {"LF, blanks, no end", "\na\tb\n\n \t \nc\td", '\t', 0, '\t', {{2, "a", "b"}, {5, "c", "d"}}},
        {"BOM", "\xEF\xBB\xBFHaus\thuis\n", '\t', 0, '\t', {{1, "Haus", "huis"}}},
        {"quotes", "\"a, b\",\"c\"\n\"say \"\"hi\"\"\",x\n", ',', 0, ',', {{1, "a, b", "c"}, {2, "say \"hi\"", "x"}}},
        {"line end in quotes", "\"a\r\nb\",c\nd,e,extra\n", ',', 0, ',', {{1, "a\r\nb", "c"}, {3, "d", "e"}}},
        {"a first line names it", "sep=;\r\nHaus;huis\r\n", 0, ',', ';', {{2, "Haus", "huis"}}},
        {"named over the lines", "sep=,\nHaus;x,y\nBaum;z,w\n", 0, '\t', ',', {{2, "Haus;x", "y"}, {3, "Baum;z", "w"}}},
        {"given over named", "sep=;\na,b;c\n", ',', '\t', ',', {{2, "a", "b;c"}}},
        {"quoted ones do not count", "\"a;b\",c\n\"d;e\",f\n", 0, '\t', ',', {{1, "a;b", "c"}, {2, "d;e", "f"}}},
        {"as regular as the preferred one", "a;b,c\n", 0, ',', ',', {{1, "a;b", "c"}}},
        {"spreadsheets' Unicode text, big-endian",
         Utf16(u"Caf\u00E9\tkoffie\r\n\U0001F600\tlach\r\n", false),
         0,
         0,
         '\t',
         {{1, "Caf\xC3\xA9", "koffie"}, {2, "\xF0\x9F\x98\x80", "lach"}}},
    };
    for (const auto& c : cases) {
        ForeignFile file;
        std::string error;
        EXPECT_TRUE(ReadDelimited(c.text, c.given, file, error, c.preferred)) << c.name << ": " << error;
        EXPECT_EQ(file.separator, c.separator) << c.name;
        EXPECT_EQ(Entries(file), c.entries) << c.name;
    }
    EXPECT_EQ(SeparatorNamed("\""), 0);  // a name the command line takes is its test's
}

TEST(Formats, FlashcardTextHeadersColumnsAndHtml) {
    const struct {
        const char* name;
        std::string text;
        std::vector<Expected> entries;
        std::string error = "";
    } cases[] = {
        {"html",
         "#separator:tab\n#html:true\nHaus<br>Home\t<b>huis</b> &amp; co&nbsp;&#233;&#xE9;&eacute;<p>&#xD800;</p>\n",
         {{3, "Haus\nHome", "huis & co \xC3\xA9\xC3\xA9\xC3\xA9\n&#xD800;\n"}}},
        {"named separator, no html",
         "#separator:Semicolon\r\n#html:false\r\n#columns:Front;Back\r\n<b>a</b>;b\r\n",
         {{4, "<b>a</b>", "b"}}},
        {"not fields",
         "#separator:tab\n#notetype column:1\n#deck column:2\nBasic\tDefault\tHaus\thuis\n",
         {{4, "Haus", "huis"}}},
        {"sounds and clozes",
         "#separator:tab\n#html:false\n{{c1::Haus::building}} [sound:haus.mp3]\thuis[sound:huis.mp3]\n"
         "ein {{c12::Baum}}\t{{c::x}}\n",
         {{3, "Haus ", "huis"}, {4, "ein Baum", "{{c::x}}"}}},
        {"unknown separator", "#separator:tab\n#separator:weird\n", {}, "line 2: an unknown separator \"weird\""},
        {"UTF-16 with an odd last byte",
         Utf16(u"#separator:tab\nHaus\thuis\n", true) + "x",
         {{2, "Haus", "huis"}, {3, "\xEF\xBF\xBD", ""}}},
    };
    for (const auto& c : cases) {
        ForeignFile file;
        std::string error;
        EXPECT_EQ(ReadAnki(c.text, file, error), c.error.empty()) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
        EXPECT_EQ(Entries(file), c.entries) << c.name;
    }
}

TEST(Formats, KvtmlLanguagesByIdentifier) {
    const std::string document =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<kvtml version=\"2.0\">\n"
        " <identifiers>\n"
        "  <identifier id=\"0\"><name>English</name><locale>en</locale></identifier>\n"
        "  <identifier id=\"1\"><name>German</name><locale>de</locale></identifier>\n"
        " </identifiers>\n"
        " <entries>\n"
        "  <entry id=\"0\">\n"
        "   <translation id=\"0\"><text>house</text><comment>a building</comment></translation>\n"
        "   <translation id=\"1\"><text>Haus &amp; Hof</text></translation>\n"
        "  </entry>\n"
        "  <entry id=\"1\"><translation id=\"1\"><text><![CDATA[Gru\xC3\x9F]]></text></translation></entry>\n"
        " </entries>\n"
        "</kvtml>\n";
    ForeignFile file;
    std::string error;
    ASSERT_TRUE(ReadKvtml(document, "german", "en", file, error)) << error;
    EXPECT_EQ(Entries(file), (std::vector<Expected>{{8, "Haus & Hof", "house"}, {12, "Gru\xC3\x9F", ""}}));
    EXPECT_EQ(file.languages, "identifier 1 (German) and identifier 0 (English)");

    // A name that stands for no language of its own is refused with the ones there are, never
    // guessed. (Identifiers and locales as names, and names that find nothing, are the command
    // line's test's.)
    EXPECT_FALSE(ReadKvtml(document, "en", "English", file, error));
    EXPECT_TRUE(file.entries.empty());
    EXPECT_EQ(error,
              "\"English\" is the same language of the file as \"en\"; its languages are 0 (English, en), 1 (German, "
              "de)");
    // Both names found, the user still chooses when a third language could be meant.
    const KvtmlMatch m =
        MatchKvtmlLanguages({{"0", "English", "en"}, {"1", "German", "de"}, {"2", "", "fr"}}, "en", "fr");
    EXPECT_EQ(std::make_tuple(m.first, m.second, m.choose), std::make_tuple(0, 2, true));

    // An XML fault is told with its line, in words for the code Windows' XML reader (under
    // Wine) gives.
    const struct {
        std::string text, error;
    } damaged[] = {
        {"<vocabulary/>", "not a KVTML file: its root element is not <kvtml>"},
        {"<kvtml><identifiers><identifier id=\"0\"/></identifiers></kvtml>",
         "the file names fewer than two languages (<identifier>)"},
#ifdef _WIN32
        {"<kvtml>\n<entries>\n<entry>\n</kvtml>", "line 4: an end tag does not match its start tag"},
#endif
    };
    for (const auto& d : damaged) {
        EXPECT_FALSE(ReadKvtml(d.text, "", "", file, error)) << d.text;
        EXPECT_EQ(error.substr(0, d.error.size()), d.error) << error;
    }
}

namespace {

// A dictionary of one definition, headed as WikDict heads those it builds from Wiktionary
// when `wiktionary`. The definition ends the file; its index names it by its headword (its
// first line's first word) and by a second spelling, as dictd's index does.
void MakeDictionary(const std::string& definition, bool wiktionary, std::string& index, std::string& dict) {
    auto number = [](std::size_t value) {
        static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        std::string digits;
        do digits.insert(digits.begin(), kDigits[value % 64]);
        while ((value /= 64) > 0);
        return digits;
    };
    auto line = [&](const std::string& headword, std::size_t at, std::size_t size) {
        index += headword + "\t" + number(at) + "\t" + number(size) + "\n";
    };
    dict = wiktionary ? "Deutsch-fran\xC3\xA7"
                        "ais FreeDict+WikDict dictionary\n"
                      : "German-French FreeDict dictionary\n";
    index.clear();
    line("00-database-short", 0, dict.size());
    line(definition.substr(0, definition.find_first_of(" \n")), dict.size(), definition.size());
    line("spelling", dict.size(), definition.size());
    dict += definition;
}

}  // namespace

// Dictionaries built from Wiktionary follow each sense's translations with lines in the
// headword's own language that define it: those are no translations. Nor are sense numbers,
// wherever they stand, pronunciations between slashes, examples, cross-references, or notes
// in brackets, however they nest.
TEST(Formats, FreeDictTranslationsWithoutDefinitionsNumbersOrNotes) {
    const struct {
        bool wiktionary;
        std::string definition, translation, remark;
    } cases[] = {
        {true, "Kampfkunst /k/ <n>\nart martial\n(Sport) Systeme, bei denen\n", "art martial", ""},
        {true,
         "ausrei\xC3\x9F"
         "en <v>\n1. arracher\n(etwas) herausrei\xC3\x9F"
         "en\n2. sauver\ndavonlaufen, fliehen\n",
         "arracher, sauver", ""},
        {true, "essen <v>\nmanger 2.\nfeste Nahrung\n 3.\netwas als Nahrung\n", "manger", ""},
        {true, "Akkusativ <n>\naccusatif\n4. Fall (Kasus) der Deklination\n", "accusatif", ""},
        {true, "aufmandeln <v>\n\xC3\xA9nerver#s\xE2\x80\x99\xC3\xA9nerver, \xC3\xA9pater\nsich aufregen\n",
         "s\xE2\x80\x99\xC3\xA9nerver, \xC3\xA9pater", ""},
        {false, "DP <abbreviation>\nDP\n[[Displaced Person|Displaced Person[s]]]\n", "DP", ""},
        {false, "Zug\ntrein [Bahn {fam.] wagon\n", "trein  wagon", ""},  // the inner note closes with the outer
        {false, "Bachus\nBachus (zobacz) ]\n", "Bachus (zobacz)", "a bracket without its pair"},
        {false, "Bachus\nBachus [zobacz\n", "Bachus zobacz", "a bracket without its pair"},
        {false, "A-Dur\nla majeur 2.\n", "la majeur", ""},
        {false, "falloir\n1.\n      \"Il faut\"\n We need something\n\n2.\n", "", ""},
        {false, "Kampfkunst\nart martial\nSysteme\n", "art martial, Systeme", ""},  // not said to be Wiktionary's
        {false,
         "house /ha\xCA\x8As/\nHaus <neut>, Geb\xC3\xA4ude\n [Am.] Heim\n      \"a house\" - ein Haus\n"
         "   Synonym: {home}\n see: {houses}\n",
         "Haus , Geb\xC3\xA4ude, Heim", ""},
        {false, "cave\n1.5 litre\n2.creux\n", "1.5 litre, 2.creux", ""},  // no blank after the dot: part of the text
        {false, "cave\n1. grotte /\xC9\xA1\xCA\x81\xC9\x94t/ <f>\n/kav/ caverne\n", "grotte, caverne", ""},
        {false, "cave\nAC/DC, km/h, either / or, 1/2 /\n", "AC/DC, km/h, either / or, 1/2 /", ""},
    };
    for (const auto& c : cases) {
        std::string index, dict, error;
        MakeDictionary(c.definition, c.wiktionary, index, dict);
        ForeignFile file;
        ASSERT_TRUE(ReadFreeDict(index, dict, file, error)) << error;
        ASSERT_EQ(file.entries.size(), 1u) << c.definition;  // the second spelling's is the same entry
        EXPECT_EQ(file.entries[0].line, 2);
        EXPECT_EQ(file.entries[0].translation, c.translation) << c.definition;
        EXPECT_EQ(file.entries[0].remark.substr(0, 26), c.remark) << c.definition;
    }
}

TEST(Formats, EncodingIsDecidedPerFileAndMisfitsAreReported) {
    const struct {
        const char* name;
        std::string text;
        bool utf8;
        std::vector<std::string> refused;  // one per entry
    } cases[] = {
        {"code page with a pair that looks like UTF-8",
         "Fu\xDF\tstraat\nM\xFCller\tmolenaar\nK\xC3\xA9\tx\n",
         false,
         {"", "", "UTF-8 text, while the rest of the file is in the pair's code page"}},
        {"ASCII", "Haus\thuis\n", true, {""}},
        {"a UTF-8 line against a stray byte",
         "cheese\tK\xC3\xA4se\nbread\tBrot\ncoffee\tcaf\xE9\n",
         true,
         {"", "", "not UTF-8 text, as the rest of the file is"}},
    };
    for (const auto& c : cases) {
        ForeignFile file;
        std::string error;
        ASSERT_TRUE(ReadDelimited(c.text, 0, file, error)) << c.name << ": " << error;
        EXPECT_EQ(file.utf8, c.utf8) << c.name;
        std::vector<std::string> refused;
        for (const ForeignEntry& e : file.entries) refused.push_back(e.refused);
        EXPECT_EQ(refused, c.refused) << c.name;
    }
}

// An import reads a dictionary's entries while its text is still being unpacked: whatever
// the packed text, it reads what the whole text gives, or fails as unpacking it whole fails,
// and a text of exactly the limit is taken. An export's index is sorted as dictd bisects it:
// by its keys' bytes, each key the headword in small letters.
TEST(Formats, DictionaryReadWhileUnpackedAsReadWhole) {
    std::vector<ForeignEntry> entries = {{0, "zebra", "zebra", {}, {}},
                                         {0, "\xC3\x84rger", "ergernis", {}, {}},
                                         {0, "Haus", "huis", {}, {}},
                                         {0, "apfel", "appel", {}, {}}};
    for (int i = 0; i < 80000; ++i) entries.push_back({0, NumberedWord(i), "t" + std::to_string(i), {}, {}});
    std::string index, dict, error;
    WriteFreeDict(entries, "German", "Dutch", index, dict);
    std::vector<std::string> keys;
    for (const TextLine& line : SplitLines(index)) keys.emplace_back(line.text.substr(0, line.text.find('\t')));
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    ForeignFile whole;
    ASSERT_TRUE(ReadFreeDict(index, dict, whole, error)) << error;
    const std::string packed = Gzip(dict);
    ASSERT_GT(dict.size(), 1u << 20);  // more than one step of the unpacking
    const std::string pieces = Dictzip(dict, 50000);
    ASSERT_TRUE(DictzipChunksOf(pieces));
    // The text with the bits `bits` of its byte `at` flipped.
    auto flipped = [](std::string text, std::size_t at, int bits) {
        text[at] = static_cast<char>(text[at] ^ bits);
        return text;
    };
    const std::size_t table = 22;  // where the pieces' sizes start in the header
    const std::size_t first = table + 2 * ((dict.size() + 49999) / 50000);  // the first piece
    const std::string damaged = "the compressed dictionary is damaged";
    const struct {
        const char* name;
        std::string packed, error;
        std::string index = "";  // none: the dictionary's
        std::size_t limit = kMaxImportText;
    } cases[] = {
        {"packed", packed, ""},
        {"packed in pieces", pieces, ""},
        // Unpacked whole instead, the stream being sound.
        {"pieces whose sizes are told wrong", flipped(pieces, table, 1), ""},
        {"a piece damaged", flipped(pieces, pieces.size() / 2, 0xFF), damaged},
        {"a piece that ends the stream", flipped(pieces, first, 1), damaged},  // its last-block bit
        {"pieces sound but the CRC wrong", flipped(pieces, pieces.size() - 8, 0xFF), damaged},
        {"not packed", dict, ""},
        {"an index line without a length", dict, "line 1: not an index line (headword, offset and length)", "a\tj\n"},
        {"a definition beyond the end", dict, "line 1: the definition lies beyond the end of the dictionary",
         "a\tj\tZZZZ\n"},
        {"an index not in UTF-8", dict, "the index is not UTF-8 text", "Fu\xDF\tA\tB\n"},
        {"damaged, and the index from its first line", packed.substr(0, packed.size() / 2), damaged, "x\n" + index},
        {"longer than the limit", packed,
         "the compressed dictionary unpacks to more than " + SizeName(dict.size() - 1) +
             " of text, more than an import takes",
         "", dict.size() - 1},
        {"unpacked whole to exactly the limit", flipped(pieces, table, 1), "", "", dict.size()},
        {"a bomb of zeros", Gzip(std::string(3 << 20, '\0')),
         "the compressed dictionary unpacks to more than 1 MB of text, more than an import takes", "", 1 << 20},
    };
    for (const auto& c : cases) {
        struct Kept final : EntrySink {
            std::vector<Expected> entries;
            void Expect(std::size_t) override {}
            void Take(const ForeignEntry& e) override { entries.emplace_back(e.line, e.word, e.translation); }
        } kept;
        UnpackingText text(platform::FileView(c.packed), c.limit);
        ForeignFile file;
        error.clear();
        const bool read = ReadFreeDict(c.index.empty() ? index : c.index, text, file, error, kept);
        EXPECT_EQ(read, c.error.empty()) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
        EXPECT_TRUE(!read || kept.entries == Entries(whole)) << c.name;
    }
    // Unpacked whole at once, as the text of a gzip file is, it may fill the limit exactly.
    std::string text;
    ASSERT_TRUE(Gunzip(packed, text, error, dict.size())) << error;
    EXPECT_EQ(text, dict);
}
