// fwpolicy lint: findings, JSON, shared objects and exit statuses.

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

const char kFindings[] = "tests/data/cli/lint-findings.xml";

// Read from standard input, findings named the file "-"; names reached the
// terminal unescaped.
TEST(FwpolicyLint, StandardInputIsNamedAndNamesAreEscaped) {
    std::string policy = ToString(ReadBytes(SourcePath(kFindings)));
    const std::string spare = "<Name>Spare</Name>";
    policy.replace(policy.find(spare), spare.size(),
                   "<Name>Sp\xc2\x9b"
                   "2Jare</Name>");
    const ToolResult r = RunFwpolicyWithInput({"lint", "-"}, policy);
    EXPECT_EQ(1, r.exitStatus) << r.err;
    EXPECT_EQ(0u, r.out.rfind("standard input: ip object 102 \"Sp\\x9b2Jare\": warning: ", 0))
        << r.out;
    EXPECT_EQ(std::string::npos, r.out.find("\xc2\x9b"));
}

// The translation of a NAT rule is checked as its conditions are.
TEST(FwpolicyLint, NatTranslationToAnImpossibleValueIsAnError) {
    std::string rule = RuleElement("NatRule", 1, 1, "Publish", "User", "Pass", "");
    const std::string filter =
        "<Action xsi:type=\"sv:Filter\"><FilteringAction>Pass</FilteringAction></Action>";
    rule.replace(rule.find(filter), filter.size(),
                 "<Action xsi:type=\"sv:Translation\"><DestinationIp><Value>10.0.0.256</Value>"
                 "</DestinationIp><DestinationPort><Value>70000</Value></DestinationPort>"
                 "</Action>");
    const ToolResult r = RunFwpolicyWithInput({"lint", "-"}, PolicyDocument(rule));
    EXPECT_EQ(1, r.exitStatus) << r.err;
    EXPECT_NE(std::string::npos,
              r.out.find("nat #0 rule 1 \"Publish\": error: invalid-value: translated "
                         "destination address \"10.0.0.256\" does not parse\n"))
        << r.out;
    EXPECT_NE(std::string::npos,
              r.out.find("nat #0 rule 1 \"Publish\": error: invalid-value: translated "
                         "destination port 70000 is outside 0 to 65535\n"))
        << r.out;
}

// A file that cannot be read has no counts; when no file could be read,
// no summary says "none" beside the error.
TEST(FwpolicyLint, FilesThatCannotBeReadGetNoSummary) {
    const ToolResult none = RunFwpolicy({"lint", "missing.xml"});
    EXPECT_EQ(1, none.exitStatus);
    EXPECT_EQ("", none.out);
    EXPECT_EQ("fwpolicy: missing.xml: cannot read: No such file or directory\n", none.err);
    const ToolResult one = RunFwpolicy({"lint", "examples/policy.xml", "missing.xml"});
    EXPECT_EQ(1, one.exitStatus);
    EXPECT_NE(std::string::npos, one.out.find("\nby code: ")) << one.out;
    EXPECT_EQ(std::string::npos, one.out.find("missing.xml")) << one.out;
}

// Without the objects file its rules refer to objects that are missing.
TEST(FwpolicyLint, RulesWithoutTheirObjectsFileReferToMissingObjects) {
    EXPECT_EQ(1, RunFwpolicy({"lint", "tests/data/cli/lint-shared-rules.xml"}).exitStatus);
}

// The findings' codes in the order printed, and the last line.
struct LintRun {
    int exitStatus = -1;
    std::vector<std::string> codes;
    std::string lastLine;
};

