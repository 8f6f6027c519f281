#include "lint/LintShadowIndex.h"

#include <algorithm>

namespace fwcommon::lint {
namespace {

enum Part {
    kSchedule = 0,
    kService = 1,
    kSourceSide = 2,  // then interface, hosts, VPN hosts of the source
    kDestinationSide = 6,
    kPartCount = 10,
};
constexpr int kSideInterface = 1;
constexpr int kSideHosts = 2;
constexpr int kSideVpnHosts = 3;

// The parts, the usually most selective first (a tie in list length goes
// to the earlier one).
constexpr int kKeyOrder[] = {kDestinationSide + kSideHosts,
                             kSourceSide + kSideHosts,
                             kService,
                             kDestinationSide + kSideVpnHosts,
                             kSourceSide + kSideVpnHosts,
                             kDestinationSide + kSideInterface,
                             kSourceSide + kSideInterface,
                             kSchedule,
                             kDestinationSide,
                             kSourceSide};

// A part spanning more keys than this is always compared.
constexpr std::uint64_t kMaxKeysPerPart = 64;

enum class Bound { eLower, eUpper };

template <typename E>
const Region<E>& Pick(const Bounds<E>& bounds, Bound which) {
    return which == Bound::eLower ? bounds.lower : bounds.upper;
}

std::uint64_t Mix(int part, std::uint64_t kind, std::uint64_t value) {
    std::uint64_t h = value * 0x9e3779b97f4a7c15ULL;
    h ^= (kind + 0x632be59bd9b4e019ULL + (h << 6) + (h >> 2));
    h ^= static_cast<std::uint64_t>(part) * 0xff51afd7ed558ccdULL;
    return h;
}

const Side& SideOf(const RuleMatch& m, int part) {
    return part < kDestinationSide ? m.source : m.destination;
}

std::uint32_t SideMask(const Side& side, int base, Bound which) {
    switch (side.kind) {
        case SideKind::eAny:
            return 0;
        case SideKind::ePublic:
            return (1u << base) |
                   (Pick(side.interfaces, which).IsFull() ? 0 : 1u << (base + kSideInterface)) |
                   (Pick(side.hosts, which).IsFull() ? 0 : 1u << (base + kSideHosts));
        case SideKind::ePrivate:
            return (1u << base) |
                   (Pick(side.vpnHosts, which).IsFull() ? 0 : 1u << (base + kSideVpnHosts));
        case SideKind::eUnknown:
            break;
    }
    return 0xfu << base;
}

std::uint32_t MaskOf(const RuleMatch& m, Bound which) {
    return (Pick(m.schedule, which).IsFull() ? 0 : 1u << kSchedule) |
           (Pick(m.service, which).IsFull() ? 0 : 1u << kService) |
           SideMask(m.source, kSourceSide, which) |
           SideMask(m.destination, kDestinationSide, which);
}

// Keys of one exact part, by kind. Each adds the keys of every value of
// the set, or sets wide when that would be too many.
template <typename T>
void IntervalKeys(const IntervalSet<T>& set, int part, std::uint64_t kind, unsigned shift,
                  std::vector<std::uint64_t>& keys, bool& wide) {
    for (const auto& i : set.Items()) {
        const T first = i.lo >> shift;
        const T last = i.hi >> shift;
        if (last - first >= kMaxKeysPerPart) {
            wide = true;
            return;
        }
        for (T k = first;; ++k) {
            keys.push_back(Mix(part, kind, static_cast<std::uint64_t>(k)));
            if (k == last) {
                break;
            }
        }
    }
}

void ExactKeys(const AddressSet& set, int part, std::vector<std::uint64_t>& keys, bool& wide) {
    IntervalKeys(set.v4, part, 4, 24, keys, wide);
    IntervalKeys(set.v6, part, 6, 112, keys, wide);
}

void ExactKeys(const InterfaceAddressSet& set, int part, std::vector<std::uint64_t>& keys,
               bool& wide) {
    ExactKeys(set.addresses, part, keys, wide);
}

std::int64_t PortBlock(std::int64_t port) {
    return port < 0 ? -1 : port >> 12;
}

std::uint64_t ServiceKey(int part, std::int64_t protocol, std::int64_t block) {
    return Mix(part, static_cast<std::uint64_t>(protocol),
               static_cast<std::uint64_t>(block) + 0x1000);
}

void ExactKeys(const ServiceSet& set, int part, std::vector<std::uint64_t>& keys, bool& wide) {
    for (const ServiceBox& box : set.Boxes()) {
        const std::int64_t firstBlock = PortBlock(box.lo[2]);
        const std::int64_t lastBlock = PortBlock(box.hi[2]);
        const std::uint64_t protocols =
            static_cast<std::uint64_t>(box.hi[0]) - static_cast<std::uint64_t>(box.lo[0]);
        const std::uint64_t blocks = static_cast<std::uint64_t>(lastBlock - firstBlock);
        if (protocols >= kMaxKeysPerPart || (protocols + 1) * (blocks + 1) > kMaxKeysPerPart) {
            wide = true;
            return;
        }
        for (std::int64_t p = box.lo[0]; p <= box.hi[0]; ++p) {
            for (std::int64_t b = firstBlock; b <= lastBlock; ++b) {
                keys.push_back(ServiceKey(part, p, b));
            }
        }
    }
}

void ExactKeys(const ScheduleSet& set, int part, std::vector<std::uint64_t>& keys, bool&) {
    if (!set.IsEmpty()) {
        keys.push_back(Mix(part, 'x', 0));
    }
}

void ExactKeys(const NoExact&, int, std::vector<std::uint64_t>&, bool&) {}

// The key of one value of an exact part that is not empty.
std::uint64_t ExactProbe(const AddressSet& set, int part) {
    if (!set.v4.IsEmpty()) {
        return Mix(part, 4, set.v4.Items().front().lo >> 24);
    }
    return Mix(part, 6, static_cast<std::uint64_t>(set.v6.Items().front().lo >> 112));
}
std::uint64_t ExactProbe(const InterfaceAddressSet& set, int part) {
    return ExactProbe(set.addresses, part);
}
std::uint64_t ExactProbe(const ServiceSet& set, int part) {
    const ServiceBox& box = set.Boxes().front();
    return ServiceKey(part, box.lo[0], PortBlock(box.lo[2]));
}
std::uint64_t ExactProbe(const ScheduleSet&, int part) {
    return Mix(part, 'x', 0);
}
std::uint64_t ExactProbe(const NoExact&, int part) {
    return Mix(part, 'n', 0);
}

template <typename E>
void RegionKeys(const Region<E>& region, int part, std::vector<std::uint64_t>& keys, bool& wide) {
    for (Token t : region.tokens) {
        keys.push_back(Mix(part, 't', t));
    }
    ExactKeys(region.exact, part, keys, wide);
}

template <typename E>
std::uint64_t RegionProbe(const Region<E>& region, int part) {
    if (!region.tokens.empty()) {
        return Mix(part, 't', region.tokens.front());
    }
    if (region.exact.IsEmpty()) {
        return Mix(part, 'e', 0);
    }
    return ExactProbe(region.exact, part);
}

// Applies f to the region of a part (not the side parts themselves).
template <typename F>
void WithRegion(const RuleMatch& m, int part, Bound which, F f) {
    if (part == kSchedule) {
        f(Pick(m.schedule, which));
        return;
    }
    if (part == kService) {
        f(Pick(m.service, which));
        return;
    }
    const Side& side = SideOf(m, part);
    switch ((part - kSourceSide) % 4) {
        case kSideInterface:
            f(Pick(side.interfaces, which));
            break;
        case kSideHosts:
            f(Pick(side.hosts, which));
            break;
        default:
            f(Pick(side.vpnHosts, which));
            break;
    }
}

bool IsSidePart(int part) {
    return part == kSourceSide || part == kDestinationSide;
}

void PostKeys(const RuleMatch& m, int part, std::vector<std::uint64_t>& keys, bool& wide) {
    if (IsSidePart(part)) {
        keys.push_back(Mix(part, 's', static_cast<std::uint64_t>(SideOf(m, part).kind)));
        return;
    }
    WithRegion(m, part, Bound::eLower,
               [&](const auto& region) { RegionKeys(region, part, keys, wide); });
}

std::uint64_t ProbeKey(const RuleMatch& m, int part) {
    if (IsSidePart(part)) {
        return Mix(part, 's', static_cast<std::uint64_t>(SideOf(m, part).kind));
    }
    std::uint64_t key = 0;
    WithRegion(m, part, Bound::eUpper,
               [&](const auto& region) { key = RegionProbe(region, part); });
    return key;
}

bool SideCanCover(const Side& side) {
    switch (side.kind) {
        case SideKind::ePublic:
            return !side.interfaces.lower.IsEmpty() && !side.hosts.lower.IsEmpty();
        case SideKind::ePrivate:
            return !side.vpnHosts.lower.IsEmpty();
        case SideKind::eUnknown:
            return false;
        case SideKind::eAny:
            break;
    }
    return true;
}

// False when the rule is sure to cover no rule that matches something.
bool CanCover(const RuleMatch& m) {
    return !m.schedule.lower.IsEmpty() && !m.service.lower.IsEmpty() && SideCanCover(m.source) &&
           SideCanCover(m.destination);
}

}  // namespace

void ShadowIndex::Add(std::uint32_t rule, const RuleMatch& match) {
    if (!CanCover(match)) {
        return;
    }
    const std::uint32_t mask = MaskOf(match, Bound::eLower);
    const auto [at, added] = groupOf_.emplace(mask, groups_.size());
    if (added) {
        groups_.push_back(Group{mask, {}, {}});
    }
    Group& group = groups_[at->second];
    if (mask == 0) {
        group.always.push_back(rule);
        return;
    }
    if (group.parts.empty()) {
        for (int part : kKeyOrder) {
            if (mask & (1u << part)) {
                group.parts.push_back(PartIndex{part, {}, {}});
            }
        }
    }
    std::vector<std::uint64_t>& keys = keys_;
    for (PartIndex& index : group.parts) {
        keys.clear();
        bool wide = false;
        PostKeys(match, index.part, keys, wide);
        if (wide) {
            index.always.push_back(rule);
            continue;
        }
        std::sort(keys.begin(), keys.end());
        keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
        for (std::uint64_t key : keys) {
            index.byKey[key].push_back(rule);
        }
    }
}

void ShadowIndex::AddCandidates(const Group& group, const RuleMatch& match,
                                std::vector<Run>& runs) const {
    const auto add = [&runs](const std::vector<std::uint32_t>& rules) {
        if (!rules.empty()) {
            runs.push_back(Run{rules.data(), rules.data() + rules.size()});
        }
    };
    add(group.always);
    const PartIndex* best = nullptr;
    const std::vector<std::uint32_t>* bestHits = nullptr;
    std::size_t bestSize = 0;
    for (const PartIndex& index : group.parts) {
        const auto hit = index.byKey.find(ProbeKey(match, index.part));
        const std::vector<std::uint32_t>* hits = hit == index.byKey.end() ? nullptr : &hit->second;
        const std::size_t size = index.always.size() + (hits ? hits->size() : 0);
        if (best == nullptr || size < bestSize) {
            best = &index;
            bestHits = hits;
            bestSize = size;
        }
    }
    if (best != nullptr) {
        add(best->always);
        if (bestHits != nullptr) {
            add(*bestHits);
        }
    }
}

std::vector<ShadowIndex::Run> ShadowIndex::CandidateRuns(const RuleMatch& match) const {
    const std::uint32_t mask = MaskOf(match, Bound::eUpper);
    std::vector<Run> runs;
    for (const Group& group : groups_) {
        if ((group.mask & ~mask) == 0) {
            AddCandidates(group, match, runs);
        }
    }
    return runs;
}

std::vector<std::uint32_t> ShadowIndex::Candidates(const RuleMatch& match) const {
    std::vector<std::uint32_t> out;
    VisitCandidates(match, [&out](std::uint32_t rule) {
        out.push_back(rule);
        return false;
    });
    return out;
}

}  // namespace fwcommon::lint
