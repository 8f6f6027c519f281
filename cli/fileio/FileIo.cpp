#include "fileio/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <mutex>
#include <optional>
#include <stdexcept>

#include "fileio/AtomicFile.h"
#include "fileio/ReplaceChecks.h"
#include "fileio/StreamingMarkupCheck.h"
#include "terminal/Progress.h"

namespace fwpolicy {
namespace {

constexpr std::size_t kReadChunk = 64 * 1024;

std::uint64_t maxFileSize = kDefaultMaxFileSize;

[[noreturn]] void ThrowSystemError(const char* what) {
    throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

std::string LimitText() {
    return "the limit of " + std::to_string(maxFileSize) + " bytes (--max-size)";
}

// Closes the descriptor when reading ends, however it ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { ::close(fd_); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Opens without waiting for a FIFO's writer, then reads blocking again.
int OpenForReading(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        ThrowSystemError("cannot read");
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        ThrowSystemError("cannot read");
    }
    return fd;
}

// A regular file announces its size: one beyond the limit (a sparse file,
// say) is refused before a byte is read. Empty for input of no known size
// (a pipe, a device).
std::optional<std::size_t> RegularFileSize(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        ThrowSystemError("cannot read");
    }
    if (S_ISDIR(status.st_mode)) {
        throw std::runtime_error("is a directory");
    }
    if (!S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    const auto size = static_cast<std::uint64_t>(status.st_size);
    if (size > maxFileSize) {
        throw std::runtime_error("is " + std::to_string(size) + " bytes, more than " + LimitText());
    }
    return static_cast<std::size_t>(size);
}

// Reads fd to its end a chunk at a time, handing each chunk to take(bytes,
// count); stops early, returning false, when take returns false.
template <typename Take>
bool ReadChunks(int fd, Take take) {
    unsigned char chunk[kReadChunk];
    for (;;) {
        const ssize_t count = ::read(fd, chunk, sizeof chunk);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            ThrowSystemError("cannot read");
        }
        if (count == 0) {
            return true;
        }
        if (!take(chunk, static_cast<std::size_t>(count))) {
            return false;
        }
    }
}

// Reads fd to its end. Input of no known size is refused as soon as its
// bytes can no longer be a policy document, so that an endless stream
// ends at once; a regular file is bounded by its size, and the library
// checks its bytes when it parses them, once.
std::vector<unsigned char> ReadDescriptor(int fd) {
    std::vector<unsigned char> bytes;
    const std::optional<std::size_t> size = RegularFileSize(fd);
    bytes.reserve(size.value_or(0));
    std::optional<StreamingMarkupCheck> check;
    if (!size) {
        check.emplace();
    }
    ReadChunks(fd, [&](const unsigned char* chunk, std::size_t count) {
        if (bytes.size() + count > maxFileSize) {
            throw std::runtime_error("holds more than " + LimitText());
        }
        if (check) {
            check->Take(chunk, count);
        }
        bytes.insert(bytes.end(), chunk, chunk + count);
        return true;
    });
    return bytes;
}

// Several files may be read at once (check -j): the first to ask reads.
const std::vector<unsigned char>& StandardInput() {
    static std::mutex reading;
    static std::optional<std::vector<unsigned char>> bytes;
    const std::lock_guard<std::mutex> lock(reading);
    if (!bytes) {
        bytes = ReadDescriptor(STDIN_FILENO);
    }
    return *bytes;
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
    if (path == kStandardStream) {
        return StandardInput();
    }
    const Descriptor file(OpenForReading(path));
    return ReadDescriptor(file.get());
}

// A FIFO or a character device takes the bytes as they come; it is
// written into, never replaced.
bool IsStream(const struct stat& status) {
    return S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode);
}

void WriteInto(const std::string& path, const std::vector<unsigned char>& bytes) {
    const Descriptor out(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (out.get() < 0) {
        ThrowSystemError("cannot write");
    }
    struct stat status {};
    if (::fstat(out.get(), &status) != 0 || !IsStream(status)) {
        throw std::runtime_error("was replaced while it was being opened; nothing was written");
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(out.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            ThrowSystemError("cannot write");
        }
        done += static_cast<std::size_t>(n);
    }
}

// The permission bits every regular source file has: a new output must be
// no more readable than what it was made from.
mode_t SharedPermissions(const std::vector<std::string>& sources) {
    mode_t shared = 0777;
    for (const std::string& source : sources) {
        struct stat status {};
        if (source != kStandardStream && ::stat(source.c_str(), &status) == 0 &&
            S_ISREG(status.st_mode)) {
            shared &= status.st_mode & 0777;
        }
    }
    return shared;
}

}  // namespace

