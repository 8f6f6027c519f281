// fwpolicy apply: a script of edits on one load of the file, all of them
// or none; and the splitting of a script line into words.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"
#include "verbs/ScriptWords.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;
using fwpolicy::ScriptSyntaxError;
using fwpolicy::SplitScriptLine;

const char* const kBase = "tests/data/cli/edit-base.xml";

class ApplyScript : public ::testing::Test, public PolicyCopy {};

// Each line with the file after its two verb words.
std::vector<std::string> CommandOf(const std::vector<std::string>& words, const std::string& file) {
    std::vector<std::string> args = {words[0], words[1], file};
    args.insert(args.end(), words.begin() + 2, words.end());
    return args;
}

TEST_F(ApplyScript, ResultEqualsTheSameEditsOneByOne) {
    const std::string script =
        "# built from the rows\n"
        "rule add --section local --name 'SSH from admins' --action pass --service tcp/22 "
        "--position 0\n"
        "\n"
        "object add --type ip --name Admins --member 10.1.0.0/24   # the admins' LAN\n"
        "rule set --section local --index 0 --source-object Admins\n"
        "object rename --name Web --to \"Web servers\"\n"
        "rule disable --section local --index 1\n"
        "option set Audit on\n"
        "option unset LogLevel\n";
    ASSERT_EQ(0, RunFwpolicyWithInput({"apply", file(), "-"}, script).exitStatus);
    const std::vector<unsigned char> applied = bytes();
    Reset();
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
        const std::vector<std::string> words = SplitScriptLine(line);
        if (words.empty())
            continue;
        const ToolResult one = RunFwpolicy(CommandOf(words, file()));
        ASSERT_EQ(0, one.exitStatus) << line << one.err;
    }
    EXPECT_EQ(bytes(), applied);
}

// apply takes a script that noted no edit for one that changed nothing, so
// every verb a script may hold must note its edit: each one, alone in a
// script, counts as one edit and changes the file as the verb alone does.
TEST_F(ApplyScript, EachVerbOfAScriptCountsAsTheEditItMakes) {
    const char* const lines[] = {
        "rule add --section local --name New --action pass --service tcp/22",
        "rule set --section local --index 1 --name Renamed",
        "rule remove --section local --index 1",
        "rule enable --section local --index 2",
        "rule disable --section local --index 1",
        "rule move --section local --index 0 --by 1",
        "object add --type ip --name Extra --member 10.9.0.0/16",
        "object set --name Web --add tcp/8080",
        "object rename --name Web --to Webs",
        "object remove --name Diagnostics",
        "option set Audit on",
        "option unset LogLevel",
    };
    for (const std::string line : lines) {
        SCOPED_TRACE(line);
        Reset();
        const ToolResult applied = RunFwpolicyWithInput({"apply", file(), "-"}, line + "\n");
        ASSERT_EQ(0, applied.exitStatus) << applied.err;
        EXPECT_EQ("applied 1 edit from standard input\n", applied.out);
        const std::vector<unsigned char> byScript = bytes();

        Reset();
        const ToolResult alone = RunFwpolicy(CommandOf(SplitScriptLine(line), file()));
        ASSERT_EQ(0, alone.exitStatus) << alone.err;
        EXPECT_NE(ReadBytes(SourcePath(kBase)), bytes()) << "the verb alone changed nothing";
        EXPECT_EQ(bytes(), byScript);
    }
}

