// Atomic replacement of a file, with each step made to fail through the
// FWPOLICY_FAIL_AT hook.

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/TestFiles.h"
#include "fileio/AtomicFile.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

// Sets FWPOLICY_FAIL_AT for the lifetime of the object.
class FailAt {
public:
    explicit FailAt(const std::string& step) { ::setenv("FWPOLICY_FAIL_AT", step.c_str(), 1); }
    ~FailAt() { ::unsetenv("FWPOLICY_FAIL_AT"); }
};

std::vector<std::string> Entries(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    return names;
}

TEST(AtomicFile, ReplacesContentAndKeepsPermissions) {
    TempDir dir;
    const fs::path file = dir.path() / "policy.xml";
    WriteBytes(file, ToBytes("old"));
    ::chmod(file.c_str(), 0640);
    fwpolicy::ReplaceFileAtomically(file.string(), ToBytes("new content"));
    EXPECT_EQ("new content", ToString(ReadBytes(file)));
    EXPECT_EQ(fs::perms(0640), fs::status(file).permissions() & fs::perms::mask);
    EXPECT_EQ(std::vector<std::string>{"policy.xml"}, Entries(dir.path()));
}

TEST(AtomicFile, CreatesAMissingFile) {
    TempDir dir;
    const fs::path file = dir.path() / "new.xml";
    fwpolicy::ReplaceFileAtomically(file.string(), ToBytes("<x/>"));
    EXPECT_EQ("<x/>", ToString(ReadBytes(file)));
    EXPECT_EQ(std::vector<std::string>{"new.xml"}, Entries(dir.path()));
}

struct FaultRow {
    const char* step;
    const char* message;
};

TEST(AtomicFile, EveryFailingStepLeavesTheOriginalAndNoTemporaryFile) {
    const FaultRow rows[] = {
        {"open", "cannot create temporary file: Input/output error"},
        {"write", "cannot write temporary file: Input/output error"},
        {"fsync", "cannot sync temporary file: Input/output error"},
        {"rename", "cannot replace file: Input/output error"},
        {"dirsync", "cannot sync directory: Input/output error"},
    };
    for (const FaultRow& row : rows) {
        SCOPED_TRACE(row.step);
        TempDir dir;
        const fs::path file = dir.path() / "policy.xml";
        WriteBytes(file, ToBytes("original"));
        FailAt fault(row.step);
        try {
            fwpolicy::ReplaceFileAtomically(file.string(), ToBytes("replacement"));
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(row.message, e.what());
        }
        EXPECT_EQ("original", ToString(ReadBytes(file)));
        EXPECT_EQ(std::vector<std::string>{"policy.xml"}, Entries(dir.path()));
    }
}

TEST(AtomicFile, AFailedCreationLeavesNoFile) {
    for (const char* step : {"write", "rename", "dirsync"}) {
        SCOPED_TRACE(step);
        TempDir dir;
        FailAt fault(step);
        EXPECT_THROW(
            fwpolicy::ReplaceFileAtomically((dir.path() / "out.xml").string(), ToBytes("x")),
            std::runtime_error);
        EXPECT_TRUE(Entries(dir.path()).empty());
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
    EXPECT_EQ(std::vector<std::string>{"policy.xml"}, Entries(dir.path() / "real"));
}

TEST(AtomicFile, MissingDirectoryIsReported) {
    TempDir dir;
    EXPECT_THROW(
        fwpolicy::ReplaceFileAtomically((dir.path() / "no/such/f.xml").string(), ToBytes("x")),
        std::runtime_error);
}

}  // namespace
}  // namespace fwcommon::test
