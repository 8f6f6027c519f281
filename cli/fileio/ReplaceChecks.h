#pragma once

#include <sys/stat.h>

#include <string>

namespace fwpolicy {

// Refuses to replace a file by renaming a new one over it where that would
// do something other than what an administrator expects, as git and
// editors refuse it; status is the file's (stat, links followed).
// Throws std::runtime_error:
//   "is a directory";
//   "is not a regular file; edits replace regular files only" (a device,
//   a FIFO, a socket).
// Checked before the file is read: nothing else could be done with it.
void CheckReplaceableKind(const struct stat& status);

// Refuses, unless force, to replace a file that the user would not expect
// to be replaced, once there is something to write. Throws
// std::runtime_error:
//   "is read-only (mode 0444); give --force to replace it anyway" when the
//   user may not write it: without write permission for this process, or,
//   for root, who may write anything, without any write bit;
//   "has 2 hard links, which replacing it would split; give --force to
//   replace it anyway" for a file of several names.
void CheckMayReplace(const std::string& path, const struct stat& status, bool force);

}  // namespace fwpolicy