// A script that fails, on a line or in the proof of its result (a value
// longer than any text a policy document may hold), writes nothing.
TEST_F(ApplyScript, AFailingScriptLeavesTheFileByteIdentical) {
    constexpr std::size_t kLongerThanAnyText = 1048577;
    std::string manyLines;
    for (int i = 1; i < 50; ++i)
        manyLines += "option set Option" + std::to_string(i) + " " + std::to_string(i) + "\n";
    manyLines += "rule remove --section local --index 9\noption set After 1\n";
    const struct {
        const char* label;
        std::string script;
        std::string message;
    } rows[] = {
        {"a failing line", manyLines,
         "line 50: section local has no rule at index 9 (3 rules); nothing was written"},
        {"a result that would not read back",
         "option set Long " + std::string(kLongerThanAnyText, 'a') + "\n",
         "the result would not read back as a policy document (a text is longer than 1048576 "
         "characters); nothing was written"},
    };
    const fs::path scriptFile = dir() / "edits";
    const std::vector<unsigned char> before = bytes();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        std::ofstream(scriptFile) << row.script;
        const ToolResult r = RunFwpolicy({"apply", file(), scriptFile.string()});
        EXPECT_EQ(1, r.exitStatus);
        EXPECT_EQ("fwpolicy: " + file() + ": " + row.message + "\n", r.err);
        EXPECT_EQ(before, bytes());
        EXPECT_EQ((std::vector<std::string>{"edits", "policy.xml"}),
                  entries());  // no temporary file
    }
}

// Places were counted in the file as loaded, so a later line missed the
// rules the earlier ones had added.
TEST_F(ApplyScript, PlacesCountTheRulesEarlierLinesAdded) {
    const ToolResult r =
        RunFwpolicyWithInput({"apply", file()},
                             "rule add --section local --name A --action drop --position 0\n"
                             "rule add --section local --name B --action drop --position 4\n"
                             "rule add --section local --name C --action drop --before 200001\n");
    ASSERT_EQ(0, r.exitStatus) << r.err;
    const auto json =
        nlohmann::json::parse(RunFwpolicy({"show", file(), "--json", "--section", "local"}).out);
    std::vector<std::string> names;
    for (const auto& rule : json["local"])
        names.push_back(rule["name"]);
    ASSERT_EQ(6u, names.size());
    EXPECT_EQ("A", names[0]);
    EXPECT_EQ("C", names[1]);
    EXPECT_EQ("Administration from the LAN", names[2]);
    EXPECT_EQ("B", names[5]);
}

TEST_F(ApplyScript, BadLinesAreRefusedByNumberAndReason) {
    const std::pair<std::string, std::string> rows[] = {
        {"show", "line 1: 'show' is not an edit verb"},
        {"option get LogLevel", "line 1: 'option get' is not an edit verb"},
        {"# only a comment\nrule add --section lan --name X",
         "line 2: --section: 'lan' is not one of local, vpn, transit, tunnel, nat"},
        {"option set \"A 1", "line 1: the quote \" is not closed"},
        {"option set A 1\nrule remove --section local --index 0 --dry-run",
         "line 2: --dry-run and --drop-comments are options of apply, not of a line"},
        {"object add --type ip --name X --member 10.0.0.1/33",
         "line 1: --member: bad address '10.0.0.1/33': prefix length '33' is not a number from "
         "0 to 32"},
        {"option set A 1\n\xff", "line 2: the line is not valid UTF-8"},
        {"option set \"\" on", "line 1: an option needs a non-empty name"},
        {"rule disable --id 200001 policy.xml", "line 1: unexpected argument 'policy.xml'"},
        {"rule disable --id 200001 --quite",
         "line 1: unknown option '--quite'; did you mean '--quiet'?"},
    };
    const std::vector<unsigned char> before = bytes();
    for (const auto& [script, message] : rows) {
        SCOPED_TRACE(script);
        const ToolResult r = RunFwpolicyWithInput({"apply", file()}, script + "\n");
        EXPECT_EQ(1, r.exitStatus);
        EXPECT_EQ(0u, r.err.find("fwpolicy: " + file() + ": " + message)) << r.err;
        EXPECT_EQ(before, bytes());
    }
}

