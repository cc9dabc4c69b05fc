#include <cstdint>
#include <optional>
#include <tuple>
#include <vector>

#include "core/editing/palette_characters.h"
#include "core/lookup/pager.h"
#include "core/lookup/reading.h"
#include "core/lookup/recorder.h"
#include "core/lookup/sounds.h"
#include "core/text/utf8.h"
#include "test_support.h"

TEST(Pager, MovesStayOnAFullPage) {
    // A scroll position stands for 10 records in the search window, 8 in the practice-list
    // window's word pane and 1 in its list pane.
    const struct {
        ScrollRequest request;
        std::int32_t top, count, rows, unit, thumb, expected;
    } cases[] = {
        {ScrollRequest::LineDown, 15, 25, 10, 10, 0, 15},     {ScrollRequest::PageDown, 10, 25, 10, 10, 0, 15},
        {ScrollRequest::ThumbReleased, 0, 25, 10, 10, 2, 15}, {ScrollRequest::LineUp, 0, 25, 10, 10, 0, 0},
        {ScrollRequest::PageUp, 4, 25, 10, 10, 0, 0},         {ScrollRequest::Other, 7, 25, 10, 10, 3, 7},
        {ScrollRequest::LineDown, 0, 5, 10, 10, 0, 0},        {ScrollRequest::ThumbReleased, 0, 5, 10, 10, 3, 0},
        {ScrollRequest::ThumbReleased, 0, 100, 8, 8, 3, 24},  {ScrollRequest::PageDown, 88, 100, 8, 8, 0, 92},
        {ScrollRequest::ThumbReleased, 0, 20, 8, 1, 5, 5},    {ScrollRequest::PageDown, 5, 20, 8, 1, 0, 12},
        {ScrollRequest::Other, 16, 25, 10, 10, 0, 15},        {ScrollRequest::PageUp, 14, 25, 10, 10, 0, 4}};
    for (const auto& c : cases)
        EXPECT_EQ(SettledTop(ScrolledTop(c.request, c.top, c.count, c.rows, c.thumb, c.unit), c.count, c.rows),
                  c.expected)
            << c.top << " of " << c.count;
    // The last thumb position: of 100 records by 8, thumb 11 shows 88-95, the last full page 92-99.
    const std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t> ends[] = {
        {25, 10, 10, 1}, {5, 10, 10, 0}, {100, 8, 8, 11}, {20, 8, 1, 12}};
    for (auto [count, rows, unit, end] : ends) EXPECT_EQ(ScrollRangeEnd(count, rows, unit), end) << count;
    EXPECT_EQ(ClampRows(0), 1);
    EXPECT_EQ(ClampRows(40), 25);
}

// The place never leaves the words and the end after them, and back never passes the first.
TEST(Recorder, ThePlaceStaysInTheListAndPassesOverWordsThatCannotNameAFile) {
    // The saved place, the count, the moves (s: skip, b: back) and the place then.
    const std::tuple<std::int32_t, std::int32_t, const char*, std::int32_t> cases[] = {
        {1, 5, "bb", 0}, {3, 5, "sss", 5}, {5, 5, "b", 4}, {9, 5, "", 5}, {-2, 5, "", 0}, {0, 0, "s", 0}};
    for (auto [saved, count, moves, place] : cases) {
        RecorderSequence sequence(saved, count);
        for (const char* m = moves; *m; ++m) EXPECT_TRUE(*m == 's' ? sequence.Skip() : sequence.Back());
        EXPECT_EQ(sequence.Place(), place) << saved << moves;
        EXPECT_EQ(sequence.AtEnd(), place == count) << saved << moves;
    }
    // A word that cannot name a file is passed over, and the end records nothing. Which names
    // Windows keeps is the file names' test's: here the word is a name before ".wav".
    EXPECT_EQ(SoundFileName("english", "House?"), "sound\\english\\House?.wav");
    EXPECT_FALSE(SoundFileName("english", std::string(260, 'x')).has_value());
    for (const char* word : {"house", "house.", "console"}) EXPECT_TRUE(CanNameSoundFile(word)) << word;
    for (const char* word : {"", "wat?", "CON", "aux.x", "prn "}) EXPECT_FALSE(CanNameSoundFile(word)) << word;
    RecorderSequence sequence(0, 1);
    EXPECT_EQ(sequence.CheckTake("what?"), TakeStart::BadName);
    EXPECT_EQ(sequence.Place(), 1);
    EXPECT_EQ(sequence.CheckTake("apple"), TakeStart::AtEnd);
}

