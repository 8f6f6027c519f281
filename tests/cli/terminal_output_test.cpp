// Output for a person at a terminal and for a program: on a terminal the
// tables fit its width, colour appears and the read verbs are paged; piped,
// the output is the full plain text. The terminal is a real pseudo-terminal
// of 80 columns.

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sys/stat.h>

#include <fcntl.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "cli/RunTool.h"
#include "common/TestFiles.h"
#include "terminal/DisplayWidth.h"

namespace fwcommon::test {
namespace {

constexpr unsigned short kColumns = 80;
constexpr unsigned short kRows = 500;  // so that no pager would wait for a key
constexpr auto kPatience = std::chrono::seconds(60);

struct TerminalRun {
    int exitStatus = -1;
    std::string out;  // standard output and error, as the terminal shows them
};

// Runs fwpolicy on a pseudo-terminal of kColumns columns with the given
// variables set (an empty value unsets one) and collects what it shows.
TerminalRun RunOnTerminal(const std::vector<std::string>& arguments,
                          const std::vector<std::pair<std::string, std::string>>& variables) {
    ToolCommandLine command(arguments);
    winsize size{};
    size.ws_col = kColumns;
    size.ws_row = kRows;
    int terminal = -1;
    const pid_t pid = forkpty(&terminal, nullptr, nullptr, &size);
    if (pid < 0)
        throw std::runtime_error("forkpty failed");
    if (pid == 0) {
        for (const auto& [name, value] : variables) {
            if (value.empty())
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), value.c_str(), 1);
        }
        execv(FWPOLICY_PATH, command.argv());
        _exit(127);
    }
    TerminalRun run;
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    char buffer[4096];
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd ready{terminal, POLLIN, 0};
        if (poll(&ready, 1, 1000) <= 0)
            continue;
        const ssize_t got = read(terminal, buffer, sizeof buffer);
        if (got <= 0)
            break;  // EIO once the tool and its pager have closed the terminal
        run.out.append(buffer, static_cast<std::size_t>(got));
    }
    close(terminal);
    if (std::chrono::steady_clock::now() >= deadline)
        kill(pid, SIGKILL);  // a hung tool fails the test instead of stopping it
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The lines as the terminal shows them: carriage returns dropped, colour
// sequences removed.
std::vector<std::string> ShownLines(const std::string& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\x1b' && i + 1 < text.size() && text[i + 1] == '[') {
            i = text.find('m', i);
            continue;
        }
        if (text[i] != '\r')
            plain += text[i];
    }
    std::vector<std::string> lines;
    std::istringstream in(plain);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::size_t WidestLine(const std::string& text) {
    std::size_t widest = 0;
    for (const auto& line : ShownLines(text))
        widest = std::max(widest, fwpolicy::terminal::DisplayWidth(line));
    return widest;
}

bool HasColour(const std::string& text) {
    return text.find("\x1b[") != std::string::npos;
}

const std::string& Example() {
    static const std::string path = SourcePath("examples/policy.xml").string();
    return path;
}

// No pager, no colour preference of the machine running the tests.
const std::vector<std::pair<std::string, std::string>> kPlainTerminal = {
    {"FWPOLICY_PAGER", "cat"}, {"NO_COLOR", ""}, {"TERM", "xterm"}, {"COLUMNS", ""}};

std::vector<std::pair<std::string, std::string>> With(std::string name, std::string value) {
    auto variables = kPlainTerminal;
    variables.emplace_back(std::move(name), std::move(value));
    return variables;
}

TEST(TerminalOutput, TablesFitEightyColumnsAndHeadingsAreColoured) {
    for (const std::vector<std::string>& verb :
         {std::vector<std::string>{"show", Example()},
          {"objects", Example()},
          {"where-used", Example(), "--object", "Office LAN"}}) {
        const TerminalRun run = RunOnTerminal(verb, kPlainTerminal);
        SCOPED_TRACE(verb.front());
        EXPECT_EQ(0, run.exitStatus) << run.out;
        EXPECT_LE(WidestLine(run.out), kColumns) << run.out;
        EXPECT_NE(std::string::npos, run.out.find("\x1b[1m")) << "a bold heading";
        EXPECT_NE(std::string::npos, run.out.find("…")) << "cut cells show that they are cut";
    }
}

TEST(TerminalOutput, PipedOutputIsFullAndPlain) {
    const ToolResult piped = RunFwpolicy({"show", Example()});
    EXPECT_EQ(0, piped.exitStatus);
    EXPECT_FALSE(HasColour(piped.out));
    EXPECT_GT(WidestLine(piped.out), kColumns);
    EXPECT_NE(std::string::npos, piped.out.find("Drop everything else to the node"));
    EXPECT_EQ(std::string::npos, piped.out.find("…"));

    const ToolResult forced = RunFwpolicy({"--color=always", "lint", Example()});
    EXPECT_NE(std::string::npos, forced.out.find("\x1b[33mwarning\x1b[0m")) << forced.out;
}

