#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fwpolicy {

// The file argument that stands for standard input or standard output.
inline constexpr const char* kStandardStream = "-";

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
// empty rather than waiting for one. "-" reads standard input (once:
// later reads of "-" return the same bytes). A directory is refused as
// "is a directory", no bytes at all as "is empty, not a policy document".
// Any thread may call it.
std::vector<unsigned char> ReadFile(const std::string& path);

// Writes a document where a verb delivers it: "-" writes standard output,
// any other path is replaced atomically (ReplaceFileAtomically). Throws
// std::runtime_error as that does, "is a directory" for a directory.
void WriteOutput(const std::string& path, const std::vector<unsigned char>& bytes);

}  // namespace fwpolicy
