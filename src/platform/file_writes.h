// Writing to files. Every write, flush and close of a written file, and every step that
// puts a file in another's place, passes through here, so that a test can make any one
// of them fail as a full or failing disk would and see what is left on disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace platform {

// False when not every byte was written.
bool WriteBytes(FILE* file, const void* data, std::size_t size);
// Hands the buffered bytes to the system; false on a write error.
bool FlushFile(FILE* file);
// Flushes and has the system put the bytes on the disk: a file that takes another's
// place must be whole there before the move, or a power cut could leave it empty.
bool SyncFile(FILE* file);
// Closes a file that was written; false when its last bytes could not be written.
bool CloseFile(FILE* file);

// Counts one step (a write, flush, sync, close or replacement); true when it is the step
// chosen to fail. The platform's write paths ask this before they act.
bool FileStepFails();

// For tests: steps are counted from this call on, and step `n` (from 1) fails; 0 makes
// none fail and only counts.
void FailFileStep(std::uint64_t n);
std::uint64_t FileStepsTaken();

}  // namespace platform
