// File arguments that are no policy file (a directory, an empty, broken or
// missing file, other XML) are named with the reason, and "-" reads standard input or writes
// standard output.

#include <algorithm>
#include <filesystem>
#include <string>
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
constexpr int kExitTrouble = 2;

struct Verb {
    std::vector<std::string> arguments;  // FILE where the file goes
    int exitStatus = kExitFailure;       // for a file that is no policy
    std::string more = "";               // what the message says after the reason
};

// Every verb that reads a policy file.
std::vector<Verb> ReadingVerbs() {
    const std::string good = "examples/policy.xml";
    return {{{"check", "FILE"}},
            {{"show", "FILE"}},
            {{"show", good, "--objects", "FILE"}},
            {{"version", "FILE"}},
            {{"domains", "FILE"}},
            {{"objects", "FILE"}},
            {{"unused", "FILE"}},
            {{"lint", "FILE"}},
            {{"lint", good, "--objects", "FILE"}},
            {{"where-used", "FILE", "--object", "x"}},
            {{"format", "--check", "FILE"}},
            {{"format", "FILE"}},
            {{"merge", "FILE", "-o", "OUT"}},
            {{"diff", "FILE", good}, kExitTrouble},
            {{"diff", good, "FILE"}, kExitTrouble},
            {{"query", "FILE", "--from", "10.1.0.1"}, kExitTrouble},
            {{"query", good, "--objects", "FILE", "--from", "10.1.0.1"}, kExitTrouble},
            {{"renumber", "FILE"}},
            {{"apply", "FILE", "/dev/null"}, kExitFailure, "; nothing was written"},
            {{"option", "get", "FILE", "Audit"}},
            {{"option", "list", "FILE"}},
            {{"option", "set", "FILE", "Audit", "on"}},
            {{"option", "unset", "FILE", "Audit"}},
            {{"object", "add", "FILE", "--type", "ip", "--name", "n", "--member", "10.1.0.1"}},
            {{"object", "show", "FILE", "--name", "n"}},
            {{"object", "remove", "FILE", "--name", "n"}},
            {{"rule", "add", "FILE", "--section", "local", "--name", "n", "--action", "drop"}},
            {{"rule", "show", "FILE", "--id", "1"}},
            {{"rule", "disable", "FILE", "--section", "local", "--index", "0"}},
            {{"rule", "move", "FILE", "--section", "local", "--index", "0", "--by", "1"}}};
}

std::vector<std::string> With(std::vector<std::string> arguments, const std::string& file,
                              const std::string& out) {
    for (std::string& a : arguments) {
        if (a == "FILE")
            a = file;
        else if (a == "OUT")
            a = out;
    }
    return arguments;
}

class FileArguments : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return (dir_.path() / name).string(); }
    TempDir dir_;
};

