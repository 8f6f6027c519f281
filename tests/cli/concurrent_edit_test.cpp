// Edits of one file by several fwpolicy processes at once: each waits for
// the others' lock, so no update is lost; a file the user may not write, or
// whose replacement would split hard links, is refused unless --force.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

// A generated policy large enough that an edit takes a while, so that two
// edits started together overlap.
constexpr const char* kOverlappingEdits = "--rules 300 --seed 9";

std::vector<std::string> AddRule(const fs::path& file, const std::string& name) {
    return {"rule", "add", file.string(), "--section", "local", "--name", name, "--action", "drop"};
}

// Seconds an edit that must get the lock waits for it: long enough for
// another whole edit on a loaded machine under the sanitizers.
constexpr const char* kPatientWait = "600";

std::vector<std::string> PatientlyAddRule(const fs::path& file, const std::string& name) {
    std::vector<std::string> arguments = AddRule(file, name);
    arguments.insert(arguments.end(), {"--wait", kPatientWait});
    return arguments;
}

int CountOf(const std::vector<std::string>& names, const std::string& name) {
    return static_cast<int>(std::count(names.begin(), names.end(), name));
}

TEST(FwpolicyConcurrentEdits, TwoProcessesAddingRulesToOneFileLoseNeitherRule) {
    const TempDir dir;
    const fs::path file = GeneratedPolicy(dir.path(), "policy.xml", kOverlappingEdits);
    constexpr int kRounds = 5;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        const std::string first = "First " + std::to_string(round);
        const std::string second = "Second " + std::to_string(round);
        ToolResult a;
        ToolResult b;
        std::thread other([&] { b = RunFwpolicy(PatientlyAddRule(file, second)); });
        a = RunFwpolicy(PatientlyAddRule(file, first));
        other.join();
        EXPECT_EQ(0, a.exitStatus) << a.err;
        EXPECT_EQ(0, b.exitStatus) << b.err;
        const std::vector<std::string> names = ShownNames(file, "local");
        EXPECT_EQ(1, CountOf(names, first));
        EXPECT_EQ(1, CountOf(names, second));
    }
    EXPECT_EQ(std::vector<std::string>{"policy.xml"}, DirectoryEntries(dir.path()));
}

// Many pairs of edits started together on one small file, of several verbs
// and through a script: each edit either lands or says why not, and the
// file ends up holding exactly the rules of the edits that landed.
TEST(FwpolicyConcurrentEdits, TwoHundredPairsOfEditsLoseNoUpdate) {
    constexpr int kPairs = 200;
    const TempDir dir;
    const fs::path file = GeneratedPolicy(dir.path(), "policy.xml", "--rules 12 --seed 3");
    const std::size_t rulesBefore = ShownNames(file, "local").size();
    std::vector<std::string> landed;
    int failures = 0;
    for (int pair = 0; pair < kPairs; ++pair) {
        const std::string first = "Pair " + std::to_string(pair) + " first";
        const std::string second = "Pair " + std::to_string(pair) + " second";
        ToolResult a;
        ToolResult b;
        std::thread other([&] {
            if (pair % 2 == 0) {
                b = RunFwpolicy(AddRule(file, second));
            } else {
                b = RunFwpolicyWithInput({"apply", file.string()},
                                         "rule add --section local --action drop --name '" +
                                             second + "'\noption set Pair " + std::to_string(pair) +
                                             "\n");
            }
        });
        a = RunFwpolicy(AddRule(file, first));
        other.join();
        for (const auto& [result, name] : {std::pair{&a, first}, std::pair{&b, second}}) {
            if (result->exitStatus == 0) {
                landed.push_back(name);
            } else {
                ++failures;
                EXPECT_NE("", result->err) << name << ": a failure must say why";
            }
        }
    }
    const std::vector<std::string> names = ShownNames(file, "local");
    EXPECT_EQ(rulesBefore + landed.size(), names.size());
    for (const std::string& name : landed)
        EXPECT_EQ(1, CountOf(names, name)) << name;
    EXPECT_EQ(0, failures) << "the default --wait outlasts the other edit of a pair";
    EXPECT_EQ(std::vector<std::string>{"policy.xml"}, DirectoryEntries(dir.path()));
}

