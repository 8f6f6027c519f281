// Files that never end or are far larger than a policy: the tool refuses
// them quickly, with a message naming the file and the reason, instead of
// reading gigabytes into memory or waiting for a writer. No time is
// asserted: the cases must simply finish (an unbounded read of /dev/zero
// or of an endless pipe would not).

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

using ::testing::HasSubstr;

const std::string kExample = SourcePath("examples/policy.xml").string();

constexpr int kPollMilliseconds = 20;

// A FIFO whose writer keeps writing `text` until the reading tool is done.
class EndlessFifo {
public:
    EndlessFifo(const std::filesystem::path& path, std::string text)
        : path_(path.string()), text_(std::move(text)) {
        if (::mkfifo(path_.c_str(), 0600) != 0) {
            throw std::runtime_error("cannot make a FIFO");
        }
        // Open for reading and writing: never waits for a reader, never
        // sees a closed pipe; full-pipe writes just wait for room.
        fd_ = ::open(path_.c_str(), O_RDWR | O_NONBLOCK);
        writer_ = std::thread([this] { Write(); });
    }
    ~EndlessFifo() {
        stop_ = true;
        writer_.join();
        ::close(fd_);
    }

private:
    void Write() {
        while (!stop_) {
            if (::write(fd_, text_.data(), text_.size()) < 0) {
                pollfd room{fd_, POLLOUT, 0};
                ::poll(&room, 1, kPollMilliseconds);
            }
        }
    }

    std::string path_;
    std::string text_;
    int fd_ = -1;
    std::atomic<bool> stop_{false};
    std::thread writer_;
};

TEST(BoundedInput, DevicesAndEndlessPipesAreRefusedAsTheyAreRead) {
    const ToolResult zeros = RunFwpolicy({"check", "/dev/zero"});
    EXPECT_EQ(1, zeros.exitStatus);
    EXPECT_THAT(zeros.err, HasSubstr("fwpolicy: /dev/zero: a NUL byte is not allowed in a policy "
                                     "document (at byte 0)"));

    const ToolResult random = RunFwpolicy({"check", "/dev/urandom"});
    EXPECT_EQ(1, random.exitStatus);
    EXPECT_THAT(random.err, HasSubstr("fwpolicy: /dev/urandom: "));

    TempDir dir;
    const EndlessFifo nesting(dir.path() / "nesting", "<a>");
    const ToolResult deep = RunFwpolicy({"show", (dir.path() / "nesting").string()});
    EXPECT_EQ(1, deep.exitStatus);
    EXPECT_THAT(deep.err, HasSubstr("nesting: elements are nested deeper than 256 levels"));

    const EndlessFifo text(dir.path() / "text", "y\n");
    const ToolResult longText = RunFwpolicy({"lint", (dir.path() / "text").string()});
    EXPECT_EQ(1, longText.exitStatus);
    EXPECT_THAT(longText.err, HasSubstr("text: a text is longer than 1048576 characters"));
}

TEST(BoundedInput, FifoWithoutWriterIsReadAsEmpty) {
    TempDir dir;
    const std::string fifo = (dir.path() / "fifo").string();
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
    const ToolResult result = RunFwpolicy({"check", fifo});
    EXPECT_EQ(1, result.exitStatus);
    EXPECT_THAT(result.err, HasSubstr("fifo"));
}