TEST(TerminalOutput, ColourAndWidthFollowTheOptionsAndNoColor) {
    struct Row {
        const char* what;
        std::vector<std::string> arguments;
        std::vector<std::pair<std::string, std::string>> variables;
        bool colour;
        bool fits;
    };
    const std::vector<Row> rows = {
        {"NO_COLOR set", {"show", Example()}, With("NO_COLOR", "1"), false, true},
        {"TERM dumb", {"show", Example()}, With("TERM", "dumb"), false, true},
        {"--color=never", {"--color=never", "show", Example()}, kPlainTerminal, false, true},
        {"--color=always beats NO_COLOR",
         {"--color=always", "show", Example()},
         With("NO_COLOR", "1"),
         true,
         true},
        {"--wide", {"show", Example(), "--wide"}, kPlainTerminal, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const TerminalRun run = RunOnTerminal(row.arguments, row.variables);
        EXPECT_EQ(0, run.exitStatus) << run.out;
        EXPECT_EQ(row.colour, HasColour(run.out)) << run.out;
        EXPECT_EQ(row.fits, WidestLine(run.out) <= kColumns) << run.out;
    }
}

TEST(TerminalOutput, ReadVerbsArePagedAndEditsAreNot) {
    const auto paging = With("FWPOLICY_PAGER", "sed 's/^/paged: /'");
    const TerminalRun shown = RunOnTerminal({"show", Example()}, paging);
    EXPECT_EQ(0, shown.exitStatus);
    EXPECT_NE(std::string::npos, shown.out.find("paged: local rules (3)")) << shown.out;

    const TerminalRun unpaged = RunOnTerminal({"--no-pager", "show", Example()}, paging);
    EXPECT_EQ(std::string::npos, unpaged.out.find("paged:")) << unpaged.out;
    EXPECT_NE(std::string::npos, unpaged.out.find("local rules (3)"));

    const TempDir dir;
    const auto copy = (dir.path() / "policy.xml").string();
    WriteBytes(copy, ReadBytes(Example()));
    const TerminalRun edited = RunOnTerminal(
        {"rule", "disable", copy, "--section", "local", "--index", "1", "--drop-comments"}, paging);
    EXPECT_EQ(0, edited.exitStatus) << edited.out;
    EXPECT_EQ(std::string::npos, edited.out.find("paged:")) << edited.out;
}

// A policy that arrives through a FIFO after `delay`: the tool's load of it
// lasts at least that long.
class SlowPolicy {
public:
    explicit SlowPolicy(std::chrono::milliseconds delay) : path_(dir_.path() / "slow.xml") {
        if (mkfifo(path_.c_str(), 0600) != 0)
            throw std::runtime_error("mkfifo failed");
        writer_ = open(path_.c_str(), O_RDWR | O_CLOEXEC);  // a writer the reader waits for
        feeder_ = std::thread([this, delay] {
            std::this_thread::sleep_for(delay);
            const auto bytes = ReadBytes(Example());
            (void)!write(writer_, bytes.data(), bytes.size());
            close(writer_);
        });
    }
    ~SlowPolicy() { feeder_.join(); }
    std::string path() const { return path_.string(); }

private:
    TempDir dir_;
    std::filesystem::path path_;
    int writer_ = -1;
    std::thread feeder_;
};

constexpr auto kSlowLoad = std::chrono::milliseconds(2500);
const std::string kLoadingLine = "fwpolicy: loading ";

TEST(TerminalOutput, ALongLoadShowsProgressThatIsClearedAfterwards) {
    SlowPolicy policy(kSlowLoad);
    const TerminalRun run = RunOnTerminal({"check", policy.path()}, kPlainTerminal);
    EXPECT_EQ(0, run.exitStatus) << run.out;
    const std::size_t progress = run.out.find(kLoadingLine + policy.path() + "…");
    ASSERT_NE(std::string::npos, progress) << run.out;
    const std::size_t result = run.out.find(policy.path() + ": ok");
    ASSERT_NE(std::string::npos, result) << run.out;
    EXPECT_LT(progress, result);
    EXPECT_NE(std::string::npos, run.out.rfind("\r\x1b[K", result)) << "the line is cleared";
}

TEST(TerminalOutput, QuietOrNoTerminalShowsNoProgress) {
    {
        SlowPolicy policy(kSlowLoad);
        const TerminalRun run = RunOnTerminal({"-q", "check", policy.path()}, kPlainTerminal);
        EXPECT_EQ(0, run.exitStatus) << run.out;
        EXPECT_EQ(std::string::npos, run.out.find(kLoadingLine)) << run.out;
    }
    SlowPolicy policy(kSlowLoad);
    const ToolResult piped = RunFwpolicy({"check", policy.path()});
    EXPECT_EQ(0, piped.exitStatus) << piped.err;
    EXPECT_EQ("", piped.err);
}

}  // namespace
}  // namespace fwcommon::test
