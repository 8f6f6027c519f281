// The lint's sets against brute force: interval sets over a small type
// whose every value a bitset holds, addresses of networks and ranges
// against the arithmetic of masks, weekly windows and calendar spans
// against a second-by-second walk with the C library's calendar, and the
// shadow index against a comparison of every pair of rules.

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/PolicyDocument.h>

#include "common/TestFiles.h"
#include "lint/LintAddressSet.h"
#include "lint/LintCatalog.h"
#include "lint/LintIntervalSet.h"
#include "lint/LintRuleMatch.h"
#include "lint/LintScheduleSet.h"
#include "lint/LintShadowIndex.h"
#include "lint/LintSmallList.h"
#include "lint/QueryPolicyText.h"

namespace fwcommon::lint {
namespace {

using Small = IntervalSet<std::uint8_t>;
using Bits = std::bitset<256>;

Bits BitsOf(const Small& set) {
    Bits bits;
    for (const auto& i : set.Items()) {
        for (unsigned v = i.lo; v <= i.hi; ++v) {
            bits.set(v);
        }
    }
    return bits;
}

// Sorted, disjoint and never adjacent: the form every operation relies on.
bool Canonical(const Small& set) {
    const auto& items = set.Items();
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (items[k].hi < items[k].lo || (k > 0 && items[k].lo <= items[k - 1].hi + 1)) {
            return false;
        }
    }
    return true;
}

// A random set and its bits, built by unions of intervals that favour the
// ends of the type.
struct Drawn {
    Small set;
    Bits bits;
};
Drawn Draw(std::mt19937& random) {
    Drawn d;
    const int pieces = std::uniform_int_distribution<int>(0, 5)(random);
    for (int n = 0; n < pieces; ++n) {
        auto pick = [&] {
            const int kind = std::uniform_int_distribution<int>(0, 9)(random);
            if (kind == 0) {
                return 0;
            }
            if (kind == 1) {
                return 255;
            }
            return std::uniform_int_distribution<int>(0, 255)(random);
        };
        const int a = pick();
        const int b = std::uniform_int_distribution<int>(0, 3)(random) == 0 ? a : pick();
        d.set.UnionWith(Small::Of(static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b)));
        for (int v = a; v <= b; ++v) {
            d.bits.set(static_cast<std::size_t>(v));
        }
    }
    return d;
}

TEST(LintSets, IntervalSetOperationsAgreeWithBitsets) {
    std::mt19937 random(7);
    for (int round = 0; round < 20000; ++round) {
        const Drawn a = Draw(random);
        const Drawn b = Draw(random);
        ASSERT_TRUE(Canonical(a.set)) << "round " << round;
        ASSERT_EQ(a.bits, BitsOf(a.set)) << "round " << round;
        Small joined = a.set;
        joined.UnionWith(b.set);
        EXPECT_TRUE(Canonical(joined)) << "round " << round;
        EXPECT_EQ(a.bits | b.bits, BitsOf(joined)) << "round " << round;
        const Small rest = a.set.Minus(b.set);
        EXPECT_TRUE(Canonical(rest)) << "round " << round;
        EXPECT_EQ(a.bits & ~b.bits, BitsOf(rest)) << "round " << round;
        EXPECT_EQ((a.bits & ~b.bits).none(), a.set.IsSubsetOf(b.set)) << "round " << round;
        EXPECT_EQ(a.bits.none(), a.set.IsEmpty()) << "round " << round;
        EXPECT_EQ(a.bits.all(), a.set.IsFull()) << "round " << round;
        const int lo = std::uniform_int_distribution<int>(0, 255)(random);
        const int hi = std::uniform_int_distribution<int>(lo, 255)(random);
        bool all = true;
        for (int v = lo; v <= hi; ++v) {
            all = all && a.bits.test(static_cast<std::size_t>(v));
        }
        EXPECT_EQ(all, a.set.Contains(static_cast<std::uint8_t>(lo), static_cast<std::uint8_t>(hi)))
            << "round " << round << ", [" << lo << ", " << hi << "]";
    }
}