LintRun Lint(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "lint");
    const ToolResult r = RunFwpolicy(arguments);
    LintRun run{r.exitStatus, {}, ""};
    std::size_t start = 0;
    for (std::size_t end; (end = r.out.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = r.out.substr(start, end - start);
        for (const char* severity : {"\": error: ", "\": warning: "}) {
            const std::size_t at = line.find(severity);
            if (at != std::string::npos) {
                const std::size_t code = at + std::string(severity).size();
                run.codes.push_back(line.substr(code, line.find(':', code) - code));
            }
        }
        run.lastLine = line;
    }
    return run;
}

// Three files of one node's history: each refers to its own ip object 101.
// b.xml's object 101 is another object with a.xml's Id and creation type;
// c.xml's has the Id under another creation type, and its rule names 102,
// which only a.xml holds.
TEST(FwpolicyLint, EachFileSeesItsOwnObjectsAndSharedIdsAreNamed) {
    const TempDir dir;
    const std::string a = WrittenFile(
        dir.path(), "a.xml",
        PolicyDocument(RuleToObject(101), IpObjectElement("Servers", 101, "Policy", "10.1.0.5") +
                                              IpObjectElement("Spare", 102, "Policy", "10.1.0.6")));
    const std::string b = WrittenFile(
        dir.path(), "b.xml",
        PolicyDocument(RuleToObject(101), IpObjectElement("Büro", 101, "Policy", "10.2.0.5")));
    const std::string c = WrittenFile(
        dir.path(), "c.xml",
        PolicyDocument(RuleToObject(102), IpObjectElement("Servers", 101, "User", "10.1.0.5")));

    const ToolResult ab = RunFwpolicy({"lint", a, b, "--ignore", "unused-object"});
    EXPECT_EQ(0, ab.exitStatus) << ab.out << ab.err;
    EXPECT_EQ(b +
                  ": ip object 101 \"Büro\": warning: object-id-in-other-file: Id 101 and its "
                  "creation type are also held by ip object \"Servers\" (Id 101) in " +
                  a + ": a merge of the files gives this object a new Id\n" + b +
                  ": local #0 rule 200001 \"Drop to the servers\": warning: rule-id-in-other-file: "
                  "RuleId 200001 of creation type policy is also held by rule #0 \"Drop to the "
                  "servers\" (RuleId 200001) of local in " +
                  a + ": a merge of the files gives this rule a new RuleId\n" + a +
                  ": 0 errors, 0 warnings\n" + b +
                  ": 0 errors, 2 warnings\nby code: 1 object-id-in-other-file, 1 "
                  "rule-id-in-other-file; 1 left out\n",
              ab.out);

    // A copy holds the same objects, which a merge keeps once, and the
    // same rules, which it renumbers.
    const std::string copy = WrittenFile(dir.path(), "copy.xml", ToString(ReadBytes(a)));
    const LintRun copied = Lint({a, copy, "--ignore", "unused-object"});
    EXPECT_EQ(0, copied.exitStatus);
    EXPECT_EQ(std::vector<std::string>{"rule-id-in-other-file"}, copied.codes);

    const LintRun abc = Lint({a, b, c, "--ignore", "unused-object"});
    EXPECT_EQ(1, abc.exitStatus) << "c.xml's rule names an object only a.xml holds";
    EXPECT_EQ((std::vector<std::string>{"object-id-in-other-file", "rule-id-in-other-file",
                                        "dangling-reference", "rule-id-in-other-file"}),
              abc.codes);
    // A file named twice, by one name or by two, is linted once.
    const ToolResult once = RunFwpolicy({"lint", a});
    for (const std::string& again : {a, (dir.path() / "." / "a.xml").string()}) {
        const ToolResult twice = RunFwpolicy({"lint", a, again});
        EXPECT_EQ(once.exitStatus, twice.exitStatus) << again;
        EXPECT_EQ(once.out, twice.out) << again;
    }
}

