#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace fwcommon::test {

// Watches one directory (inotify) for any file in it being opened, read,
// created or written, so a test can show that the library never touched a
// file that a hostile document names. Linux only; one thread.
class FileAccessWatch {
public:
    explicit FileAccessWatch(const std::filesystem::path& directory);
    ~FileAccessWatch();
    FileAccessWatch(const FileAccessWatch&) = delete;
    FileAccessWatch& operator=(const FileAccessWatch&) = delete;

    // The events seen since the last call, as "open secret.txt" and the
    // like; empty when nothing happened.
    std::vector<std::string> Events();

private:
    int fd_;
};

}  // namespace fwcommon::test
