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

#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

constexpr int kExitFailure = 1;

class HostileToolText : public ::testing::Test, public PolicyCopy {};

// Every way a name or value reaches the document: rule and object names
// (added, set or renamed), option names and values, and the lines of a
// script, whose message named the library's function. The binding's
// serializer threw an exception outside the library's contract for such
// names, and the tool died of it (exit 134).
TEST_F(HostileToolText, EveryNameAndValueAPolicyCannotHoldIsRefused) {
    const std::vector<unsigned char> before = bytes();
    const std::pair<std::string, std::string> names[] = {
        {"a\x01z", "U+0001"}, {"bell\x07", "U+0007"}, {"esc\x1b[0m", "U+001B"}};
    for (const auto& [bad, code] : names) {
        const std::pair<std::vector<std::string>, std::string> edits[] = {
            {{"rule", "add", file(), "--section", "local", "--action", "drop", "--name", bad},
             "the name"},
            {{"rule", "set", file(), "--section", "local", "--index", "0", "--name", bad},
             "the name"},
            {{"object", "add", file(), "--type", "ip", "--name", bad, "--member", "10.1.0.1"},
             "the name"},
            {{"object", "rename", file(), "--name", "Web", "--to", bad}, "the name"},
            {{"option", "set", file(), bad, "on"}, "the option name"},
            {{"option", "set", file(), "Audit", bad}, "the option value"},
        };
        for (const auto& [edit, what] : edits) {
            SCOPED_TRACE(testing::PrintToString(edit));
            const ToolResult result = RunFwpolicy(edit);
            EXPECT_EQ(kExitFailure, result.exitStatus);
            EXPECT_EQ("fwpolicy: " + file() + ": " + what + " holds " + code +
                          ", which a policy document cannot hold\n",
                      result.err);
            EXPECT_EQ(before, bytes());
        }
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
    const fs::path data = dir() / "data";
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
