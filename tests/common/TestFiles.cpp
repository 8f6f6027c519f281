#include "common/TestFiles.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <gtest/gtest.h>

namespace fwcommon::test {

std::filesystem::path SourcePath(const std::string& relative) {
    return std::filesystem::path(FWCOMMON_SOURCE_DIR) / relative;
}

std::vector<unsigned char> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>());
}

std::vector<unsigned char> ToBytes(const std::string& text) {
    return std::vector<unsigned char>(text.begin(), text.end());
}

std::string ToString(const std::vector<unsigned char>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

void WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "fwcommon-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path GeneratedPolicy(const std::filesystem::path& dir, const std::string& name,
                                      const std::string& arguments) {
    const std::filesystem::path file = dir / name;
    const std::string command = "python3 " + SourcePath("bench/gen-policy").string() + " " +
                                arguments + " -o " + file.string() + " > /dev/null 2>&1";
    EXPECT_EQ(0, std::system(command.c_str())) << command;
    return file;
}

}  // namespace fwcommon::test
