#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

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
    const std::vector<Interval>& Items() const { return items_; }

    void UnionWith(const IntervalSet& other) {
        if (other.items_.empty()) {
            return;
        }
        if (items_.empty()) {
            items_ = other.items_;  // already merged
            return;
        }
        std::vector<Interval> all;
        all.reserve(items_.size() + other.items_.size());
        std::merge(items_.begin(), items_.end(), other.items_.begin(), other.items_.end(),
                   std::back_inserter(all),
                   [](const Interval& a, const Interval& b) { return a.lo < b.lo; });
        items_.clear();
        for (const Interval& i : all) {
            Append(i);
        }
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
    // Appends an interval that starts at or after the last one's start.
    void Append(const Interval& i) {
        if (!items_.empty()) {
            Interval& last = items_.back();
            if (last.hi == kMax || !(last.hi + 1 < i.lo)) {
                if (last.hi < i.hi) {
                    last.hi = i.hi;
                }
                return;
            }
        }
        items_.push_back(i);
    }

    std::vector<Interval> items_;
};

}  // namespace fwcommon::lint
