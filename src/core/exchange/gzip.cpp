#include "core/exchange/gzip.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

std::optional<std::size_t> GzipFirstRoom(std::string_view bytes, std::size_t limit) {
    if (bytes.size() < 18 || static_cast<unsigned char>(bytes[0]) != 0x1F ||
        static_cast<unsigned char>(bytes[1]) != 0x8B)
        return std::nullopt;
    const auto* end = reinterpret_cast<const unsigned char*>(bytes.data() + bytes.size());
    const std::size_t told = end[-4] | end[-3] << 8 | end[-2] << 16 | static_cast<std::size_t>(end[-1]) << 24;
    return std::min({told, bytes.size() * 20, limit}) + 1;
}

struct GzipStream::Stream {
    z_stream z{};
    bool started = false;
    std::string_view packed;
    void Start() {
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
        z.avail_in = static_cast<uInt>(packed.size());
    }
};

GzipStream::GzipStream(std::string_view packed) : stream_(std::make_unique<Stream>()) {
    stream_->packed = packed;
    stream_->started = inflateInit2(&stream_->z, 16 + MAX_WBITS) == Z_OK;
    if (stream_->started) stream_->Start();
}

GzipStream::~GzipStream() {
    if (stream_->started) inflateEnd(&stream_->z);
}

GzipStream::Filled GzipStream::Fill(char* out, std::size_t size, std::size_t& produced) {
    if (!stream_->started) return Filled::Failed;
    z_stream& z = stream_->z;
    int status = Z_OK;
    while (status == Z_OK && produced < size) {
        const uInt room = static_cast<uInt>(std::min(size - produced, std::size_t{1} << 30));
        z.next_out = reinterpret_cast<Bytef*>(out + produced);
        z.avail_out = room;
        status = inflate(&z, Z_NO_FLUSH);
        produced += room - z.avail_out;
        if (status == Z_BUF_ERROR && z.avail_in == 0) break;
    }
    return status == Z_STREAM_END ? Filled::End : status == Z_OK ? Filled::Full : Filled::Failed;
}

bool GzipStream::Restart() {
    if (!stream_->started || inflateReset(&stream_->z) != Z_OK) return false;
    stream_->Start();
    return true;
}

bool Gunzip(std::string_view bytes, UnpackedText& text, std::string& error, std::size_t limit) {
    text = UnpackedText{};
    auto allocate = [&](std::size_t size) {
        text.bytes.reset(new char[std::max<std::size_t>(size, 1)]);
        text.size = size;
    };
    const std::optional<std::size_t> firstRoom = GzipFirstRoom(bytes, limit);
    if (!firstRoom) {
        allocate(bytes.size());
        std::memcpy(text.bytes.get(), bytes.data(), bytes.size());
        return true;
    }
    auto tooLong = [&] {
        text = UnpackedText{};
        error =
            "the compressed dictionary unpacks to more than " + SizeName(limit) + " of text, more than an import takes";
        return false;
    };
    auto damaged = [&] {
        text = UnpackedText{};
        error = "the compressed dictionary is damaged";
        return false;
    };
    GzipStream stream(bytes);
    allocate(*firstRoom);
    std::size_t produced = 0;
    GzipStream::Filled filled = stream.Fill(text.bytes.get(), text.size, produced);
    if (produced > limit) return tooLong();
    if (filled == GzipStream::Filled::End) {
        text.size = produced;
        return true;
    }
    if (filled == GzipStream::Filled::Failed) return damaged();
    // More text than expected: its length is counted without keeping it, and only a text
    // within the limit is inflated once more, into room for exactly that.
    char scratch[1 << 16];
    while (filled == GzipStream::Filled::Full && produced <= limit) {
        std::size_t counted = 0;
        filled = stream.Fill(scratch, std::min(sizeof scratch, limit + 1 - produced), counted);
        produced += counted;
        if (counted == 0 && filled == GzipStream::Filled::Full) filled = GzipStream::Filled::Failed;
    }
    if (produced > limit) return tooLong();
    if (filled != GzipStream::Filled::End) return damaged();
    text = UnpackedText{};
    allocate(produced);
    if (!stream.Restart()) return damaged();
    // The count has checked the stream to its end, so the text is whole once the room is full.
    std::size_t again = 0;
    stream.Fill(text.bytes.get(), text.size, again);
    return again == produced || damaged();
}

bool Gunzip(std::string_view bytes, std::string& text, std::string& error, std::size_t limit) {
    UnpackedText unpacked;
    const bool done = Gunzip(bytes, unpacked, error, limit);
    text.assign(unpacked.View());
    return done;
}

namespace {

// dictzip ends the stream behind the last piece with an empty block of its own, which
// must end it right before the trailer, as it would for the stream read whole.
bool EndsBeforeTrailer(std::string_view packed, std::size_t at) {
    if (at + 8 > packed.size()) return false;
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
    char none = 0;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data() + at));
    z.avail_in = static_cast<uInt>(packed.size() - 8 - at);
    z.next_out = reinterpret_cast<Bytef*>(&none);
    z.avail_out = 1;
    const bool ends = inflate(&z, Z_FINISH) == Z_STREAM_END && z.avail_in == 0 && z.avail_out == 1;
    inflateEnd(&z);
    return ends;
}

}  // namespace

