#include "lint/LintServiceSet.h"

#include <algorithm>
#include <cstddef>

namespace fwcommon::lint {
namespace {

// Past this many pieces a subtraction is given up (and treated as
// unproved), which bounds the work on hostile inputs.
constexpr std::size_t kMaxPieces = 4096;

bool Overlaps(const ServiceBox& a, const ServiceBox& b) {
    for (int axis = 0; axis < 3; ++axis) {
        if (a.hi[axis] < b.lo[axis] || b.hi[axis] < a.lo[axis]) {
            return false;
        }
    }
    return true;
}

// Appends the parts of box outside cut (at most six boxes).
void SubtractBox(ServiceBox box, const ServiceBox& cut, SmallList<ServiceBox>& out) {
    if (!Overlaps(box, cut)) {
        out.push_back(box);
        return;
    }
    for (int axis = 0; axis < 3; ++axis) {
        if (box.lo[axis] < cut.lo[axis]) {
            ServiceBox below = box;
            below.hi[axis] = cut.lo[axis] - 1;
            out.push_back(below);
            box.lo[axis] = cut.lo[axis];
        }
        if (cut.hi[axis] < box.hi[axis]) {
            ServiceBox above = box;
            above.lo[axis] = cut.hi[axis] + 1;
            out.push_back(above);
            box.hi[axis] = cut.hi[axis];
        }
    }
}

}  // namespace

ServiceBox AllPortsOf(std::int64_t protocol) {
    return ServiceBox{{protocol, 0, 0}, {protocol, ServiceSet::kMaxPort, ServiceSet::kMaxPort}};
}

ServiceSet ServiceSet::Full() {
    return OfBox(ServiceBox{{0, 0, 0}, {kMaxProtocol, kMaxPort, kMaxPort}});
}

ServiceSet ServiceSet::OfBox(const ServiceBox& box) {
    ServiceSet set;
    if (!box.IsEmpty()) {
        set.boxes_.push_back(box);
    }
    return set;
}

bool ServiceSet::IsFull() const {
    if (full_ < 0) {
        const ServiceBox all{{0, 0, 0}, {kMaxProtocol, kMaxPort, kMaxPort}};
        if (boxes_.empty()) {
            full_ = 0;
        } else if (boxes_.size() == 1 && std::equal(all.lo, all.lo + 3, boxes_[0].lo) &&
                   std::equal(all.hi, all.hi + 3, boxes_[0].hi)) {
            full_ = 1;
        } else {
            full_ = OfBox(all).IsSubsetOf(*this) ? 1 : 0;
        }
    }
    return full_ == 1;
}

bool ServiceSet::TryMinus(const ServiceSet& cut, ServiceSet& result) const {
    SmallList<ServiceBox> pieces = boxes_;
    for (const ServiceBox& c : cut.boxes_) {
        SmallList<ServiceBox> next;
        for (const ServiceBox& piece : pieces) {
            SubtractBox(piece, c, next);
        }
        if (next.size() > kMaxPieces) {
            return false;
        }
        pieces.swap(next);
        if (pieces.empty()) {
            break;
        }
    }
    result.boxes_.swap(pieces);
    return true;
}

bool ServiceSet::IsSubsetOf(const ServiceSet& other) const {
    // Against one box, the subtraction below stays within its bound and
    // leaves nothing exactly when every box lies inside that one.
    if (other.boxes_.size() == 1 && boxes_.size() * 6 <= kMaxPieces) {
        const ServiceBox& outer = other.boxes_[0];
        return std::all_of(boxes_.begin(), boxes_.end(), [&outer](const ServiceBox& box) {
            for (int axis = 0; axis < 3; ++axis) {
                if (box.lo[axis] < outer.lo[axis] || outer.hi[axis] < box.hi[axis]) {
                    return false;
                }
            }
            return true;
        });
    }
    ServiceSet rest;
    return TryMinus(other, rest) && rest.IsEmpty();
}

void ServiceSet::UnionWith(const ServiceSet& other) {
    for (const ServiceBox& box : other.boxes_) {
        if (!ServiceSet::OfBox(box).IsSubsetOf(*this)) {
            boxes_.push_back(box);
            full_ = -1;
        }
    }
}

ServiceSet ServiceSet::MinusUpper(const ServiceSet& cut) const {
    ServiceSet result;
    return TryMinus(cut, result) ? result : *this;
}

ServiceSet ServiceSet::MinusLower(const ServiceSet& cut) const {
    ServiceSet result;
    return TryMinus(cut, result) ? result : ServiceSet();
}

}  // namespace fwcommon::lint