// A word cell has its word's sound, a translation cell those of its pieces in order: what
// the search window offers to play.
TEST(Sounds, ACellHasTheSoundsOfItsWordOrOfItsPieces) {
    WorkDir dir;
    for (const char* file : {"sound/english/house.wav", "sound/dutch/woning.wav", "sound/dutch/huis.wav"})
        WriteFile(file, "RIFF");
    using Files = std::vector<std::string>;
    EXPECT_EQ(WordSounds("english", "house"), Files{"sound\\english\\house.wav"});
    EXPECT_EQ(WordSounds("english", "tree"), Files{});
    EXPECT_EQ(WordSounds("english", "woning"), Files{});  // another language's sound
    EXPECT_EQ(TranslationSounds("dutch", "woning, boom, huis"),
              (Files{"sound\\dutch\\woning.wav", "sound\\dutch\\huis.wav"}));
    EXPECT_EQ(TranslationSounds("dutch", "boom"), Files{});
}

// Each step of a take failing in turn: what reaches the device, whether a take runs, and
// which recording of "apple" is kept. A save writes the file it names: a wave header and
// sound, half when it fails, the header alone when nothing was heard.
TEST(Recorder, ATakeReplacesTheRecordingOnlyWhenStartedAndSavedWhole) {
    WorkDir dir;
    const std::string open = "open new type waveaudio alias mysound", record = "record mysound",
                      close = "close mysound";
    const std::vector<std::string> all = {open, record, "stop mysound",
                                          "save mysound \"sound\\english\\apple.wav.tmp\"", close};
    const struct {
        const char* failing;  // the command word that fails, "move": the move into place, "silent": no sound
        TakeStart started;
        TakeEnd ended;  // when started
        std::vector<std::string> sent;
        const char* kept;
    } cases[] = {
        {"", TakeStart::Started, TakeEnd::Saved, all, "new"},
        {"silent", TakeStart::Started, TakeEnd::Silent, all, "old"},
        {"open", TakeStart::NotOpened, {}, {open}, "old"},
        {"record", TakeStart::NotRecording, {}, {open, record, close}, "old"},
        {"stop", TakeStart::Started, TakeEnd::NotSaved, all, "old"},
        {"move", TakeStart::Started, TakeEnd::NotSaved, all, "old"},
        {"save", TakeStart::Started, TakeEnd::Failed, all, "old"},
    };
    for (const auto& c : cases) {
        WriteFile("sound/english/apple.wav", "old");
        std::vector<std::string> sent;
        const SoundCommand send = [&](const std::string& command) {
            sent.push_back(command);
            const bool fails = *c.failing && command.rfind(std::string(c.failing) + " ", 0) == 0;
            if (command.rfind("save ", 0) == 0)
                WriteFile("sound/english/apple.wav.tmp",
                          fails ? "half" : std::string(44, 'h') + (std::string(c.failing) == "silent" ? "" : "new"));
            return !fails;
        };
        RecorderSequence sequence(0, 2);
        ASSERT_EQ(sequence.CheckTake("apple"), TakeStart::Ready);
        EXPECT_EQ(sequence.StartTake(send), c.started) << c.failing;
        const bool started = c.started == TakeStart::Started;
        EXPECT_EQ(sequence.Recording(), started) << c.failing;
        EXPECT_EQ(sequence.Back(), !started) << c.failing;
        if (started) {
            std::optional<FailingFileStep> fail;
            if (std::string(c.failing) == "move") fail.emplace(1);
            EXPECT_EQ(sequence.StopTake("english", "apple", send), c.ended) << c.failing;
        }
        sequence.DropTake(send);
        EXPECT_EQ(sent, c.sent) << c.failing;
        const std::string kept = ReadFile("sound/english/apple.wav");
        EXPECT_EQ(kept.substr(kept.size() > 3 ? 44 : 0), c.kept) << c.failing;
        EXPECT_FALSE(Exists("sound/english/apple.wav.tmp")) << c.failing;
        EXPECT_EQ(sequence.Place(), c.ended == TakeEnd::Saved && started ? 1 : 0) << c.failing;
    }
}

TEST(Palette, FileFirstLineOrBuiltInSet) {
    WorkDir dir;
    EXPECT_FALSE(PaletteCharacters("klingon").empty());  // no file: the built-in set
    WriteFile("charset/long.chs", std::string(300, 'x'));
    EXPECT_EQ(PaletteCharacters("long").size(), 254u);
    // The first line, which CR alone ends too: no line break becomes a button, nor the next
    // line's letters.
    WriteFile("charset/greek.chs", "\xE1\xE2\rsecond\rthird");
    EXPECT_EQ(PaletteCharacters("greek"), "\xE1\xE2");
    EXPECT_EQ(PaletteColumns(7), 4);  // two rows, the last column half full
}

