#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace fwpolicy {
namespace {

// The steps the FWPOLICY_FAIL_AT hook can make fail.
enum class Step { kNone, kOpen, kWrite, kFsync, kRename, kDirsync };

Step InjectedFailure() {
    const char* value = std::getenv("FWPOLICY_FAIL_AT");
    if (value == nullptr || *value == '\0')
        return Step::kNone;
    const std::string step = value;
    if (step == "open")
        return Step::kOpen;
    if (step == "write")
        return Step::kWrite;
    if (step == "fsync")
        return Step::kFsync;
    if (step == "rename")
        return Step::kRename;
    if (step == "dirsync")
        return Step::kDirsync;
    throw std::runtime_error("FWPOLICY_FAIL_AT: unknown step '" + step + "'");
}

[[noreturn]] void Fail(const char* what, int error) {
    throw std::runtime_error(std::string(what) + ": " + std::strerror(error));
}

// Runs one system call, or fails it with EIO when the hook names its step.
template <typename Call>
int Checked(Step injected, Step step, Call call) {
    if (injected == step) {
        errno = EIO;
        return -1;
    }
    return call();
}

std::string DirectoryOf(const std::string& path) {
    const std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    const std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A name in the target's directory that is hidden and unlikely to clash;
// mkstemp makes it unique.
std::string TemporaryPattern(const std::string& path, const char* tag) {
    const std::string directory = DirectoryOf(path);
    return directory + "/." + BaseName(path) + "." + tag + ".XXXXXX";
}

// The process's file-creation mask (reading it means setting it).
mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Gives the new file the target's permission bits and, where the process
// may, its owner and group (best effort: a user who may not give files
// away keeps ownership, as any editor would); a new target gets the
// usual permissions under the umask.
void CopyAttributes(const std::string& path, int fd) {
    struct stat original {};
    if (::stat(path.c_str(), &original) != 0) {
        ::fchmod(fd, 0666 & ~CurrentUmask());
        return;
    }
    if (::fchown(fd, original.st_uid, original.st_gid) != 0)
        ::fchown(fd, static_cast<uid_t>(-1), original.st_gid);
    ::fchmod(fd, original.st_mode & 07777);
}

// The file a path finally names: a symbolic link is followed, so that the
// file it points to is replaced and the link stays.
std::string ResolvedTarget(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
        return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return path;  // a dangling link: the rename replaces the link itself
    const std::string target = resolved;
    std::free(resolved);
    return target;
}

bool WriteAll(int fd, const std::vector<unsigned char>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes the bytes into a new temporary file and returns its name; the
// file is complete, synced and closed. Cleans up after itself on failure.
std::string WriteTemporary(const std::string& path, const std::vector<unsigned char>& bytes,
                           Step injected) {
    std::string name = TemporaryPattern(path, "new");
    const int fd = Checked(injected, Step::kOpen, [&name] { return ::mkstemp(name.data()); });
    if (fd < 0)
        Fail("cannot create temporary file", errno);
    CopyAttributes(path, fd);

    const char* failure = nullptr;
    int error = 0;
    if (Checked(injected, Step::kWrite, [&] { return WriteAll(fd, bytes) ? 0 : -1; }) != 0) {
        failure = "cannot write temporary file";
        error = errno;
    } else if (Checked(injected, Step::kFsync, [fd] { return ::fsync(fd); }) != 0) {
        failure = "cannot sync temporary file";
        error = errno;
    }
    if (::close(fd) != 0 && failure == nullptr) {
        failure = "cannot write temporary file";
        error = errno;
    }
    if (failure != nullptr) {
        ::unlink(name.c_str());
        Fail(failure, error);
    }
    return name;
}

// Keeps the existing target under a second name; "" when there is no
// target or the file system has no hard links.
std::string KeepOriginal(const std::string& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = TemporaryPattern(path, "old");
        const int fd = ::mkstemp(name.data());
        if (fd < 0)
            return "";
        ::close(fd);
        ::unlink(name.c_str());
        if (::link(path.c_str(), name.c_str()) == 0)
            return name;
        if (errno != EEXIST)
            return "";
    }
    return "";
}

int SyncDirectory(const std::string& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    errno = error;
    return result;
}

}  // namespace

void ReplaceFileAtomically(const std::string& file, const std::vector<unsigned char>& bytes) {
    const Step injected = InjectedFailure();
    const std::string path = ResolvedTarget(file);
    const std::string temporary = WriteTemporary(path, bytes, injected);
    struct stat existing {};
    const bool targetExisted = ::lstat(path.c_str(), &existing) == 0;
    const std::string kept = targetExisted ? KeepOriginal(path) : std::string();

    if (Checked(injected, Step::kRename,
                [&] { return ::rename(temporary.c_str(), path.c_str()); }) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        if (!kept.empty())
            ::unlink(kept.c_str());
        Fail("cannot replace file", error);
    }
    if (Checked(injected, Step::kDirsync, [&] { return SyncDirectory(DirectoryOf(path)); }) != 0) {
        const int error = errno;
        if (!kept.empty())
            ::rename(kept.c_str(), path.c_str());
        else if (!targetExisted)
            ::unlink(path.c_str());
        Fail("cannot sync directory", error);
    }
    if (!kept.empty())
        ::unlink(kept.c_str());
}

}  // namespace fwpolicy