TEST(BoundedInput, FilesBeyondTheSizeLimitAreRefusedUnread) {
    TempDir dir;
    const auto sparse = dir.path() / "sparse.xml";
    WriteBytes(sparse, {});
    std::filesystem::resize_file(sparse, std::uintmax_t{2} << 30);
    const ToolResult result = RunFwpolicy({"check", sparse.string()});
    EXPECT_EQ(1, result.exitStatus);
    EXPECT_THAT(result.err, HasSubstr("sparse.xml: is 2147483648 bytes, more than the limit of "
                                      "1073741824 bytes (--max-size)"));

    const auto size = std::filesystem::file_size(kExample);
    EXPECT_EQ(0, RunFwpolicy({"check", "--max-size", std::to_string(size), kExample}).exitStatus);
    const ToolResult small =
        RunFwpolicy({"--max-size", std::to_string(size - 1), "show", kExample});
    EXPECT_EQ(1, small.exitStatus);
    EXPECT_THAT(small.err,
                HasSubstr("is " + std::to_string(size) + " bytes, more than the limit of " +
                          std::to_string(size - 1) + " bytes (--max-size)"));
    EXPECT_EQ(1, RunFwpolicy({"check", "--max-size", "1K", kExample}).exitStatus);
    EXPECT_EQ(0, RunFwpolicy({"check", "--max-size", "1M", kExample}).exitStatus);

    const ToolResult bad = RunFwpolicy({"check", "--max-size", "lots", kExample});
    EXPECT_EQ(2, bad.exitStatus);
    EXPECT_THAT(bad.err, HasSubstr("'lots' is not a size"));
}

TEST(BoundedInput, PipesBeyondTheSizeLimitAreRefused) {
    TempDir dir;
    const EndlessFifo comments(dir.path() / "comments", "<!-- padding -->");
    const ToolResult result =
        RunFwpolicy({"check", "--max-size", "8M", (dir.path() / "comments").string()});
    EXPECT_EQ(1, result.exitStatus);
    EXPECT_THAT(result.err,
                HasSubstr("comments: holds more than the limit of 8388608 bytes (--max-size)"));
}

TEST(BoundedInput, TrailingNulsInAFileAreRefused) {
    TempDir dir;
    const auto file = dir.path() / "trailing.xml";
    std::vector<unsigned char> bytes = ReadBytes(kExample);
    bytes.insert(bytes.end(), 64, 0);
    WriteBytes(file, bytes);
    const ToolResult result = RunFwpolicy({"check", file.string()});
    EXPECT_EQ(1, result.exitStatus);
    EXPECT_THAT(result.err, HasSubstr("a NUL byte is not allowed in a policy document"));
}

// A regular file is bounded by its size: it is read whole and its bytes
// are checked once, by the parse, whose error names the line and column.
TEST(BoundedInput, RegularFilesAreCheckedOnceByTheParse) {
    TempDir dir;
    const auto file = dir.path() / "nul.xml";
    const char text[] = "<?xml version=\"1.0\"?>\n<a>\n  x\0y</a>\n";
    WriteBytes(file, ToBytes(std::string(text, sizeof text - 1)));
    const ToolResult result = RunFwpolicy({"check", file.string()});
    EXPECT_EQ(1, result.exitStatus);
    EXPECT_THAT(result.err, HasSubstr("a NUL byte is not allowed in a policy document"));
    EXPECT_THAT(result.err, HasSubstr(":3:4"));
    EXPECT_THAT(result.err, ::testing::Not(HasSubstr("at byte")));
}

TEST(BoundedInput, ArgumentsThatAreNotUtf8AreRefused) {
    TempDir dir;
    const auto file = dir.path() / "policy.xml";
    const std::vector<unsigned char> original =
        ReadBytes(SourcePath("tests/data/cli/edit-base.xml"));
    WriteBytes(file, original);
    for (const std::string& name :
         {std::string("bad\xFFname"), std::string("\xC0\xAF"), std::string("half\xED\xA0\x80")}) {
        SCOPED_TRACE(testing::PrintToString(name));
        const ToolResult result = RunFwpolicy({"rule", "add", file.string(), "--section", "local",
                                               "--name", name, "--action", "pass", "--match-all"});
        EXPECT_EQ(2, result.exitStatus);
        EXPECT_THAT(result.err, HasSubstr("argument 7 is not valid UTF-8"));
        EXPECT_EQ(original, ReadBytes(file));
    }
    const ToolResult accented =
        RunFwpolicy({"rule", "add", file.string(), "--section", "local", "--name", "caf\xC3\xA9",
                     "--action", "pass", "--match-all"});
    EXPECT_EQ(0, accented.exitStatus) << accented.err;
}

}  // namespace
}  // namespace fwcommon::test
