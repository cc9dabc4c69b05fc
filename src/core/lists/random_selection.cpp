#include "core/lists/random_selection.h"

#include <cstdlib>
#include <vector>

#include "core/lists/list_storage.h"
#include "core/store/store.h"
#include "platform/profile_text.h"

namespace {

constexpr std::size_t kMaxTypedChars = 9;
// Redraws before a file is taken for mostly deleted and its live records are listed once.
constexpr int kRedraws = 64;

// The index of a live record, drawn uniformly; -1 when the file holds none.
std::int32_t DrawLive(const DrawSource& draw, std::vector<std::int32_t>& live, bool& listed) {
    if (!listed) {
        for (int attempt = 0; attempt < kRedraws; ++attempt) {
            const auto n = static_cast<std::int32_t>(draw() % static_cast<std::uint32_t>(WordCount));
            if (ReadWord(n) == 0 && !IsDeleted(CurrentRecord)) return n;
        }
        listed = true;
        for (std::int32_t n = 0; n < WordCount; ++n)
            if (ReadWord(n) == 0 && !IsDeleted(CurrentRecord)) live.push_back(n);
    }
    if (live.empty()) return -1;
    const std::int32_t n = live[draw() % live.size()];
    return ReadWord(n) == 0 ? n : -1;
}

}  // namespace

int DrawCountOf(const std::string& typed) { return ProfileTextToInt(typed.substr(0, kMaxTypedChars)); }

bool DrawCountAllowed(int count) { return count > 0 && count <= WordCount; }

std::uint32_t StandardDraw() {
    const auto high = static_cast<std::uint32_t>(std::rand() & 0x7FFF);
    return high << 15 | static_cast<std::uint32_t>(std::rand() & 0x7FFF);
}

int DrawRandomWords(int count, bool emptyFirst, const DrawSource& draw) {
    if (!DrawCountAllowed(count)) return 0;
    if (emptyFirst) ClearCurrentList();
    std::vector<std::int32_t> live;
    bool listed = false;
    int appended = 0;
    for (int i = 0; i < count; ++i) {
        if (DrawLive(draw, live, listed) < 0) break;
        if (WriteListEntry(ListCount) != 0) break;
        ++ListCount;
        ++appended;
    }
    return appended;
}
