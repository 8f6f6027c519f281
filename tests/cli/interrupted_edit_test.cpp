// An edit interrupted while it writes leaves no temporary file behind: a
// full-size hidden copy of the policy must not stay beside it. The signal
// is sent once the edit's temporary file is there.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/PolicyDocument.h>
#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

// Large enough that writing and syncing the new file takes a moment.
constexpr const char* kLargePolicy = "--rules 3000 --seed 12";
constexpr int kAttempts = 20;
constexpr auto kPollInterval = std::chrono::microseconds(200);

// Starts fwpolicy with the handled signals at their defaults (whatever
// the test runner has) and its output thrown away.
pid_t StartTool(const std::vector<std::string>& arguments) {
    return StartFwpolicy(arguments, [] {
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP})
            ::signal(signal, SIG_DFL);
        ::freopen("/dev/null", "w", stdout);
        ::freopen("/dev/null", "w", stderr);
    });
}

bool HoldsHiddenFile(const fs::path& dir) {
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().filename().string().front() == '.')
            return true;
    }
    return false;
}

// Runs one edit and sends the signal as soon as a temporary file appears;
// true when the signal ended the edit.
bool InterruptedWhileWriting(const fs::path& file, int signal) {
    const pid_t pid = StartTool({"rule", "add", file.string(), "--section", "local", "--name",
                                 "Interrupted", "--action", "drop"});
    int status = 0;
    for (;;) {
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return false;  // done before a temporary file was seen
        if (HoldsHiddenFile(file.parent_path())) {
            ::kill(pid, signal);
            ::waitpid(pid, &status, 0);
            return WIFSIGNALED(status) && WTERMSIG(status) == signal;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

TEST(FwpolicyInterruptedEdit, ASignalWhileTheFileIsReplacedLeavesNoTemporaryFile) {
    const TempDir dir;
    const fs::path file = GeneratedPolicy(dir.path(), "policy.xml", kLargePolicy);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        int interrupted = 0;
        for (int attempt = 0; attempt < kAttempts && interrupted == 0; ++attempt) {
            interrupted += InterruptedWhileWriting(file, signal) ? 1 : 0;
            const std::vector<std::string> entries = DirectoryEntries(dir.path());
            EXPECT_EQ(std::vector<std::string>{"policy.xml"}, entries);
            for (const std::string& entry : entries) {
                if (entry != "policy.xml")
                    fs::remove(dir.path() / entry);  // so that the next attempt starts clean
            }
            EXPECT_NO_THROW(ParsePolicyDocument(ReadBytes(file)));
        }
        EXPECT_EQ(1, interrupted) << "no edit was interrupted while it wrote";
    }
}

}  // namespace
}  // namespace fwcommon::test
