#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <string>
#include <vector>

namespace fwpolicy {

// Whether two file statuses are of one file: the same device and inode.
inline bool SameInode(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether two names are one file: the same inode (through links), or the
// same name where a file cannot be looked at (standard input, a missing
// file). Any thread may call it.
bool NamesSameFile(const std::string& a, const std::string& b);

// The index of the first name of files that names the same file as an
// earlier one, or files.size() when each names a file of its own.
std::size_t FirstRepeatedFile(const std::vector<std::string>& files);

// The names of files in order, less those that name the same file as an
// earlier one (a.xml ./a.xml gives a.xml).
std::vector<std::string> DistinctFiles(const std::vector<std::string>& files);

}  // namespace fwpolicy
