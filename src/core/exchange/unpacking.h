// A dictionary's compressed text unpacked on a second thread while its entries are read,
// so that the import waits for the unpacking only where its reading overtakes it. A text
// packed by dictzip, in pieces each unpacked on its own, is unpacked by the reader too
// while it waits.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/freedict.h"
#include "core/exchange/gzip.h"
#include "platform/file_view.h"
#include "platform/threads.h"

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

private:
    enum class State { Running, Whole, Again };
    // What the threads share of the unpacking.
    struct Progress {
        std::size_t produced = 0;  // the text's bytes from the start that are there
        State state = State::Again;
        bool stop = false;
        std::size_t claimed = 0, chunksDone = 0;  // pieces taken, and those done from the first on
        std::vector<unsigned char> done;
    };
    void Unpack();
    void UnpackChunks();
    // The next piece to unpack, unless the text is there up to `end` or every piece is taken.
    std::optional<std::size_t> Claim(std::size_t end);
    // Unpacks piece `i` into its place, and tells it is done or failed.
    void UnpackChunk(std::size_t i);

    platform::FileView packed_;  // the threads' while they run; given back once the text is whole
    const std::size_t limit_;
    UnpackedText text_;  // room for the text as the trailer tells it
    std::optional<DictzipChunks> chunks_;
    std::vector<unsigned long> crcs_;  // of each piece's text, each written by the thread that unpacked it
    platform::Shared<Progress> progress_;
    platform::JoinedThread thread_;  // last: stopped before the rest goes
};