// A directory gave "basic_filebuf::underflow error reading the file: Is a
// directory"; an empty file "invalid document structure", and merge and
// option get took it for a new policy. A file that is not well-formed is
// named with the line and column where it breaks, as check gives them:
// apply said only "instance document parsing failed", version and domains
// "not a readable policy document". A missing file is named as such.
TEST_F(FileArguments, EveryVerbNamesWhyAFileIsNoPolicy) {
    const std::string directory = Path("policies");
    fs::create_directory(directory);
    const std::string empty = Path("empty.xml");
    WriteBytes(empty, {});
    const std::string broken = Path("broken.xml");
    std::string text = ToString(ReadBytes(SourcePath("tests/data/cli/edit-base.xml")));
    const std::string name = "<Name>Office hours</Name>";
    ASSERT_EQ(4u, std::count(text.begin(), text.begin() + text.find(name), '\n'));
    text.replace(text.find(name), name.size(), "<Name>Office\x01hours</Name>");
    WriteBytes(broken, ToBytes(text));
    // A file saved by an editor in ISO-8859-1: "Büro" on line 5.
    const std::string latin1 = Path("latin1.xml");
    std::string latin1Text = text;
    latin1Text.replace(latin1Text.find("Office\x01hours"), 11, "B\xFCro hours");
    WriteBytes(latin1, ToBytes(latin1Text));
    // The parser gives the column just after the character it refuses; the
    // check of the bytes the column of the first byte that is not UTF-8.
    const std::pair<std::string, std::string> files[] = {
        {directory, directory + ": is a directory"},
        {empty, empty + ": is empty, not a policy document"},
        {broken, broken + ":5:20: error: invalid character 0x1"},
        {latin1, latin1 + ":5:14: error: the byte 0xFC is not valid UTF-8; a policy document "
                          "must be encoded in UTF-8"},
        {Path("missing.xml"), Path("missing.xml") + ": cannot read: No such file or directory"},
    };
    for (const Verb& verb : ReadingVerbs()) {
        for (const auto& [file, message] : files) {
            SCOPED_TRACE(testing::PrintToString(With(verb.arguments, file, "OUT")));
            const ToolResult r = RunFwpolicy(With(verb.arguments, file, Path("out.xml")));
            EXPECT_EQ(verb.exitStatus, r.exitStatus);
            if (file == broken || file == latin1) {
                EXPECT_EQ(message + "\n", r.err.substr(0, r.err.find('\n') + 1));
            } else {
                EXPECT_EQ("fwpolicy: " + message + verb.more + "\n", r.err);
            }
            EXPECT_FALSE(fs::exists(Path("out.xml")));
        }
    }
    EXPECT_EQ(0u, fs::file_size(empty));
    EXPECT_EQ(text, ToString(ReadBytes(broken)));
    EXPECT_EQ(latin1Text, ToString(ReadBytes(latin1)));
    const ToolResult toDirectory = RunFwpolicy({"merge", "examples/policy.xml", "-o", directory});
    EXPECT_EQ(kExitFailure, toDirectory.exitStatus);
    EXPECT_EQ("fwpolicy: " + directory + ": is a directory\n", toDirectory.err);
}

// A wrong command line is reported before any file is read: the option is
// named, not the file it would have read.
TEST_F(FileArguments, ArgumentErrorsComeBeforeTheFile) {
    const std::string directory = Path("policies");
    fs::create_directory(directory);
    struct Row {
        std::vector<std::string> arguments;
        std::string named;
    };
    std::vector<Row> rows;
    for (Verb verb : ReadingVerbs()) {
        verb.arguments.push_back("--bad-option");
        rows.push_back({verb.arguments, "unknown option '--bad-option'"});
    }
    rows.push_back({{"show", "FILE", "--section", "lan"}, "--section: 'lan' is not one of"});
    rows.push_back({{"show", "FILE", "--color=sometimes"}, "--color: 'sometimes' is not one of"});
    rows.push_back({{"lint", "FILE", "--severity", "bad"}, "--severity: 'bad' is not one of"});
    rows.push_back({{"lint", "FILE", "--ignore", "nosuch"}, "'nosuch' is not a lint finding"});
    rows.push_back({{"where-used", "FILE"}, "--object is required"});
    rows.push_back({{"diff", "FILE"}, "B is required"});
    const std::vector<std::string> addRule = {"rule",    "add",    "FILE", "--section",
                                              "transit", "--name", "n"};
    const auto plus = [](std::vector<std::string> a, const std::vector<std::string>& more) {
        a.insert(a.end(), more.begin(), more.end());
        return a;
    };
    rows.push_back(
        {plus(addRule, {"--source", "10.1.0.300"}), "--source: bad address '10.1.0.300'"});
    rows.push_back(
        {plus(addRule, {"--service", "tcp/70000"}), "--service: bad service 'tcp/70000'"});
    rows.push_back(
        {plus(addRule, {"--schedule", "daily 25:00-26:00"}), "--schedule: bad schedule"});
    rows.push_back(
        {{"rule", "add", "FILE", "--section", "nat", "--name", "n", "--translate-port", "70000"},
         "--translate-port: '70000' is not a port number"});
    rows.push_back({{"rule", "set", "FILE", "--id", "1", "--destination", "10.0.0.0/33"},
                    "--destination: bad address '10.0.0.0/33'"});
    rows.push_back(
        {{"object", "add", "FILE", "--type", "ip", "--name", "n", "--member", "10.0.0.300"},
         "--member: bad address '10.0.0.300'"});
    rows.push_back({{"object", "set", "FILE", "--name", "n", "--type", "service", "--add", "tcp/x"},
                    "--add: bad service 'tcp/x'"});
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.arguments));
        const ToolResult r = RunFwpolicy(With(row.arguments, directory, Path("out.xml")));
        EXPECT_EQ(kExitTrouble, r.exitStatus);
        EXPECT_THAT(r.err, HasSubstr(row.named));
        EXPECT_EQ(std::string::npos, r.err.find(directory)) << r.err;
        EXPECT_EQ("", r.out);
    }
}

