#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace fwcommon::test {

// Holds threads until all of them are ready, then lets them go together,
// so that the work a concurrency test gives them really overlaps instead of
// each thread finishing before the next one has started. Any thread may
// call Wait; each of the count threads calls it once.
class StartLine {
public:
    explicit StartLine(std::size_t count) : waiting_(count) {}

    void Wait() {
        std::unique_lock<std::mutex> lock(mutex_);
        if (--waiting_ == 0) {
            go_.notify_all();
            return;
        }
        go_.wait(lock, [this] { return waiting_ == 0; });
    }

private:
    std::mutex mutex_;
    std::condition_variable go_;
    std::size_t waiting_;
};

// Runs work(i) for i in 0..count-1 on count threads that start together,
// and joins them.
inline void RunTogether(std::size_t count, const std::function<void(std::size_t)>& work) {
    StartLine start(count);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < count; ++i) {
        threads.emplace_back([i, &start, &work] {
            start.Wait();
            work(i);
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
}

}  // namespace fwcommon::test
