#include "core/exchange/unpacking.h"

#include <zlib.h>

#include <algorithm>
#include <system_error>

namespace {

// Large enough that the hand-overs cost nothing, small enough that the reader starts early.
constexpr std::size_t kStep = std::size_t{1} << 20;

}  // namespace

UnpackingText::UnpackingText(platform::FileView packed, std::size_t limit) : packed_(std::move(packed)), limit_(limit) {
    // Not compressed, Upto takes it as it is. A trailer that tells too little or too much only
    // sends the text to Gunzip, which counts it first.
    const std::optional<std::size_t> room = GzipFirstRoom(packed_.Bytes(), limit_);
    if (!room) return;
    chunks_ = ChunksOf(packed_.Bytes());
    if (chunks_ && chunks_->size >= *room) chunks_.reset();  // more than the limit: Gunzip tells
    text_.size = chunks_ ? chunks_->size + std::size_t{1} : *room;
    text_.bytes.reset(new char[text_.size]);
    if (chunks_) {
        done_.assign(chunks_->at.size() - 1, 0);
        crcs_.assign(chunks_->at.size() - 1, 0);
    }
    state_ = State::Running;
    try {
        thread_ = std::thread([this] { chunks_ ? UnpackChunks() : Unpack(); });
    } catch (const std::system_error&) {
        state_ = chunks_ ? State::Running : State::Again;  // the pieces are then unpacked by the reader
    }
}

std::optional<UnpackingText::Chunks> UnpackingText::ChunksOf(std::string_view packed) {
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
    Chunks chunks;
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
    // dictzip ends the stream behind the last piece with an empty block of its own, which
    // must end it right before the trailer, as it would for the stream read whole.
    if (at + 8 > packed.size()) return std::nullopt;
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return std::nullopt;
    char none = 0;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data() + at));
    z.avail_in = static_cast<uInt>(packed.size() - 8 - at);
    z.next_out = reinterpret_cast<Bytef*>(&none);
    z.avail_out = 1;
    const bool ends = inflate(&z, Z_FINISH) == Z_STREAM_END && z.avail_in == 0 && z.avail_out == 1;
    inflateEnd(&z);
    if (!ends) return std::nullopt;
    chunks.crc = four(packed.size() - 8);
    chunks.size = four(packed.size() - 4);
    if (chunks.size > sizes.size() * chunks.length || chunks.size <= (sizes.size() - 1) * chunks.length)
        return std::nullopt;
    return chunks;
}

bool UnpackingText::UnpackChunk(std::size_t i) {
    const std::size_t outAt = i * chunks_->length;
    const std::size_t outSize = std::min<std::size_t>(chunks_->length, chunks_->size - outAt);
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
    const std::string_view packed = packed_.Bytes();
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data() + chunks_->at[i]));
    z.avail_in = static_cast<uInt>(chunks_->at[i + 1] - chunks_->at[i]);
    z.next_out = reinterpret_cast<Bytef*>(text_.bytes.get() + outAt);
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
    if (unpacked)
        crcs_[i] = crc32(0, reinterpret_cast<const Bytef*>(text_.bytes.get() + outAt), static_cast<uInt>(outSize));
    return unpacked;
}

void UnpackingText::ChunkDone(std::size_t i, bool unpacked) {
    if (state_ != State::Running) return;
    if (!unpacked) {
        state_ = State::Again;
    } else {
        done_[i] = 1;
        while (chunksDone_ < done_.size() && done_[chunksDone_]) ++chunksDone_;
        produced_ = std::min<std::size_t>(chunksDone_ * chunks_->length, chunks_->size);
        if (chunksDone_ == done_.size()) {
            // The whole text is checked as zlib checks a stream: by its length and its CRC.
            unsigned long crc = crc32(0, nullptr, 0);
            for (std::size_t k = 0; k < crcs_.size(); ++k) {
                const std::size_t size = std::min<std::size_t>(chunks_->length, chunks_->size - k * chunks_->length);
                crc = crc32_combine(crc, crcs_[k], static_cast<z_off_t>(size));
            }
            state_ = crc == chunks_->crc ? State::Whole : State::Again;
            if (state_ == State::Whole) packed_ = platform::FileView();  // no piece is being read now
        }
    }
    changed_.notify_all();
}

void UnpackingText::UnpackChunks() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_ && state_ == State::Running && claimed_ < done_.size()) {
        const std::size_t i = claimed_++;
        lock.unlock();
        const bool unpacked = UnpackChunk(i);
        lock.lock();
        ChunkDone(i, unpacked);
    }
}

UnpackingText::~UnpackingText() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    if (thread_.joinable()) thread_.join();
}

void UnpackingText::Unpack() {
    z_stream z{};
    State result = State::Again;
    if (inflateInit2(&z, 16 + MAX_WBITS) == Z_OK) {
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed_.Bytes().data()));
        z.avail_in = static_cast<uInt>(packed_.Bytes().size());
        std::size_t produced = 0;
        int status = Z_OK;
        while (status == Z_OK && produced < text_.size) {
            const std::size_t room = std::min(kStep, text_.size - produced);
            z.next_out = reinterpret_cast<Bytef*>(text_.bytes.get() + produced);
            z.avail_out = static_cast<uInt>(room);
            status = inflate(&z, Z_NO_FLUSH);
            produced += room - z.avail_out;
            std::lock_guard<std::mutex> lock(mutex_);
            if (stop_) break;
            produced_ = produced;
            changed_.notify_one();
        }
        inflateEnd(&z);
        // The room holds one byte more than the text may have: a full room means more text.
        if (status == Z_STREAM_END && produced < text_.size) result = State::Whole;
    }
    if (result == State::Whole) packed_ = platform::FileView();
    std::lock_guard<std::mutex> lock(mutex_);
    state_ = result;
    changed_.notify_one();
}

std::optional<std::string_view> UnpackingText::Upto(std::size_t end, std::string& error) {
    std::unique_lock<std::mutex> lock(mutex_);
    // Rather than wait, the reader unpacks the next pieces itself.
    while (chunks_ && state_ == State::Running && produced_ < end && claimed_ < done_.size()) {
        const std::size_t i = claimed_++;
        lock.unlock();
        const bool unpacked = UnpackChunk(i);
        lock.lock();
        ChunkDone(i, unpacked);
    }
    changed_.wait(lock, [&] { return state_ != State::Running || produced_ >= end; });
    if (state_ == State::Again) {
        lock.unlock();
        if (thread_.joinable()) thread_.join();
        text_ = UnpackedText{};  // given back before Gunzip takes room of its own
        if (!Gunzip(packed_.Bytes(), text_, error, limit_)) return std::nullopt;
        packed_ = platform::FileView();
        lock.lock();
        produced_ = text_.size;
        state_ = State::Whole;
    }
    return std::string_view(text_.bytes.get(), produced_);
}