// lint-findings.xml holds two errors (dangling-reference, shadowed-rule)
// and five warnings (four identifier-out-of-range, one unused-object).
TEST(FwpolicyLint, SeverityIgnoreAndStrictChooseWhatIsReportedAndWhatFails) {
    const std::string out = "identifier-out-of-range";
    struct Case {
        std::vector<std::string> options;
        int exitStatus;
        std::vector<std::string> codes;
        std::string lastLine;
    };
    const std::vector<Case> cases = {
        {{},
         1,
         {"unused-object", out, "dangling-reference", out, out, "shadowed-rule", out},
         "by code: 4 identifier-out-of-range, 1 dangling-reference, 1 shadowed-rule, "
         "1 unused-object"},
        {{"--severity", "warning"},
         1,
         {"unused-object", out, "dangling-reference", out, out, "shadowed-rule", out},
         ""},
        {{"--severity", "error"},
         1,
         {"dangling-reference", "shadowed-rule"},
         "by code: 1 dangling-reference, 1 shadowed-rule; 5 left out"},
        {{"--ignore", "dangling-reference", "--ignore", "shadowed-rule"},
         0,
         {"unused-object", out, out, out, out},
         "by code: 4 identifier-out-of-range, 1 unused-object; 2 left out"},
        {{"--ignore", "dangling-reference", "--ignore", "shadowed-rule", "--strict"},
         1,
         {"unused-object", out, out, out, out},
         ""},
        {{"--severity", "error", "--ignore", "dangling-reference", "--ignore", "shadowed-rule",
          "--strict"},
         0,
         {},
         "by code: none; 7 left out"},
        {{"--ignore", out, "--ignore", "unused-object", "--strict"},
         1,
         {"dangling-reference", "shadowed-rule"},
         ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.options;
        arguments.push_back(kFindings);
        SCOPED_TRACE(arguments.front());
        const LintRun run = Lint(arguments);
        EXPECT_EQ(c.exitStatus, run.exitStatus);
        EXPECT_EQ(c.codes, run.codes);
        if (!c.lastLine.empty()) {
            EXPECT_EQ(c.lastLine, run.lastLine);
        }
    }
    const LintRun onlyWarnings = Lint({"examples/policy.xml", "--strict"});
    EXPECT_EQ(1, onlyWarnings.exitStatus) << "--strict fails on warnings";
    EXPECT_EQ("by code: 4 unused-object", onlyWarnings.lastLine);
}

TEST(FwpolicyLint, AnUnknownCodeIsAUsageErrorWithTheClosestCode) {
    const ToolResult typo = RunFwpolicy({"lint", kFindings, "--ignore", "shadowd-rule"});
    EXPECT_EQ(2, typo.exitStatus);
    EXPECT_EQ(
        "fwpolicy lint: --ignore: 'shadowd-rule' is not a lint finding code; did you mean "
        "'shadowed-rule'? (see 'fwpolicy help lint')\n",
        typo.err);
    EXPECT_EQ("", typo.out);
    EXPECT_NE(std::string::npos, RunFwpolicy({"help", "lint"}).out.find("redundant-rule"))
        << "help lists the codes";
}

// The JSON of every finding is golden in show_test.cpp; what --ignore
// leaves out is counted apart, as the text's last line counts it.
TEST(FwpolicyLint, JsonCountsWhatIgnoreLeavesOut) {
    const ToolResult r = RunFwpolicy({"lint", "--json", kFindings, "--ignore", "unused-object"});
    EXPECT_EQ(1, r.exitStatus) << r.err;
    const auto report = nlohmann::json::parse(r.out);
    EXPECT_EQ(6u, report["findings"].size());
    EXPECT_EQ((nlohmann::json::array({{{"file", kFindings}, {"errors", 2}, {"warnings", 4}}})),
              report["files"]);
    EXPECT_EQ((nlohmann::json{
                  {"identifier-out-of-range", 4}, {"dangling-reference", 1}, {"shadowed-rule", 1}}),
              report["byCode"]);
    EXPECT_EQ(1, report["leftOut"]);
}

}  // namespace
}  // namespace fwcommon::test
