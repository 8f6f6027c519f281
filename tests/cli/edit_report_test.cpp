// The line each edit verb prints once its change is written: what was
// done, to which rule or object, where; nothing when nothing was written;
// nothing at all with -q.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

class EditReport : public ::testing::Test, public PolicyCopy {
protected:
    ToolResult Run(const std::vector<std::string>& args) const { return RunFwpolicy(With(args)); }
};

TEST_F(EditReport, EachVerbSaysWhatItDidInOrder) {
    struct Row {
        std::vector<std::string> args;
        std::string out;
    };
    const Row rows[] = {
        {{"object", "add", "@", "--type", "ip", "--name", "Admins", "--member", "10.1.0.0/24",
          "--member", "10.1.1.0/24", "--exclude", "10.1.0.1"},
         "added ip object 1000000 \"Admins\" with 2 inclusions and 1 exclusion\n"},
        {{"object", "add", "@", "--type", "service", "--name", "Nothing yet"},
         "added service object 1000001 \"Nothing yet\" with no entries\n"},
        {{"object", "set", "@", "--name", "Admins", "--add", "10.1.2.0/24", "--remove",
          "10.1.1.0/24", "--remove-exclude", "10.1.0.1"},
         "changed ip object 1000000 \"Admins\": added 1 inclusion, removed 1 inclusion and 1 "
         "exclusion\n"},
        {{"object", "rename", "@", "--name", "Admins", "--to", "Admin LAN"},
         "renamed ip object 1000000 \"Admins\" to \"Admin LAN\"\n"},
        {{"rule", "add", "@", "--section", "transit", "--name", "SSH from admins",
          "--source-object", "Admin LAN", "--service", "tcp/22", "--position", "1"},
         "added transit rule 300005 \"SSH from admins\" at 1\n"},
        {{"rule", "set", "@", "--id", "300005", "--name", "SSH from the admins", "--clear-services",
          "--service", "tcp/2222", "--stateless", "--disabled"},
         "changed transit rule 300005 \"SSH from the admins\" at 1: name, services, action, "
         "active\n"},
        {{"rule", "set", "@", "--section", "nat", "--index", "0", "--translate-port", "8080"},
         "changed nat rule 200005 \"Hide the LAN behind the outside address\" at 0: "
         "translation\n"},
        // A name from the policy that could reverse the terminal's line is
        // shown escaped, as the tables show it.
        {{"rule", "add", "@", "--section", "local", "--name", "Büro \u202e", "--action", "drop"},
         "added local rule 300006 \"Büro \\u202e\" at 3\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args[0] + " " + row.args[1]);
        const ToolResult result = Run(row.args);
        ASSERT_EQ(0, result.exitStatus) << result.err;
        EXPECT_EQ(row.out, result.out);
        EXPECT_EQ("", result.err);
    }
}

TEST_F(EditReport, NothingWrittenMeansNothingSaid) {
    const std::vector<unsigned char> before = bytes();
    struct Row {
        std::vector<std::string> args;
        int status;
    };
    const Row rows[] = {
        {{"rule", "enable", "@", "--section", "local", "--index", "0"}, 0},  // active already
        {{"rule", "remove", "@", "--section", "local", "--index", "9"}, 1},
        {{"object", "add", "@", "--type", "ip", "--name", "X", "--member", "@Nobody"}, 1},
        {{"object", "add", "@", "--type", "ip", "--name", "X", "--member", "10.1.0.300"}, 2},
        {{"rule", "disable", "-", "--section", "local", "--index", "0"}, 0},  // stdin to stdout
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args[0] + " " + row.args[1]);
        const ToolResult result =
            row.args[2] == "-" ? RunFwpolicyWithInput(row.args, ToString(before)) : Run(row.args);
        EXPECT_EQ(row.status, result.exitStatus) << result.err;
        EXPECT_EQ(std::string::npos, result.out.find("abled local rule")) << result.out;
        EXPECT_EQ(std::string::npos, result.out.find("added ")) << result.out;
        EXPECT_EQ(std::string::npos, result.out.find("removed ")) << result.out;
    }
    const ToolResult dry =
        Run({"rule", "disable", "@", "--section", "local", "--index", "0", "--dry-run"});
    EXPECT_EQ(0, dry.exitStatus);
    EXPECT_EQ(0u, dry.out.find("rule changed: local ")) << "a dry run prints the differences";
    EXPECT_EQ(std::string::npos, dry.out.find("disabled local rule"));
    const ToolResult full =
        Run({"rule", "disable", "@", "--section", "local", "--index", "0", "--dry-run=full"});
    EXPECT_EQ(0, full.exitStatus);
    EXPECT_EQ(0u, full.out.find("<?xml")) << "--dry-run=full prints the document and only that";
    EXPECT_EQ(std::string::npos, full.out.find("disabled local rule"));
    EXPECT_EQ(before, bytes());
}

