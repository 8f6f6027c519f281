#include "fileio/ExclusiveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace fwpolicy {
namespace {

constexpr mode_t kNewFileMode = 0666;  // less the umask, as editors create files

std::runtime_error CannotCreate(int error) {
    return std::runtime_error(std::string("cannot create: ") + std::strerror(error));
}

// Closes and removes the temporary file however the creation ends.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target) {
        // A name left by an earlier run that died is passed over.
        constexpr int kNamesToTry = 100;
        for (int attempt = 0; attempt < kNamesToTry; ++attempt) {
            path_ = target + ".new-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
            fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
            if (fd_ >= 0)
                return;
            if (errno != EEXIST)
                break;
        }
        const int error = errno;
        path_.clear();
        throw CannotCreate(error);
    }
    ~TemporaryFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    void Write(const std::vector<unsigned char>& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t written = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (written < 0 && errno == EINTR)
                continue;
            if (written < 0)
                throw CannotCreate(errno);
            done += static_cast<std::size_t>(written);
        }
        if (::fsync(fd_) != 0)
            throw CannotCreate(errno);
    }

    // Gives the file its final name; refuses a name that exists.
    void LinkTo(const std::string& target) {
        if (::link(path_.c_str(), target.c_str()) == 0)
            return;
        if (errno == EEXIST)
            throw std::runtime_error("exists already; give --force to replace it");
        throw CannotCreate(errno);
    }

private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace

void CreateFileExclusively(const std::string& path, const std::vector<unsigned char>& bytes) {
    TemporaryFile temporary(path);
    temporary.Write(bytes);
    temporary.LinkTo(path);
}

}  // namespace fwpolicy
