// fwpolicy meets text it cannot use: a name a policy document cannot hold
// and a malformed dictionary file are reported as errors that say what and
// where, never an abort, and the policy file stays as it was.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

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

// Every way a name or value reaches the document: object names (added or
// renamed), option names, and the lines of a script, whose message named
// the library's function.
TEST_F(HostileToolText, EveryNameAndValueAPolicyCannotHoldIsRefused) {
    const std::vector<unsigned char> before = bytes();
    const std::string bad = std::string("a\x01z");
    const std::vector<std::vector<std::string>> edits = {
        {"object", "add", file(), "--type", "ip", "--name", bad, "--member", "10.1.0.1"},
        {"object", "rename", file(), "--name", "Web", "--to", bad},
        {"option", "set", file(), bad, "on"},
        {"rule", "set", file(), "--section", "local", "--index", "0", "--name", bad},
    };
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit[0] + " " + edit[1]);
        const ToolResult result = RunFwpolicy(edit);
        EXPECT_EQ(kExitFailure, result.exitStatus) << result.err;
        EXPECT_THAT(result.err, HasSubstr("holds U+0001, which a policy document cannot hold"));
        EXPECT_EQ(before, bytes());
    }
    const ToolResult script =
        RunFwpolicyWithInput({"apply", file()}, "option set Audit 'a\x01z'\n");
    EXPECT_EQ(kExitFailure, script.exitStatus);
    EXPECT_EQ("fwpolicy: " + file() +
                  ": line 1: the option value holds U+0001, which a policy document cannot hold; "
                  "nothing was written\n",
              script.err);
    EXPECT_EQ(before, bytes());
}

// A message is one line: a name it quotes with a line feed or a tab in it
// split the message, so that a second line read as a message of its own.
TEST_F(HostileToolText, NamesQuotedInAMessageKeepItOnOneLine) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> rows = {
        {{"object", "show", file(), "--name", "a\nb"}, "no named object \"a\\x0ab\""},
        {{"object", "remove", file(), "--name", "a\tb"}, "no named object \"a\\x09b\""},
        {{"where-used", file(), "--object", "a\nb"}, "a\\x0ab"},
    };
    for (const auto& [command, quoted] : rows) {
        SCOPED_TRACE(command[0] + " " + command[1]);
        const ToolResult result = RunFwpolicy(command);
        EXPECT_EQ(kExitFailure, result.exitStatus);
        EXPECT_THAT(result.err, HasSubstr(quoted));
        EXPECT_EQ(1, std::count(result.err.begin(), result.err.end(), '\n')) << result.err;
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
