#include <fwcommon/IdentifierGenerator.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "common/Thrown.h"

namespace fwcommon {
namespace {

using Segments = std::vector<IdentifierGenerator::Segment>;

// A generator whose free list is exactly the given segments (ascending).
IdentifierGenerator WithSegments(const Segments& segments) {
    IdentifierGenerator generator(segments.front().first, segments.back().second);
    for (std::size_t i = 0; i + 1 < segments.size(); ++i) {
        for (std::uint32_t id = segments[i].second + 1; id < segments[i + 1].first; ++id) {
            generator.MarkIdentifierAsBusy(id);
        }
    }
    EXPECT_EQ(generator.Segments(), segments);
    return generator;
}

TEST(IdentifierGeneratorTest, DefaultRangeIsOneSegmentOfAllNonZeroIdentifiers) {
    IdentifierGenerator generator;
    EXPECT_EQ(generator.Segments(), (Segments{{1u, 4294967295u}}));
    EXPECT_EQ(generator.GenerateIdentifier(), 1u);
}

TEST(IdentifierGeneratorTest, HandsOutAscendingFromTheFirstSegment) {
    IdentifierGenerator generator(100001, 200000);
    EXPECT_EQ(generator.GenerateIdentifier(), 100001u);
    EXPECT_EQ(generator.GenerateIdentifier(), 100002u);
    EXPECT_EQ(generator.GenerateIdentifier(), 100003u);
    EXPECT_EQ(generator.Segments(), (Segments{{100004u, 200000u}}));
}

TEST(IdentifierGeneratorTest, LastIdentifierOfASegmentErasesItAndMovesToTheNext) {
    auto generator = WithSegments({{10, 10}, {20, 30}});
    EXPECT_EQ(generator.GenerateIdentifier(), 10u);
    EXPECT_EQ(generator.Segments(), (Segments{{20u, 30u}}));
    EXPECT_EQ(generator.GenerateIdentifier(), 20u);
}

TEST(IdentifierGeneratorTest, ExhaustionThrowsAndStaysEmpty) {
    IdentifierGenerator generator(4294967294u, 4294967295u);
    EXPECT_EQ(generator.GenerateIdentifier(), 4294967294u);
    EXPECT_EQ(generator.GenerateIdentifier(), 4294967295u);
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ("invalid vector<T> subscript",
                  test::Thrown<std::out_of_range>([&] { generator.GenerateIdentifier(); }))
            << "attempt " << attempt;
        EXPECT_TRUE(generator.Segments().empty());
    }
}

TEST(IdentifierGeneratorTest, FreedIdentifierBelowThePositionComesBackFirst) {
    IdentifierGenerator generator(1, 100);
    for (int i = 0; i < 5; ++i) {
        generator.GenerateIdentifier();
    }
    generator.MarkIdentifierAsFree(3);
    EXPECT_EQ(generator.GenerateIdentifier(), 3u);
    EXPECT_EQ(generator.GenerateIdentifier(), 6u);
}

// A generator's segments before and after one identifier is marked.
struct SegmentCase {
    const char* name;
    Segments before;
    std::uint32_t id;
    Segments after;
};

TEST(IdentifierGeneratorTest, MarkIdentifierAsBusy) {
    const SegmentCase cases[] = {
        {"split in the middle", {{100001, 200000}}, 150000, {{100001, 149999}, {150001, 200000}}},
        {"first shrinks without split", {{100001, 200000}}, 100001, {{100002, 200000}}},
        {"last shrinks without split", {{100001, 200000}}, 200000, {{100001, 199999}}},
        {"single identifier erased", {{5, 5}, {7, 9}}, 5, {{7, 9}}},
        {"split of a later segment", {{1, 3}, {10, 20}}, 15, {{1, 3}, {10, 14}, {16, 20}}},
        {"not free: gap", {{1, 3}, {10, 20}}, 5, {{1, 3}, {10, 20}}},
        {"not free: above range", {{1, 3}}, 4, {{1, 3}}},
        {"top of the range", {{1, 4294967295u}}, 4294967295u, {{1, 4294967294u}}},
    };
    for (const auto& c : cases) {
        auto generator = WithSegments(c.before);
        generator.MarkIdentifierAsBusy(c.id);
        EXPECT_EQ(generator.Segments(), c.after) << "case: " << c.name;
        EXPECT_FALSE(generator.checkAvailability(c.id)) << "case: " << c.name;
    }
}

TEST(IdentifierGeneratorTest, MarkIdentifierAsFree) {
    const SegmentCase cases[] = {
        {"extends the start of the segment above; touching segments stay apart",
         {{100001, 100004}, {100006, 200000}},
         100005,
         {{100001, 100004}, {100005, 200000}}},
        {"extends the end of the segment below", {{1, 4}, {10, 20}}, 5, {{1, 5}, {10, 20}}},
        {"becomes its own segment in a gap", {{1, 4}, {10, 20}}, 7, {{1, 4}, {7, 7}, {10, 20}}},
        {"in front of the first segment", {{10, 20}}, 3, {{3, 3}, {10, 20}}},
        {"touching the first segment from below", {{10, 20}}, 9, {{9, 20}}},
        {"above the start of the last segment: ignored",
         {{1, 4}, {10, 20}},
         30,
         {{1, 4}, {10, 20}}},
        {"inside the last segment: ignored", {{1, 4}, {10, 20}}, 15, {{1, 4}, {10, 20}}},
        {"already free inside an earlier segment", {{1, 4}, {10, 20}}, 2, {{1, 4}, {10, 20}}},
        {"end of the earlier segment already free", {{1, 4}, {10, 20}}, 4, {{1, 4}, {10, 20}}},
    };
    for (const auto& c : cases) {
        auto generator = WithSegments(c.before);
        generator.MarkIdentifierAsFree(c.id);
        EXPECT_EQ(generator.Segments(), c.after) << "case: " << c.name;
    }
}

TEST(IdentifierGeneratorTest, FreeOnAnEmptyListIsNotTakenBack) {
    IdentifierGenerator generator(7, 7);
    generator.GenerateIdentifier();
    generator.MarkIdentifierAsFree(7);
    generator.MarkIdentifierAsFree(1);
    EXPECT_TRUE(generator.Segments().empty());
}

TEST(IdentifierGeneratorTest, CheckAvailabilityAfterASplit) {
    IdentifierGenerator generator(100001, 200000);
    generator.MarkIdentifierAsBusy(150000);
    EXPECT_FALSE(generator.checkAvailability(150000));
    EXPECT_TRUE(generator.checkAvailability(150001));
    EXPECT_TRUE(generator.checkAvailability(149999));
    EXPECT_FALSE(generator.checkAvailability(100000));
    EXPECT_FALSE(generator.checkAvailability(200001));
}

TEST(IdentifierGeneratorTest, CopiesAreIndependent) {
    IdentifierGenerator original(1, 10);
    IdentifierGenerator copy = original;
    EXPECT_EQ(copy.GenerateIdentifier(), 1u);
    EXPECT_EQ(original.GenerateIdentifier(), 1u);
    original = copy;
    EXPECT_EQ(original.GenerateIdentifier(), 2u);
}

}  // namespace
}  // namespace fwcommon
