// fwpolicy rule, object and option edits: each result is valid and differs
// from the original exactly as intended; refused and failed edits leave the
// file byte-identical and no temporary file behind.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"
#include "common/Xmllint.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

const char* const kBase = "tests/data/cli/edit-base.xml";

struct EditRow {
    std::vector<std::string> args;
    std::string out;       // the line that says what the edit did
    std::string diff;      // what `fwpolicy diff` reports from the original to the result
    std::string err = "";  // stderr after "fwpolicy: FILE: "
};

TEST(FwpolicyEdit, EachEditChangesExactlyWhatItSays) {
    const EditRow rows[] = {
        {{"rule", "add", "@", "--section", "local", "--name", "Allow SSH", "--position", "3",
          "--match-all"},
         "added local rule 300005 \"Allow SSH\" at 3\n",
         "rule added: local 300005 (user) \"Allow SSH\"\n"},
        {{"rule", "add", "@", "--section", "nat", "--name", "Hide DMZ"},
         "added nat rule 300005 \"Hide DMZ\" at 2\n",
         "rule added: nat 300005 (user) \"Hide DMZ\"\n"},
        {{"rule", "remove", "@", "--section", "transit", "--index", "2"},
         "removed transit rule 2000000002 \"Block GRE from outside\" from 2\n",
         "rule removed: transit 2000000002 (post) \"Block GRE from outside\"\n"},
        {{"rule", "disable", "@", "--section", "local", "--index", "0"},
         "disabled local rule 200001 \"Administration from the LAN\" at 0\n",
         "rule changed: local 200001 (policy) \"Administration from the LAN\"\n"
         "  active: yes \u2192 no\n"},
        {{"rule", "enable", "@", "--section", "local", "--index", "2"},
         "enabled local rule 2000000001 \"Drop everything else to the node\" at 2\n",
         "rule changed: local 2000000001 (post) \"Drop everything else to the node\"\n"
         "  active: no \u2192 yes\n"},
        {{"rule", "move", "@", "--section", "vpn", "--index", "1", "--by=-1"},
         "moved vpn rule 300002 \"Remote staff by node and template\" from 1 to 0\n",
         "rule changed: vpn 300002 (user) \"Remote staff by node and template\"\n"
         "  moved 1 \u2192 0\n"},
        {{"rule", "remove", "@", "--id", "300004"},
         "removed nat rule 300004 \"Publish the web server\" from 1\n",
         "rule removed: nat 300004 (user) \"Publish the web server\"\n"},
        {{"rule", "disable", "@", "--id", "200004"},
         "disabled tunnel rule 200004 \"Tunnel the LAN to head office\" at 0\n",
         "rule changed: tunnel 200004 (policy) \"Tunnel the LAN to head office\"\n"
         "  active: yes \u2192 no\n"},
        {{"rule", "enable", "@", "--id", "2000000001"},
         "enabled local rule 2000000001 \"Drop everything else to the node\" at 2\n",
         "rule changed: local 2000000001 (post) \"Drop everything else to the node\"\n"
         "  active: no \u2192 yes\n"},
        {{"rule", "move", "@", "--id", "200003", "--by", "2"},
         "moved transit rule 200003 \"LAN to the Internet\" from 0 to 2\n",
         "rule changed: transit 200003 (policy) \"LAN to the Internet\"\n"
         "  moved 0 \u2192 2\n"},
        {{"rule", "move", "@", "--id", "300002", "--to", "0"},
         "moved vpn rule 300002 \"Remote staff by node and template\" from 1 to 0\n",
         "rule changed: vpn 300002 (user) \"Remote staff by node and template\"\n"
         "  moved 1 \u2192 0\n"},
        {{"option", "set", "@", "DefaultAction", "Pass"},
         "set option \"DefaultAction\" (user) to \"Pass\"\n",
         "option changed: \"DefaultAction\" (user)\n"
         "  value: \"Drop\" \u2192 \"Pass\"\n"},
        {{"option", "set", "@", "Audit", "on"},
         "added option \"Audit\" (user) with value \"on\"\n",
         "option added: \"Audit\" (user)\n"},
        {{"option", "unset", "@", "LogLevel"},
         "removed option \"LogLevel\" (policy)\n",
         "option removed: \"LogLevel\" (policy)\n"},
        {{"object", "remove", "@", "--name", "Mail", "--force"},
         "removed service object 402 \"Mail\"\n",
         "rule changed: vpn 200002 (policy) \"Head office to the LAN during office hours\"\n"
         "  services: @\"Mail\" \u2192 *\n"
         "object removed: service 402 (policy) \"Mail\"\n",
         "note: vpn rule 200002 \"Head office to the LAN during office hours\" at 0 no longer "
         "refers to service object 402 \"Mail\" (services)"},
    };
    for (const EditRow& row : rows) {
        SCOPED_TRACE(row.args[0] + " " + row.args[1] + " " + row.args[3]);
        PolicyCopy work;
        const ToolResult edit = RunFwpolicy(work.With(row.args));
        ASSERT_EQ(0, edit.exitStatus) << edit.err;
        EXPECT_EQ(row.err.empty() ? "" : "fwpolicy: " + work.file() + ": " + row.err + "\n",
                  edit.err);
        EXPECT_EQ(row.out, edit.out);
        EXPECT_EQ(0, RunFwpolicy({"check", work.file()}).exitStatus);
        EXPECT_TRUE(XmllintAccepts(work.bytes()));
        const ToolResult diff = RunFwpolicy({"diff", kBase, work.file()});
        EXPECT_EQ(1, diff.exitStatus) << diff.err;
        EXPECT_EQ(row.diff, diff.out);
        EXPECT_EQ(std::vector<std::string>{"policy.xml"}, work.entries());
    }
}

