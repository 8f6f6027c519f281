#include "fileio/ReplaceChecks.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

namespace fwpolicy {
namespace {

constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr uid_t kRoot = 0;

bool UserMayWrite(const std::string& path, const struct stat& status) {
    if (::geteuid() == kRoot)
        return (status.st_mode & kAnyWriteBit) != 0;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

std::string ModeText(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

}  // namespace

void CheckReplaceableKind(const struct stat& status) {
    if (S_ISDIR(status.st_mode))
        throw std::runtime_error("is a directory");
    if (!S_ISREG(status.st_mode))
        throw std::runtime_error("is not a regular file; edits replace regular files only");
}

void CheckMayReplace(const std::string& path, const struct stat& status, bool force) {
    if (force)
        return;
    if (!UserMayWrite(path, status))
        throw std::runtime_error("is read-only (mode " + ModeText(status.st_mode) +
                                 "); give --force to replace it anyway");
    if (status.st_nlink > 1)
        throw std::runtime_error("has " + std::to_string(status.st_nlink) +
                                 " hard links, which replacing it would split; give --force to "
                                 "replace it anyway");
}

}  // namespace fwpolicy
