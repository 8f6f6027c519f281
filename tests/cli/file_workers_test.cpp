// The worker pool of the verbs whose files are independent: every job runs
// once, output comes out in index order, failures stop the output where a
// run one after another would have stopped.

#include <atomic>
#include <chrono>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "fileio/FileWorkers.h"

namespace fwpolicy {
namespace {

constexpr unsigned kWorkers = 4;

std::string Numbered(const std::string& what, std::size_t from, std::size_t to) {
    std::string text;
    for (std::size_t i = from; i < to; ++i)
        text += what + ' ' + std::to_string(i) + '\n';
    return text;
}

TEST(FileWorkers, OutputFollowsTheIndexWhenLaterJobsFinishFirst) {
    constexpr std::size_t kJobs = 8;
    std::ostringstream out, err;
    RunFileJobs(
        kJobs, kWorkers,
        [](std::size_t index, std::ostream& jobOut, std::ostream& jobErr) {
            // The first jobs take longest, so they finish last.
            std::this_thread::sleep_for(std::chrono::milliseconds(5 * (kJobs - index)));
            jobOut << "out " << index << '\n';
            jobErr << "err " << index << '\n';
        },
        out, err);
    EXPECT_EQ(Numbered("out", 0, kJobs), out.str());
    EXPECT_EQ(Numbered("err", 0, kJobs), err.str());
}

TEST(FileWorkers, EveryJobRunsExactlyOnceOnSeveralThreads) {
    constexpr std::size_t kJobs = 200;
    std::vector<std::atomic<int>> runs(kJobs);
    std::vector<std::thread::id> threads(kJobs);
    std::ostringstream out, err;
    RunFileJobs(
        kJobs, kWorkers,
        [&](std::size_t index, std::ostream&, std::ostream&) {
            ++runs[index];
            threads[index] = std::this_thread::get_id();
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        },
        out, err);
    for (std::size_t i = 0; i < kJobs; ++i)
        EXPECT_EQ(1, runs[i].load()) << "job " << i;
    for (const std::thread::id& id : threads)
        EXPECT_NE(std::this_thread::get_id(), id) << "jobs run on the workers";
}

TEST(FileWorkers, OneWorkerRunsInTheCallingThreadOnTheGivenStreams) {
    std::ostringstream out, err;
    std::vector<bool> direct;
    const std::thread::id caller = std::this_thread::get_id();
    RunFileJobs(
        3, 1,
        [&](std::size_t, std::ostream& jobOut, std::ostream& jobErr) {
            direct.push_back(&jobOut == &out && &jobErr == &err &&
                             std::this_thread::get_id() == caller);
        },
        out, err);
    EXPECT_EQ(std::vector<bool>(3, true), direct);
}

TEST(FileWorkers, AFailureEndsTheOutputAfterItsOwnAndIsThrown) {
    for (const unsigned workers : {1u, kWorkers}) {
        std::ostringstream out, err;
        const auto run = [&] {
            RunFileJobs(
                6, workers,
                [](std::size_t index, std::ostream& jobOut, std::ostream&) {
                    jobOut << "out " << index << '\n';
                    if (index == 2)
                        throw std::runtime_error("job 2 failed");
                },
                out, err);
        };
        EXPECT_THROW(run(), std::runtime_error) << workers << " workers";
        EXPECT_EQ(Numbered("out", 0, 3), out.str()) << workers << " workers";
    }
}

TEST(FileWorkers, NoJobsIsNoOutput) {
    std::ostringstream out, err;
    RunFileJobs(
        0, kWorkers, [](std::size_t, std::ostream&, std::ostream&) { FAIL(); }, out, err);
    EXPECT_EQ("", out.str());
}

}  // namespace
}  // namespace fwpolicy