TEST(FwpolicyEdit, OptionGetReadsWhatSetWrote) {
    PolicyCopy work;
    EXPECT_EQ("2\n", RunFwpolicy({"option", "get", work.file(), "LogLevel"}).out);
    ASSERT_EQ(
        0, RunFwpolicy({"option", "set", work.file(), "LogLevel", "4", "--creation-type", "policy"})
               .exitStatus);
    EXPECT_EQ("4\n", RunFwpolicy({"option", "get", work.file(), "LogLevel"}).out);
    ASSERT_EQ(
        0, RunFwpolicy({"option", "set", work.file(), "LogLevel", "1", "--creation-type", "user"})
               .exitStatus);
    const ToolResult twice = RunFwpolicy({"option", "get", work.file(), "LogLevel"});
    EXPECT_EQ(1, twice.exitStatus);
    EXPECT_EQ("fwpolicy: " + work.file() +
                  ": option \"LogLevel\" is held under several creation types (policy, user); "
                  "choose one with --creation-type\n",
              twice.err);
    EXPECT_EQ(
        "1\n",
        RunFwpolicy({"option", "get", work.file(), "LogLevel", "--creation-type", "user"}).out);
    const ToolResult missing = RunFwpolicy({"option", "get", work.file(), "Nope"});
    EXPECT_EQ(1, missing.exitStatus);
    EXPECT_EQ("fwpolicy: " + work.file() + ": no option \"Nope\"\n", missing.err);
}

TEST(FwpolicyEdit, OptionListShowsEachOptionWithItsAttributes) {
    PolicyCopy work;
    ASSERT_EQ(0, RunFwpolicy({"option", "set", work.file(), "Banner", "two\nlines"}).exitStatus);
    const ToolResult table = RunFwpolicy({"option", "list", work.file()});
    ASSERT_EQ(0, table.exitStatus) << table.err;
    EXPECT_EQ(
        "  NAME           CREATION TYPE  VALUE         ATTRIBUTES\n"
        "  DefaultAction  user           Drop          TargetPlatform=\"linux-x86_64\"\n"
        "  LogLevel       policy         2\n"
        "  Banner         user           two\\x0alines\n",
        table.out)
        << "a line break is escaped as everywhere else, and as the edit's own message has it";

    const ToolResult json = RunFwpolicy({"option", "list", work.file(), "--json"});
    EXPECT_EQ(Golden("option-list-edited.json", json.out), json.out);

    ASSERT_EQ(0, RunFwpolicy({"option", "unset", work.file(), "DefaultAction"}).exitStatus);
    ASSERT_EQ(0, RunFwpolicy({"option", "unset", work.file(), "LogLevel"}).exitStatus);
    ASSERT_EQ(0, RunFwpolicy({"option", "unset", work.file(), "Banner"}).exitStatus);
    EXPECT_EQ("  no options\n", RunFwpolicy({"option", "list", work.file()}).out);
    EXPECT_EQ("[]\n", RunFwpolicy({"option", "list", work.file(), "--json"}).out);
    EXPECT_EQ(0, RunFwpolicy({"check", work.file()}).exitStatus);
}

