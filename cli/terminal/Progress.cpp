#include "terminal/Progress.h"

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>

#include "terminal/SafeText.h"

namespace fwpolicy::terminal {
namespace {

using Clock = std::chrono::steady_clock;

// Work shorter than this shows nothing.
constexpr auto kQuietTime = std::chrono::seconds(1);
constexpr auto kRedrawInterval = std::chrono::milliseconds(250);
constexpr const char* kClearLine = "\r\x1b[K";

struct Stage {
    std::string what;
};

// The stages running and the thread that draws the innermost one.
class ProgressLine {
public:
    static ProgressLine& Get() {
        static ProgressLine line;
        return line;
    }

    void SetShown(bool shown) {
        std::lock_guard<std::mutex> lock(mutex_);
        shown_ = shown;
        ClearLocked();
    }

    void WriteBeside(const char* data, std::size_t size, const std::function<void()>& write) {
        std::lock_guard<std::mutex> lock(mutex_);
        ClearLocked();
        write();
        if (size > 0)
            atLineStart_ = data[size - 1] == '\n';
    }

    unsigned long Open(std::string what) {
        std::lock_guard<std::mutex> lock(mutex_);
        const unsigned long id = ++lastId_;
        stages_[id] = Stage{std::move(what)};
        if (shown_ && !drawer_.joinable() && isatty(STDERR_FILENO) == 1)
            drawer_ = std::thread([this] { Draw(); });
        changed_.notify_all();
        return id;
    }

    void Close(unsigned long id) {
        std::lock_guard<std::mutex> lock(mutex_);
        stages_.erase(id);
        ClearLocked();
        changed_.notify_all();
    }

    void Finish() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
            changed_.notify_all();
        }
        if (drawer_.joinable())
            drawer_.join();
    }

private:
    ProgressLine() = default;
    ~ProgressLine() { Finish(); }

    void ClearLocked() {
        if (!drawn_)
            return;
        std::fputs(kClearLine, stderr);
        std::fflush(stderr);
        drawn_ = false;
    }

    void Draw() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!finished_) {
            changed_.wait_for(lock, kRedrawInterval);
            if (finished_ || stages_.empty() || !shown_ || !atLineStart_)
                continue;
            const Stage& innermost = stages_.rbegin()->second;
            const auto running = Clock::now() - processStart_;
            if (running < kQuietTime)
                continue;
            const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(running).count();
            std::fprintf(stderr, "%sfwpolicy: %s… %llds", kClearLine,
                         Printable(innermost.what).c_str(), static_cast<long long>(seconds));
            std::fflush(stderr);
            drawn_ = true;
        }
        ClearLocked();
    }

    const Clock::time_point processStart_ = Clock::now();
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<unsigned long, Stage> stages_;
    unsigned long lastId_ = 0;
    bool shown_ = true;
    bool drawn_ = false;
    bool atLineStart_ = true;
    bool finished_ = false;
    std::thread drawer_;
};

}  // namespace

ProgressStage::ProgressStage(std::string what) : id_(ProgressLine::Get().Open(std::move(what))) {}

ProgressStage::~ProgressStage() {
    ProgressLine::Get().Close(id_);
}

void SetProgressShown(bool shown) {
    ProgressLine::Get().SetShown(shown);
}

void WriteBesideProgress(const char* data, std::size_t size, const std::function<void()>& write) {
    ProgressLine::Get().WriteBeside(data, size, write);
}

void FinishProgress() {
    ProgressLine::Get().Finish();
}

}  // namespace fwpolicy::terminal
