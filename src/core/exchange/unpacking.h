// A dictionary's compressed text unpacked on a second thread while its entries are read,
// so that the import waits for the unpacking only where its reading overtakes it. A text
// packed by dictzip, in pieces each unpacked on its own, is unpacked by the reader too
// while it waits.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/exchange/formats.h"
#include "platform/file_view.h"

class UnpackingText final : public DictionaryText {
public:
    // Starts unpacking `packed` (a text that is not compressed is taken as it is). Throws
    // std::bad_alloc when there is no room for the text.
    UnpackingText(platform::FileView packed, std::size_t limit);
    // Stops the unpacking.
    ~UnpackingText();
    UnpackingText(const UnpackingText&) = delete;
    UnpackingText& operator=(const UnpackingText&) = delete;

    // Waits for the text up to `end`. A text that is damaged, longer than its trailer tells
    // or longer than `limit` is unpacked once more here, whole, by Gunzip, which tells why
    // it fails.
    std::optional<std::string_view> Upto(std::size_t end, std::string& error) override;

    // dictzip's pieces: each unpacks to `length` bytes (the last to what is left), on its own.
    struct Chunks {
        std::size_t length = 0;
        std::vector<std::size_t> at;      // of each piece in the packed text, and its end after the last
        std::uint32_t crc = 0, size = 0;  // of the whole text, as the trailer tells
    };
    // The pieces a packed text holds, as its header tells them; none when it has none or the
    // header does not add up.
    static std::optional<Chunks> ChunksOf(std::string_view packed);

private:
    enum class State { Running, Whole, Again };
    void Unpack();
    void UnpackChunks();
    // Unpacks piece `i` into its place; false when it does not unpack to its length.
    bool UnpackChunk(std::size_t i);
    // With the lock held: piece `i` done, or failed.
    void ChunkDone(std::size_t i, bool unpacked);

    platform::FileView packed_;  // the thread's while it runs; given back once the text is whole
    const std::size_t limit_;
    UnpackedText text_;  // room for the text as the trailer tells it
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t produced_ = 0;
    State state_ = State::Again;
    bool stop_ = false;
    std::optional<Chunks> chunks_;
    std::size_t claimed_ = 0, chunksDone_ = 0;  // pieces taken, and those done from the first on
    std::vector<unsigned char> done_;
    std::vector<unsigned long> crcs_;  // of each piece's text
    std::thread thread_;
};
