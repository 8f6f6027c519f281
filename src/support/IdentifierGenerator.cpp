#include <fwcommon/IdentifierGenerator.h>

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace fwcommon {

IdentifierGenerator::IdentifierGenerator()
    : IdentifierGenerator(1, std::numeric_limits<std::uint32_t>::max()) {}

IdentifierGenerator::IdentifierGenerator(std::uint32_t first, std::uint32_t last)
    : segments_{Segment(first, last)} {}

IdentifierGenerator::~IdentifierGenerator() = default;

std::uint32_t IdentifierGenerator::GenerateIdentifier() {
    if (segments_.empty()) {
        throw std::out_of_range("invalid vector<T> subscript");
    }
    Segment& first = segments_.front();
    const std::uint32_t id = first.first;
    if (first.first < first.second) {
        ++first.first;
    } else {
        segments_.erase(segments_.begin());
    }
    return id;
}

namespace {

using Segments = std::vector<IdentifierGenerator::Segment>;

// The first segment that starts above id; segments are sorted and disjoint,
// so the one before it is the only one that can hold id.
template <typename Iterator>
Iterator FirstStartingAbove(Iterator begin, Iterator end, std::uint32_t id) {
    return std::upper_bound(begin, end, id, [](std::uint32_t value, const auto& segment) {
        return value < segment.first;
    });
}

template <typename Iterator>
Iterator SegmentHolding(Iterator begin, Iterator end, std::uint32_t id) {
    auto above = FirstStartingAbove(begin, end, id);
    if (above == begin) {
        return end;
    }
    auto candidate = above - 1;
    return id <= candidate->second ? candidate : end;
}

}  // namespace

void IdentifierGenerator::MarkIdentifierAsBusy(std::uint32_t id) {
    auto found = SegmentHolding(segments_.begin(), segments_.end(), id);
    if (found == segments_.end()) {
        return;
    }
    if (found->first == found->second) {
        segments_.erase(found);
    } else if (id == found->first) {
        ++found->first;
    } else if (id == found->second) {
        --found->second;
    } else {
        const Segment upper(id + 1, found->second);
        found->second = id - 1;
        segments_.insert(found + 1, upper);
    }
}

void IdentifierGenerator::MarkIdentifierAsFree(std::uint32_t id) {
    auto above = FirstStartingAbove(segments_.begin(), segments_.end(), id);
    if (above == segments_.end()) {
        return;
    }
    if (above->first - 1 == id) {
        above->first = id;
        return;
    }
    if (above != segments_.begin()) {
        Segment& below = *(above - 1);
        if (below.second >= id) {
            return;  // already free
        }
        if (below.second + 1 == id) {
            below.second = id;
            return;
        }
    }
    segments_.insert(above, Segment(id, id));
}

bool IdentifierGenerator::checkAvailability(std::uint32_t id) const {
    return SegmentHolding(segments_.begin(), segments_.end(), id) != segments_.end();
}

}  // namespace fwcommon