// Holds the lock an edit takes, as another edit would.
class HeldLock {
public:
    explicit HeldLock(const fs::path& file) : fd_(::open(file.c_str(), O_RDONLY | O_CLOEXEC)) {
        EXPECT_EQ(0, ::flock(fd_, LOCK_EX));
    }
    ~HeldLock() { Release(); }
    void Release() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

const char kSmallPolicyRule[] = "Drop all";

fs::path SmallPolicy(const fs::path& dir) {
    const fs::path file = dir / "small.xml";
    WriteBytes(file, ToBytes(PolicyDocument(RuleElement("LocalRule", 300001, 300001,
                                                        kSmallPolicyRule, "User", "Drop"))));
    return file;
}

TEST(FwpolicyConcurrentEdits, AnEditWaitsForAHeldLockAndGivesUpAfterWait) {
    const TempDir dir;
    const fs::path file = SmallPolicy(dir.path());
    const std::vector<unsigned char> before = ReadBytes(file);
    HeldLock held(file);

    std::vector<std::string> impatient = AddRule(file, "Late");
    impatient.insert(impatient.end(), {"--wait", "0.2"});
    const auto start = std::chrono::steady_clock::now();
    const ToolResult refused = RunFwpolicy(impatient);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_EQ(1, refused.exitStatus);
    EXPECT_EQ("fwpolicy: " + file.string() +
                  ": is locked by another edit; gave up after 0.2 seconds (--wait SECONDS waits "
                  "longer)\n",
              refused.err);
    EXPECT_EQ(before, ReadBytes(file));

    std::thread release([&held] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        held.Release();
    });
    const ToolResult waited = RunFwpolicy(PatientlyAddRule(file, "Patient"));
    release.join();
    EXPECT_EQ(0, waited.exitStatus) << waited.err;
    EXPECT_EQ((std::vector<std::string>{kSmallPolicyRule, "Patient"}), ShownNames(file, "local"));
}

struct ReplaceRow {
    const char* what;
    void (*prepare)(const fs::path& file);
    std::string refusal;  // after "fwpolicy: FILE: "
};

TEST(FwpolicyConcurrentEdits, FilesThatRenamingWouldSurpriseAreRefusedUnlessForced) {
    const ReplaceRow rows[] = {
        {"read-only", [](const fs::path& file) { fs::permissions(file, fs::perms(0444)); },
         "is read-only (mode 0444); give --force to replace it anyway"},
        {"no write bit at all",
         [](const fs::path& file) { fs::permissions(file, fs::perms(0400)); },
         "is read-only (mode 0400); give --force to replace it anyway"},
        {"two hard links",
         [](const fs::path& file) { fs::create_hard_link(file, file.string() + ".link"); },
         "has 2 hard links, which replacing it would split; give --force to replace it anyway"},
    };
    for (const ReplaceRow& row : rows) {
        SCOPED_TRACE(row.what);
        const TempDir dir;
        const fs::path file = SmallPolicy(dir.path());
        row.prepare(file);
        struct stat before {};
        ASSERT_EQ(0, ::stat(file.c_str(), &before));
        const std::vector<unsigned char> bytes = ReadBytes(file);

        const ToolResult refused = RunFwpolicy(AddRule(file, "Added"));
        EXPECT_EQ(1, refused.exitStatus);
        EXPECT_EQ("fwpolicy: " + file.string() + ": " + row.refusal + "\n", refused.err);
        EXPECT_EQ(bytes, ReadBytes(file));

        // The file stands in the way of writing only: an edit that changes
        // nothing, or fails, says so instead.
        const std::string prefix = "fwpolicy: " + file.string() + ": ";
        const ToolResult noop =
            RunFwpolicy({"rule", "enable", file.string(), "--section", "local", "--index", "0"});
        EXPECT_EQ(0, noop.exitStatus);
        EXPECT_EQ(prefix +
                      "local rule 300001 \"Drop all\" is already enabled; nothing to change; the "
                      "file is left as it was\n",
                  noop.err);
        const ToolResult failed =
            RunFwpolicy({"rule", "remove", file.string(), "--section", "local", "--index", "9"});
        EXPECT_EQ(1, failed.exitStatus);
        EXPECT_EQ(prefix + "section local has no rule at index 9 (1 rule)\n", failed.err);
        const ToolResult script = RunFwpolicyWithInput({"apply", file.string()},
                                                       "rule enable --section local --index 0\n");
        EXPECT_EQ(0, script.exitStatus);
        EXPECT_EQ(prefix + "nothing to change; the file is left as it was\n", script.err);
        EXPECT_EQ(bytes, ReadBytes(file));

        std::vector<std::string> forced = AddRule(file, "Added");
        forced.push_back("--force");
        const ToolResult done = RunFwpolicy(forced);
        EXPECT_EQ(0, done.exitStatus) << done.err;
        EXPECT_EQ((std::vector<std::string>{kSmallPolicyRule, "Added"}), ShownNames(file, "local"));
        struct stat after {};
        ASSERT_EQ(0, ::stat(file.c_str(), &after));
        EXPECT_EQ(before.st_mode, after.st_mode) << "the mode is kept";
    }
}

