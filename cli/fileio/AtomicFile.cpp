#include "fileio/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "fileio/TemporaryFiles.h"

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

constexpr mode_t kNewFileMode = 0666;

// The names of the extended attributes of a file, in a buffer of
// NUL-terminated names.
std::vector<char> AttributeNames(const std::string& path) {
    for (;;) {
        const ssize_t size = ::listxattr(path.c_str(), nullptr, 0);
        if (size < 0 && (errno == ENOTSUP || errno == ENODATA))
            return {};
        if (size < 0)
            Fail("cannot read extended attributes", errno);
        std::vector<char> names(static_cast<std::size_t>(size));
        const ssize_t read = ::listxattr(path.c_str(), names.data(), names.size());
        if (read >= 0) {
            names.resize(static_cast<std::size_t>(read));
            return names;
        }
        if (errno != ERANGE)  // ERANGE: an attribute was added meanwhile
            Fail("cannot read extended attributes", errno);
    }
}

// Gives the new file every extended attribute of the original: access
// control lists and security labels must not be lost by an edit.
void CopyExtendedAttributes(const std::string& path, int fd) {
    const std::vector<char> names = AttributeNames(path);
    for (std::size_t at = 0; at < names.size(); at += std::strlen(names.data() + at) + 1) {
        const char* name = names.data() + at;
        const ssize_t size = ::getxattr(path.c_str(), name, nullptr, 0);
        std::vector<char> value(size > 0 ? static_cast<std::size_t>(size) : 0);
        const ssize_t read =
            size < 0 ? size : ::getxattr(path.c_str(), name, value.data(), value.size());
        if (read < 0 || ::fsetxattr(fd, name, value.data(), static_cast<std::size_t>(read), 0) != 0)
            Fail(("cannot keep extended attribute '" + std::string(name) + "'").c_str(), errno);
    }
}

// Gives the new file the original's owner and group where the process
// may; true when the group is the original's.
bool CopyOwnership(int fd, const struct stat& original) {
    if (::fchown(fd, original.st_uid, original.st_gid) == 0 ||
        ::fchown(fd, static_cast<uid_t>(-1), original.st_gid) == 0)
        return true;
    // Neither: the file keeps the group it was created with, which may
    // still be the original's.
    struct stat now {};
    return ::fstat(fd, &now) == 0 && now.st_gid == original.st_gid;
}

// Gives the new file the target's extended attributes, owner, group and
// permission bits (best effort for owner and group: a user who may not
// give files away keeps ownership, as any editor would; the bits of a
// group that could not be kept are cleared). A new target gets the usual
// permissions under the umask and the limit.
void CopyAttributes(const std::string& path, int fd, const ReplaceOptions& options) {
    struct stat original {};
    const int found =
        options.followLink ? ::stat(path.c_str(), &original) : ::lstat(path.c_str(), &original);
    if (found != 0 || !S_ISREG(original.st_mode)) {
        ::fchmod(fd, kNewFileMode & ~CurrentUmask() & options.newFileModeLimit);
        return;
    }
    CopyExtendedAttributes(path, fd);
    mode_t mode = original.st_mode & 07777;
    if (!CopyOwnership(fd, original))
        mode &= ~static_cast<mode_t>(S_IRWXG);
    ::fchmod(fd, mode);
}

// The file a path finally names: a symbolic link is followed, so that the
// file it points to is replaced and the link stays.
std::string ResolvedTarget(const std::string& path, const ReplaceOptions& options) {
    struct stat link {};
    if (!options.followLink)
        return path;
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
// file is complete, synced and closed. On failure it throws and the file
// is removed with the others the replacement holds.
std::string WriteTemporary(const std::string& path, const std::vector<unsigned char>& bytes,
                           const ReplaceOptions& options, Step injected,
                           TemporaryFiles& temporaries) {
    std::string name = TemporaryPattern(path, "new");
    const int fd =
        Checked(injected, Step::kOpen, [&name, &temporaries] { return temporaries.Create(name); });
    if (fd < 0)  // the directory is what refused: name it, not the hidden name
        Fail(("cannot create a file in " + DirectoryOf(path)).c_str(), errno);

    const char* failure = nullptr;
    int error = 0;
    try {
        CopyAttributes(path, fd, options);
    } catch (const std::exception&) {
        ::close(fd);
        throw;
    }
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
    if (failure != nullptr)
        Fail(failure, error);
    return name;
}

// Keeps the existing target under a second name; "" when there is no
// target or the file system has no hard links.
std::string KeepOriginal(const std::string& path, TemporaryFiles& temporaries) {
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::string name = TemporaryPattern(path, "old");
        const int fd = temporaries.Create(name);
        if (fd < 0)
            return "";
        ::close(fd);
        ::unlink(name.c_str());  // still held: the link below makes it again
        if (::link(path.c_str(), name.c_str()) == 0)
            return name;
        const int error = errno;
        temporaries.Release(name);
        if (error != EEXIST)
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

void ReplaceFileAtomically(const std::string& file, const std::vector<unsigned char>& bytes,
                           const ReplaceOptions& options) {
    const Step injected = InjectedFailure();
    TemporaryFiles temporaries;  // removed however the replacement ends
    const std::string path = ResolvedTarget(file, options);
    const std::string temporary = WriteTemporary(path, bytes, options, injected, temporaries);
    struct stat existing {};
    const bool targetExisted = ::lstat(path.c_str(), &existing) == 0;
    const std::string kept = targetExisted ? KeepOriginal(path, temporaries) : std::string();

    if (Checked(injected, Step::kRename,
                [&] { return ::rename(temporary.c_str(), path.c_str()); }) != 0)
        Fail("cannot replace file", errno);
    temporaries.Release(temporary);  // it is the file now
    if (Checked(injected, Step::kDirsync, [&] { return SyncDirectory(DirectoryOf(path)); }) != 0) {
        const int error = errno;
        if (!kept.empty() && ::rename(kept.c_str(), path.c_str()) == 0)
            temporaries.Release(kept);
        else if (!targetExisted)
            ::unlink(path.c_str());
        Fail("cannot sync directory", error);
    }
}

}  // namespace fwpolicy
