// Identities stay put: a first edit of the bundled example or of a
// generated policy renumbers nothing, so diff reports the one change made.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

int CountOf(const std::string& text, const std::string& word) {
    int count = 0;
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++count;
    return count;
}

TEST(FwpolicyIdentities, AFirstEditOfTheExampleOrOfAGeneratedPolicyRenumbersNothing) {
    const TempDir dir;
    const fs::path example = dir.path() / "example.xml";
    fs::copy_file(SourcePath("examples/policy.xml"), example);
    const fs::path generated =
        GeneratedPolicy(dir.path(), "generated.xml", "--rules 2000 --seed 4");
    for (const fs::path& file : {example, generated}) {
        SCOPED_TRACE(file.filename().string());
        const fs::path original = file.string() + ".orig";
        fs::copy_file(file, original);
        const ToolResult edit = RunFwpolicy({"rule", "disable", file.string(), "--section",
                                             "transit", "--index", "0", "--drop-comments"});
        ASSERT_EQ(0, edit.exitStatus) << edit.err;
        EXPECT_EQ(std::string::npos, edit.err.find("note:")) << edit.err;
        const ToolResult diff = RunFwpolicy({"diff", original.string(), file.string()});
        EXPECT_EQ(1, diff.exitStatus) << diff.err;
        EXPECT_EQ(2, std::count(diff.out.begin(), diff.out.end(), '\n')) << diff.out;
        EXPECT_EQ(0u, diff.out.rfind("rule changed: transit ", 0)) << diff.out;
        EXPECT_NE(std::string::npos, diff.out.find("\n  active: yes \u2192 no\n")) << diff.out;
    }
}

TEST(FwpolicyIdentities, ARuleMovedPastFiveHundredOthersIsTheOneMoveReported) {
    const TempDir dir;
    const fs::path file = GeneratedPolicy(dir.path(), "generated.xml", "--rules 2000 --seed 4");
    const fs::path original = file.string() + ".orig";
    fs::copy_file(file, original);
    ASSERT_EQ(0, RunFwpolicy({"rule", "move", file.string(), "--section", "transit", "--index", "5",
                              "--by", "500", "--drop-comments"})
                     .exitStatus);
    const ToolResult diff = RunFwpolicy({"diff", original.string(), file.string()});
    EXPECT_EQ(1, diff.exitStatus) << diff.err;
    EXPECT_EQ(2, CountOf(diff.out, "\n")) << diff.out;
    EXPECT_EQ(0u, diff.out.rfind("rule changed: transit ", 0)) << diff.out;
    EXPECT_NE(std::string::npos, diff.out.find("\n  moved 5 \u2192 505\n")) << diff.out;
    // The unified form moves the rule's one line.
    const ToolResult unified = RunFwpolicy({"diff", "-u", original.string(), file.string()});
    EXPECT_EQ(1, CountOf(unified.out, "\n-rule transit ")) << unified.out;
    EXPECT_EQ(1, CountOf(unified.out, "\n+rule transit ")) << unified.out;
}

// A hand-written policy: two rules numbered from 1 (outside every range),
// one in its range, and a non-ASCII name.
std::string HandWritten() {
    return PolicyDocument(RuleElement("LocalRule", 1, 1, "Admin vom Büro", "User") +
                          RuleElement("LocalRule", 200001, 200001, "Policy rule") +
                          RuleElement("TransitRule", 2, 2, "Drop all transit", "Post", "Drop"));
}

fs::path WriteFile(const fs::path& file, const std::string& text) {
    WriteBytes(file, ToBytes(text));
    return file;
}

