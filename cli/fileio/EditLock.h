#pragma once

#include <sys/stat.h>

#include <chrono>
#include <string>

namespace fwpolicy {

// The exclusive lock an edit holds on its policy file from reading it to
// replacing it, so that edits of one file by several processes take turns
// instead of losing one another's change.
//
// The lock is flock(2) on the file itself, so no lock file is left behind.
// An edit replaces the file by renaming a new one over it, which leaves a
// waiting process holding the lock of a file that no longer has the name;
// so after taking the lock the path is checked to name the locked file,
// and the lock is taken again on the new one when it does not. A path that
// is a symbolic link locks the file it points to. Readers take no lock
// (they see the old file or the new one, never a mixture).
//
// The lock also remembers the file as it was when the lock was taken
// (device, inode, size, modification time): ExpectUnchanged refuses to go
// on when a program that takes no lock replaced or changed it since.
//
// Owned by one edit on one thread; released by the destructor.
class EditLock {
public:
    // Opens and locks the file, waiting up to wait for another holder to
    // let go (polling). Throws std::runtime_error "cannot read: REASON"
    // when the file cannot be opened, "is locked by another edit; gave up
    // after N seconds (--wait SECONDS waits longer)" when the wait ends.
    EditLock(const std::string& path, std::chrono::milliseconds wait);
    ~EditLock();
    EditLock(const EditLock&) = delete;
    EditLock& operator=(const EditLock&) = delete;

    // The locked file's status as it was when the lock was taken.
    const struct stat& Status() const { return status_; }

    // Throws std::runtime_error "was replaced or changed by another program
    // while it was being edited; nothing was written" when the path no
    // longer names the locked file as it was.
    void ExpectUnchanged() const;

private:
    std::string path_;
    int fd_ = -1;
    struct stat status_ {};
};

}  // namespace fwpolicy
