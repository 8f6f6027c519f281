// fwpolicy diff, format and merge.

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
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
const char* const kChanged = "tests/data/cli/edit-changed.xml";

TEST(FwpolicyDiff, AFileWithItselfIsEqualAndSilent) {
    // Two rules of one RuleId (in two sections) and two objects of one Id:
    // each was paired with the first holder of its key in the other file.
    const TempDir dir;
    const std::string repeated =
        WrittenFile(dir.path(), "repeated.xml",
                    PolicyDocument(RuleElement("LocalRule", 300001, 300001, "Ping", "User") +
                                       RuleElement("VpnRule", 300001, 300002, "Staff", "User"),
                                   IpObjectElement("Servers", 101, "Policy", "10.1.0.5") +
                                       IpObjectElement("Spare", 101, "Policy", "10.1.0.6")));
    for (const std::string& file : {std::string("examples/policy.xml"), std::string(kBase),
                                    std::string("tests/data/edge-kinds.xml"), repeated}) {
        for (const std::string form : {"", "--stat", "-u"}) {
            SCOPED_TRACE(file + " " + form);
            std::vector<std::string> args = {"diff", file, file};
            if (!form.empty())
                args.push_back(form);
            const ToolResult r = RunFwpolicy(args);
            EXPECT_EQ(0, r.exitStatus) << r.err;
            EXPECT_EQ("", r.out);
            EXPECT_EQ("", r.err);
        }
    }
    const auto same = nlohmann::json::parse(RunFwpolicy({"diff", kBase, kBase, "--json"}).out);
    EXPECT_TRUE(same["equal"]);
    EXPECT_TRUE(same["rules"]["added"].empty());
}

TEST(FwpolicyDiff, ReverseDirectionSwapsAddedAndRemoved) {
    const ToolResult r = RunFwpolicy({"diff", kChanged, kBase});
    EXPECT_EQ(1, r.exitStatus);
    EXPECT_NE(std::string::npos, r.out.find("rule removed: transit 300005 (user) \"Late rule\""));
    EXPECT_NE(std::string::npos,
              r.out.find("object added: schedule 502 (user) \"Nightly backup window\""));
    EXPECT_NE(std::string::npos, r.out.find("  active: no \u2192 yes\n"));
}

TEST(FwpolicyDiff, QuietOnlySetsTheStatus) {
    const struct {
        std::string second;
        int status;
    } quiet[] = {{kChanged, 1}, {kBase, 0}, {"no/such.xml", 2}};
    for (const auto& row : quiet) {
        SCOPED_TRACE(row.second);
        const ToolResult r = RunFwpolicy({"diff", "-q", kBase, row.second});
        EXPECT_EQ(row.status, r.exitStatus);
        EXPECT_EQ("", r.out);
        EXPECT_EQ(row.status == 2, !r.err.empty()) << r.err;
    }
    EXPECT_EQ(2, RunFwpolicy({"diff", "--stat", "--json", kBase, kChanged}).exitStatus);
}

TEST(FwpolicyFormat, CheckNamesFilesNotInCanonicalForm) {
    const ToolResult r = RunFwpolicy({"format", "--check", "examples/policy.xml", kBase});
    EXPECT_EQ(1, r.exitStatus);
    EXPECT_EQ("examples/policy.xml: not in canonical form\n", r.out);
    EXPECT_EQ(0, RunFwpolicy({"format", "--check", kBase}).exitStatus);
}

TEST(FwpolicyFormat, RewritesInPlaceAndToAnotherFile) {
    TempDir dir;
    const fs::path file = dir.path() / "p.xml";
    const fs::path out = dir.path() / "out.xml";
    fs::copy_file(SourcePath("examples/policy.xml"), file);
    EXPECT_EQ(1, RunFwpolicy({"format", file.string(), "-o", out.string()}).exitStatus)
        << "the comment is not dropped silently";
    EXPECT_FALSE(fs::exists(out));

    ASSERT_EQ(
        0,
        RunFwpolicy({"format", file.string(), "-o", out.string(), "--drop-comments"}).exitStatus);
    EXPECT_EQ(ReadBytes(SourcePath("examples/policy.xml")), ReadBytes(file));
    EXPECT_EQ(0, RunFwpolicy({"format", "--check", out.string()}).exitStatus);
    EXPECT_EQ("", RunFwpolicy({"diff", "examples/policy.xml", out.string()}).out)
        << "formatting changes no rule, object or option";
    EXPECT_TRUE(XmllintAccepts(ReadBytes(out)));

    ASSERT_EQ(0, RunFwpolicy({"format", file.string(), "--drop-comments"}).exitStatus);
    EXPECT_EQ(ReadBytes(out), ReadBytes(file));
    const auto modified = fs::last_write_time(file);
    EXPECT_EQ(0, RunFwpolicy({"format", file.string()}).exitStatus);
    EXPECT_EQ(modified, fs::last_write_time(file)) << "a canonical file is left alone";
}

