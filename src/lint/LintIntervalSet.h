#pragma once

#include <algorithm>
#include <cstddef>

#include "lint/LintSmallList.h"

namespace fwcommon::lint {

// A set of values of an unsigned integer type T held as sorted, disjoint,
// non-adjacent closed intervals. Plain value type; not thread-safe to
// change, safe to read from several threads.
template <typename T>
class IntervalSet {
public:
    struct Interval {
        T lo;
        T hi;
    };

    static constexpr T kMax = static_cast<T>(~T(0));

    IntervalSet() = default;

    // [lo, hi]; empty when hi < lo.
    static IntervalSet Of(T lo, T hi) {
        IntervalSet set;
        if (!(hi < lo)) {
            set.items_.push_back({lo, hi});
        }
        return set;
    }
    static IntervalSet Full() { return Of(T(0), kMax); }

    bool IsEmpty() const { return items_.empty(); }
    bool IsFull() const { return items_.size() == 1 && items_[0].lo == 0 && items_[0].hi == kMax; }
    const SmallList<Interval>& Items() const { return items_; }

    void UnionWith(const IntervalSet& other) {
        if (other.items_.empty()) {
            return;
        }
        if (items_.empty()) {
            items_ = other.items_;  // already merged
            return;
        }
        if (other.items_.size() == 1) {
            Insert(other.items_[0]);
            return;
        }
        SmallList<Interval> merged;
        merged.reserve(items_.size() + other.items_.size());
        const Interval* a = items_.begin();
        const Interval* b = other.items_.begin();
        while (a != items_.end() || b != other.items_.end()) {
            const bool takeA = b == other.items_.end() || (a != items_.end() && a->lo < b->lo);
            Append(merged, takeA ? *a++ : *b++);
        }
        items_.swap(merged);
    }

    IntervalSet Minus(const IntervalSet& other) const {
        IntervalSet result;
        std::size_t j = 0;
        for (Interval piece : items_) {
            while (j < other.items_.size() && other.items_[j].hi < piece.lo) {
                ++j;
            }
            bool consumed = false;
            for (std::size_t k = j; k < other.items_.size() && !(piece.hi < other.items_[k].lo);
                 ++k) {
                const Interval& cut = other.items_[k];
                if (piece.lo < cut.lo) {
                    result.items_.push_back({piece.lo, static_cast<T>(cut.lo - 1)});
                }
                if (!(cut.hi < piece.hi)) {
                    consumed = true;
                    break;
                }
                piece.lo = static_cast<T>(cut.hi + 1);
            }
            if (!consumed) {
                result.items_.push_back(piece);
            }
        }
        return result;
    }

    // True when every interval of this set lies inside one interval of
    // other (other is merged, so that is exact).
    bool IsSubsetOf(const IntervalSet& other) const {
        std::size_t j = 0;
        for (const Interval& i : items_) {
            while (j < other.items_.size() && other.items_[j].hi < i.lo) {
                ++j;
            }
            if (j == other.items_.size() || i.lo < other.items_[j].lo ||
                other.items_[j].hi < i.hi) {
                return false;
            }
        }
        return true;
    }

    // True when [lo, hi] lies inside one interval (always when hi < lo).
    bool Contains(T lo, T hi) const {
        if (hi < lo) {
            return true;
        }
        const auto at = std::partition_point(items_.begin(), items_.end(),
                                             [lo](const Interval& i) { return i.hi < lo; });
        return at != items_.end() && !(lo < at->lo) && !(at->hi < hi);
    }

private:
    // True when a ends before b starts, with a gap between them.
    static bool Before(const Interval& a, const Interval& b) {
        return a.hi < b.lo && a.hi + 1 < b.lo;
    }

    // Appends to items an interval that starts at or after the last one's
    // start.
    static void Append(SmallList<Interval>& items, const Interval& i) {
        if (!items.empty()) {
            Interval& last = items.back();
            if (!Before(last, i)) {
                if (last.hi < i.hi) {
                    last.hi = i.hi;
                }
                return;
            }
        }
        items.push_back(i);
    }

    // Adds one interval in place, merged with those it overlaps or touches.
    void Insert(Interval i) {
        const Interval* first = std::partition_point(
            items_.begin(), items_.end(), [&i](const Interval& at) { return Before(at, i); });
        const Interval* last = first;
        while (last != items_.end() && !Before(i, *last)) {
            ++last;
        }
        if (first != last) {
            i.lo = std::min(i.lo, first->lo);
            i.hi = std::max(i.hi, last[-1].hi);
        }
        const auto index = [this](const Interval* at) {
            return static_cast<std::size_t>(at - items_.begin());
        };
        items_.Replace(index(first), index(last), i);
    }

    SmallList<Interval> items_;
};

}  // namespace fwcommon::lint
