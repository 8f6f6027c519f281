#pragma once

#include <sys/stat.h>

#include <string>

namespace fwpolicy {

// Whether two file statuses are of one file: the same device and inode.
inline bool SameInode(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether two names are one file: the same inode (through links), or the
// same name where a file cannot be looked at (standard input, a missing
// file). Any thread may call it.
bool NamesSameFile(const std::string& a, const std::string& b);

}  // namespace fwpolicy
