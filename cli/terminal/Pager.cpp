#include "terminal/Pager.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <streambuf>
#include <string>
#include <utility>

#include "terminal/OutputSettings.h"
#include "terminal/Progress.h"

extern char** environ;

namespace fwpolicy::terminal {
namespace {

constexpr const char* kDefaultPager = "less";

pid_t pagerProcess = -1;

// The pager's command line, or empty for none.
std::string PagerCommand() {
    for (const char* variable : {"FWPOLICY_PAGER", "PAGER"}) {
        if (const char* value = std::getenv(variable))
            return std::string(value) == "cat" ? "" : value;
    }
    return kDefaultPager;
}

// Starts `command` reading from the returned descriptor; -1 when it cannot
// be started. The default pager is started by name, so that a machine
// without it simply prints unpaged; a chosen one through the shell.
int SpawnPager(const std::string& command) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
    setenv("LESS", "FRX", 0);
    setenv("LV", "-c", 0);
    std::string shell = "sh", option = "-c", text = command;
    char* byName[] = {text.data(), nullptr};
    char* byShell[] = {shell.data(), option.data(), text.data(), nullptr};
    const bool plain = command == kDefaultPager;
    const int failed = posix_spawnp(&pagerProcess, plain ? text.c_str() : "sh", &actions, nullptr,
                                    plain ? byName : byShell, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[0]);
    if (failed != 0) {
        pagerProcess = -1;
        close(ends[1]);
        return -1;
    }
    return ends[1];
}

// Whether a pager now reads standard output.
bool StartPager() {
    const std::string command = PagerCommand();
    if (command.empty())
        return false;
    const int pipeEnd = SpawnPager(command);
    if (pipeEnd < 0)
        return false;
    std::fflush(stdout);
    dup2(pipeEnd, STDOUT_FILENO);
    close(pipeEnd);
    return true;
}

// Passes everything to std::cout's own buffer, deciding at the first byte
// whether a pager is started first. Without a pager the output shares the
// terminal with the progress line.
class PagerStart : public std::streambuf {
public:
    PagerStart(std::streambuf* target, std::function<bool()> wanted)
        : target_(target), wanted_(std::move(wanted)) {}

    std::streambuf* target() const { return target_; }

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const char byte = static_cast<char>(c);
        return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        Decide();
        if (paged_)
            return target_->sputn(s, n);
        std::streamsize written = 0;
        // Standard output is line-buffered on a terminal: a finished line
        // is on the screen before the progress line can be drawn again.
        WriteBesideProgress(s, static_cast<std::size_t>(n),
                            [&] { written = target_->sputn(s, n); });
        return written;
    }
    int sync() override { return target_->pubsync(); }

private:
    void Decide() {
        if (decided_)
            return;
        decided_ = true;
        if (wanted_())
            paged_ = StartPager();
        if (paged_)
            SetProgressShown(false);  // the pager owns the terminal now
    }

    std::streambuf* target_;
    std::function<bool()> wanted_;
    bool decided_ = false;
    bool paged_ = false;
};

PagerStart* installed = nullptr;

}  // namespace

void PageStandardOutput(std::function<bool()> wanted) {
    // Asking measures the terminal while standard output is still the terminal.
    if (installed != nullptr || !StandardOutputIsTerminal())
        return;
    installed = new PagerStart(std::cout.rdbuf(), std::move(wanted));
    std::cout.rdbuf(installed);
}

void FinishPager() {
    std::cout.flush();
    if (installed != nullptr) {
        std::cout.rdbuf(installed->target());
        delete installed;
        installed = nullptr;
    }
    if (pagerProcess < 0)
        return;
    std::fflush(stdout);
    close(STDOUT_FILENO);
    int status = 0;
    while (waitpid(pagerProcess, &status, 0) < 0 && errno == EINTR) {
    }
    pagerProcess = -1;
}

}  // namespace fwpolicy::terminal