// The first edit of a hand-written file renumbers its out-of-range rules
// as it writes the file: each is named, by the edit and by a script alike.
// Their dry runs pair each such rule with its new identifier, the edited
// one too.
TEST(FwpolicyIdentities, AFirstEditNamesEveryRuleItsLoadRenumbered) {
    const TempDir dir;
    const std::string notes =
        ": note: local rule 1 \"Admin vom Büro\" is now 300001 (1 is outside the range of its "
        "creation type)\n"
        "fwpolicy: ";
    for (const bool script : {false, true}) {
        SCOPED_TRACE(script ? "apply" : "rule disable");
        const fs::path file = WriteFile(dir.path() / "hand.xml", HandWritten());
        const auto run = [&](const std::vector<std::string>& flags) {
            std::vector<std::string> arguments = {"apply", file.string()};
            if (!script)
                arguments = {"rule",    "disable", file.string(), "--section", "transit",
                             "--index", "0"};
            arguments.insert(arguments.end(), flags.begin(), flags.end());
            return script ? RunFwpolicyWithInput(arguments,
                                                 "rule disable --section transit --index 0\n")
                          : RunFwpolicy(arguments);
        };
        const ToolResult dryRun = run({"--dry-run"});
        EXPECT_EQ(0, dryRun.exitStatus) << dryRun.err;
        EXPECT_EQ(
            "rule renumbered: local 300001 (user) \"Admin vom Büro\"\n"
            "  id: 1 \u2192 300001\n"
            "rule renumbered: transit 2000000001 (post) \"Drop all transit\"\n"
            "  id: 2 \u2192 2000000001\n"
            "  active: yes \u2192 no\n",
            dryRun.out);
        const ToolResult edit = run({});
        ASSERT_EQ(0, edit.exitStatus) << edit.err;
        EXPECT_EQ("fwpolicy: " + file.string() + notes + file.string() +
                      ": note: transit rule 2 \"Drop all transit\" is now 2000000001 (2 is "
                      "outside the range of its creation type)\n",
                  edit.err);
        const ToolResult again =
            RunFwpolicy({"rule", "enable", file.string(), "--section", "transit", "--index", "0"});
        EXPECT_EQ("", again.err) << "renumbered once";
    }
    // Each note gives the reason that holds for its rule: the load takes
    // the rules in document order, so an identifier in range may have
    // gone to an earlier rule the load renumbered.
    const auto transit = [](std::initializer_list<std::pair<long long, const char*>> rules) {
        std::string text;
        long long orderId = 0;
        for (const auto& [id, name] : rules)
            text += RuleElement("TransitRule", id, ++orderId, name);
        return PolicyDocument(text);
    };
    const std::string note = ": note: transit rule ";
    const struct {
        const char* what;
        std::string text;
        std::vector<std::string> notes;
    } rows[] = {
        {"an out-of-range rule takes the next rule's id",
         transit({{200001, "First"}, {5, "Odd"}, {200002, "Last"}}),
         {"5 \"Odd\" is now 200002 (5 is outside the range of its creation type)",
          "200002 \"Last\" is now 200003 (an earlier rule of the file is now 200002)"}},
        {"the out-of-range rule last",
         transit({{200001, "First"}, {200002, "Last"}, {5, "Odd"}}),
         {"5 \"Odd\" is now 200003 (5 is outside the range of its creation type)"}},
        {"two out-of-range rules",
         transit({{5, "A"}, {7, "B"}, {200001, "C"}, {200002, "D"}}),
         {"5 \"A\" is now 200001 (5 is outside the range of its creation type)",
          "7 \"B\" is now 200002 (7 is outside the range of its creation type)",
          "200001 \"C\" is now 200003 (an earlier rule of the file is now 200001)",
          "200002 \"D\" is now 200004 (an earlier rule of the file is now 200002)"}},
        {"a duplicate and an out-of-range rule",
         transit({{200001, "A"}, {200001, "B"}, {5, "C"}, {200002, "D"}}),
         {"200001 \"B\" is now 200002 (another rule of the file holds 200001)",
          "5 \"C\" is now 200003 (5 is outside the range of its creation type)",
          "200002 \"D\" is now 200004 (an earlier rule of the file is now 200002)"}},
        {"a duplicate of an id the load gave first",
         transit({{5, "A"}, {200001, "B"}, {200001, "C"}}),
         {"5 \"A\" is now 200001 (5 is outside the range of its creation type)",
          "200001 \"B\" is now 200002 (an earlier rule of the file is now 200001)",
          "200001 \"C\" is now 200003 (another rule of the file holds 200001)"}},
        {"a duplicate out-of-range id",
         transit({{5, "A"}, {5, "B"}}),
         {"5 \"A\" is now 200001 (5 is outside the range of its creation type)",
          "5 \"B\" is now 200002 (5 is outside the range of its creation type)"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const fs::path file = WriteFile(dir.path() / "reasons.xml", row.text);
        std::string expected;
        for (const std::string& line : row.notes)
            expected += "fwpolicy: " + file.string() + note + line + "\n";
        const ToolResult edit =
            RunFwpolicy({"rule", "disable", file.string(), "--section", "transit", "--index", "0"});
        ASSERT_EQ(0, edit.exitStatus) << edit.err;
        EXPECT_EQ(expected, edit.err);
    }
}

// Two rules that share an id: the load keeps the first one's, so --id
// would name it although the file does not say which is meant. Edits
// refuse the id as rule show does (rule_show_test.cpp), and take the rule
// by its place.
TEST(FwpolicyIdentities, AnIdTwoRulesOfTheFileHoldNamesNeitherOfThem) {
    const TempDir dir;
    const std::string text =
        PolicyDocument(RuleElement("LocalRule", 300001, 300001, "Ping", "User") +
                       RuleElement("VpnRule", 300001, 300002, "Remote staff", "User"));
    const fs::path file = WriteFile(dir.path() / "twice.xml", text);
    const std::string refusal =
        "2 rules have id 300001; name one with --section local --index 0 or the like";
    const struct {
        const char* what;
        ToolResult result;
    } rows[] = {
        {"rule disable", RunFwpolicy({"rule", "disable", file.string(), "--id", "300001"})},
        {"apply", RunFwpolicyWithInput({"apply", file.string()}, "rule disable --id 300001\n")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(1, row.result.exitStatus);
        EXPECT_NE(std::string::npos, row.result.err.find(refusal)) << row.result.err;
    }
    EXPECT_EQ(ToBytes(text), ReadBytes(file));
    const ToolResult byPlace =
        RunFwpolicy({"rule", "disable", file.string(), "--section", "vpn", "--index", "0"});
    ASSERT_EQ(0, byPlace.exitStatus) << byPlace.err;
    EXPECT_NE(std::string::npos, byPlace.out.find("disabled vpn rule 300002 \"Remote staff\" at 0"))
        << byPlace.out;
}

TEST(FwpolicyIdentities, RenumberNumbersOutOfRangeRulesOnceAndDiffPairsThem) {
    const TempDir dir;
    const fs::path file = WriteFile(dir.path() / "hand.xml", HandWritten());
    const fs::path original = WriteFile(dir.path() / "orig.xml", HandWritten());

    const ToolResult lint = RunFwpolicy({"lint", file.string()});
    EXPECT_EQ(2, CountOf(lint.out, "warning: identifier-out-of-range")) << lint.out;

    const ToolResult renumber = RunFwpolicy({"renumber", file.string()});
    ASSERT_EQ(0, renumber.exitStatus) << renumber.err;
    EXPECT_EQ(
        "local 1 \u2192 300001 (user) \"Admin vom Büro\"\n"
        "transit 2 \u2192 2000000001 (post) \"Drop all transit\"\n",
        renumber.out);
    EXPECT_EQ("", renumber.err);
    EXPECT_EQ(
        0, CountOf(RunFwpolicy({"lint", file.string()}).out, "warning: identifier-out-of-range"));

    const ToolResult diff = RunFwpolicy({"diff", original.string(), file.string()});
    EXPECT_EQ(1, diff.exitStatus) << diff.err;
    EXPECT_EQ(
        "rule renumbered: local 300001 (user) \"Admin vom Büro\"\n"
        "  id: 1 \u2192 300001\n"
        "rule renumbered: transit 2000000001 (post) \"Drop all transit\"\n"
        "  id: 2 \u2192 2000000001\n",
        diff.out);
    const auto json = nlohmann::json::parse(
        RunFwpolicy({"diff", "--json", original.string(), file.string()}).out);
    EXPECT_EQ(2u, json["rules"]["renumbered"].size());
    EXPECT_EQ(0u, json["rules"]["removed"].size());
    EXPECT_EQ(0u, json["rules"]["added"].size());

    // A rule added before them shifts their order ids; they are still the
    // same rules renumbered, not removed and added.
    const fs::path shifted = WriteFile(dir.path() / "shifted.xml", ToString(ReadBytes(file)));
    ASSERT_EQ(0,
              RunFwpolicy({"rule", "add", shifted.string(), "--section", "local", "--name", "First",
                           "--action", "drop", "--source", "10.0.0.1", "--position", "0", "-q"})
                  .exitStatus);
    const ToolResult afterAdd = RunFwpolicy({"diff", original.string(), shifted.string()});
    EXPECT_EQ(
        "rule added: local 300002 (user) \"First\"\n"
        "rule renumbered: local 300001 (user) \"Admin vom Büro\"\n"
        "  id: 1 \u2192 300001\n"
        "rule renumbered: transit 2000000001 (post) \"Drop all transit\"\n"
        "  id: 2 \u2192 2000000001\n",
        afterAdd.out);

    // Once renumbered, a second run has nothing to do and a first edit
    // changes only what it was asked to.
    const std::vector<unsigned char> renumbered = ReadBytes(file);
    const ToolResult again = RunFwpolicy({"renumber", file.string()});
    EXPECT_EQ(0, again.exitStatus) << again.err;
    EXPECT_EQ("", again.out);
    EXPECT_EQ(renumbered, ReadBytes(file));
    // A dry run says so alike, without writing and comparing documents.
    const ToolResult dry = RunFwpolicy({"renumber", file.string(), "--dry-run"});
    EXPECT_EQ(0, dry.exitStatus);
    EXPECT_EQ("", dry.out);
    EXPECT_EQ("fwpolicy: " + file.string() +
                  ": no rule needs a new identifier; nothing to change; the file is left as it "
                  "was\n",
              dry.err);
    ASSERT_EQ(
        0, RunFwpolicy({"rule", "disable", file.string(), "--section", "transit", "--index", "0"})
               .exitStatus);
    const fs::path kept = WriteFile(dir.path() / "renumbered.xml", ToString(renumbered));
    EXPECT_EQ(2, CountOf(RunFwpolicy({"diff", kept.string(), file.string()}).out, "\n"));
}

TEST(FwpolicyIdentities, RenumberEscapesDirectionMarksInNames) {
    const TempDir dir;
    const fs::path file = WriteFile(
        dir.path() / "p.xml",
        PolicyDocument(RuleElement("LocalRule", 1, 1, "evil\u202Eexe.txt", "User", "Drop")));
    const ToolResult r = RunFwpolicy({"renumber", file.string()});
    ASSERT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ("local 1 \u2192 300001 (user) \"evil\\u202eexe.txt\"\n", r.out);
}

TEST(FwpolicyIdentities, DiffTellsRenumberedFromChangedRules) {
    // A renumbered rule whose content also changed is no twin: it is
    // reported removed and added. Two equal rules pair one to one.
    const TempDir dir;
    const std::string drop = RuleElement("LocalRule", 1, 1, "Same", "User", "Drop");
    const fs::path before =
        WriteFile(dir.path() / "a.xml",
                  PolicyDocument(drop + RuleElement("LocalRule", 2, 2, "Other", "User")));
    const fs::path after =
        WriteFile(dir.path() / "b.xml",
                  PolicyDocument(RuleElement("LocalRule", 300001, 1, "Same", "User", "Drop") +
                                 RuleElement("LocalRule", 300002, 2, "Other", "User", "Drop")));
    const ToolResult diff = RunFwpolicy({"diff", before.string(), after.string()});
    EXPECT_EQ(1, diff.exitStatus);
    EXPECT_EQ(
        "rule removed: local 2 (user) \"Other\"\n"
        "rule added: local 300002 (user) \"Other\"\n"
        "rule renumbered: local 300001 (user) \"Same\"\n"
        "  id: 1 \u2192 300001\n",
        diff.out);
}

// One edit, and scripts whose lines cancel out, on a file written as
// people write it (not as the library indents it). Such a script replaced
// the file all the same (a new inode, a new modification time) and said
// nothing.
TEST(FwpolicyIdentities, AnEditThatChangesNothingWritesNothingAndSaysSo) {
    struct Row {
        const char* what;
        std::vector<std::string> arguments;  // the verb's words, FILE after them
        const char* script;                  // for apply
        // The file gives a second rule the first one's RuleId, which the
        // load renumbers: that alone is no change to write.
        bool renumbersOnLoad = false;
        std::vector<std::string> after = {"--section", "local", "--index", "0"};
    };
    const std::vector<Row> rows = {
        {"set an option to its value", {"option", "set"}, nullptr, false, {"Audit", "off"}},
        {"a script that sets options to their values",
         {"apply"},
         "option set Audit off\noption set LogLevel 2\n"},
        {"a script that sets an option and sets it back",
         {"apply"},
         "option set Audit on\noption set Audit off\n"},
        {"enable an active rule", {"rule", "enable"}, nullptr},
        {"enable an active rule of a file the load renumbers", {"rule", "enable"}, nullptr, true},
        {"disable an inactive rule of a file the load renumbers",
         {"rule", "disable"},
         nullptr,
         true},
        {"a script that enables an active rule",
         {"apply"},
         "rule enable --section local --index 0\n"},
        {"a script that enables an active rule of a file the load renumbers",
         {"apply"},
         "rule enable --section local --index 0\n",
         true},
        {"a script that disables and enables again",
         {"apply"},
         "rule disable --section local --index 0\nrule enable --section local --index 0\n"},
        {"a script of comments only", {"apply"}, "# nothing yet\n\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const TempDir dir;
        std::string rules = RuleElement("LocalRule", 300001, 300001, "Active", "User", "Drop");
        if (row.arguments.back() == "disable")
            rules.insert(rules.find(" xsi:type"), " IsActive=\"false\"");
        if (row.renumbersOnLoad)
            rules += RuleElement("LocalRule", 300001, 300002, "Active", "User", "Pass");
        std::string text = PolicyDocument(
            rules, "",
            "<Option><Name>Audit</Name><Value>off</Value><CreationType>User</CreationType>"
            "</Option><Option><Name>LogLevel</Name><Value>2</Value><CreationType>Policy"
            "</CreationType></Option>");
        text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
        const fs::path file = WriteFile(dir.path() / "p.xml", text);
        std::vector<std::string> arguments = row.arguments;
        arguments.push_back(file.string());
        if (row.script)
            arguments.push_back(WriteFile(dir.path() / "script", row.script).string());
        else
            arguments.insert(arguments.end(), row.after.begin(), row.after.end());
        const ino_t inode = InodeOf(file);
        const auto written = fs::last_write_time(file);
        const std::vector<unsigned char> before = ReadBytes(file);
        const ToolResult r = RunFwpolicy(arguments);
        EXPECT_EQ(0, r.exitStatus) << r.err;
        // A verb says why; a script only that none of its lines changed anything.
        const std::string why =
            row.script || row.arguments[0] == "option"
                ? ""
                : "local rule 300001 \"Active\" is already " + row.arguments.back() + "d; ";
        EXPECT_EQ("fwpolicy: " + file.string() + ": " + why +
                      "nothing to change; the file is left as it was\n",
                  r.err);
        EXPECT_EQ(ToString(before), ToString(ReadBytes(file)));
        EXPECT_EQ(written, fs::last_write_time(file));
        EXPECT_EQ(inode, InodeOf(file));
        const std::vector<std::string> entries = row.script
                                                     ? std::vector<std::string>{"p.xml", "script"}
                                                     : std::vector<std::string>{"p.xml"};
        EXPECT_EQ(entries, DirectoryEntries(dir.path()));
    }
}

}  // namespace
}  // namespace fwcommon::test