TEST(FwpolicyFormat, UsageErrors) {
    EXPECT_EQ(2, RunFwpolicy({"format", kBase, kChanged, "-o", "x.xml"}).exitStatus);
    EXPECT_EQ(2, RunFwpolicy({"format", kBase, "--check", "-o", "x.xml"}).exitStatus);
    EXPECT_FALSE(fs::exists(SourcePath("x.xml")));
}

TEST(FwpolicyMerge, ResultantPolicyHoldsEveryDocumentAndTheGivenTimes) {
    TempDir dir;
    const std::string out = (dir.path() / "rsop.xml").string();
    const ToolResult r =
        RunFwpolicy({"merge", "examples/policy.xml", "tests/data/edge-kinds.xml", "-o", out,
                     "--time", "2026-12-01T09:30:00+01:00", "--period", "600"});
    ASSERT_EQ(0, r.exitStatus) << r.err;
    const std::vector<unsigned char> bytes = ReadBytes(out);
    EXPECT_TRUE(XmllintAccepts(bytes));
    EXPECT_EQ(0, RunFwpolicy({"check", out}).exitStatus);
    const std::string text = ToString(bytes);
    EXPECT_NE(std::string::npos,
              text.find("<ApplicationDateTime>2026-12-01T08:30:00Z</ApplicationDateTime>"));
    EXPECT_NE(std::string::npos, text.find("<RollbackPeriod>600</RollbackPeriod>"));

    const auto objects = nlohmann::json::parse(RunFwpolicy({"objects", out, "--json"}).out);
    EXPECT_EQ(4u, objects["ip"].size()) << "three of the example and one of the edge file";
    const auto rules = nlohmann::json::parse(RunFwpolicy({"show", out, "--json"}).out);
    EXPECT_EQ(3u, rules["local"].size());
}

// A rule keeps its identifier in the merged policy unless another rule of
// its creation type holds it first (as its file gives it or as the merge
// renumbered it) or it lies outside the range of its creation type; each one that changes is
// reported, in document order.
TEST(FwpolicyMerge, ReportsEveryRuleGivenANewIdentifier) {
    TempDir dir;
    const std::string first =
        WrittenFile(dir.path(), "first.xml",
                    PolicyDocument(RuleElement("TransitRule", 300001, 300001, "Web", "User") +
                                   RuleElement("LocalRule", 200001, 200001, "Admin")));
    const std::string second =
        WrittenFile(dir.path(), "second.xml",
                    PolicyDocument(RuleElement("TransitRule", 300001, 300002, "Mail", "User") +
                                   RuleElement("LocalRule", 300007, 300003, "Ping", "User") +
                                   RuleElement("TransitRule", 300007, 300004, "D\tns", "User") +
                                   RuleElement("VpnRule", 7, 300005, "Staff", "User") +
                                   RuleElement("TransitRule", 300004, 300006, "Smtp", "User") +
                                   RuleElement("LocalRule", 200002, 200002, "Ssh")));
    const std::string out = (dir.path() / "rsop.xml").string();
    const ToolResult r = RunFwpolicy({"merge", first, second, "-o", out});
    ASSERT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ("fwpolicy: " + second +
                  ": transit rule \"Mail\" renumbered 300001 \u2192 300002 (an earlier file "
                  "holds 300001)\n"
                  "fwpolicy: " +
                  second +
                  ": transit rule \"D\\x09ns\" renumbered 300007 \u2192 300003 (another rule of "
                  "the file holds 300007)\n"
                  "fwpolicy: " +
                  second +
                  ": vpn rule \"Staff\" renumbered 7 \u2192 300004 (7 is outside the range of "
                  "its creation type)\n"
                  "fwpolicy: " +
                  second +
                  ": transit rule \"Smtp\" renumbered 300004 \u2192 300005 (an earlier rule of "
                  "the file is now 300004)\n",
              r.err);

    // An earlier file holds the identifiers its index gave its rules; the
    // earlier file that holds one need not be the one before.
    const std::string moved =
        WrittenFile(dir.path(), "moved.xml",
                    PolicyDocument(RuleElement("LocalRule", 5, 300001, "Old", "User")));
    const std::string holder =
        WrittenFile(dir.path(), "holder.xml",
                    PolicyDocument(RuleElement("LocalRule", 300001, 300001, "New", "User")));
    const std::string apart =
        WrittenFile(dir.path(), "apart.xml",
                    PolicyDocument(RuleElement("LocalRule", 300050, 300050, "Apart", "User")));
    const std::string newOfHolder = "fwpolicy: " + holder +
                                    ": local rule \"New\" renumbered 300001 \u2192 300002 (an "
                                    "earlier file holds 300001)\n";
    const std::pair<std::vector<std::string>, std::string> held[] = {
        {{moved, holder},
         "fwpolicy: " + moved +
             ": local rule \"Old\" renumbered 5 \u2192 300001 (5 is outside the range of its "
             "creation type)\n" +
             newOfHolder},
        {{first, apart, holder}, newOfHolder},
    };
    for (const auto& [files, err] : held) {
        std::vector<std::string> args = {"merge", "-o", out};
        args.insert(args.end(), files.begin(), files.end());
        const ToolResult merged = RunFwpolicy(args);
        ASSERT_EQ(0, merged.exitStatus) << merged.err;
        EXPECT_EQ(err, merged.err);
    }

    // A copy of a file: every rule of the copy changes, no object does.
    const std::string copy = (dir.path() / "copy.xml").string();
    fs::copy_file(SourcePath("examples/policy.xml"), copy);
    const ToolResult twice = RunFwpolicy({"merge", "examples/policy.xml", copy, "-o", out});
    ASSERT_EQ(0, twice.exitStatus) << twice.err;
    const auto rules = nlohmann::json::parse(RunFwpolicy({"show", copy, "--json"}).out);
    std::size_t count = 0;
    for (const auto& section : rules.items()) {
        count += section.value().size();
    }
    EXPECT_EQ(count, static_cast<std::size_t>(std::count(twice.err.begin(), twice.err.end(), '\n')))
        << twice.err;
    EXPECT_EQ(std::string::npos, twice.err.find(" object ")) << twice.err;
}

