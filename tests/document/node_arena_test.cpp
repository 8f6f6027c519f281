#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "document/NodeArena.h"

namespace fwcommon::document {
namespace {

// What the arena must keep: every allocation made since the last rewind
// below it holds what was written into it.
struct Allocation {
    unsigned char* bytes;
    std::size_t size;
    unsigned char fill;
};

bool Intact(const Allocation& allocation) {
    for (std::size_t i = 0; i < allocation.size; ++i) {
        if (allocation.bytes[i] != allocation.fill) {
            return false;
        }
    }
    return true;
}

// Random sequences of allocations (small, aligned, larger than a block's
// share), marks and rewinds, against a model of what is live: a rewind
// must not hand out again what is still live, nor lose what was made
// before its mark.
TEST(NodeArena, RewindsHandBackOnlyWhatCameAfterTheMark) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        std::mt19937 random(seed);
        NodeArena arena;
        std::vector<Allocation> live;
        std::vector<std::pair<NodeArena::Mark, std::size_t>> marks;  // mark, live count then
        for (int step = 0; step < 3000; ++step) {
            const unsigned what = random() % 10;
            if (what < 7) {
                const std::size_t size =
                    random() % 8 == 0 ? 20000 + random() % 70000 : random() % 200;
                const std::size_t alignment = std::size_t{1} << (random() % 4);
                auto* bytes = static_cast<unsigned char*>(arena.Allocate(size, alignment));
                ASSERT_EQ(reinterpret_cast<std::uintptr_t>(bytes) % alignment, 0u);
                const auto fill = static_cast<unsigned char>(step);
                std::memset(bytes, fill, size);
                live.push_back({bytes, size, fill});
            } else if (what < 9) {
                marks.emplace_back(arena.Here(), live.size());
            } else if (!marks.empty()) {
                arena.RewindTo(marks.back().first);
                live.resize(marks.back().second);
                marks.pop_back();
            }
        }
        for (const Allocation& allocation : live) {
            ASSERT_TRUE(Intact(allocation)) << "an allocation of " << allocation.size << " bytes";
        }
    }
}

TEST(NodeArena, CopiesAreTerminatedAndNullStaysNull) {
    NodeArena arena;
    const XMLCh text[] = u"Rule";
    const XMLCh* copy = arena.Copy(text, 2);
    EXPECT_EQ(std::u16string(copy), u"Ru");
    EXPECT_EQ(std::u16string(arena.Copy(text)), u"Rule");
    EXPECT_EQ(arena.Copy(static_cast<const XMLCh*>(nullptr)), nullptr);
}

}  // namespace
}  // namespace fwcommon::document
