// gzip's compressed text, as dictd's dictionaries keep their definitions: unpacked whole,
// as a stream while it is read, or (dictzip) piece by piece, each piece on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/format_table.h"

// Text in room allocated once and never cleared first: a dictionary's 80 MB would otherwise
// be written twice, as zeros and then as text.
struct UnpackedText {
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
    std::string_view View() const { return {bytes.get(), size}; }
};

// Decompresses a gzip (dictzip) file's bytes; a file that is not compressed is returned as
// is. Fails when the text would be longer than `limit`; the text is then empty.
bool Gunzip(std::string_view bytes, UnpackedText& text, std::string& error, std::size_t limit = kMaxImportText);
bool Gunzip(std::string_view bytes, std::string& text, std::string& error, std::size_t limit = kMaxImportText);
// The room to unpack gzip bytes into first, or none for bytes that are not gzip: the size
// the trailer tells (modulo 4 GB) and one byte more, so that a text of that size ends inside
// it. A bomb's trailer may say anything, so neither it nor a ratio beyond what text packs
// to passes the limit.
std::optional<std::size_t> GzipFirstRoom(std::string_view bytes, std::size_t limit);

// A gzip stream unpacked as far as each call asks. The packed bytes must outlive it.
class GzipStream {
public:
    explicit GzipStream(std::string_view packed);
    ~GzipStream();
    GzipStream(const GzipStream&) = delete;
    GzipStream& operator=(const GzipStream&) = delete;

    enum class Filled { Full, End, Failed };
    // Unpacks into out[produced, size) until that is full, the stream ends or it fails
    // (damaged, cut short, or the decompressor could not start); `produced` grows by what came.
    Filled Fill(char* out, std::size_t size, std::size_t& produced);
    // Back to the stream's start; false when the decompressor cannot go back.
    bool Restart();

private:
    struct Stream;
    std::unique_ptr<Stream> stream_;
};

// dictzip's pieces: each unpacks to `length` bytes (the last to what is left), on its own.
struct DictzipChunks {
    std::size_t length = 0;
    std::vector<std::size_t> at;      // of each piece in the packed text, and its end after the last
    std::uint32_t crc = 0, size = 0;  // of the whole text, as the trailer tells
};
// The pieces a packed text holds, as its header tells them; none when it has none or the
// header does not add up.
std::optional<DictzipChunks> DictzipChunksOf(std::string_view packed);
// Unpacks piece `i` into `out`, room for its length, and gives its text's CRC; false when it
// does not unpack to its length as it would within the whole stream.
bool UnpackDictzipChunk(std::string_view packed, const DictzipChunks& chunks, std::size_t i, char* out,
                        unsigned long& crc);
// Whether the pieces' texts, with these CRCs, make the text the trailer tells, as zlib
// checks a stream: by its length and its CRC.
bool DictzipCrcMatches(const DictzipChunks& chunks, const std::vector<unsigned long>& crcs);
