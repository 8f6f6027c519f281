// EditLock: one holder at a time, even within one process; a waiter that
// locked a file replaced meanwhile follows the path to the new file; a file
// changed or replaced behind the holder's back is noticed.

#include "fileio/EditLock.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

#include "cli/PolicyText.h"
#include "common/TestFiles.h"

namespace fwpolicy {
namespace {

namespace fs = std::filesystem;
using fwcommon::test::InodeOf;
using fwcommon::test::TempDir;
using fwcommon::test::ToBytes;
using fwcommon::test::WriteBytes;
using std::chrono::milliseconds;

// A wait that must end with the lock, however late a loaded machine
// schedules the thread that releases it.
constexpr milliseconds kPatientWait(600000);

fs::path FileWith(const fs::path& dir, const std::string& name, const std::string& text) {
    const fs::path file = dir / name;
    WriteBytes(file, ToBytes(text));
    return file;
}

TEST(EditLock, ASecondHolderWaitsAndGivesUp) {
    const TempDir dir;
    const fs::path file = FileWith(dir.path(), "p.xml", "one");
    const EditLock first(file.string(), milliseconds(0));
    try {
        EditLock second(file.string(), milliseconds(50));
        FAIL() << "two holders";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(
            "is locked by another edit; gave up after 0.05 seconds (--wait SECONDS waits "
            "longer)",
            e.what());
    }
}

TEST(EditLock, AWaiterFollowsThePathToTheFileThatReplacedTheLockedOne) {
    const TempDir dir;
    const fs::path file = FileWith(dir.path(), "p.xml", "old");
    const fs::path replacement = FileWith(dir.path(), "new.xml", "new content");
    const ino_t newInode = InodeOf(replacement);
    auto first = std::make_unique<EditLock>(file.string(), milliseconds(0));
    std::thread holder([&] {
        std::this_thread::sleep_for(milliseconds(100));
        fs::rename(replacement, file);  // as a finishing edit does
        first.reset();
    });
    // Generous: the holder may be scheduled late on a loaded machine.
    const EditLock second(file.string(), kPatientWait);
    holder.join();
    EXPECT_EQ(newInode, second.Status().st_ino);
    EXPECT_NO_THROW(second.ExpectUnchanged());
}

TEST(EditLock, ChangesBehindTheHoldersBackAreNoticed) {
    const TempDir dir;
    const std::pair<const char*, std::function<void(const fs::path&)>> changes[] = {
        {"replaced",
         [&dir](const fs::path& file) { fs::rename(FileWith(dir.path(), "other", "text"), file); }},
        {"grown", [](const fs::path& file) { WriteBytes(file, ToBytes("text and more")); }},
        // Same size, new content: only the modification time tells.
        {"rewritten",
         [](const fs::path& file) {
             fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(1));
         }},
        {"removed", [](const fs::path& file) { fs::remove(file); }},
    };
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        const fs::path file = FileWith(dir.path(), std::string(what) + ".xml", "text");
        const EditLock lock(file.string(), milliseconds(0));
        EXPECT_NO_THROW(lock.ExpectUnchanged());
        change(file);
        try {
            lock.ExpectUnchanged();
            ADD_FAILURE() << "not noticed";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(
                "was replaced or changed by another program while it was being edited; nothing "
                "was written",
                e.what());
        }
    }
}

TEST(EditLock, AMissingFileCannotBeLocked) {
    const TempDir dir;
    try {
        EditLock lock((dir.path() / "absent.xml").string(), milliseconds(0));
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ("cannot read: No such file or directory", e.what());
    }
}

}  // namespace
}  // namespace fwpolicy