// A section's index keeps one rule of an order id that two rules share;
// the rule it drops is renumbered on load all the same.
TEST(FwpolicyMerge, ReportsRenumberedRulesThatShareAnOrderId) {
    TempDir dir;
    const std::string shared =
        WrittenFile(dir.path(), "shared.xml",
                    PolicyDocument(RuleElement("TransitRule", 7, 300010, "Dropped", "User") +
                                   RuleElement("TransitRule", 300020, 300010, "Kept", "User") +
                                   RuleElement("LocalRule", 300020, 300011, "Admin", "User")));
    const std::string out = (dir.path() / "rsop.xml").string();
    const ToolResult r = RunFwpolicy({"merge", shared, "-o", out});
    ASSERT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ("fwpolicy: " + shared +
                  ": transit rule \"Dropped\" renumbered 7 \u2192 300001 (7 is outside the range "
                  "of its creation type)\n"
                  "fwpolicy: " +
                  shared +
                  ": local rule \"Admin\" renumbered 300020 \u2192 300002 (another rule of the "
                  "file holds 300020)\n",
              r.err);
}

TEST(FwpolicyMerge, BadInputWritesNothing) {
    TempDir dir;
    const std::string out = (dir.path() / "rsop.xml").string();
    const ToolResult bad = RunFwpolicy(
        {"merge", "examples/policy.xml", "tests/data/cli/lowercase-action.xml", "-o", out});
    EXPECT_EQ(1, bad.exitStatus);
    EXPECT_FALSE(fs::exists(out));
    const ToolResult time =
        RunFwpolicy({"merge", "examples/policy.xml", "-o", out, "--time", "yesterday"});
    EXPECT_EQ(2, time.exitStatus);
    EXPECT_NE(std::string::npos, time.err.find("not an ISO-8601 date and time: 'yesterday'"));
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(2, RunFwpolicy({"merge", "examples/policy.xml"}).exitStatus);
}

// The merged policy without its issue time, which is the time of the run.
std::string WithoutIssueTime(const std::string& text) {
    const std::size_t begin = text.find("<IssueDateTime>");
    const std::size_t end = text.find("</IssueDateTime>");
    return begin < end && end != std::string::npos ? text.substr(0, begin) + text.substr(end)
                                                   : text;
}

