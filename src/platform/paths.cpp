#include "platform/platform.h"

namespace platform {

std::optional<std::string> MakePath(std::initializer_list<std::string_view> pieces) {
    std::string path;
    for (std::string_view piece : pieces) path += piece;
    if (path.size() > kMaxPath) return std::nullopt;
    return path;
}

}  // namespace platform
