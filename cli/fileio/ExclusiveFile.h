#pragma once

#include <string>
#include <vector>

namespace fwpolicy {

// Creates path holding bytes, complete or not at all, and refuses a path
// that exists, even one another process creates meanwhile or a dangling
// symbolic link: the bytes are written and synced to a temporary file
// beside it, which is then hard-linked to the name (link(2) fails on any
// existing name) and removed. The new file has mode 0666 less the umask.
// Throws std::runtime_error "exists already; give --force to replace it",
// or "cannot create: REASON"; no temporary file is left behind.
void CreateFileExclusively(const std::string& path, const std::vector<unsigned char>& bytes);

}  // namespace fwpolicy
