// fwpolicy new: a new empty policy on purpose, never over a file by
// accident; and the exclusive creation it is made with.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"
#include "common/Xmllint.h"
#include "fileio/ExclusiveFile.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

TEST(FwpolicyNew, WritesAnEmptyPolicyThatTheOtherVerbsAccept) {
    TempDir dir;
    const std::string file = (dir.path() / "policy.xml").string();
    const ToolResult made = RunFwpolicy({"new", file});
    ASSERT_EQ(0, made.exitStatus) << made.err;
    EXPECT_EQ("created " + file + " with an empty policy (no rules, named objects or options)\n",
              made.out);
    EXPECT_EQ("", made.err);
    EXPECT_TRUE(XmllintAccepts(ReadBytes(file)));
    const ToolResult check = RunFwpolicy({"check", file});
    EXPECT_EQ(0, check.exitStatus) << check.err;
    EXPECT_EQ(file +
                  ": ok: 0 local, 0 vpn, 0 transit, 0 tunnel, 0 nat rules; 0 ip, 0 interface, "
                  "0 vpn, 0 service, 0 schedule objects\n",
              check.out);
    EXPECT_EQ(nlohmann::json::parse(R"({"local":[],"nat":[],"transit":[],"tunnel":[],"vpn":[]})"),
              nlohmann::json::parse(RunFwpolicy({"show", file, "--json"}).out));
    EXPECT_EQ(
        nlohmann::json::parse(R"({"interface":[],"ip":[],"schedule":[],"service":[],"vpn":[]})"),
        nlohmann::json::parse(RunFwpolicy({"objects", file, "--json"}).out));
    EXPECT_EQ("[]\n", RunFwpolicy({"option", "list", file, "--json"}).out);
    // The new file is an editor's: the umask decides, not a private mode.
    struct stat status {};
    ASSERT_EQ(0, ::stat(file.c_str(), &status));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(0666 & ~mask, status.st_mode & 0777);
    EXPECT_EQ(std::vector<std::string>{"policy.xml"}, DirectoryEntries(dir.path()));
}

TEST(FwpolicyNew, RefusesWhatIsThereUnlessForced) {
    TempDir dir;
    const fs::path file = dir.path() / "policy.xml";
    fs::copy_file(SourcePath("examples/policy.xml"), file);
    const auto before = ReadBytes(file);

    const ToolResult refused = RunFwpolicy({"new", file.string()});
    EXPECT_EQ(1, refused.exitStatus);
    EXPECT_EQ("fwpolicy: " + file.string() + ": exists already; give --force to replace it\n",
              refused.err);
    EXPECT_EQ("", refused.out);
    EXPECT_EQ(before, ReadBytes(file));

    const ToolResult quiet = RunFwpolicy({"new", file.string(), "--force", "-q"});
    EXPECT_EQ(0, quiet.exitStatus) << quiet.err;
    EXPECT_EQ("", quiet.out);
    EXPECT_EQ(0, RunFwpolicy({"check", file.string()}).exitStatus);
    EXPECT_NE(before, ReadBytes(file));
    EXPECT_EQ(std::vector<std::string>{"policy.xml"}, DirectoryEntries(dir.path()));
}

TEST(FwpolicyNew, NamesWhatItCannotCreate) {
    TempDir dir;
    fs::create_symlink(dir.path() / "nowhere", dir.path() / "dangling");
    struct Row {
        std::string file;
        std::string message;
    };
    const Row rows[] = {
        {dir.path().string(), "is a directory"},
        {(dir.path() / "missing" / "policy.xml").string(),
         "cannot create: No such file or directory"},
        {(dir.path() / "dangling").string(), "exists already; give --force to replace it"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        const ToolResult result = RunFwpolicy({"new", row.file});
        EXPECT_EQ(1, result.exitStatus);
        EXPECT_EQ("fwpolicy: " + row.file + ": " + row.message + "\n", result.err);
    }
    EXPECT_FALSE(fs::exists(dir.path() / "nowhere"));
    EXPECT_EQ(std::vector<std::string>{"dangling"}, DirectoryEntries(dir.path()));
}

TEST(FwpolicyNew, StandardOutputGetsTheDocumentAndNoFileIsMade) {
    const ToolResult printed = RunFwpolicy({"new", "-"});
    EXPECT_EQ(0, printed.exitStatus) << printed.err;
    EXPECT_TRUE(XmllintAccepts(ToBytes(printed.out)));
    EXPECT_NE(std::string::npos, printed.out.find("<RollbackPeriod>900</RollbackPeriod>"));
}

TEST(ExclusiveFile, CreatesOnceAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string file = (dir.path() / "a.xml").string();
    fwpolicy::CreateFileExclusively(file, ToBytes("first"));
    EXPECT_EQ(ToBytes("first"), ReadBytes(file));
    // A leftover temporary name of this process is passed over.
    WriteBytes(file + ".again.new-" + std::to_string(::getpid()) + "-0", ToBytes("stale"));
    fwpolicy::CreateFileExclusively(file + ".again", ToBytes("second"));
    EXPECT_EQ(ToBytes("second"), ReadBytes(file + ".again"));
    try {
        fwpolicy::CreateFileExclusively(file, ToBytes("third"));
        FAIL() << "an existing file was replaced";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ("exists already; give --force to replace it", e.what());
    }
    EXPECT_EQ(ToBytes("first"), ReadBytes(file));
    EXPECT_EQ(3u, DirectoryEntries(dir.path()).size());
}

}  // namespace
}  // namespace fwcommon::test
