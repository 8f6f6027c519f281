#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fwpolicy {

// The size limit of the files the tool reads when --max-size is not given.
constexpr std::uint64_t kDefaultMaxFileSize = std::uint64_t{1} << 30;  // 1 GiB

// Sets the size limit of every later ReadFile (from --max-size). Call it
// before any verb runs; the tool runs on one thread.
void SetMaxFileSize(std::uint64_t bytes);

// Reads a whole policy file: a regular file, a pipe or a device. Throws
// std::runtime_error with the reason ("cannot read: No such file or
// directory", "is 2147483648 bytes, more than the limit of 1073741824 bytes
// (--max-size)") when it cannot, and refuses the bytes as soon as they can
// no longer be a policy document (StreamingMarkupCheck), so that reading a
// device or an endless pipe ends quickly. A FIFO without a writer reads as
// empty rather than waiting for one.
std::vector<unsigned char> ReadFile(const std::string& path);

}  // namespace fwpolicy
