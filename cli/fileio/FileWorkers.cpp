#include "fileio/FileWorkers.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

namespace fwpolicy {
namespace {

// What one job left behind, until it is its turn to be printed.
struct JobOutput {
    std::ostringstream out;
    std::ostringstream err;
    std::exception_ptr failure;
    bool done = false;
};

class JobPool {
public:
    JobPool(std::size_t count, const FileJob& job) : job_(job), outputs_(count) {}

    // Takes jobs until none is left.
    void Work() {
        for (std::size_t index = next_++; index < outputs_.size(); index = next_++) {
            JobOutput& output = outputs_[index];
            try {
                job_(index, output.out, output.err);
            } catch (...) {
                output.failure = std::current_exception();
            }
            std::lock_guard<std::mutex> lock(mutex_);
            output.done = true;
            finished_.notify_all();
        }
    }

    // Prints the jobs' output in index order, up to and including the first
    // job that failed; returns that job's failure.
    std::exception_ptr PrintInOrder(std::ostream& out, std::ostream& err) {
        for (JobOutput& output : outputs_) {
            {
                std::unique_lock<std::mutex> lock(mutex_);
                finished_.wait(lock, [&output] { return output.done; });
            }
            out << output.out.str();
            out.flush();
            err << output.err.str();
            if (output.failure)
                return output.failure;
        }
        return nullptr;
    }

private:
    const FileJob& job_;
    std::vector<JobOutput> outputs_;
    std::atomic<std::size_t> next_{0};
    std::mutex mutex_;
    std::condition_variable finished_;
};

void RunInCallingThread(std::size_t count, const FileJob& job, std::ostream& out,
                        std::ostream& err) {
    for (std::size_t index = 0; index < count; ++index)
        job(index, out, err);
}

}  // namespace

unsigned DefaultWorkerCount() {
    return std::max(1u, std::thread::hardware_concurrency());
}

void RunFileJobs(std::size_t count, unsigned workers, const FileJob& job, std::ostream& out,
                 std::ostream& err) {
    const std::size_t threads = std::min<std::size_t>(workers, count);
    if (threads <= 1) {
        RunInCallingThread(count, job, out, err);
        return;
    }
    JobPool pool(count, job);
    std::vector<std::thread> workerThreads;
    for (std::size_t i = 0; i < threads; ++i)
        workerThreads.emplace_back([&pool] { pool.Work(); });
    const std::exception_ptr failure = pool.PrintInOrder(out, err);
    for (std::thread& thread : workerThreads)
        thread.join();
    if (failure)
        std::rethrow_exception(failure);
}

}  // namespace fwpolicy
