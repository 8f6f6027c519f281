// An edit makes sure, before it replaces a file, that the file still holds
// the bytes it was made from. The comparison reads the file in chunks, so
// a difference anywhere (in the first chunk, across a chunk's end, in the
// last byte) and any difference in length must each count.

#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/TestFiles.h"
#include "fileio/FileIo.h"

namespace fwcommon::test {
namespace {

constexpr std::size_t kSeveralChunks = 200 * 1024 + 17;

std::vector<unsigned char> Pattern(std::size_t size) {
    std::vector<unsigned char> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<unsigned char>('a' + i % 23);
    }
    return bytes;
}

struct FileCase {
    const char* name;
    std::vector<unsigned char> file;
    bool holds;
};

std::vector<unsigned char> Flipped(std::vector<unsigned char> bytes, std::size_t at) {
    bytes.at(at) ^= 0x20;
    return bytes;
}

std::vector<unsigned char> Resized(std::vector<unsigned char> bytes, std::size_t size) {
    bytes.resize(size, 'a');
    return bytes;
}

TEST(FileHolds, TellsEveryDifferenceFromTheBytesAnEditWasMadeFrom) {
    const std::vector<unsigned char> bytes = Pattern(kSeveralChunks);
    const std::size_t chunkEnd = 64 * 1024;
    const std::vector<FileCase> cases = {
        {"the same bytes", bytes, true},
        {"first byte differs", Flipped(bytes, 0), false},
        {"last byte of a chunk differs", Flipped(bytes, chunkEnd - 1), false},
        {"first byte of the next chunk differs", Flipped(bytes, chunkEnd), false},
        {"last byte differs", Flipped(bytes, bytes.size() - 1), false},
        {"one byte shorter", Resized(bytes, bytes.size() - 1), false},
        {"one byte longer", Resized(bytes, bytes.size() + 1), false},
        {"a chunk longer", Resized(bytes, bytes.size() + chunkEnd), false},
    };
    TempDir dir;
    const std::string path = (dir.path() / "policy.xml").string();
    for (const FileCase& c : cases) {
        WriteBytes(path, c.file);
        EXPECT_EQ(fwpolicy::FileHolds(path, bytes), c.holds) << c.name;
    }
}

TEST(FileHolds, SaysWhyAFileCannotBeRead) {
    TempDir dir;
    try {
        fwpolicy::FileHolds((dir.path() / "gone.xml").string(), Pattern(3));
        FAIL() << "a missing file was compared";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "cannot read: No such file or directory");
    }
    try {
        fwpolicy::FileHolds(dir.path().string(), Pattern(3));
        FAIL() << "a directory was compared";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "is a directory");
    }
}

}  // namespace
}  // namespace fwcommon::test