// A script that is no file of text lines is refused with the reason, at
// once: /dev/zero was read for ever, a missing file gave no reason.
TEST_F(ApplyScript, AScriptThatIsNoTextIsRefusedWithTheReason) {
    const fs::path nul = dir() / "nul";
    std::ofstream(nul) << "option set A 1\n" << std::string(1, '\0') << "\n";
    const std::pair<std::string, std::string> rows[] = {
        {"/dev/zero", "script /dev/zero: holds a NUL byte, so it is no script"},
        {nul.string(), "script " + nul.string() + ": holds a NUL byte, so it is no script"},
        {(dir() / "missing").string(),
         "script " + (dir() / "missing").string() + ": cannot read: No such file or directory"},
        {dir().string(), "script " + dir().string() + ": is a directory"},
    };
    const std::vector<unsigned char> before = bytes();
    for (const auto& [script, message] : rows) {
        SCOPED_TRACE(script);
        const ToolResult r = RunFwpolicy({"apply", file(), script});
        EXPECT_EQ(1, r.exitStatus);
        EXPECT_EQ("fwpolicy: " + file() + ": " + message + "; nothing was written\n", r.err);
        EXPECT_EQ(before, bytes());
    }
}

// "-" as the file reads the policy from standard input and writes the
// result to standard output, as a single edit does; the script is then
// a file of its own.
TEST_F(ApplyScript, APolicyFromStandardInputGoesToStandardOutput) {
    const fs::path script = dir() / "script";
    std::ofstream(script) << "option set Audit on\n";
    const std::string policy = ToString(bytes());
    const ToolResult r = RunFwpolicyWithInput({"apply", "-", script.string()}, policy);
    ASSERT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ("", r.err);
    const ToolResult shown = RunFwpolicyWithInput({"option", "get", "-", "Audit"}, r.out);
    EXPECT_EQ("on\n", shown.out) << shown.err;

    const ToolResult both = RunFwpolicyWithInput({"apply", "-"}, policy);
    EXPECT_EQ(2, both.exitStatus);
    EXPECT_EQ("", both.out);
    EXPECT_NE(std::string::npos,
              both.err.find("standard input cannot hold both the policy and the script"))
        << both.err;
}

TEST_F(ApplyScript, DryRunPrintsTheDifferencesAndWritesNothing) {
    const std::vector<unsigned char> before = bytes();
    const ToolResult r = RunFwpolicyWithInput({"apply", file(), "--dry-run"},
                                              "option unset LogLevel\noption set Audit on\n");
    ASSERT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ("option removed: \"LogLevel\" (policy)\noption added: \"Audit\" (user)\n", r.out);
    EXPECT_EQ(before, bytes());
}

TEST(ScriptWords, LinesSplitAsAShellSplitsThem) {
    const std::pair<std::string, std::vector<std::string>> rows[] = {
        {"", {}},
        {"   # a comment", {}},
        {"rule add  --name\tX", {"rule", "add", "--name", "X"}},
        {"--name 'Office LAN' x", {"--name", "Office LAN", "x"}},
        {"--name \"say \\\"hi\\\" \\\\ now\"", {"--name", "say \"hi\" \\ now"}},
        {"--source @\"Office LAN\"", {"--source", "@Office LAN"}},
        {"--name ''", {"--name", ""}},
        {"a\\ b c", {"a b", "c"}},
        {"--name 'it''s' # tail", {"--name", "its"}},
        {"--name a#b", {"--name", "a#b"}},
        {"--name 'a \\ b'", {"--name", "a \\ b"}},
        {"--name Ä", {"--name", "Ä"}},
    };
    for (const auto& [line, words] : rows)
        EXPECT_EQ(words, SplitScriptLine(line)) << line;

    const std::pair<std::string, std::string> bad[] = {
        {"--name 'open", "the quote ' is not closed"},
        {"--name \"open", "the quote \" is not closed"},
        {"--name x\\", "the line ends in a backslash"},
    };
    for (const auto& [line, message] : bad) {
        try {
            SplitScriptLine(line);
            ADD_FAILURE() << "accepted: " << line;
        } catch (const ScriptSyntaxError& e) {
            EXPECT_EQ(message, e.what());
        }
    }
}

}  // namespace
}  // namespace fwcommon::test
