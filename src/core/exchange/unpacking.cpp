#include "core/exchange/unpacking.h"

#include <algorithm>
#include <utility>

namespace {

// Large enough that the hand-overs cost nothing, small enough that the reader starts early.
constexpr std::size_t kStep = std::size_t{1} << 20;

}  // namespace

UnpackingText::UnpackingText(platform::FileView packed, std::size_t limit) : packed_(std::move(packed)), limit_(limit) {
    // Not compressed, Upto takes it as it is. A trailer that tells too little or too much only
    // sends the text to Gunzip, which counts it first.
    const std::optional<std::size_t> room = GzipFirstRoom(packed_.Bytes(), limit_);
    if (!room) return;
    chunks_ = DictzipChunksOf(packed_.Bytes());
    if (chunks_ && chunks_->size >= *room) chunks_.reset();  // more than the limit: Gunzip tells
    text_.size = chunks_ ? chunks_->size + std::size_t{1} : *room;
    text_.bytes.reset(new char[text_.size]);
    const std::size_t pieces = chunks_ ? chunks_->at.size() - 1 : 0;
    crcs_.assign(pieces, 0);
    progress_.Change([&](Progress& p) {
        p.done.assign(pieces, 0);
        p.state = State::Running;
    });
    if (!thread_.Start([this] { chunks_ ? UnpackChunks() : Unpack(); }) && !chunks_)
        progress_.Change([](Progress& p) { p.state = State::Again; });  // pieces are then unpacked by the reader
}

UnpackingText::~UnpackingText() {
    progress_.Change([](Progress& p) { p.stop = true; });
    thread_.Join();
}

std::optional<std::size_t> UnpackingText::Claim(std::size_t end) {
    return progress_.Change([&](Progress& p) -> std::optional<std::size_t> {
        if (p.stop || p.state != State::Running || p.produced >= end || p.claimed >= p.done.size()) return std::nullopt;
        return p.claimed++;
    });
}

void UnpackingText::UnpackChunk(std::size_t i) {
    const bool unpacked =
        UnpackDictzipChunk(packed_.Bytes(), *chunks_, i, text_.bytes.get() + i * chunks_->length, crcs_[i]);
    progress_.Change([&](Progress& p) {
        if (p.state != State::Running) return;
        if (!unpacked) {
            p.state = State::Again;
            return;
        }
        p.done[i] = 1;
        while (p.chunksDone < p.done.size() && p.done[p.chunksDone]) ++p.chunksDone;
        p.produced = std::min<std::size_t>(p.chunksDone * chunks_->length, chunks_->size);
        if (p.chunksDone < p.done.size()) return;
        p.state = DictzipCrcMatches(*chunks_, crcs_) ? State::Whole : State::Again;
        if (p.state == State::Whole) packed_ = platform::FileView();  // no piece is being read now
    });
}

void UnpackingText::UnpackChunks() {
    while (const std::optional<std::size_t> i = Claim(static_cast<std::size_t>(-1))) UnpackChunk(*i);
}

void UnpackingText::Unpack() {
    std::size_t produced = 0;
    GzipStream::Filled filled = GzipStream::Filled::Full;
    {
        GzipStream stream(packed_.Bytes());
        while (filled == GzipStream::Filled::Full && produced < text_.size) {
            filled = stream.Fill(text_.bytes.get(), std::min(produced + kStep, text_.size), produced);
            const bool stopped = progress_.Change([&](Progress& p) {
                p.produced = p.stop ? p.produced : produced;
                return p.stop;
            });
            if (stopped) break;
        }
    }
    // The room holds one byte more than the text may have: a full room means more text.
    const State result = filled == GzipStream::Filled::End && produced < text_.size ? State::Whole : State::Again;
    if (result == State::Whole) packed_ = platform::FileView();
    progress_.Change([&](Progress& p) { p.state = result; });
}

std::optional<std::string_view> UnpackingText::Upto(std::size_t end, std::string& error) {
    // Rather than wait, the reader unpacks the next pieces itself.
    while (const std::optional<std::size_t> i = chunks_ ? Claim(end) : std::nullopt) UnpackChunk(*i);
    const auto [state, produced] =
        progress_.When([&](const Progress& p) { return p.state != State::Running || p.produced >= end; },
                       [](Progress& p) { return std::make_pair(p.state, p.produced); });
    if (state != State::Again) return std::string_view(text_.bytes.get(), produced);
    thread_.Join();
    text_ = UnpackedText{};  // given back before Gunzip takes room of its own
    if (!Gunzip(packed_.Bytes(), text_, error, limit_)) return std::nullopt;
    packed_ = platform::FileView();
    progress_.Change([&](Progress& p) {
        p.produced = text_.size;
        p.state = State::Whole;
    });
    return text_.View();
}
