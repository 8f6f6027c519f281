// Where fwpolicy's results go: a file named by -o is made no more readable
// than its sources and never reached through a planted symbolic link; a
// FIFO or a device is written into, never replaced; output that cannot be
// written fails the verb, as cat and diff fail.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fwcommon/PolicyDocument.h>
#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

constexpr int kExitFailure = 1;
constexpr int kExitTrouble = 2;

mode_t ModeOf(const fs::path& file) {
    struct stat status {};
    EXPECT_EQ(0, ::lstat(file.c_str(), &status)) << file;
    return status.st_mode;
}

// Sets the umask for the lifetime of the object.
class Umask {
public:
    explicit Umask(mode_t mask) : saved_(::umask(mask)) {}
    ~Umask() { ::umask(saved_); }
    Umask(const Umask&) = delete;
    Umask& operator=(const Umask&) = delete;

private:
    mode_t saved_;
};

class FwpolicyOutput : public ::testing::Test {
protected:
    FwpolicyOutput() : source_(GeneratedPolicy(dir_.path(), "policy.xml", "--rules 40 --seed 5")) {}

    fs::path Path(const std::string& name) const { return dir_.path() / name; }
    std::string source() const { return source_.string(); }

    TempDir dir_;
    fs::path source_;
};

// A 0600 policy came out 0644: the new file took 0666 under the umask.
TEST_F(FwpolicyOutput, ANewOutputIsNoMoreReadableThanItsSources) {
    const Umask mask(022);
    ASSERT_EQ(0, ::chmod(source_.c_str(), 0600));
    ASSERT_EQ(0,
              RunFwpolicy({"format", source(), "-o", Path("formatted.xml").string()}).exitStatus);
    EXPECT_EQ(0600u, ModeOf(Path("formatted.xml")) & 0777);

    const fs::path other = GeneratedPolicy(dir_.path(), "other.xml", "--rules 10 --seed 6");
    ASSERT_EQ(0, ::chmod(other.c_str(), 0640));
    ASSERT_EQ(0, ::chmod(source_.c_str(), 0664));
    const ToolResult merge =
        RunFwpolicy({"merge", source(), other.string(), "-o", Path("merged.xml").string()});
    ASSERT_EQ(0, merge.exitStatus) << merge.err;
    EXPECT_EQ(0640u & ~022u, ModeOf(Path("merged.xml")) & 0777) << "what both sources allow";
}

// -o followed a link planted at the output path and replaced the file it
// named, wherever that was.
TEST_F(FwpolicyOutput, ASymbolicLinkAtTheOutputPathIsNotWrittenThrough) {
    const fs::path victim = Path("victim.xml");
    WriteBytes(victim, ToBytes("precious"));
    fs::create_symlink("victim.xml", Path("to-victim.xml"));
    fs::create_symlink("nowhere.xml", Path("dangling.xml"));
    for (const char* link : {"to-victim.xml", "dangling.xml"}) {
        SCOPED_TRACE(link);
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"format", source(), "-o", Path(link).string()},
              std::vector<std::string>{"merge", source(), "-o", Path(link).string()}}) {
            const ToolResult result = RunFwpolicy(args);
            EXPECT_EQ(kExitFailure, result.exitStatus) << args[0];
            EXPECT_THAT(result.err, HasSubstr(Path(link).string() + ": is a symbolic link"));
            EXPECT_TRUE(fs::is_symlink(Path(link)));
        }
    }
    EXPECT_EQ("precious", ToString(ReadBytes(victim)));
    EXPECT_FALSE(fs::exists(Path("nowhere.xml")));
}

// merge -o and format -o replaced a read-only file, and split a file of
// two names, where an edit of that file refuses both without --force.
TEST_F(FwpolicyOutput, AReadOnlyOrHardLinkedOutputIsReplacedOnlyWithForce) {
    const fs::path readOnly = Path("rsop.xml");
    WriteBytes(readOnly, ToBytes("kept"));
    ASSERT_EQ(0, ::chmod(readOnly.c_str(), 0444));
    const fs::path linked = Path("linked.xml");
    WriteBytes(linked, ToBytes("kept"));
    fs::create_hard_link(linked, Path("other-name.xml"));
    const struct {
        fs::path output;
        std::string reason;
    } cases[] = {
        {readOnly, ": is read-only (mode 0444); give --force to replace it anyway\n"},
        {linked,
         ": has 2 hard links, which replacing it would split; give --force to replace "
         "it anyway\n"},
    };
    for (const auto& c : cases) {
        for (const char* verb : {"format", "merge"}) {
            SCOPED_TRACE(std::string(verb) + " -o " + c.output.filename().string());
            const ToolResult refused = RunFwpolicy({verb, source(), "-o", c.output.string()});
            EXPECT_EQ(kExitFailure, refused.exitStatus);
            EXPECT_EQ("fwpolicy: " + c.output.string() + c.reason, refused.err);
            EXPECT_EQ("kept", ToString(ReadBytes(c.output)));
        }
    }
    for (const auto& c : cases) {
        const ToolResult forced =
            RunFwpolicy({"merge", source(), "-o", c.output.string(), "--force"});
        EXPECT_EQ(0, forced.exitStatus) << forced.err;
        EXPECT_NO_THROW(ParsePolicyDocument(ReadBytes(c.output))) << c.output;
    }
    EXPECT_EQ(0444u, ModeOf(readOnly) & 0777) << "a replaced file keeps its mode";
    EXPECT_EQ("kept", ToString(ReadBytes(Path("other-name.xml"))));
    const ToolResult formatted =
        RunFwpolicy({"format", source(), "-o", readOnly.string(), "--force"});
    EXPECT_EQ(0, formatted.exitStatus) << formatted.err;
}