TEST_F(EditReport, QuietSilencesEveryVerbButNotItsErrors) {
    const std::vector<std::vector<std::string>> edits = {
        {"rule", "add", "@", "--section", "local", "--name", "Q", "--action", "drop", "-q"},
        {"rule", "disable", "@", "--section", "local", "--index", "0", "--quiet"},
        {"rule", "move", "@", "-q", "--section", "local", "--index", "0", "--by", "1"},
        {"rule", "set", "@", "--section", "local", "--index", "0", "--name", "R", "-q"},
        {"rule", "remove", "@", "--section", "local", "--index", "0", "-q"},
        {"object", "add", "@", "--type", "ip", "--name", "A", "--member", "10.0.0.1", "-q"},
        {"object", "set", "@", "--name", "A", "--add", "10.0.0.2", "-q"},
        {"object", "rename", "@", "--name", "A", "--to", "B", "-q"},
        {"object", "remove", "@", "--name", "B", "-q"},
        {"option", "set", "@", "A", "b", "-q"},
        {"option", "unset", "@", "A", "-q"},
        {"new", (dir() / "other.xml").string(), "-q"},
    };
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit[0] + " " + edit[1]);
        const std::vector<unsigned char> before = bytes();
        const ToolResult result = Run(edit);
        EXPECT_EQ(0, result.exitStatus) << result.err;
        EXPECT_EQ("", result.out);
        if (edit[0] != "new") {
            EXPECT_NE(before, bytes());
        }
    }
    const ToolResult failed =
        Run({"rule", "remove", "@", "--section", "local", "--index", "9", "-q"});
    EXPECT_EQ(1, failed.exitStatus);
    EXPECT_EQ("fwpolicy: " + file() + ": section local has no rule at index 9 (3 rules)\n",
              failed.err);
}

TEST_F(EditReport, ApplySumsUpItsScriptInOneLine) {
    const std::string script =
        "# two edits and a comment\n"
        "rule add --section local --name A --action drop\n"
        "\n"
        "option set Audit on\n";
    const ToolResult applied = RunFwpolicyWithInput({"apply", file()}, script);
    EXPECT_EQ(0, applied.exitStatus) << applied.err;
    EXPECT_EQ("applied 2 edits from standard input\n", applied.out);

    const fs::path named = dir() / "changes.txt";
    WriteBytes(named, ToBytes("rule disable --section local --index 0\n"));
    const ToolResult fromFile = RunFwpolicy({"apply", file(), named.string()});
    EXPECT_EQ(0, fromFile.exitStatus) << fromFile.err;
    EXPECT_EQ("applied 1 edit from " + named.string() + "\n", fromFile.out);

    EXPECT_EQ("", RunFwpolicyWithInput({"apply", file(), "-q"}, script).out);
    const ToolResult failing = RunFwpolicyWithInput(
        {"apply", file()}, script + "rule remove --section local --index 99\n");
    EXPECT_EQ(1, failing.exitStatus);
    EXPECT_EQ("", failing.out);
}

}  // namespace
}  // namespace fwcommon::test