std::wstring Dotted(std::uint32_t a) {
    return std::to_wstring(a >> 24) + L"." + std::to_wstring(a >> 16 & 255) + L"." +
           std::to_wstring(a >> 8 & 255) + L"." + std::to_wstring(a & 255);
}

// Values wider than the pointer the list shares their room with: a copy
// that read more than the list held would run past it.
struct Wide {
    std::uint64_t low;
    std::uint64_t high;
    std::uint64_t tag;
};

SmallList<Wide> WideList(std::size_t count, std::uint64_t tag) {
    SmallList<Wide> list;
    for (std::size_t i = 0; i < count; ++i) {
        list.push_back(Wide{i, i + 1, tag});
    }
    return list;
}

void ExpectWide(const SmallList<Wide>& list, std::size_t count, std::uint64_t tag) {
    ASSERT_EQ(count, list.size());
    for (std::size_t i = 0; i < count; ++i) {
        EXPECT_EQ(i, list[i].low);
        EXPECT_EQ(tag, list[i].tag);
    }
}

TEST(LintSets, SmallListsKeepTheirValuesThroughCopiesAndMoves) {
    const std::size_t sizes[] = {0, 1, 2, 3, 5, 9};
    for (const std::size_t to : sizes) {
        for (const std::size_t from : sizes) {
            SCOPED_TRACE("from " + std::to_string(from) + " into " + std::to_string(to));
            const SmallList<Wide> source = WideList(from, 7);
            SmallList<Wide> copied = WideList(to, 1);
            copied = source;
            ExpectWide(copied, from, 7);
            SmallList<Wide> moved = WideList(to, 1);
            moved = WideList(from, 8);
            ExpectWide(moved, from, 8);
            SmallList<Wide> swapped = WideList(to, 1);
            SmallList<Wide> other = WideList(from, 9);
            swapped.swap(other);
            ExpectWide(swapped, from, 9);
            ExpectWide(other, to, 1);
        }
    }
}

TEST(LintSets, NetworksAndRangesHoldTheAddressesTheirArithmeticGives) {
    std::mt19937 random(11);
    std::uniform_int_distribution<std::uint32_t> any;
    for (int round = 0; round < 5000; ++round) {
        const std::uint32_t net = any(random);
        const int prefix = std::uniform_int_distribution<int>(0, 32)(random);
        const std::uint32_t mask = prefix == 0 ? 0 : ~std::uint32_t(0) << (32 - prefix);
        const std::uint32_t first = net & mask;
        const std::uint32_t last = first | ~mask;
        for (const std::wstring& written : {Dotted(mask), std::to_wstring(prefix)}) {
            const auto set = MaskedNetwork(Dotted(net), written);
            ASSERT_TRUE(set.has_value()) << "round " << round;
            ASSERT_EQ(1u, set->v4.Items().size()) << "round " << round;
            EXPECT_EQ(first, set->v4.Items()[0].lo) << "round " << round;
            EXPECT_EQ(last, set->v4.Items()[0].hi) << "round " << round;
            EXPECT_TRUE(set->v6.IsEmpty());
        }
        // A mask with a hole is no interval: no set rather than a wrong one.
        if (prefix > 1 && prefix < 32) {
            const std::uint32_t holed = mask & ~(std::uint32_t(1) << (32 - prefix + 1));
            EXPECT_FALSE(MaskedNetwork(Dotted(net), Dotted(holed)).has_value()) << Dotted(holed);
        }
        const std::uint32_t end = any(random);
        const auto range = AddressRange(Dotted(net), Dotted(end));
        ASSERT_TRUE(range.has_value());
        if (end < net) {
            EXPECT_TRUE(range->IsEmpty());
        } else {
            EXPECT_TRUE(range->v4.Contains(net, end));
            EXPECT_EQ(1u, range->v4.Items().size());
            EXPECT_EQ(net, range->v4.Items()[0].lo);
            EXPECT_EQ(end, range->v4.Items()[0].hi);
        }
    }
    EXPECT_FALSE(AddressRange(L"10.0.0.1", L"2001:db8::1").has_value());
}

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kStart = 1796083200;  // Tuesday 2026-12-01 00:00:00