// version printed "(none)" and succeeded for XML that is no policy, and
// printed the version of other XML that has a Properties/Version.
TEST_F(FileArguments, VersionOfOtherXmlFails) {
    const std::pair<std::string, std::string> rows[] = {
        {"<config><Version>2</Version></config>\n",
         "states no Properties/Version, so it is no policy document"},
        {"<c:config xmlns:c=\"urn:c\"><Properties><Version>2</Version></Properties></c:config>",
         "its document element is config, not Policy, so it is no policy document"},
    };
    const std::string other = Path("other.xml");
    for (const auto& [text, message] : rows) {
        SCOPED_TRACE(text);
        WriteBytes(other, ToBytes(text));
        const ToolResult r = RunFwpolicy({"version", other});
        EXPECT_EQ(kExitFailure, r.exitStatus);
        EXPECT_EQ("", r.out);
        EXPECT_EQ("fwpolicy: " + other + ": " + message + "\n", r.err);
    }
}

// An edit of standard input that changes nothing still writes the
// document to standard output: a pipeline's next step got nothing.
TEST_F(FileArguments, AnEditOfStandardInputThatChangesNothingPassesItThrough) {
    const std::string policy = ToString(ReadBytes(SourcePath("tests/data/cli/edit-base.xml")));
    const std::string script = Path("script");
    WriteBytes(script, ToBytes("rule enable --section local --index 0\n"));
    const std::vector<std::vector<std::string>> rows = {
        {"rule", "enable", "-", "--section", "local", "--index", "0"},
        {"option", "set", "-", "LogLevel", "2"},
        {"renumber", "-"},
        {"apply", "-", script},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row));
        const ToolResult r = RunFwpolicyWithInput(row, policy);
        EXPECT_EQ(0, r.exitStatus) << r.err;
        EXPECT_EQ(policy, r.out);
        EXPECT_THAT(r.err, HasSubstr("nothing to change"));
    }
}

TEST_F(FileArguments, DashReadsStandardInputAndWritesStandardOutput) {
    const std::string policy = ToString(ReadBytes(SourcePath("examples/policy.xml")));
    const ToolResult checked = RunFwpolicyWithInput({"check", "-"}, policy);
    EXPECT_EQ(0, checked.exitStatus) << checked.err;
    EXPECT_EQ(0u, checked.out.rfind("standard input: ok: 3 local", 0)) << checked.out;

    const ToolResult shown = RunFwpolicyWithInput({"show", "-"}, policy);
    EXPECT_EQ(RunFwpolicy({"show", "examples/policy.xml"}).out, shown.out);

    const ToolResult bad = RunFwpolicyWithInput({"check", "-"}, "");
    EXPECT_EQ(kExitFailure, bad.exitStatus);
    EXPECT_EQ("fwpolicy: standard input: is empty, not a policy document\n", bad.err);
}

}  // namespace
}  // namespace fwcommon::test