// A script of edits replaces the file once, and format rewrites it in
// place: each takes the lock an edit takes and makes the same checks.
// format took no lock, so an edit made while it ran was lost, and it
// renamed over read-only files without a word.
TEST(FwpolicyConcurrentEdits, AScriptAndFormatInPlaceTakeTheLockAndRefuseWhatAnEditRefuses) {
    const TempDir dir;
    const fs::path script = dir.path() / "edits.txt";
    WriteBytes(script, ToBytes("rule add --section local --name Scripted --action drop\n"));
    for (const std::string verb : {"apply", "format"}) {
        SCOPED_TRACE(verb);
        const TempDir own;
        const fs::path file = SmallPolicy(own.path());
        const auto run = [&](const std::vector<std::string>& options) {
            std::vector<std::string> arguments = {verb, file.string()};
            if (verb == "apply")
                arguments.push_back(script.string());
            arguments.insert(arguments.end(), options.begin(), options.end());
            return RunFwpolicy(arguments);
        };
        const std::string prefix = "fwpolicy: " + file.string() + ": ";
        const std::string more = verb == "apply" ? "; nothing was written" : "";
        const std::vector<unsigned char> before = ReadBytes(file);
        {
            HeldLock held(file);
            const ToolResult locked = run({"--wait", "0.2"});
            EXPECT_EQ(1, locked.exitStatus);
            EXPECT_EQ(prefix +
                          "is locked by another edit; gave up after 0.2 seconds (--wait SECONDS "
                          "waits longer)" +
                          more + "\n",
                      locked.err);
        }
        fs::permissions(file, fs::perms(0444));
        const ToolResult refused = run({});
        EXPECT_EQ(1, refused.exitStatus);
        EXPECT_EQ(
            prefix + "is read-only (mode 0444); give --force to replace it anyway" + more + "\n",
            refused.err);
        EXPECT_EQ(before, ReadBytes(file));

        const ToolResult forced = run({"--force"});
        EXPECT_EQ(0, forced.exitStatus) << forced.err;
        EXPECT_NE(before, ReadBytes(file));
    }
}

// A file in canonical form is not written, so it may be read-only.
TEST(FwpolicyConcurrentEdits, FormatLeavesAReadOnlyCanonicalFileAlone) {
    const TempDir dir;
    const fs::path file = SmallPolicy(dir.path());
    ASSERT_EQ(0, RunFwpolicy({"format", file.string()}).exitStatus);
    fs::permissions(file, fs::perms(0444));
    const ToolResult canonical = RunFwpolicy({"format", file.string()});
    EXPECT_EQ(0, canonical.exitStatus);
    EXPECT_EQ("", canonical.err);
}

TEST(FwpolicyConcurrentEdits, AnEditOfAFifoIsRefusedWithoutWaitingForAWriter) {
    const TempDir dir;
    const fs::path fifo = dir.path() / "policy.xml";
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    const ToolResult r = RunFwpolicy(AddRule(fifo, "X"));
    EXPECT_EQ(1, r.exitStatus);
    EXPECT_EQ("fwpolicy: " + fifo.string() +
                  ": is not a regular file; edits replace regular files only\n",
              r.err);
    EXPECT_TRUE(fs::is_fifo(fifo));
}

}  // namespace
}  // namespace fwcommon::test