std::optional<DictzipChunks> DictzipChunksOf(std::string_view packed) {
    auto byte = [&](std::size_t i) { return static_cast<std::size_t>(static_cast<unsigned char>(packed[i])); };
    auto two = [&](std::size_t i) { return byte(i) | byte(i + 1) << 8; };
    auto four = [&](std::size_t i) { return static_cast<std::uint32_t>(two(i) | two(i + 2) << 16); };
    constexpr unsigned kHeaderCrc = 2, kExtra = 4, kName = 8, kComment = 16;
    // As zlib reads a header: flags it does not know refuse the file.
    if (packed.size() < 20 || byte(0) != 0x1F || byte(1) != 0x8B || byte(2) != 8 || !(byte(3) & kExtra) ||
        (byte(3) & 0xE0))
        return std::nullopt;
    const unsigned flags = static_cast<unsigned>(byte(3));
    const std::size_t extraEnd = 12 + two(10);
    if (extraEnd > packed.size()) return std::nullopt;
    DictzipChunks chunks;
    std::vector<std::size_t> sizes;
    // Subfields of two letters and a length; dictzip's is "RA": version 1, the pieces' length,
    // their count and each one's packed size.
    for (std::size_t at = 12; at + 4 <= extraEnd;) {
        const std::size_t length = two(at + 2), data = at + 4;
        if (data + length > extraEnd) return std::nullopt;
        if (packed[at] == 'R' && packed[at + 1] == 'A' && length >= 6 && two(data) == 1) {
            chunks.length = two(data + 2);
            const std::size_t count = two(data + 4);
            if (length < 6 + 2 * count) return std::nullopt;
            for (std::size_t k = 0; k < count; ++k) sizes.push_back(two(data + 6 + 2 * k));
        }
        at = data + length;
    }
    if (chunks.length == 0 || sizes.empty()) return std::nullopt;
    std::size_t at = extraEnd;
    for (unsigned field : {kName, kComment}) {
        if (!(flags & field)) continue;
        const std::size_t nul = packed.find('\0', at);
        if (nul == std::string_view::npos) return std::nullopt;
        at = nul + 1;
    }
    if (flags & kHeaderCrc) {
        if (at + 2 > packed.size() ||
            (crc32(0, reinterpret_cast<const Bytef*>(packed.data()), static_cast<uInt>(at)) & 0xFFFF) != two(at))
            return std::nullopt;
        at += 2;
    }
    for (std::size_t size : sizes) {
        chunks.at.push_back(at);
        at += size;
    }
    chunks.at.push_back(at);
    if (!EndsBeforeTrailer(packed, at)) return std::nullopt;
    chunks.crc = four(packed.size() - 8);
    chunks.size = four(packed.size() - 4);
    if (chunks.size > sizes.size() * chunks.length || chunks.size <= (sizes.size() - 1) * chunks.length)
        return std::nullopt;
    return chunks;
}

bool UnpackDictzipChunk(std::string_view packed, const DictzipChunks& chunks, std::size_t i, char* out,
                        unsigned long& crc) {
    const std::size_t outSize = std::min<std::size_t>(chunks.length, chunks.size - i * chunks.length);
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data() + chunks.at[i]));
    z.avail_in = static_cast<uInt>(chunks.at[i + 1] - chunks.at[i]);
    z.next_out = reinterpret_cast<Bytef*>(out);
    z.avail_out = static_cast<uInt>(outSize);
    int status = inflate(&z, Z_SYNC_FLUSH);
    // The empty block that ends a piece, when the piece's text filled its room before it.
    char more = 0;
    if (status == Z_OK && z.avail_out == 0 && z.avail_in > 0) {
        z.next_out = reinterpret_cast<Bytef*>(&more);
        z.avail_out = 1;
        status = inflate(&z, Z_SYNC_FLUSH);
        if (z.avail_out == 0) status = Z_DATA_ERROR;  // more text than the piece holds
    }
    // Read alone, a piece reads as it does in the whole stream when it ends as dictzip ends
    // each: all its bytes taken, at the end of a block that does not end the stream, on a
    // byte's boundary. Anything else is for Gunzip to read whole and judge.
    const bool unpacked =
        status == Z_OK && z.avail_in == 0 && z.total_out == outSize && (z.data_type & (128 | 64 | 7)) == 128;
    inflateEnd(&z);
    if (unpacked) crc = crc32(0, reinterpret_cast<const Bytef*>(out), static_cast<uInt>(outSize));
    return unpacked;
}

bool DictzipCrcMatches(const DictzipChunks& chunks, const std::vector<unsigned long>& crcs) {
    unsigned long crc = crc32(0, nullptr, 0);
    for (std::size_t k = 0; k < crcs.size(); ++k) {
        const std::size_t size = std::min<std::size_t>(chunks.length, chunks.size - k * chunks.length);
        crc = crc32_combine(crc, crcs[k], static_cast<z_off_t>(size));
    }
    return crc == chunks.crc;
}