struct RefusalRow {
    std::vector<std::string> args;
    std::string message;  // after "fwpolicy: FILE: "; empty for usage errors
    int status = 1;
};

TEST(FwpolicyEdit, RefusedEditsLeaveTheFileByteIdentical) {
    const RefusalRow rows[] = {
        {{"rule", "remove", "@", "--section", "local", "--index", "9"},
         "section local has no rule at index 9 (3 rules)"},
        {{"rule", "add", "@", "--section", "local", "--name", "X", "--position", "4"},
         "position 4 is past the end of section local (3 rules)"},
        {{"rule", "add", "@", "--section", "local", "--name", ""}, "a rule needs a non-empty name"},
        {{"rule", "add", "@", "--section", "local", "--name", "open"},
         "a pass rule without conditions lets all traffic through; give --match-all if that is "
         "meant"},
        {{"rule", "add", "@", "--section", "local", "--name", "x", "--action", "drop", "--before",
          "7"},
         "section local has no rule with ID 7"},
        {{"rule", "add", "@", "--section", "local", "--name", "x", "--action", "drop", "--position",
          "1", "--after", "200001"},
         "",
         2},
        {{"rule", "add", "@", "--section", "local", "--name", "x", "--action", "drop", "--before",
          "200001", "--after", "200001"},
         "",
         2},
        {{"rule", "move", "@", "--section", "local", "--index", "0", "--by=-1"},
         "cannot move the rule at index 0 by -1 in section local (3 rules)"},
        {{"rule", "move", "@", "--section", "local", "--index", "1", "--by", "0"},
         "cannot move the rule at index 1 by 0 in section local (3 rules)"},
        {{"object", "remove", "@", "--name", "Web"},
         "named object \"Web\" is part of service object \"Mail\"; take it out of there first"},
        {{"object", "remove", "@", "--name", "Nobody"}, "no named object \"Nobody\""},
        {{"object", "remove", "@", "--name", "Web", "--type", "ip"},
         "no named object \"Web\" of type ip"},
        {{"rule", "add", "@", "--section", "lan", "--name", "X"}, "", 2},
        {{"option", "get", "@", "LogLevel", "--creation-type", "user"},
         "no option \"LogLevel\" of creation type user"},
        {{"rule", "add", "@", "--section", "nat", "--name", "X", "--action", "drop"}, "", 2},
        {{"rule", "disable", "@", "--section", "local"}, "", 2},
        {{"rule", "remove", "@", "--id", "300001", "--section", "local", "--index", "1"}, "", 2},
        {{"rule", "enable", "@", "--id", "4242"}, "no rule has id 4242"},
        {{"rule", "move", "@", "--id", "300002", "--by", "1"},
         "cannot move the rule at index 1 by 1 in section vpn (2 rules)"},
        {{"rule", "move", "@", "--id", "300002", "--to", "2"},
         "cannot move the rule at index 1 to index 2 in section vpn (2 rules)"},
        {{"rule", "move", "@", "--id", "300002", "--to", "0", "--by", "-1"}, "", 2},
        {{"rule", "move", "@", "--id", "300002"}, "", 2},
        {{"option", "set", "@", "LogLevel"}, "", 2},
        {{"option", "unset", "@", "Nope"}, "no option \"Nope\""},
        {{"option", "unset", "@", "LogLevel", "--creation-type", "user"},
         "no option \"LogLevel\" of creation type user"},
    };
    for (const RefusalRow& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.args));
        PolicyCopy work;
        const std::vector<unsigned char> before = work.bytes();
        const ToolResult r = RunFwpolicy(work.With(row.args));
        EXPECT_EQ(row.status, r.exitStatus);
        if (!row.message.empty()) {
            EXPECT_EQ("fwpolicy: " + work.file() + ": " + row.message + "\n", r.err);
        }
        EXPECT_EQ(before, work.bytes());
        EXPECT_EQ(std::vector<std::string>{"policy.xml"}, work.entries());
    }
}

