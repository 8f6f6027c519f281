#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace fwpolicy {

// A size as administrators write it: a number of bytes, or a number with
// the binary suffix K, M or G ("1G" is 1073741824 bytes). Empty when the
// text is no such size or the size does not fit 64 bits.
std::optional<std::uint64_t> ParseByteSize(const std::string& text);

}  // namespace fwpolicy
