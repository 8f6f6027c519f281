#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/CreateNamedObject.h>
#include <fwcommon/IipAddressNamedObject.h>
#include "common/StartLine.h"

namespace fwcommon {
namespace {

// Item identifiers and named-object internal numbers drawn from several
// threads at once are all different.
TEST(ProcessWideCountersTest, ThreadsNeverShareAnIdentifier) {
    constexpr int kThreads = 4;
    constexpr int kPerThread = 300;
    std::vector<std::vector<std::uint32_t>> objectIds(kThreads);
    std::vector<std::vector<std::uint32_t>> itemIds(kThreads);
    test::RunTogether(kThreads, [&objectIds, &itemIds](std::size_t t) {
        for (int i = 0; i < kPerThread; ++i) {
            auto object = std::dynamic_pointer_cast<IipAddressNamedObject>(
                CreateNamedObject(L"n", L"", eIpAddressObject, User));
            objectIds[t].push_back(object->GetIdentifier());
            itemIds[t].push_back(object->CreateAddressElement(L"10.0.0.1")->GetIdentifier());
        }
    });
    std::set<std::uint32_t> objects;
    std::set<std::uint32_t> items;
    for (int t = 0; t < kThreads; ++t) {
        objects.insert(objectIds[t].begin(), objectIds[t].end());
        items.insert(itemIds[t].begin(), itemIds[t].end());
    }
    EXPECT_EQ(static_cast<std::size_t>(kThreads * kPerThread), objects.size());
    EXPECT_EQ(static_cast<std::size_t>(kThreads * kPerThread), items.size());
}

}  // namespace
}  // namespace fwcommon
