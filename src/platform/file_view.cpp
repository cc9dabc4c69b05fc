#include "platform/file_view.h"

#include <utility>

#include "platform/platform.h"
#include "platform/replace_file.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

FileView::FileView(std::string bytes) : read_(std::move(bytes)) {
    data_ = read_.data();
    size_ = read_.size();
}

FileView::~FileView() { Close(); }

FileView::FileView(FileView&& other) noexcept { *this = std::move(other); }

FileView& FileView::operator=(FileView&& other) noexcept {
    if (this == &other) return *this;
    Close();
    mapped_ = std::exchange(other.mapped_, nullptr);
    file_ = std::exchange(other.file_, nullptr);
    read_ = std::move(other.read_);
    data_ = mapped_ ? std::exchange(other.data_, nullptr) : read_.data();
    size_ = std::exchange(other.size_, 0);
    other.data_ = nullptr;
    return *this;
}

void FileView::Close() {
#ifdef _WIN32
    if (mapped_) UnmapViewOfFile(mapped_);
    if (file_) CloseHandle(file_);
#endif
    mapped_ = nullptr;
    file_ = nullptr;
    std::string().swap(read_);
    data_ = nullptr;
    size_ = 0;
}

bool FileView::Open(const std::string& path) {
    Close();
#ifdef _WIN32
    if (path.size() > kMaxPath) return false;
    // Only others' reading is shared while the view is open: a file that changed under the
    // readers' feet would hand them bytes that differ from one look to the next. A file that
    // someone is writing is read as the C runtime reads it, into memory of its own.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (GetLastError() != ERROR_SHARING_VIOLATION || !ReadFileBytes(path, read_)) return false;
        data_ = read_.data();
        size_ = read_.size();
        return true;
    }
    LARGE_INTEGER size{};
    bool opened = GetFileSizeEx(file, &size) && static_cast<unsigned long long>(size.QuadPart) <= SIZE_MAX;
    if (opened && size.QuadPart > 0) {  // an empty file cannot be mapped, and has no bytes to view
        HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        mapped_ = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
        if (mapping) CloseHandle(mapping);  // the view keeps what it needs
        opened = mapped_ != nullptr;
        if (opened) {
            data_ = static_cast<const char*>(mapped_);
            size_ = static_cast<std::size_t>(size.QuadPart);
            file_ = file;
            return true;
        }
    }
    CloseHandle(file);
    return opened;
#else
    if (!ReadFileBytes(path, read_)) return false;
    data_ = read_.data();
    size_ = read_.size();
    return true;
#endif
}

}  // namespace platform
