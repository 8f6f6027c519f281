// Atomic replacement of a file. A failure at each step of replacing a file
// is made through the FWPOLICY_FAIL_AT hook, end to end, by FwpolicyEdit.
// AFailedWriteLeavesTheFileByteIdentical; here a new file, the hook
// itself and links.

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"
#include "fileio/AtomicFile.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

TEST(AtomicFile, ReplacesContentAndKeepsPermissions) {
    TempDir dir;
    const fs::path file = dir.path() / "policy.xml";
    WriteBytes(file, ToBytes("old"));
    ::chmod(file.c_str(), 0640);
    fwpolicy::ReplaceFileAtomically(file.string(), ToBytes("new content"));
    EXPECT_EQ("new content", ToString(ReadBytes(file)));
    EXPECT_EQ(fs::perms(0640), fs::status(file).permissions() & fs::perms::mask);
    EXPECT_EQ(std::vector<std::string>{"policy.xml"}, DirectoryEntries(dir.path()));
}

TEST(AtomicFile, CreatesAMissingFile) {
    TempDir dir;
    const fs::path file = dir.path() / "new.xml";
    fwpolicy::ReplaceFileAtomically(file.string(), ToBytes("<x/>"));
    EXPECT_EQ("<x/>", ToString(ReadBytes(file)));
    EXPECT_EQ(std::vector<std::string>{"new.xml"}, DirectoryEntries(dir.path()));
}

TEST(AtomicFile, AFailedCreationLeavesNoFile) {
    for (const char* step : {"write", "rename", "dirsync"}) {
        SCOPED_TRACE(step);
        TempDir dir;
        FailAt fault(step);
        EXPECT_THROW(
            fwpolicy::ReplaceFileAtomically((dir.path() / "out.xml").string(), ToBytes("x")),
            std::runtime_error);
        EXPECT_TRUE(DirectoryEntries(dir.path()).empty());
    }
}

TEST(AtomicFile, UnknownHookStepIsRefusedBeforeAnythingHappens) {
    TempDir dir;
    const fs::path file = dir.path() / "policy.xml";
    WriteBytes(file, ToBytes("original"));
    FailAt fault("flush");
    try {
        fwpolicy::ReplaceFileAtomically(file.string(), ToBytes("replacement"));
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ("FWPOLICY_FAIL_AT: unknown step 'flush'", e.what());
    }
    EXPECT_EQ("original", ToString(ReadBytes(file)));
}

TEST(AtomicFile, ASymbolicLinkStaysAndItsTargetIsReplaced) {
    TempDir dir;
    fs::create_directory(dir.path() / "real");
    const fs::path target = dir.path() / "real" / "policy.xml";
    const fs::path link = dir.path() / "policy.xml";
    WriteBytes(target, ToBytes("old"));
    fs::create_symlink("real/policy.xml", link);
    fwpolicy::ReplaceFileAtomically(link.string(), ToBytes("new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ("new", ToString(ReadBytes(target)));
    EXPECT_EQ(std::vector<std::string>{"policy.xml"}, DirectoryEntries(dir.path() / "real"));
}

TEST(AtomicFile, MissingDirectoryIsReported) {
    TempDir dir;
    EXPECT_THROW(
        fwpolicy::ReplaceFileAtomically((dir.path() / "no/such/f.xml").string(), ToBytes("x")),
        std::runtime_error);
}

}  // namespace
}  // namespace fwcommon::test
