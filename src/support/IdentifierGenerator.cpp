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

void IdentifierGenerator::MarkIdentifierAsBusy(std::uint32_t id) {
    auto found = std::find_if(segments_.begin(), segments_.end(),
                              [id](const Segment& s) { return s.first <= id && id <= s.second; });
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
    auto above = std::find_if(segments_.begin(), segments_.end(),
                              [id](const Segment& s) { return s.first > id; });
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
    return std::any_of(segments_.begin(), segments_.end(),
                       [id](const Segment& s) { return s.first <= id && id <= s.second; });
}

}  // namespace fwcommon