// Reads a FIFO on a thread of its own, as a pipe's reader does. The test
// holds the FIFO open for writing too until Bytes() is asked, so that the
// reader neither waits for a writer nor stops before the tool has written
// (and is not left waiting when the tool replaced the FIFO instead).
class FifoReader {
public:
    explicit FifoReader(const fs::path& fifo)
        : keeper_(::open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC)),
          in_(::open(fifo.c_str(), O_RDONLY | O_CLOEXEC)),
          thread_([this] { Read(); }) {
        EXPECT_GE(keeper_, 0);
        EXPECT_GE(in_, 0);
    }
    ~FifoReader() {
        if (thread_.joinable())
            Bytes();
    }
    FifoReader(const FifoReader&) = delete;
    FifoReader& operator=(const FifoReader&) = delete;

    std::string Bytes() {
        ::close(keeper_);
        thread_.join();
        ::close(in_);
        return bytes_;
    }

private:
    void Read() {
        char chunk[4096];
        for (ssize_t n; (n = ::read(in_, chunk, sizeof chunk)) > 0;)
            bytes_.append(chunk, static_cast<std::size_t>(n));
    }

    int keeper_;
    int in_;
    std::string bytes_;
    std::thread thread_;
};

// A FIFO (or, as root, /dev/null) named by -o was replaced by a regular
// file holding the output.
TEST_F(FwpolicyOutput, AFifoOrADeviceIsWrittenIntoAndStaysWhatItWas) {
    const fs::path fifo = Path("pipe");
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    const ToolResult formatted = RunFwpolicy({"format", source(), "-o", "-"});
    ASSERT_EQ(0, formatted.exitStatus) << formatted.err;
    EXPECT_NO_THROW(ParsePolicyDocument(ToBytes(formatted.out)));
    {
        FifoReader reader(fifo);
        const ToolResult result = RunFwpolicy({"format", source(), "-o", fifo.string()});
        EXPECT_EQ(0, result.exitStatus) << result.err;
        const std::string written = reader.Bytes();
        EXPECT_EQ(formatted.out.size(), written.size());
        EXPECT_TRUE(formatted.out == written) << "the document format writes to standard output";
    }
    EXPECT_TRUE(S_ISFIFO(ModeOf(fifo)));

    const ToolResult merged = RunFwpolicy({"merge", source(), "-o", "-"});
    ASSERT_EQ(0, merged.exitStatus) << merged.err;
    EXPECT_NO_THROW(ParsePolicyDocument(ToBytes(merged.out)));

    // A null device of the test's own: only root may make one.
    const fs::path null = Path("null");
    if (::mknod(null.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0)
        GTEST_SKIP() << "making a character device needs root";
    for (const char* verb : {"format", "merge"}) {
        const ToolResult result = RunFwpolicy({verb, source(), "-o", null.string()});
        EXPECT_EQ(0, result.exitStatus) << verb << ": " << result.err;
        EXPECT_TRUE(S_ISCHR(ModeOf(null))) << verb;
    }
}

struct Outcome {
    int exitStatus = -1;
    std::string err;
};

// Runs fwpolicy with its standard output on the descriptor given and its
// standard error in errFile, SIGPIPE ignored as a shell script may have it.
Outcome RunWithOutput(const std::vector<std::string>& arguments, int out, const fs::path& errFile) {
    const pid_t pid = StartFwpolicy(arguments, [out, &errFile] {
        ::signal(SIGPIPE, SIG_IGN);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
    });
    int status = 0;
    ::waitpid(pid, &status, 0);
    Outcome outcome;
    outcome.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    outcome.err = ToString(ReadBytes(errFile));
    return outcome;
}

// show > /dev/full and show into a pipe nobody reads exited 0.
TEST_F(FwpolicyOutput, OutputThatCannotBeWrittenFailsTheVerb) {
    const fs::path changed = Path("changed.xml");
    const ToolResult disabled = RunFwpolicy(
        {"rule", "disable", source(), "--section", "transit", "--index", "0", "--dry-run=full"});
    ASSERT_EQ(0, disabled.exitStatus) << disabled.err;
    WriteBytes(changed, ToBytes(disabled.out));
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0) << "/dev/full";
    struct Row {
        std::vector<std::string> arguments;
        int exitStatus;
    };
    const std::vector<Row> rows = {
        {{"show", source()}, kExitFailure},
        {{"objects", source()}, kExitFailure},
        {{"format", source(), "-o", "-"}, kExitFailure},
        {{"diff", source(), changed.string()}, kExitTrouble},  // 1 would say "they differ"
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments[0]);
        const Outcome toFull = RunWithOutput(row.arguments, full, Path("err.txt"));
        EXPECT_EQ(row.exitStatus, toFull.exitStatus);
        EXPECT_THAT(toFull.err, HasSubstr("No space left on device"));

        int pipeEnds[2];
        ASSERT_EQ(0, ::pipe2(pipeEnds, O_CLOEXEC));
        ::close(pipeEnds[0]);  // nobody reads
        const Outcome toClosedPipe = RunWithOutput(row.arguments, pipeEnds[1], Path("err.txt"));
        ::close(pipeEnds[1]);
        EXPECT_EQ(row.exitStatus, toClosedPipe.exitStatus);
        EXPECT_THAT(toClosedPipe.err, HasSubstr("cannot write standard output: Broken pipe"));
    }
    ::close(full);
}

}  // namespace
}  // namespace fwcommon::test