TEST(FwpolicyEdit, CommentsAreKeptUnlessDroppingThemIsAllowed) {
    PolicyCopy work("examples/policy.xml");
    const std::vector<unsigned char> before = work.bytes();
    const std::vector<std::string> edit = {"rule",  "disable", work.file(), "--section",
                                           "local", "--index", "0"};
    const ToolResult refused = RunFwpolicy(edit);
    EXPECT_EQ(1, refused.exitStatus);
    EXPECT_EQ("fwpolicy: " + work.file() +
                  ": holds XML comments or processing instructions, which rewriting would drop; "
                  "give --drop-comments to rewrite it anyway\n",
              refused.err);
    EXPECT_EQ(before, work.bytes());

    // Comments only stand in the way of writing: an edit that fails, or
    // changes nothing, says that first.
    const std::pair<std::vector<std::string>, std::string> notWriting[] = {
        {{"rule", "disable", work.file(), "--section", "local", "--index", "99"},
         "section local has no rule at index 99 (3 rules)"},
        {{"rule", "enable", work.file(), "--section", "local", "--index", "0"},
         "local rule 200001 \"Administration from the LAN\" is already enabled; nothing to "
         "change; the file is left as it was"},
        {{"rule", "move", work.file(), "--section", "local", "--index", "1", "--to", "1"},
         "local rule 300001 \"Ping the node\" is already at index 1; nothing to change; "
         "the file is left as it was"},
        {{"apply", work.file(), "/dev/null"}, "nothing to change; the file is left as it was"},
    };
    for (const auto& [arguments, message] : notWriting) {
        SCOPED_TRACE(message);
        EXPECT_EQ("fwpolicy: " + work.file() + ": " + message + "\n", RunFwpolicy(arguments).err);
        EXPECT_EQ(before, work.bytes());
    }

    // Nothing is dropped when the edit itself is refused.
    const ToolResult noSuchRule = RunFwpolicy(
        {"rule", "disable", work.file(), "--section", "local", "--index", "99", "--drop-comments"});
    EXPECT_EQ(1, noSuchRule.exitStatus);
    EXPECT_EQ(std::string::npos, noSuchRule.err.find("dropped")) << noSuchRule.err;
    EXPECT_EQ(before, work.bytes());

    std::vector<std::string> allowed = edit;
    allowed.push_back("--drop-comments");
    const ToolResult done = RunFwpolicy(allowed);
    EXPECT_EQ(0, done.exitStatus) << done.err;
    EXPECT_EQ("fwpolicy: " + work.file() +
                  ": warning: XML comments and processing instructions are dropped\n",
              done.err);
    EXPECT_EQ(std::string::npos, ToString(work.bytes()).find("<!--"));
}

// A dry run writes nothing, so comments are no reason to refuse it; it says
// what the edit itself will need. A script's dry run is no different.
TEST(FwpolicyEdit, ADryRunOfAFileWithCommentsShowsTheChangeAndWhatTheEditNeeds) {
    PolicyCopy work("examples/policy.xml");
    const std::vector<unsigned char> before = work.bytes();
    const ToolResult runs[] = {
        RunFwpolicy(
            {"rule", "disable", work.file(), "--section", "local", "--index", "0", "--dry-run"}),
        RunFwpolicyWithInput({"apply", work.file(), "--dry-run"},
                             "rule disable --section local --index 0\n"),
    };
    for (const ToolResult& r : runs) {
        EXPECT_EQ(0, r.exitStatus) << r.err;
        EXPECT_NE(std::string::npos, r.out.find("active: yes → no")) << r.out;
        EXPECT_EQ("fwpolicy: " + work.file() +
                      ": warning: holds XML comments or processing instructions; the edit itself "
                      "will drop them and needs --drop-comments\n",
                  r.err);
    }
    EXPECT_EQ(before, work.bytes());
}

TEST(FwpolicyEdit, AFailedWriteLeavesTheFileByteIdentical) {
    const std::pair<const char*, const char*> rows[] = {
        {"open", "cannot create a file in @: Input/output error"},
        {"write", "cannot write temporary file: Input/output error"},
        {"fsync", "cannot sync temporary file: Input/output error"},
        {"rename", "cannot replace file: Input/output error"},
        {"dirsync", "cannot sync directory: Input/output error"},
    };
    for (const auto& [step, message] : rows) {
        SCOPED_TRACE(step);
        PolicyCopy work;
        const std::vector<unsigned char> before = work.bytes();
        FailAt fault(step);
        const ToolResult r =
            RunFwpolicy({"rule", "remove", work.file(), "--section", "nat", "--index", "0"});
        EXPECT_EQ(1, r.exitStatus);
        std::string expected = message;
        if (const auto at = expected.find('@'); at != std::string::npos)
            expected.replace(at, 1, work.dir().string());
        EXPECT_EQ("fwpolicy: " + work.file() + ": " + expected + "\n", r.err);
        EXPECT_EQ(before, work.bytes());
        EXPECT_EQ(std::vector<std::string>{"policy.xml"}, work.entries());
    }
}

