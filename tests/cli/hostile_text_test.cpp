// fwpolicy meets text it cannot use: a name a policy document cannot hold
// and a malformed dictionary file are reported as errors that say what and
// where, never an abort, and the policy file stays as it was.

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

constexpr int kExitFailure = 1;

class HostileToolText : public ::testing::Test {
protected:
    HostileToolText() : file_(dir_.path() / "policy.xml") {
        fs::copy_file(SourcePath("tests/data/cli/edit-base.xml"), file_);
    }

    std::string file() const { return file_.string(); }
    std::vector<unsigned char> bytes() const { return ReadBytes(file_); }

    TempDir dir_;
    fs::path file_;
};

// The binding's serializer threw an exception outside the library's
// contract for such names, and the tool died of it (exit 134).
TEST_F(HostileToolText, NamesAPolicyCannotHoldAreRefused) {
    const std::vector<unsigned char> before = bytes();
    for (const std::string& name :
         {std::string("a\x01z"), std::string("bell\x07"), std::string("esc\x1b[0m")}) {
        SCOPED_TRACE(name);
        const ToolResult result = RunFwpolicy(
            {"rule", "add", file(), "--section", "local", "--action", "drop", "--name", name});
        EXPECT_EQ(kExitFailure, result.exitStatus) << result.err;
        EXPECT_THAT(result.err, HasSubstr("which a policy document cannot hold"));
        EXPECT_EQ(before, bytes());
        const ToolResult option = RunFwpolicy({"option", "set", file(), "Audit", name});
        EXPECT_EQ(kExitFailure, option.exitStatus) << option.err;
        EXPECT_EQ(before, bytes());
    }
}

// A dictionary whose number field is not a number ended show with an
// uncaught exception.
TEST_F(HostileToolText, MalformedDictionaryIsNamedByFileAndLine) {
    const fs::path data = dir_.path() / "data";
    fs::create_directory(data);
    for (const char* name : {"protocols.txt", "icmp.txt"}) {
        fs::copy_file(SourcePath(std::string("data/") + name), data / name);
    }
    WriteBytes(data / "services.txt", ToBytes("# services\nssh  22/tcp\nhttp  eighty/tcp\n"));
    ASSERT_EQ(0, setenv("FWPOLICY_DATA_DIR", data.c_str(), 1));
    const ToolResult show = RunFwpolicy({"show", file()});
    const ToolResult whereUsed = RunFwpolicy({"where-used", file(), "--object", "Mail"});
    unsetenv("FWPOLICY_DATA_DIR");
    for (const ToolResult& result : {show, whereUsed}) {
        EXPECT_EQ(kExitFailure, result.exitStatus) << result.err;
        EXPECT_THAT(result.err, HasSubstr((data / "services.txt").string() + ":3: "));
    }
}

}  // namespace
}  // namespace fwcommon::test
