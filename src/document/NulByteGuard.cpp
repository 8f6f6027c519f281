#include "document/NulByteGuard.h"

#include <cstring>

namespace fwcommon::document {

std::optional<TextPosition> FindNulByte(const std::vector<unsigned char>& bytes) {
    if (bytes.empty()) {
        return std::nullopt;
    }
    const void* found = std::memchr(bytes.data(), 0, bytes.size());
    if (found == nullptr) {
        return std::nullopt;
    }
    const auto at =
        static_cast<std::size_t>(static_cast<const unsigned char*>(found) - bytes.data());
    return PositionOf(bytes, at, Columns::kBytes);
}

}  // namespace fwcommon::document
