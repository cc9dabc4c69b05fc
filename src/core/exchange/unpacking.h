// A dictionary's compressed text unpacked on a second thread while its entries are read,
// so that the import waits for the unpacking only where its reading overtakes it.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

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

private:
    enum class State { Running, Whole, Again };
    void Unpack();

    platform::FileView packed_;  // the thread's while it runs; given back once the text is whole
    const std::size_t limit_;
    UnpackedText text_;  // room for the text as the trailer tells it
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t produced_ = 0;
    State state_ = State::Again;
    bool stop_ = false;
    std::thread thread_;
};
