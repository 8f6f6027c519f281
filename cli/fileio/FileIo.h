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

// Reads a whole file of text lines (a script): a regular file, a pipe or a
// device, "-" standard input. Bounded as ReadFile is, and refused at the
// first NUL byte ("holds a NUL byte, so it is no script"), so that reading
// a device of zeros ends at once; throws std::runtime_error with the
// reason ("cannot read: No such file or directory", "is a directory").
// Unlike ReadFile, "-" is read here and not kept for a later read.
std::string ReadTextFile(const std::string& path);
// True when the file at path holds exactly bytes, read a chunk at a time
// so that no second copy of a large file is held; false at the first
// difference. Throws std::runtime_error as ReadFile does when it cannot
// read the file. Not for "-": standard input cannot be read again.
bool FileHolds(const std::string& path, const std::vector<unsigned char>& bytes);

// Writes bytes to standard output; throws std::runtime_error "cannot write
// standard output: REASON" when that fails.
void WriteStandardOutput(const std::vector<unsigned char>& bytes);

// Replaces an edited file in place: "-" writes standard output, any other
// path is replaced atomically (ReplaceFileAtomically, a symbolic link
// followed). Throws std::runtime_error as that does, "is a directory", and
// "is not a regular file; ..." for a device, FIFO or socket, which an edit
// in place would turn into a regular file.
void ReplaceInPlace(const std::string& path, const std::vector<unsigned char>& bytes);

// Writes a document to the output a verb's -o names, made from the files
// in sources:
//   "-": standard output;
//   a path that does not exist: a new file, replaced atomically, with at
//     most the permission bits that every source file has;
//   a regular file: replaced atomically, keeping its mode (as an edit),
//     unless it is read-only or has several hard links and not force
//     (CheckOutputMayBeReplaced);
//   a FIFO or a character device (a pipe, /dev/null, a terminal): the
//     bytes are written into it, it is never replaced;
//   a symbolic link naming such a FIFO or device: the same through it;
//   a symbolic link to a file or to nothing: refused ("is a symbolic
//     link; -o writes no file through one: name the file itself"), so that
//     a link planted at the path cannot make the tool write elsewhere;
//   a directory: "is a directory"; a block device or a socket: refused.
// Throws std::runtime_error with the reason.
void WriteOutput(const std::string& path, const std::vector<unsigned char>& bytes,
                 const std::vector<std::string>& sources, bool force);

// Refuses, unless force, an existing regular file at the output path that
// an edit would refuse to replace: "is read-only (mode 0444); give --force
// to replace it anyway", "has 2 hard links, ...". A verb that takes long
// asks before it starts, and WriteOutput asks again.
void CheckOutputMayBeReplaced(const std::string& path, bool force);

}  // namespace fwpolicy