struct Civil {
    std::int64_t year, month, day, secondOfDay;
    int mondayFirstWeekday;
};
Civil CivilOf(std::int64_t second) {
    const std::time_t t = static_cast<std::time_t>(second);
    std::tm tm{};
    gmtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
            tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec, (tm.tm_wday + 6) % 7};
}

std::uint64_t Absolute(std::int64_t second) {
    const Civil c = CivilOf(second);
    return AbsoluteSecond(c.year, c.month, c.day, c.secondOfDay);
}

TEST(LintSets, WeeklyWindowsHoldTheSecondsOfTheirDays) {
    std::mt19937 random(5);
    for (int round = 0; round < 300; ++round) {
        const unsigned days = std::uniform_int_distribution<unsigned>(0, 127)(random);
        const std::int64_t start = std::uniform_int_distribution<std::int64_t>(0, kDay - 1)(random);
        const std::int64_t end = std::uniform_int_distribution<std::int64_t>(0, kDay - 1)(random);
        ScheduleSet set;
        set.weekly =
            WeeklyWindow(days, static_cast<std::uint64_t>(start), static_cast<std::uint64_t>(end));
        // Every edge of every day, a second either side, over two weeks of
        // other years too.
        for (const std::int64_t base : {kStart, std::int64_t(951782400) /* 2000-02-29 */}) {
            for (std::int64_t day = 0; day < 14; ++day) {
                for (const std::int64_t at :
                     {start - 1, start, end, end + 1, std::int64_t(0), kDay - 1}) {
                    if (at < 0 || at >= kDay) {
                        continue;
                    }
                    const std::int64_t second = base + day * kDay + at;
                    const Civil c = CivilOf(second);
                    const bool held = start <= end && (days >> c.mondayFirstWeekday & 1u) != 0 &&
                                      start <= at && at <= end;
                    EXPECT_EQ(held, HoldsSecond(set, Absolute(second)))
                        << "days " << days << ", window " << start << "-" << end << ", " << c.year
                        << "-" << c.month << "-" << c.day << " +" << at;
                }
            }
        }
    }
}

TEST(LintSets, ScheduleSubsetAgreesWithASecondBySecondWalk) {
    std::mt19937 random(3);
    constexpr std::int64_t kStep = 600;  // windows on ten-minute edges
    const auto anyEdge = [&](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo / kStep, hi / kStep)(random) * kStep;
    };
    for (int round = 0; round < 2000; ++round) {
        ScheduleSet inner;
        ScheduleSet outer;
        std::vector<std::pair<std::int64_t, std::int64_t>> innerSpans;
        const std::int64_t from = kStart + anyEdge(0, 20 * kDay);
        const std::int64_t to = from + anyEdge(0, 9 * kDay) + kStep - 1;
        inner.absolute = IntervalSet<std::uint64_t>::Of(Absolute(from), Absolute(to));
        for (int n = std::uniform_int_distribution<int>(1, 4)(random); n > 0; --n) {
            const unsigned days = std::uniform_int_distribution<unsigned>(1, 127)(random);
            const std::int64_t start = anyEdge(0, kDay - 1);
            const std::int64_t end = std::min(kDay - 1, start + anyEdge(0, kDay) + kStep - 1);
            outer.weekly.UnionWith(WeeklyWindow(days, static_cast<std::uint64_t>(start),
                                                static_cast<std::uint64_t>(end)));
        }
        if (std::uniform_int_distribution<int>(0, 1)(random) == 0) {
            const std::int64_t a = from + anyEdge(0, 3 * kDay);
            outer.absolute = IntervalSet<std::uint64_t>::Of(Absolute(a), Absolute(a + 2 * kDay));
        }
        // Every edge lies on a block of kStep seconds, so the first and the
        // last second of each block stand for all of it.
        bool held = true;
        for (std::int64_t s = from; s <= to && held; s += kStep) {
            held = HoldsSecond(outer, Absolute(s)) && HoldsSecond(outer, Absolute(s + kStep - 1));
        }
        EXPECT_EQ(held, inner.IsSubsetOf(outer)) << "round " << round;
    }
}