// The new file is made beside the one it replaces: an output whose
// directory is missing, is no directory, or takes no new file is named
// with that directory, not with the tool's own temporary file.
TEST(FwpolicyEdit, AnOutputWhoseDirectoryTakesNoFileNamesTheDirectory) {
    PolicyCopy work;
    const std::string missing = (work.dir() / "missing").string();
    const std::string notDirectory = work.file();
    struct Row {
        std::vector<std::string> args;
        std::string output;
        std::string message;
    };
    const Row rows[] = {
        {{"format", work.file(), "-o", missing + "/out.xml"},
         missing + "/out.xml",
         "cannot create a file in " + missing + ": No such file or directory"},
        {{"merge", work.file(), kBase, "-o", missing + "/out.xml"},
         missing + "/out.xml",
         "cannot create a file in " + missing + ": No such file or directory"},
        {{"format", work.file(), "-o", notDirectory + "/out.xml"},
         notDirectory + "/out.xml",
         "cannot create a file in " + notDirectory + ": Not a directory"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args[0] + " -o " + row.output);
        const ToolResult r = RunFwpolicy(row.args);
        EXPECT_EQ(1, r.exitStatus);
        EXPECT_EQ("fwpolicy: " + row.output + ": " + row.message + "\n", r.err);
        EXPECT_EQ(std::vector<std::string>{"policy.xml"}, work.entries());
    }
}

TEST(FwpolicyEdit, DryRunPrintsTheDifferencesOrTheDocumentAndWritesNothing) {
    PolicyCopy work;
    const std::vector<unsigned char> before = work.bytes();
    const std::vector<std::string> add = {"rule", "add",    work.file(), "--section",
                                          "vpn",  "--name", "Trial",     "--match-all"};
    const auto with = [&add](const std::string& flag) {
        std::vector<std::string> args = add;
        args.push_back(flag);
        return args;
    };
    const ToolResult differences = RunFwpolicy(with("--dry-run"));
    ASSERT_EQ(0, differences.exitStatus) << differences.err;
    EXPECT_EQ("rule added: vpn 300005 (user) \"Trial\"\n", differences.out);
    EXPECT_EQ(differences.out, RunFwpolicy(with("--dry-run=diff")).out);

    const ToolResult document = RunFwpolicy(with("--dry-run=full"));
    ASSERT_EQ(0, document.exitStatus) << document.err;
    EXPECT_NE(std::string::npos, document.out.find("<Name>Trial</Name>"));
    EXPECT_TRUE(XmllintAccepts(ToBytes(document.out)));

    const ToolResult bad = RunFwpolicy(with("--dry-run=all"));
    EXPECT_EQ(2, bad.exitStatus);
    EXPECT_NE(std::string::npos, bad.err.find("all")) << bad.err;
    // The flag takes no value from the next argument: FILE stays FILE.
    const ToolResult before_file = RunFwpolicy(
        {"rule", "remove", "--dry-run", work.file(), "--section", "local", "--index", "0"});
    EXPECT_EQ(0, before_file.exitStatus) << before_file.err;
    EXPECT_EQ(0u, before_file.out.rfind("rule removed: local 200001 ", 0)) << before_file.out;
    EXPECT_EQ(before, work.bytes());
}

TEST(FwpolicyEdit, VerboseShowsTheLibraryLogOnStderr) {
    PolicyCopy work;
    const ToolResult r = RunFwpolicy({"rule", "add", work.file(), "--section", "local", "--name",
                                      "Logged", "--match-all", "-v", "--dry-run"});
    ASSERT_EQ(0, r.exitStatus) << r.err;
    EXPECT_NE(std::string::npos, r.err.find("'" + work.file() + "': Create rule 'Logged'("))
        << r.err;
    const ToolResult before = RunFwpolicy({"-v", "rule", "add", work.file(), "--section", "local",
                                           "--name", "L", "--match-all", "--dry-run"});
    EXPECT_NE(std::string::npos, before.err.find("Create rule 'L'")) << before.err;
}

}  // namespace
}  // namespace fwcommon::test
