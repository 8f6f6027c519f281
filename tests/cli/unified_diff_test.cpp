// The unified diff of lines: applying its hunks to the lines before gives
// the lines after, with every hunk's numbers and context right.

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "diff/UnifiedDiff.h"

namespace fwcommon::test {
namespace {

using Lines = std::vector<std::string>;

struct HunkRange {
    std::size_t start = 0;
    std::size_t count = 1;
};

// "l" or "l,n" as diff -u writes it; an empty range names the line before.
HunkRange ParseRange(const std::string& text) {
    HunkRange range;
    const auto comma = text.find(',');
    range.start = std::stoul(text.substr(0, comma));
    if (comma != std::string::npos)
        range.count = std::stoul(text.substr(comma + 1));
    return range;
}

// Applies a unified diff to before as patch(1) would, checking each hunk's
// context and removed lines against before and the counts of its heading.
Lines Applied(const Lines& before, const std::string& diff) {
    std::istringstream in(diff);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(0u, line.rfind("--- ", 0));
    std::getline(in, line);
    EXPECT_EQ(0u, line.rfind("+++ ", 0));
    Lines out;
    std::size_t next = 0;  // first line of before not yet copied
    while (std::getline(in, line)) {
        EXPECT_EQ(0u, line.rfind("@@ -", 0)) << line;
        std::istringstream heading(line.substr(4));
        std::string oldRange, newRange;
        heading >> oldRange >> newRange;
        const HunkRange old = ParseRange(oldRange);
        const HunkRange fresh = ParseRange(newRange.substr(1));
        const std::size_t first = old.count == 0 ? old.start : old.start - 1;
        EXPECT_LE(next, first);
        while (next < first)
            out.push_back(before[next++]);
        EXPECT_EQ(fresh.count == 0 ? out.size() : out.size() + 1, fresh.start) << line;
        std::size_t oldSeen = 0, newSeen = 0;
        while (oldSeen < old.count || newSeen < fresh.count) {
            EXPECT_TRUE(std::getline(in, line));
            const char mark = line.empty() ? '?' : line[0];
            const std::string text = line.substr(1);
            if (mark != '+') {
                EXPECT_LT(next, before.size());
                EXPECT_EQ(before.at(next), text);
                ++next;
                ++oldSeen;
            }
            if (mark != '-') {
                out.push_back(text);
                ++newSeen;
            }
            EXPECT_TRUE(mark == ' ' || mark == '-' || mark == '+') << line;
        }
    }
    while (next < before.size())
        out.push_back(before[next++]);
    return out;
}

// Lines from a small alphabet, so that many repeat and few are unique.
Lines RandomLines(std::mt19937& random, std::size_t count, int letters) {
    std::uniform_int_distribution<int> letter(0, letters - 1);
    Lines lines;
    for (std::size_t i = 0; i < count; ++i)
        lines.push_back(std::string(1, static_cast<char>('a' + letter(random))));
    return lines;
}

// after made from before by a few removals, insertions and moves.
Lines Edited(std::mt19937& random, Lines lines) {
    std::uniform_int_distribution<int> edits(1, 6);
    for (int n = edits(random); n > 0; --n) {
        std::uniform_int_distribution<std::size_t> at(0, lines.size());
        const std::size_t place = at(random);
        switch (random() % 3) {
            case 0:
                if (place < lines.size())
                    lines.erase(lines.begin() + static_cast<long>(place));
                break;
            case 1:
                lines.insert(lines.begin() + static_cast<long>(place), "new" + std::to_string(n));
                break;
            default:
                if (place < lines.size()) {
                    const std::string moved = lines[place];
                    lines.erase(lines.begin() + static_cast<long>(place));
                    lines.insert(lines.begin() + static_cast<long>(at(random) % (lines.size() + 1)),
                                 moved);
                }
        }
    }
    return lines;
}

TEST(UnifiedDiff, ApplyingTheHunksGivesTheLinesAfter) {
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        const Lines before = RandomLines(random, random() % 40, round % 2 == 0 ? 3 : 26);
        const Lines after =
            round % 5 == 0 ? RandomLines(random, random() % 40, 4) : Edited(random, before);
        const std::string diff = fwpolicy::UnifiedDiff(before, after, "a", "b");
        SCOPED_TRACE("round " + std::to_string(round) + "\n" + diff);
        if (before == after) {
            EXPECT_EQ("", diff);
            continue;
        }
        EXPECT_EQ(after, Applied(before, diff));
    }
}

TEST(UnifiedDiff, KeepsThreeLinesOfContextAndJoinsNearbyChanges) {
    Lines before;
    for (int i = 1; i <= 20; ++i)
        before.push_back("line " + std::to_string(i));
    Lines after = before;
    after[1] = "changed 2";
    after[7] = "changed 8";  // five lines after the first: one hunk
    after[18] = "changed 19";
    EXPECT_EQ(
        "--- a\n+++ b\n"
        "@@ -1,11 +1,11 @@\n"
        " line 1\n-line 2\n+changed 2\n line 3\n line 4\n line 5\n line 6\n line 7\n"
        "-line 8\n+changed 8\n line 9\n line 10\n line 11\n"
        "@@ -16,5 +16,5 @@\n"
        " line 16\n line 17\n line 18\n-line 19\n+changed 19\n line 20\n",
        fwpolicy::UnifiedDiff(before, after, "a", "b"));
    EXPECT_EQ("--- a\n+++ b\n@@ -0,0 +1 @@\n+x\n", fwpolicy::UnifiedDiff({}, {"x"}, "a", "b"));
}

}  // namespace
}  // namespace fwcommon::test