// Random rules over few values of every part, so that many cover others.
using namespace fwcommon::test::lint;

// Random rules over few values of every part, so that many cover others.
std::string RandomRules(std::mt19937& random, int count) {
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const auto host = [&] {
        const std::string octet = std::to_string(pick(4));
        switch (pick(5)) {
            case 0:
                return Addr("10.0." + octet + ".1");
            case 1:
                return Net("10.0." + octet + ".0", "255.255.255.0");
            case 2:
                return Net("10.0.0.0", "255.255.252.0");
            case 3:
                return Span("10.0.0." + std::to_string(pick(200)), "10.0." + octet + ".255");
            default:
                return Net((pick(2) ? "172.16.0.0" : "10.0.0.0"), "255.0.0.0");
        }
    };
    const auto side = [&](const char* element) {
        std::string hosts;
        for (int n = pick(3); n > 0; --n) {
            hosts += host();
        }
        const std::string nic = pick(4) == 0 ? Nic("eth" + std::to_string(pick(2))) : "";
        if (hosts.empty() && nic.empty()) {
            return std::string();
        }
        return std::string("<") + element + R"( xsi:type="sv:PublicNetwork">)" + nic + hosts +
               "</" + element + ">";
    };
    std::string rules;
    for (int i = 1; i <= count; ++i) {
        std::string conditions;
        if (pick(5) == 0) {
            conditions += Weekly(pick(2) ? "08:00:00" : "00:00:00", "18:00:00",
                                 pick(2) ? "1111100" : "1111111");
        }
        conditions += side("Source");
        for (int n = pick(3); n > 0; --n) {
            const int port = 20 + pick(4) * 10;
            conditions += pick(4) == 0 ? Protocol(6) : Tcp(port, port + pick(2) * 15);
        }
        conditions += side("Destination");
        rules += Local(i, conditions, pick(2) ? "Pass" : "Drop");
    }
    return rules;
}

TEST(LintSets, ShadowIndexOffersEveryEarlierRuleThatCovers) {
    std::mt19937 random(17);
    for (int round = 0; round < 5; ++round) {
        const auto policy = ParsePolicyDocument(
            fwcommon::test::ToBytes(fwcommon::test::lint::Policy("", RandomRules(random, 400))));
        ObjectCatalog catalog;
        Interner interner;
        ConditionEvaluator evaluator(catalog, interner);
        const ValueSink sink = [](const char*, const std::wstring&) {};
        std::vector<RuleMatch> matches;
        for (const Sarvo::Rule& rule : policy->Rules().Rule()) {
            matches.push_back(BuildRuleMatch(rule.ConditionSet(), evaluator, sink));
        }
        ShadowIndex index;
        std::size_t covered = 0;
        for (std::uint32_t j = 0; j < matches.size(); ++j) {
            const std::vector<std::uint32_t> offered = index.Candidates(matches[j]);
            EXPECT_TRUE(std::is_sorted(offered.begin(), offered.end()));
            for (std::uint32_t i = 0; i < j; ++i) {
                if (Covers(matches[i], matches[j])) {
                    ++covered;
                    EXPECT_TRUE(std::binary_search(offered.begin(), offered.end(), i))
                        << "rule " << i << " covers rule " << j << " but is not offered";
                }
            }
            index.Add(j, matches[j]);
        }
        EXPECT_GE(covered, 100u) << "round " << round;
    }
}

}  // namespace
}  // namespace fwcommon::lint
