#include "document/NulByteGuard.h"

#include <algorithm>
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
    const auto nul = static_cast<const unsigned char*>(found);
    const auto lines = static_cast<unsigned long>(std::count(bytes.data(), nul, '\n'));
    const unsigned char* lineStart = nul;
    while (lineStart != bytes.data() && lineStart[-1] != '\n') {
        --lineStart;
    }
    return TextPosition{lines + 1, static_cast<unsigned long>(nul - lineStart) + 1};
}

}  // namespace fwcommon::document
