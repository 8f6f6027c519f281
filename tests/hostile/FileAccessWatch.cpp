#include "hostile/FileAccessWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace fwcommon::test {
namespace {

constexpr std::uint32_t kWatched = IN_OPEN | IN_ACCESS | IN_CREATE | IN_MODIFY;

std::string Describe(const inotify_event& event) {
    const char* what = (event.mask & IN_OPEN)     ? "open"
                       : (event.mask & IN_ACCESS) ? "read"
                       : (event.mask & IN_CREATE) ? "create"
                                                  : "write";
    return std::string(what) + " " + (event.len > 0 ? event.name : ".");
}

}  // namespace

FileAccessWatch::FileAccessWatch(const std::filesystem::path& directory)
    : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (fd_ < 0 || inotify_add_watch(fd_, directory.c_str(), kWatched) < 0) {
        throw std::runtime_error("inotify: " + std::string(std::strerror(errno)));
    }
}

FileAccessWatch::~FileAccessWatch() {
    close(fd_);
}

std::vector<std::string> FileAccessWatch::Events() {
    std::vector<std::string> events;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t length = read(fd_, buffer, sizeof buffer);
        if (length <= 0) {
            break;  // EAGAIN: nothing more queued
        }
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            events.push_back(Describe(*event));
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return events;
}

}  // namespace fwcommon::test