void SetMaxFileSize(std::uint64_t bytes) {
    maxFileSize = bytes;
}

std::vector<unsigned char> ReadFile(const std::string& path) {
    std::vector<unsigned char> bytes = ReadBytes(path);
    // The library reads no bytes as a new document; given as a file, they
    // are a mistake (a truncated copy, the wrong name).
    if (bytes.empty()) {
        throw std::runtime_error("is empty, not a policy document");
    }
    return bytes;
}

std::string ReadTextFile(const std::string& path) {
    std::optional<Descriptor> opened;
    if (path != kStandardStream) {
        opened.emplace(OpenForReading(path));
    }
    const int fd = opened ? opened->get() : STDIN_FILENO;
    const std::optional<std::size_t> size = RegularFileSize(fd);
    std::string text;
    text.reserve(size.value_or(0));
    ReadChunks(fd, [&text](const unsigned char* chunk, std::size_t count) {
        if (text.size() + count > maxFileSize) {
            throw std::runtime_error("holds more than " + LimitText());
        }
        if (std::memchr(chunk, '\0', count) != nullptr) {
            throw std::runtime_error("holds a NUL byte, so it is no script");
        }
        text.append(reinterpret_cast<const char*>(chunk), count);
        return true;
    });
    return text;
}

bool FileHolds(const std::string& path, const std::vector<unsigned char>& bytes) {
    const Descriptor file(OpenForReading(path));
    const std::optional<std::size_t> size = RegularFileSize(file.get());
    if (size && *size != bytes.size()) {
        return false;
    }
    std::size_t compared = 0;
    const bool same = ReadChunks(file.get(), [&](const unsigned char* chunk, std::size_t count) {
        if (count > bytes.size() - compared ||
            std::memcmp(chunk, bytes.data() + compared, count) != 0) {
            return false;
        }
        compared += count;
        return true;
    });
    return same && compared == bytes.size();
}

void WriteStandardOutput(const std::vector<unsigned char>& bytes) {
    std::cout.write(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<std::streamsize>(bytes.size()));
    std::cout.flush();
    if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        ThrowSystemError("cannot write standard output");
    }
}

void ReplaceInPlace(const std::string& path, const std::vector<unsigned char>& bytes) {
    if (path == kStandardStream) {
        WriteStandardOutput(bytes);
        return;
    }
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) {
            throw std::runtime_error("is a directory");
        }
        if (!S_ISREG(status.st_mode)) {
            throw std::runtime_error("is not a regular file; edits replace regular files only");
        }
    }
    const terminal::ProgressStage stage("writing " + path);
    ReplaceFileAtomically(path, bytes);
}

void CheckOutputMayBeReplaced(const std::string& path, bool force) {
    struct stat link {};
    if (path != kStandardStream && ::lstat(path.c_str(), &link) == 0 && S_ISREG(link.st_mode))
        CheckMayReplace(path, link, force);
}

void WriteOutput(const std::string& path, const std::vector<unsigned char>& bytes,
                 const std::vector<std::string>& sources, bool force) {
    if (path == kStandardStream) {
        WriteStandardOutput(bytes);
        return;
    }
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0) {
        ReplaceOptions options;
        options.followLink = false;
        options.newFileModeLimit = SharedPermissions(sources);
        ReplaceFileAtomically(path, bytes, options);
        return;
    }
    struct stat status {};
    const bool named = ::stat(path.c_str(), &status) == 0;
    if (named && S_ISDIR(status.st_mode)) {
        throw std::runtime_error("is a directory");
    }
    if (named && IsStream(status)) {
        WriteInto(path, bytes);
        return;
    }
    if (S_ISLNK(link.st_mode)) {
        throw std::runtime_error(
            "is a symbolic link; -o writes no file through one: name the "
            "file itself");
    }
    if (!S_ISREG(link.st_mode)) {
        throw std::runtime_error(
            "is neither a regular file, a FIFO nor a character device; -o writes none there");
    }
    CheckMayReplace(path, link, force);
    ReplaceOptions options;
    options.followLink = false;
    ReplaceFileAtomically(path, bytes, options);
}

}  // namespace fwpolicy
