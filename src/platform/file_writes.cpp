#include "platform/file_writes.h"

#include <atomic>
#include <cerrno>

namespace platform {

namespace {

// Counted from every thread that writes: files may be written side by side.
std::atomic<std::uint64_t> stepsTaken;
std::uint64_t failingStep;

}  // namespace

bool FileStepFails() {
    if (++stepsTaken != failingStep) return false;
    errno = ENOSPC;
    return true;
}

void FailFileStep(std::uint64_t n) {
    stepsTaken = 0;
    failingStep = n;
}

std::uint64_t FileStepsTaken() { return stepsTaken; }

bool WriteBytes(FILE* file, const void* data, std::size_t size) {
    if (FileStepFails()) {
        // A disk that fills up takes part of a write: what follows must cope with that too.
        std::fwrite(data, 1, size / 2, file);
        return false;
    }
    return std::fwrite(data, 1, size, file) == size;
}

bool FlushFile(FILE* file) {
    const bool fails = FileStepFails();
    return std::fflush(file) == 0 && !fails;
}

bool CloseFile(FILE* file) {
    const bool fails = FileStepFails();
    return std::fclose(file) == 0 && !fails;
}

}  // namespace platform
