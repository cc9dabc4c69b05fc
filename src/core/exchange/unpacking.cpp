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
    text_.size = *room;
    text_.bytes.reset(new char[text_.size]);
    state_ = State::Running;
    try {
        thread_ = std::thread([this] { Unpack(); });
    } catch (const std::system_error&) {
        state_ = State::Again;
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
