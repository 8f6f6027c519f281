#include "lint/LintRuleMatch.h"

namespace fwcommon::lint {
namespace {

// The union of a condition sequence, or everything when it is empty.
template <typename E, typename Sequence, typename Evaluate>
Bounds<E> UnionOf(const Sequence& conditions, Evaluate evaluate) {
    if (conditions.empty()) {
        return Bounds<E>::Full();
    }
    Bounds<E> result;
    for (const auto& c : conditions) {
        result.UnionWith(evaluate(c));
    }
    return result;
}

// The side of a network condition, each of its parts built once (a Side
// left to its defaults holds full sets, which cost an allocation each).
template <typename Optional>
Side BuildSide(const Optional& network, ConditionEvaluator& evaluator, const ValueSink* sink) {
    if (!network) {
        return Side{};
    }
    if (const auto* pub = dynamic_cast<const Sarvo::PublicNetwork*>(&*network)) {
        return Side{SideKind::ePublic,
                    pub->InterfaceCondition()
                        ? evaluator.Interface(*pub->InterfaceCondition(), sink)
                        : InterfaceBounds::Full(),
                    UnionOf<AddressSet>(pub->IpHostCondition(),
                                        [&](const auto& c) { return evaluator.Host(c, sink); }),
                    VpnBounds::Full()};
    }
    if (const auto* priv = dynamic_cast<const Sarvo::PrivateNetwork*>(&*network)) {
        return Side{SideKind::ePrivate, InterfaceBounds::Full(), HostBounds::Full(),
                    UnionOf<NoExact>(priv->VpnHostCondition(),
                                     [&](const auto& c) { return evaluator.Vpn(c, sink); })};
    }
    Side side;
    side.kind = SideKind::eUnknown;
    return side;
}

bool SideIsEmpty(const Side& side) {
    switch (side.kind) {
        case SideKind::ePublic:
            return side.interfaces.upper.IsEmpty() || side.hosts.upper.IsEmpty();
        case SideKind::ePrivate:
            return side.vpnHosts.upper.IsEmpty();
        default:
            return false;
    }
}

bool SideCovers(const Side& outer, const Side& inner) {
    if (outer.kind == SideKind::eAny) {
        return true;
    }
    if (outer.kind != inner.kind) {
        return false;
    }
    switch (outer.kind) {
        case SideKind::ePublic:
            return outer.hosts.lower.Covers(inner.hosts.upper) &&
                   outer.interfaces.lower.Covers(inner.interfaces.upper);
        case SideKind::ePrivate:
            return outer.vpnHosts.lower.Covers(inner.vpnHosts.upper);
        default:
            return false;
    }
}

}  // namespace

RuleMatch BuildRuleMatch(const Sarvo::ConditionSet& conditions, ConditionEvaluator& evaluator,
                         const ValueSink& sink) {
    // Built in place, part by part in the order their findings are reported.
    return RuleMatch{
        UnionOf<ScheduleSet>(conditions.ScheduleCondition(),
                             [&](const auto& c) { return evaluator.Schedule(c, &sink); }),
        BuildSide(conditions.Source(), evaluator, &sink),
        UnionOf<ServiceSet>(conditions.ServiceCondition(),
                            [&](const auto& c) { return evaluator.Service(c, &sink); }),
        BuildSide(conditions.Destination(), evaluator, &sink)};
}

const wchar_t* EmptyPart(const RuleMatch& match) {
    if (match.schedule.upper.IsEmpty()) {
        return L"schedule";
    }
    if (SideIsEmpty(match.source)) {
        return L"source";
    }
    if (match.service.upper.IsEmpty()) {
        return L"service";
    }
    if (SideIsEmpty(match.destination)) {
        return L"destination";
    }
    return nullptr;
}

bool Covers(const RuleMatch& outer, const RuleMatch& inner) {
    return SideCovers(outer.destination, inner.destination) &&
           SideCovers(outer.source, inner.source) &&
           outer.service.lower.Covers(inner.service.upper) &&
           outer.schedule.lower.Covers(inner.schedule.upper);
}

}  // namespace fwcommon::lint