// Files read at once merge, and are refused, as one after another: the same
// bytes, notes and status, and only the first file that cannot be read is
// named.
TEST(FwpolicyMerge, FilesReadAtOnceGiveWhatOneAfterAnotherGives) {
    TempDir dir;
    const std::string copy = (dir.path() / "copy.xml").string();
    fs::copy_file(SourcePath("examples/policy.xml"), copy);
    const std::string binary = WrittenFile(dir.path(), "binary.xml", std::string("\x01\x02"));
    const std::string out = (dir.path() / "rsop.xml").string();
    const std::vector<std::vector<std::string>> inputs = {
        {"examples/policy.xml", copy, "tests/data/edge-kinds.xml"},
        {"examples/policy.xml", "tests/data/cli/lowercase-action.xml", binary,
         (dir.path() / "missing.xml").string()},
        {copy, binary, "tests/data/cli/lowercase-action.xml"},
    };
    for (const auto& files : inputs) {
        SCOPED_TRACE(files[1]);
        std::vector<std::string> results;
        ToolResult runs[2];
        for (const char* jobs : {"1", "3"}) {
            fs::remove(out);
            std::vector<std::string> args = {
                "merge", "-j", jobs, "-o", out, "--time", "2026-12-01T08:00:00Z"};
            args.insert(args.end(), files.begin(), files.end());
            runs[results.size()] = RunFwpolicy(args);
            results.push_back(fs::exists(out) ? WithoutIssueTime(ToString(ReadBytes(out))) : "");
        }
        EXPECT_EQ(runs[0].exitStatus, runs[1].exitStatus);
        EXPECT_EQ(runs[0].err, runs[1].err);
        EXPECT_EQ(results[0], results[1]);
        EXPECT_EQ(files[1] == copy, !results[0].empty()) << runs[0].err;
        if (files[1] != copy) {
            EXPECT_NE(std::string::npos, runs[1].err.find(files[1])) << runs[1].err;
            EXPECT_EQ(std::string::npos, runs[1].err.find(files[2])) << runs[1].err;
        }
    }
}

// A policy named twice would merge with itself; an output that is an input
// would be replaced by the merge. Both are refused before anything is read.
TEST(FwpolicyMerge, RefusesAFileGivenTwiceAndAnOutputThatIsAnInput) {
    TempDir dir;
    const std::string copy = (dir.path() / "policy.xml").string();
    fs::copy_file(SourcePath("examples/policy.xml"), copy);
    const std::vector<unsigned char> before = ReadBytes(copy);
    const struct {
        std::vector<std::string> args;
        std::string err;
    } rows[] = {
        {{"merge", copy, "examples/policy.xml", (dir.path() / "./policy.xml").string(), "-o", "-"},
         "fwpolicy merge: " + (dir.path() / "./policy.xml").string() +
             ": is given twice; merge takes each policy once (see 'fwpolicy help merge')\n"},
        {{"merge", "examples/policy.xml", copy, "-o", (dir.path() / "." / "policy.xml").string()},
         "fwpolicy merge: -o " + (dir.path() / "." / "policy.xml").string() +
             ": is one of the files to merge; write the merged policy to a file of its own "
             "(see 'fwpolicy help merge')\n"},
    };
    for (const auto& row : rows) {
        const ToolResult r = RunFwpolicy(row.args);
        EXPECT_EQ(2, r.exitStatus) << row.args.back();
        EXPECT_EQ(row.err, r.err);
        EXPECT_EQ("", r.out);
    }
    EXPECT_EQ(before, ReadBytes(copy));
}

// The merge keeps one object per Id: a file's second object of an Id (a
// copy under another creation type) is renumbered, and the note says the
// file itself holds the Id, not an earlier file.
TEST(FwpolicyMerge, AnObjectRenumberedForItsOwnFileSaysSo) {
    TempDir dir;
    const std::string first =
        WrittenFile(dir.path(), "first.xml",
                    PolicyDocument("", IpObjectElement("Lan", 7, "Policy", "10.0.0.1")));
    const std::string second =
        WrittenFile(dir.path(), "second.xml",
                    PolicyDocument("", IpObjectElement("Twin", 101, "Policy", "10.1.0.1") +
                                           IpObjectElement("Twin", 101, "User", "10.2.0.2") +
                                           IpObjectElement("Copy", 7, "Policy", "10.3.0.3")));
    const std::string out = (dir.path() / "merged.xml").string();
    const ToolResult r = RunFwpolicy({"merge", first, second, "-o", out});
    ASSERT_EQ(0, r.exitStatus) << r.err;
    EXPECT_THAT(r.err, ::testing::HasSubstr(": ip object \"Twin\" renumbered 101 \u2192 "));
    EXPECT_THAT(r.err, ::testing::HasSubstr("(another object of the file holds 101)\n"));
    EXPECT_THAT(r.err, ::testing::HasSubstr(": ip object \"Copy\" renumbered 7 \u2192 "));
    EXPECT_THAT(r.err, ::testing::HasSubstr("(an earlier file holds 7)\n"));
    EXPECT_EQ(2, std::count(r.err.begin(), r.err.end(), '\n')) << r.err;
}

}  // namespace
}  // namespace fwcommon::test
