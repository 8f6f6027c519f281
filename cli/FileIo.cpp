#include "FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "StreamingMarkupCheck.h"

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
// say) is refused before a byte is read.
std::size_t ExpectedSize(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        ThrowSystemError("cannot read");
    }
    if (!S_ISREG(status.st_mode)) {
        return 0;
    }
    const auto size = static_cast<std::uint64_t>(status.st_size);
    if (size > maxFileSize) {
        throw std::runtime_error("is " + std::to_string(size) + " bytes, more than " + LimitText());
    }
    return static_cast<std::size_t>(size);
}

}  // namespace

void SetMaxFileSize(std::uint64_t bytes) {
    maxFileSize = bytes;
}

std::vector<unsigned char> ReadFile(const std::string& path) {
    const Descriptor file(OpenForReading(path));
    std::vector<unsigned char> bytes;
    bytes.reserve(ExpectedSize(file.get()));
    StreamingMarkupCheck check;
    unsigned char chunk[kReadChunk];
    for (;;) {
        const ssize_t count = ::read(file.get(), chunk, sizeof chunk);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            ThrowSystemError("cannot read");
        }
        if (count == 0) {
            return bytes;
        }
        if (bytes.size() + static_cast<std::size_t>(count) > maxFileSize) {
            throw std::runtime_error("holds more than " + LimitText());
        }
        check.Take(chunk, static_cast<std::size_t>(count));
        bytes.insert(bytes.end(), chunk, chunk + count);
    }
}

}  // namespace fwpolicy