// Read under AddressSanitizer: a text without a terminator, carets at and past its end.
TEST(Reading, WordsEndAtSeparatorsAndNothingOutsideTheTextIsRead) {
    const std::string bytes = ",abc";
    const std::vector<char> exact(bytes.begin(), bytes.end());  // no terminator after it
    const std::string_view text(exact.data(), exact.size());
    // The comma at the very start is no part of the word.
    for (auto [caret, word] : {std::pair{3, "abc"}, {0, ""}, {4, ""}, {1000, ""}}) EXPECT_EQ(WordAt(text, caret), word);
    EXPECT_EQ(WordAt(std::string_view(), 0), "");
    EXPECT_EQ(WordAt("{x}~\x7F\xE9", 2), "{x}~\x7F\xE9");
    int separators = 0;
    for (int b = 0; b < 256; ++b) separators += IsWordSeparator(static_cast<unsigned char>(b)) ? 1 : 0;
    EXPECT_EQ(separators, 69);
}

// A file shows, and its words are looked up, in the pair's code page whatever its encoding;
// letters the code page lacks stand as "?" and are named, each once.
TEST(Reading, AFileIsReadInItsEncodingAndShownInThePairsCodePage) {
    using enum TextEncoding;
    const struct {
        const char* name;
        std::string file;
        unsigned codePage;
        TextEncoding encoding;
        std::string text;
        std::vector<std::string> replaced;
    } cases[] = {
        // A letter after a hex escape is written as an escape too ("\x65" for e), so the
        // escape ends where it should.
        {"UTF-8", "ree\xC3\xABn Gr\xC3\xB6\xC3\x9F\x65", 1252, Utf8, "ree\xEBn Gr\xF6\xDF\x65", {}},
        {"marked UTF-8", "\xEF\xBB\xBFree\xC3\xABn", 1252, MarkedUtf8, "ree\xEBn", {}},
        {"UTF-16 LE", std::string("\xFF\xFEr\0\xEB\0n\0", 8), 1252, Utf16, "r\xEBn", {}},
        {"UTF-16 BE", std::string("\xFE\xFF\0r\0\xEB\0n", 8), 1252, Utf16, "r\xEBn", {}},
        {"code page", "ree\xEBn caf\xE9", 1252, CodePage, "ree\xEBn caf\xE9", {}},
        {"Greek code page", "\xE1\xE3\xDC\xF0\xE7", 1253, CodePage, "\xE1\xE3\xDC\xF0\xE7", {}},
        {"Greek", "\xCE\xB1\xCE\xB3\xCE\xAC\xCF\x80\xCE\xB7", 1253, Utf8, "\xE1\xE3\xDC\xF0\xE7", {}},
        {"double-byte", "\xE6\x97\xA5\xE6\x9C\xAC", 932, Utf8, "\x93\xFA\x96\x7B", {}},
        {"combining accent", "reee\xCC\x88n", 1252, Utf8, "ree\xEBn", {}},
        {"missing", "\xC5\x82\xC3\xB3\x64\xC5\xBA \xC5\x82", 1252, Utf8, "?\xF3\x64? ?", {"\xC5\x82", "\xC5\xBA"}},
        {"outside the BMP", "a\xF0\x9F\x98\x80\x62", 1252, Utf8, "a?b", {"\xF0\x9F\x98\x80"}},
        {"stray line", "r\xC3\xABn\nGr\xC3\xB6\ncaf\xE9", 1252, Utf8, "r\xEBn\nGr\xF6\ncaf\xE9", {}},
    };
    for (const auto& c : cases) {
        const ReadingText reading = ReadingTextOf(c.file, c.codePage);
        EXPECT_EQ(reading.encoding, c.encoding) << c.name;
        EXPECT_EQ(reading.text, c.text) << c.name;
        EXPECT_EQ(reading.replaced, c.replaced) << c.name;
    }
    // A message names the first missing letters and counts them all.
    std::string greek;
    for (std::uint32_t letter = 0x3B1; letter < 0x3B1 + 25; ++letter) AppendUtf8(greek, letter);
    const ReadingText reading = ReadingTextOf(greek + greek, 1252);
    EXPECT_EQ(reading.replaced.size(), kMaxNamedReplacements);
    EXPECT_EQ(reading.replacedCount, 25u);
}
