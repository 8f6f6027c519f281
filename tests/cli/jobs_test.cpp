// check, lint and format --check on many files at once: what the user sees
// and the exit status are those of a run one file after another.

#include <algorithm>
#include <cstdlib>
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

constexpr const char* kParallel = "4";
// A generated policy large enough that it is still loading when the small
// files after it are done.
constexpr const char* kLargePolicy = "--rules 800";

// The same file, not canonical: a rule's text spread over extra lines.
fs::path NotCanonical(const fs::path& dir) {
    const fs::path file = dir / "loose.xml";
    std::string text = PolicyDocument(RuleElement("LocalRule", 300001, 300001, "loose"));
    text.insert(text.find("<Rule"), "\n\n");
    WriteBytes(file, ToBytes(text));
    return file;
}

std::vector<std::string> With(std::vector<std::string> arguments, const std::string& jobs,
                              const std::vector<std::string>& files) {
    arguments.push_back("--jobs");
    arguments.push_back(jobs);
    arguments.insert(arguments.end(), files.begin(), files.end());
    return arguments;
}

// What a process of its own for each file prints, one after another: the
// outputs joined, and the worst exit status.
ToolResult OneProcessPerFile(const std::vector<std::string>& verb,
                             const std::vector<std::string>& files) {
    ToolResult joined;
    joined.exitStatus = 0;
    for (const std::string& file : files) {
        const ToolResult single = RunFwpolicy(With(verb, "1", {file}));
        joined.exitStatus = std::max(joined.exitStatus, single.exitStatus);
        joined.out += single.out;
        joined.err += single.err;
    }
    return joined;
}

// The run with jobs prints what the reference prints, to the byte.
void ExpectSame(const ToolResult& reference, const ToolResult& run) {
    EXPECT_EQ(reference.exitStatus, run.exitStatus);
    EXPECT_EQ(reference.out, run.out);
    EXPECT_EQ(reference.err, run.err);
}

void ExpectSameAsOneAfterAnother(const std::vector<std::string>& verb,
                                 const std::vector<std::string>& files) {
    const ToolResult sequential = RunFwpolicy(With(verb, "1", files));
    ExpectSame(sequential, RunFwpolicy(With(verb, kParallel, files)));
    std::vector<std::string> byDefault = verb;
    byDefault.insert(byDefault.end(), files.begin(), files.end());
    ExpectSame(sequential, RunFwpolicy(byDefault));
}

// For verbs whose files know nothing of each other: the parallel run also
// prints exactly what separate processes print, so nothing one file leaves
// in the process (grammar, dictionaries, counters) shows in another's output.
void ExpectSameAsOneProcessPerFile(const std::vector<std::string>& verb,
                                   const std::vector<std::string>& files) {
    ExpectSame(OneProcessPerFile(verb, files), RunFwpolicy(With(verb, kParallel, files)));
}

class FwpolicyJobs : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        large_ = GeneratedPolicy(dir_->path(), "large.xml", kLargePolicy).string();
        loose_ = NotCanonical(dir_->path()).string();
    }
    static void TearDownTestSuite() { delete dir_; }

    // Valid, invalid, missing and large files, the large one first, some twice.
    static std::vector<std::string> Mixed() {
        return {large_,
                "examples/policy.xml",
                "tests/data/cli/lowercase-action.xml",
                "no/such/file.xml",
                loose_,
                "tests/data/cli/lint-findings.xml",
                "examples/policy.xml",
                "tests/data/cli/lowercase-action.xml"};
    }

    static TempDir* dir_;
    static std::string large_;
    static std::string loose_;
};

TempDir* FwpolicyJobs::dir_ = nullptr;
std::string FwpolicyJobs::large_;
std::string FwpolicyJobs::loose_;

TEST_F(FwpolicyJobs, CheckReportsInArgumentOrder) {
    const ToolResult r = RunFwpolicy(With({"check"}, kParallel, Mixed()));
    EXPECT_EQ(1, r.exitStatus);
    EXPECT_EQ(0u, r.out.rfind(large_ + ": ok: ", 0)) << r.out;
    ExpectSameAsOneAfterAnother({"check"}, Mixed());
    ExpectSameAsOneProcessPerFile({"check"}, Mixed());
}

TEST_F(FwpolicyJobs, CheckOfValidFilesOnlyExitsWithZero) {
    const std::vector<std::string> valid = {large_, "examples/policy.xml", loose_};
    const ToolResult r = RunFwpolicy(With({"check"}, kParallel, valid));
    EXPECT_EQ(0, r.exitStatus) << r.err;
    ExpectSameAsOneAfterAnother({"check"}, valid);
}

TEST_F(FwpolicyJobs, LintFindsTheSameInTheSameOrder) {
    ExpectSameAsOneAfterAnother({"lint"}, Mixed());
    ExpectSameAsOneAfterAnother({"lint", "--objects", "tests/data/cli/lint-objects.xml"},
                                {"tests/data/cli/lint-shared-rules.xml", large_});
    ExpectSameAsOneAfterAnother({"lint", "--objects", "no/such/objects.xml"},
                                {large_, "examples/policy.xml"});
}

TEST_F(FwpolicyJobs, FormatCheckNamesTheSameFilesInTheSameOrder) {
    const ToolResult r = RunFwpolicy(With({"format", "--check"}, kParallel, Mixed()));
    EXPECT_EQ(1, r.exitStatus);
    EXPECT_NE(std::string::npos, r.out.find(loose_ + ": not in canonical form\n")) << r.out;
    ExpectSameAsOneAfterAnother({"format", "--check"}, Mixed());
    ExpectSameAsOneProcessPerFile({"format", "--check"}, Mixed());
}

TEST_F(FwpolicyJobs, JobsMustBeAPositiveNumber) {
    for (const char* verb : {"check", "lint", "merge"}) {
        SCOPED_TRACE(verb);
        for (const char* jobs : {"0", "-3", "1025"}) {
            std::vector<std::string> args = {verb, "--jobs", jobs, "examples/policy.xml"};
            if (std::string(verb) == "merge")
                args.insert(args.end(), {"-o", "-"});
            const ToolResult r = RunFwpolicy(args);
            EXPECT_EQ(2, r.exitStatus);
            EXPECT_EQ(std::string("fwpolicy ") + verb + ": --jobs: '" + jobs +
                          "' is not a number from 1 to 1024 (see 'fwpolicy help " + verb + "')\n",
                      r.err);
        }
        EXPECT_EQ(2, RunFwpolicy({verb, "-j", "x", "examples/policy.xml"}).exitStatus);
    }
}

}  // namespace
}  // namespace fwcommon::test
