// Score files (<list file>.score): two lines, the fewest skipped words and then errors.
// Input: the file. A score read back after writing is the score written, and a damaged
// file never gives a best that no run could beat.
#include "core/practice/practice.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EnterScratchWorkingDirectory();
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const std::string path = "lists/week/eng_dut.score";
    PutFile(path, file);
    const std::optional<Score> stored = ReadScore(path);
    const std::string detail = Shown(file);
    if (!stored) return 0;
    FUZZ_CHECK(stored->skipped >= 0 && stored->errors >= 0, detail);
    FUZZ_CHECK(BeatsStoredScore(Score{0, 0}, stored) || (stored->skipped == 0 && stored->errors == 0), detail);

    FUZZ_CHECK(WriteScore(path, *stored) == 0, detail);
    const std::optional<Score> again = ReadScore(path);
    FUZZ_CHECK(again && again->skipped == stored->skipped && again->errors == stored->errors,
               detail + "\nwritten: " + Shown(FileBytes(path)));
    return 0;
}
