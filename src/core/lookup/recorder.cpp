#include "core/lookup/recorder.h"

#include <algorithm>
#include <optional>

#include "core/lookup/sounds.h"
#include "platform/platform.h"

RecorderSequence::RecorderSequence(std::int32_t savedPlace, std::int32_t wordCount)
    : place_(std::clamp(savedPlace, 0, std::max(wordCount, 0))), count_(std::max(wordCount, 0)) {}

void RecorderSequence::Advance() { place_ = std::min(place_ + 1, count_); }

bool RecorderSequence::Skip() {
    if (recording_) return false;
    Advance();
    return true;
}

bool RecorderSequence::Back() {
    if (recording_) return false;
    if (place_ > 0) --place_;
    return true;
}

TakeStart RecorderSequence::CheckTake(const std::string& word) {
    if (AtEnd()) return TakeStart::AtEnd;
    if (CanNameSoundFile(word)) return TakeStart::Ready;
    Advance();
    return TakeStart::BadName;
}

// A take that did not start is dropped at once, so it can never be saved over the word's
// earlier recording.
TakeStart RecorderSequence::StartTake(const SoundCommand& send) {
    if (!send("open new type waveaudio alias mysound")) return TakeStart::NotOpened;
    if (!send("record mysound")) {
        send("close mysound");
        return TakeStart::NotRecording;
    }
    recording_ = true;
    return TakeStart::Started;
}

namespace {

constexpr std::int64_t kWaveHeaderBytes = 44;

}  // namespace

TakeEnd RecorderSequence::StopTake(const std::string& language, const std::string& word, const SoundCommand& send) {
    const std::optional<std::string> file = SoundFileName(language, word);
    const std::string temporary = file ? *file + ".tmp" : std::string();
    const bool stopped = send("stop mysound");
    const bool saved = file && send("save mysound \"" + temporary + "\"");
    send("close mysound");
    recording_ = false;
    // A wave file of its header alone (44 bytes) holds no sound: the device heard nothing,
    // which must not replace a recording, nor pass for one.
    const std::optional<platform::FileStamp> written = saved ? platform::StampOf(temporary) : std::nullopt;
    if (stopped && written && written->size <= kWaveHeaderBytes) {
        platform::RemoveFile(temporary);
        return TakeEnd::Silent;
    }
    if (stopped && saved && platform::MoveIntoPlace(temporary, *file) == 0) {
        Advance();
        return TakeEnd::Saved;
    }
    if (file) platform::RemoveFile(temporary);
    // A failed command has been reported already; a failed move, or a name too long for a
    // path, has not.
    return saved || !file ? TakeEnd::NotSaved : TakeEnd::Failed;
}

void RecorderSequence::DropTake(const SoundCommand& send) {
    if (!recording_) return;
    send("stop mysound");
    send("close mysound");
    recording_ = false;
}
