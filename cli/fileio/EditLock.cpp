#include "fileio/EditLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "fileio/FileIdentity.h"

namespace fwpolicy {
namespace {

// How often a held lock is tried again while waiting for it.
constexpr std::chrono::milliseconds kRetryInterval{10};

bool SameContentStamp(const struct stat& a, const struct stat& b) {
    return SameInode(a, b) && a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

int OpenForLocking(const std::string& path) {
    // Non-blocking, so that opening a FIFO does not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        throw std::runtime_error(std::string("cannot read: ") + std::strerror(errno));
    return fd;
}

std::string GaveUpMessage(std::chrono::milliseconds wait) {
    std::ostringstream text;
    text << "is locked by another edit; gave up after " << static_cast<double>(wait.count()) / 1000
         << (wait == std::chrono::seconds(1) ? " second" : " seconds")
         << " (--wait SECONDS waits longer)";
    return text.str();
}

// Whether the lock was taken; false when another process holds it.
bool TryLock(int fd) {
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            return false;
        if (errno != EINTR)
            throw std::runtime_error(std::string("cannot lock: ") + std::strerror(errno));
    }
    return true;
}

}  // namespace

EditLock::EditLock(const std::string& path, std::chrono::milliseconds wait) : path_(path) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        fd_ = OpenForLocking(path);
        if (TryLock(fd_)) {
            struct stat named {};
            if (::fstat(fd_, &status_) != 0 || ::stat(path.c_str(), &named) != 0 ||
                SameInode(status_, named))
                return;  // a vanished path is reported when it is read
        } else if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd_);
            fd_ = -1;
            throw std::runtime_error(GaveUpMessage(wait));
        } else {
            std::this_thread::sleep_for(kRetryInterval);
        }
        // Locked a file that was replaced meanwhile, or waiting: start over.
        ::close(fd_);
        fd_ = -1;
    }
}

EditLock::~EditLock() {
    if (fd_ >= 0)
        ::close(fd_);  // releases the lock
}

void EditLock::ExpectUnchanged() const {
    struct stat now {};
    if (::stat(path_.c_str(), &now) != 0 || !SameContentStamp(status_, now))
        throw std::runtime_error(
            "was replaced or changed by another program while it was being edited; nothing was "
            "written");
}

}  // namespace fwpolicy
