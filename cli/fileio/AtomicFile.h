#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace fwpolicy {

// How ReplaceFileAtomically treats the path it is given.
struct ReplaceOptions {
    // An edit in place follows a symbolic link and replaces the file it
    // names. An output file (-o) does not: a link found at the path is
    // itself replaced, so that nothing is written through it.
    bool followLink = true;
    // The permission bits a file that does not exist yet may get at most,
    // besides the umask: the bits of the file its content came from, so
    // that a copy is never more readable than its source.
    mode_t newFileModeLimit = 0777;
};

// Replaces (or creates) the file at path with bytes so that readers see
// either the old content or the new, never a mixture:
//   1. a temporary file is created beside the target (same directory, so
//      the rename stays on one file system), with the target's extended
//      attributes (ACLs, security labels, user attributes), its permission
//      bits and, where the process may set them, its owner and group; when
//      the group cannot be kept, the group's permission bits are cleared,
//      so that no other group gains access;
//   2. the bytes are written, flushed and fsynced, and the file closed;
//   3. the temporary file is renamed over the target;
//   4. the directory is fsynced so the rename itself is durable.
// Until step 4 has succeeded, the old target is kept under a hard link,
// so a failing directory sync puts the old file back. (On a file system
// without hard links that one failure leaves the new content in place;
// the error is still thrown.)
//
// Throws std::runtime_error ("cannot create a file in DIRECTORY: REASON",
// "cannot write temporary file: REASON", "cannot sync temporary file:
// REASON", "cannot replace file: REASON", "cannot sync directory: REASON")
// when a step fails. After a throw the target is as it was before the call
// (absent if it was absent) and no temporary file is left behind.
//
// Test hook: when the environment variable FWPOLICY_FAIL_AT names one of
// the steps "open", "write", "fsync", "rename" or "dirsync", that step
// fails as if its system call had returned EIO. Any other non-empty value
// throws "FWPOLICY_FAIL_AT: unknown step 'VALUE'" before anything is done.
//
// "cannot keep extended attribute 'NAME': REASON" when an extended
// attribute of the target cannot be given to the new file.
//
// A path that is a symbolic link replaces the file the link points to;
// the link stays (unless options.followLink is false).
//
// While the temporary files exist, SIGINT, SIGTERM and SIGHUP remove them
// before the process ends as the signal would end it; the previous
// dispositions are restored before the call returns.
//
// Not synchronised: two processes replacing one file race (the last rename
// wins, each result complete). Main thread only (it installs signal
// handlers).
void ReplaceFileAtomically(const std::string& file, const std::vector<unsigned char>& bytes,
                           const ReplaceOptions& options = ReplaceOptions());

}  // namespace fwpolicy
