// The recorder's walk through the word list and the device commands of one take; the
// window shows what these return and hands the commands to the sound device.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Sends one command string to the sound device; false when it failed, which the sender has
// already told the user.
using SoundCommand = std::function<bool(const std::string& command)>;

enum class TakeStart {
    Ready,         // the word can be recorded: show the take as running, then StartTake
    AtEnd,         // past the last word: nothing to record
    BadName,       // the word cannot name a file: the place has moved on to the next word
    Started,       // the device records
    NotOpened,     // the device did not open
    NotRecording,  // the device opened but did not record; it is closed again
};

enum class TakeEnd {
    Saved,     // the take replaced the word's recording and the place moved on
    NotSaved,  // the earlier recording is kept; the user has not heard why yet
    Failed,    // the earlier recording is kept; a failed command has been reported
    Silent,    // the take held no sound (no microphone): the earlier recording is kept
};

// The place runs from the first word to one past the last, where the end of the list is
// shown; it stops there so that back always returns to the last word. Skip and back do
// nothing while a take runs.
class RecorderSequence {
public:
    RecorderSequence() = default;
    RecorderSequence(std::int32_t savedPlace, std::int32_t wordCount);

    std::int32_t Place() const { return place_; }
    bool AtEnd() const { return place_ >= count_; }
    bool Recording() const { return recording_; }

    // False, the place unchanged, while a take runs.
    bool Skip();
    bool Back();

    // A take of `word`, the word at the place, in two steps: a word that cannot name a file
    // is passed over before anything is recorded.
    TakeStart CheckTake(const std::string& word);
    TakeStart StartTake(const SoundCommand& send);
    // Saves the take beside the word's file, which it replaces only when saved whole.
    TakeEnd StopTake(const std::string& language, const std::string& word, const SoundCommand& send);
    // Drops a take under way, so the device does not stay open under its alias.
    void DropTake(const SoundCommand& send);

private:
    void Advance();

    std::int32_t place_ = 0, count_ = 0;
    bool recording_ = false;
};
