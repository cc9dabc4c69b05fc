// A file's bytes, read-only, for as long as the view lives. On Windows the file is mapped
// into memory: its pages come from the file cache as they are first read, where reading it
// whole would copy every byte into memory of the process's own, each page a fault. The
// POSIX side, for the tests, reads it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

class FileView {
public:
    FileView() = default;
    // A view of bytes already in memory, as a file's would be.
    explicit FileView(std::string bytes);
    ~FileView();
    FileView(FileView&& other) noexcept;
    FileView& operator=(FileView&& other) noexcept;
    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;

    // False, with no bytes, when the file cannot be opened or mapped.
    bool Open(const std::string& path);
    std::string_view Bytes() const { return {data_, size_}; }

private:
    void Close();

    const char* data_ = nullptr;
    std::size_t size_ = 0;
    void* mapped_ = nullptr;  // the mapped view, which is unmapped at the end
    // The mapped file's handle, kept open with the view: its sharing is what keeps writers
    // out, and it would end with the handle, the mapping's own hold notwithstanding.
    void* file_ = nullptr;
    std::string read_;  // or the bytes themselves
};

}  // namespace platform
