#include "UnifiedDiff.h"

#include <algorithm>
#include <map>

#include "diff/IncreasingRun.h"

namespace fwpolicy {
namespace {

constexpr std::size_t kContextLines = 3;

enum class Op { kKeep, kRemove, kAdd };

struct Edit {
    Op op;
    std::size_t line;  // in before for kKeep and kRemove, in after for kAdd
};

using Lines = std::vector<std::string>;

class PatienceDiff {
public:
    PatienceDiff(const Lines& before, const Lines& after) : a_(before), b_(after) {}

    std::vector<Edit> Run() {
        Compare(0, a_.size(), 0, b_.size());
        return edits_;
    }

private:
    // The pairs of lines that occur once in a[aLow, aHigh) and once in
    // b[bLow, bHigh), in the order of a.
    std::vector<std::pair<std::size_t, std::size_t>> UniquePairs(std::size_t aLow,
                                                                 std::size_t aHigh,
                                                                 std::size_t bLow,
                                                                 std::size_t bHigh) const {
        constexpr std::size_t kSeveral = static_cast<std::size_t>(-1);
        std::map<std::string, std::pair<std::size_t, std::size_t>> seen;  // line -> (a, b)
        for (std::size_t i = aLow; i < aHigh; ++i) {
            auto [entry, fresh] = seen.emplace(a_[i], std::make_pair(i, kSeveral - 1));
            if (!fresh)
                entry->second.first = kSeveral;
        }
        for (std::size_t j = bLow; j < bHigh; ++j) {
            const auto entry = seen.find(b_[j]);
            if (entry == seen.end())
                continue;
            entry->second.second = entry->second.second == kSeveral - 1 ? j : kSeveral;
        }
        std::vector<std::pair<std::size_t, std::size_t>> pairs;
        for (const auto& [line, at] : seen) {
            if (at.first != kSeveral && at.second < kSeveral - 1)
                pairs.push_back(at);
        }
        std::sort(pairs.begin(), pairs.end());
        return pairs;
    }

    void Compare(std::size_t aLow, std::size_t aHigh, std::size_t bLow, std::size_t bHigh) {
        while (aLow < aHigh && bLow < bHigh && a_[aLow] == b_[bLow]) {
            edits_.push_back({Op::kKeep, aLow++});
            ++bLow;
        }
        std::size_t tail = 0;
        while (aHigh - tail > aLow && bHigh - tail > bLow &&
               a_[aHigh - tail - 1] == b_[bHigh - tail - 1])
            ++tail;
        const auto pairs = UniquePairs(aLow, aHigh - tail, bLow, bHigh - tail);
        std::vector<std::size_t> bLines;
        for (const auto& pair : pairs)
            bLines.push_back(pair.second);
        const auto anchors = LongestIncreasingRun(bLines);
        if (anchors.empty()) {
            for (std::size_t i = aLow; i < aHigh - tail; ++i)
                edits_.push_back({Op::kRemove, i});
            for (std::size_t j = bLow; j < bHigh - tail; ++j)
                edits_.push_back({Op::kAdd, j});
        } else {
            std::size_t i = aLow;
            std::size_t j = bLow;
            for (const std::size_t anchor : anchors) {
                const auto [ai, bj] = pairs[anchor];
                Compare(i, ai, j, bj);
                edits_.push_back({Op::kKeep, ai});
                i = ai + 1;
                j = bj + 1;
            }
            Compare(i, aHigh - tail, j, bHigh - tail);
        }
        for (std::size_t k = aHigh - tail; k < aHigh; ++k)
            edits_.push_back({Op::kKeep, k});
    }

    const Lines& a_;
    const Lines& b_;
    std::vector<Edit> edits_;
};

std::string Range(std::size_t first, std::size_t count) {
    // diff -u numbers from 1 and names the line before an empty range.
    const std::size_t start = count == 0 ? first : first + 1;
    return std::to_string(start) + (count == 1 ? "" : "," + std::to_string(count));
}

// Where each edit stands: the number of lines of before and of after
// that come ahead of it.
struct Place {
    std::size_t before = 0;
    std::size_t after = 0;
};

std::vector<Place> Places(const std::vector<Edit>& edits) {
    std::vector<Place> places(edits.size() + 1);
    for (std::size_t k = 0; k < edits.size(); ++k) {
        places[k + 1] = places[k];
        if (edits[k].op != Op::kAdd)
            ++places[k + 1].before;
        if (edits[k].op != Op::kRemove)
            ++places[k + 1].after;
    }
    return places;
}

// One hunk from edits[begin, end): its heading and lines.
std::string Hunk(const std::vector<Edit>& edits, const std::vector<Place>& places,
                 std::size_t begin, std::size_t end, const Lines& before, const Lines& after) {
    std::string body;
    for (std::size_t k = begin; k < end; ++k) {
        const Edit& e = edits[k];
        if (e.op == Op::kKeep)
            body += " " + before[e.line] + "\n";
        else if (e.op == Op::kRemove)
            body += "-" + before[e.line] + "\n";
        else
            body += "+" + after[e.line] + "\n";
    }
    const Place first = places[begin];
    const Place last = places[end];
    return "@@ -" + Range(first.before, last.before - first.before) + " +" +
           Range(first.after, last.after - first.after) + " @@\n" + body;
}

}  // namespace

std::string UnifiedDiff(const Lines& before, const Lines& after, const std::string& beforeName,
                        const std::string& afterName) {
    const std::vector<Edit> edits = PatienceDiff(before, after).Run();
    const std::vector<Place> places = Places(edits);
    std::string out;
    std::size_t k = 0;
    while (k < edits.size()) {
        if (edits[k].op == Op::kKeep) {
            ++k;
            continue;
        }
        // A hunk: from the context before this change to the context after
        // the last change that lies within twice the context of the next.
        const std::size_t begin = k >= kContextLines ? k - kContextLines : 0;
        std::size_t end = k;
        std::size_t kept = 0;
        while (end < edits.size() && kept <= 2 * kContextLines) {
            kept = edits[end].op == Op::kKeep ? kept + 1 : 0;
            ++end;
        }
        end -= kept > kContextLines ? kept - kContextLines : 0;
        out += Hunk(edits, places, begin, end, before, after);
        k = end;
    }
    if (out.empty())
        return out;
    return "--- " + beforeName + "\n+++ " + afterName + "\n" + out;
}

}  // namespace fwpolicy
