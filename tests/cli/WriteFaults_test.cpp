// Write faults of fwpolicy's file rewrites. A failure injected at each step
// of the atomic replacement is covered by FwpolicyEdit.AFailedWriteLeaves-
// TheFileByteIdentical (edit_test.cpp). Here the process is killed with
// SIGKILL at spread-out points of a rewrite: whenever it dies, the file is
// either the old one or the complete new one, and it parses.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/PolicyDocument.h>

#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

// Starts fwpolicy with the arguments, its output thrown away; returns its
// process id.
pid_t Start(const std::vector<std::string>& arguments) {
    return StartFwpolicy(arguments, [] {
        freopen("/dev/null", "w", stdout);
        freopen("/dev/null", "w", stderr);
    });
}

int Wait(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

std::vector<std::string> AddRule(const fs::path& file) {
    return {"rule",   "add",    file.string(), "--section",      "local",
            "--name", "Killed", "--match-all", "--drop-comments"};
}

TEST(WriteFaults, AKilledRewriteLeavesTheOldOrTheWholeNewFile) {
    TempDir dir;
    const fs::path file = dir.path() / "policy.xml";
    const std::vector<unsigned char> before = ReadBytes(SourcePath("examples/policy.xml"));

    // One undisturbed run gives the new content and the length of a run.
    WriteBytes(file, before);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(0, WEXITSTATUS(Wait(Start(AddRule(file)))));
    const auto runTime = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    const std::vector<unsigned char> after = ReadBytes(file);
    ASSERT_NE(before, after);

    std::mt19937 random(20261206);
    std::uniform_int_distribution<long> delay(0, runTime.count() * 3 / 2);
    int old = 0;
    int complete = 0;
    for (int run = 0; run < 40; ++run) {
        WriteBytes(file, before);
        const pid_t pid = Start(AddRule(file));
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        kill(pid, SIGKILL);
        Wait(pid);
        const std::vector<unsigned char> found = ReadBytes(file);
        SCOPED_TRACE("run " + std::to_string(run));
        ASSERT_TRUE(found == before || found == after) << "a mixture or a truncated file";
        EXPECT_NO_THROW(ParsePolicyDocument(found));
        (found == before ? old : complete) += 1;
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            if (entry.path() != file) {
                fs::remove(entry.path());  // a temporary left by the kill
            }
        }
    }
    // Both outcomes occur, so the kills did land before and after the rename.
    RecordProperty("old", old);
    RecordProperty("complete", complete);
}

}  // namespace
}  // namespace fwcommon::test
