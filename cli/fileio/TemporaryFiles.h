#pragma once

#include <string>

namespace fwpolicy {

// The hidden files a replacement makes beside its target (the new content,
// a second name of the old file). While an object of this class lives,
// SIGINT, SIGTERM and SIGHUP remove every file it holds before the process
// ends as the signal would have ended it, so that an interrupted edit
// leaves no full-size copy of the policy behind. A signal the process
// ignores (nohup) stays ignored.
//
// One object at a time, on the main thread: the handlers and the names
// they remove are process-wide.
class TemporaryFiles {
public:
    // Installs the handlers.
    TemporaryFiles();
    // Removes the files still held and restores the previous handlers.
    ~TemporaryFiles();
    TemporaryFiles(const TemporaryFiles&) = delete;
    TemporaryFiles& operator=(const TemporaryFiles&) = delete;

    // mkstemp on pattern (which becomes the name made), held from before a
    // signal could end the process. Returns the descriptor, or -1 with
    // errno set and nothing held.
    int Create(std::string& pattern);
    // Holds a name that is about to be made (a hard link).
    void Hold(const std::string& name);
    // Lets go of a name: it was renamed, removed or never made.
    void Release(const std::string& name);
};

}  // namespace fwpolicy
