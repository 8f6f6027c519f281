// A verb leaves the document it is done with to the end of the process;
// a process that loads one document after another (several files, -j)
// must still hold no more than one of them.

#include <memory>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ProcessEnd.h"

namespace fwcommon::test {
namespace {

TEST(LeaveToProcessEnd, KeepsOnlyTheLastObjectHandedOver) {
    auto first = std::make_shared<std::vector<int>>(1000);
    auto second = std::make_shared<std::vector<int>>(1000);
    const std::weak_ptr<std::vector<int>> firstKept = first;
    const std::weak_ptr<std::vector<int>> secondKept = second;

    fwpolicy::LeaveToProcessEnd(std::move(first));
    EXPECT_FALSE(firstKept.expired()) << "the object handed over was freed at once";
    fwpolicy::LeaveToProcessEnd(std::move(second));
    EXPECT_TRUE(firstKept.expired()) << "an earlier object is still kept";
    EXPECT_FALSE(secondKept.expired());
}

TEST(LeaveToProcessEnd, KeepsOneObjectWhenThreadsHandOverAtOnce) {
    constexpr int kThreads = 4;
    constexpr int kObjectsEach = 200;
    std::vector<std::weak_ptr<int>> kept(kThreads * kObjectsEach);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &kept] {
            for (int i = 0; i < kObjectsEach; ++i) {
                auto object = std::make_shared<int>(i);
                kept[t * kObjectsEach + i] = object;
                fwpolicy::LeaveToProcessEnd(std::move(object));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    int alive = 0;
    for (const auto& object : kept) {
        alive += object.expired() ? 0 : 1;
    }
    EXPECT_EQ(alive, 1);
}

}  // namespace
}  // namespace fwcommon::test
