#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace fwcommon::test {

// Root of the source tree, for examples/, schema/ and tests/data/.
std::filesystem::path SourcePath(const std::string& relative);

std::vector<unsigned char> ReadBytes(const std::filesystem::path& path);
std::vector<unsigned char> ToBytes(const std::string& text);
std::string ToString(const std::vector<unsigned char>& bytes);
void WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);

// Writes dir/name with bench/gen-policy and the arguments ("--rules 300
// --seed 9") and returns its path; a generator that fails fails the test.
std::filesystem::path GeneratedPolicy(const std::filesystem::path& dir, const std::string& name,
                                      const std::string& arguments);

// A fresh directory under the system's temporary directory, removed when
// the object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace fwcommon::test
