#pragma once

#include <stdexcept>
#include <type_traits>
#include <utility>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/GenericXmlConditionFieldsVisitor.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// Hands one condition to the visitor callback of its dynamic type; used by
// the rule and named-object iterators. The first matching kind wins; kinds
// without a callback (the system-object references of interface, service
// and schedule conditions) are skipped. An IP primitive or port of a kind
// the schema does not define throws std::logic_error "unknown variant".
template <class List>
class GenericXmlConditionDispatch {
public:
    using Visitor = GenericXmlConditionFieldsVisitor<List>;
    using Purpose = ConditionPurpose::Type;
    template <class T>
    using Element = typename List::template Element<T>;

    static void IpHost(Visitor& visitor, Element<Sarvo::IpHostCondition>& condition,
                       Purpose purpose) {
        if (auto* primitive = As<Sarvo::IpPrimitive>(condition)) {
            IpPrimitive(visitor, *primitive, purpose, false);
        } else if (auto* name = As<Sarvo::DomainName>(condition)) {
            visitor.VisitDomainName(*name, purpose);
        } else if (auto* system = As<Sarvo::IpSystemObjectRef>(condition)) {
            visitor.VisitIpSystemObjectRef(*system, purpose);
        } else if (auto* reference = As<Sarvo::IpObjectRef>(condition)) {
            visitor.VisitIpObjectRef(*reference, purpose);
        }
    }

    static void Interface(Visitor& visitor, Element<Sarvo::InterfaceCondition>& condition,
                          Purpose purpose) {
        if (auto* byIp = As<Sarvo::InterfaceByIp>(condition)) {
            IpPrimitive(visitor, byIp->Condition(), purpose, true);
        } else if (auto* simple = As<Sarvo::SimpleInterface>(condition)) {
            visitor.VisitSimpleInterface(*simple, purpose);
        } else if (auto* reference = As<Sarvo::InterfaceObjectRef>(condition)) {
            visitor.VisitInterfaceObjectRef(*reference, purpose);
        }
    }

    static void VpnHost(Visitor& visitor, Element<Sarvo::VpnHostCondition>& condition,
                        Purpose purpose) {
        if (auto* node = As<Sarvo::VpnNodeId>(condition)) {
            visitor.VisitVpnNodeId(*node, purpose);
        } else if (auto* network = As<Sarvo::VpnNetworkId>(condition)) {
            visitor.VisitVpnNetworkId(*network, purpose);
        } else if (auto* nameTemplate = As<Sarvo::VpnNameTemplate>(condition)) {
            visitor.VisitVpnNameTemplate(*nameTemplate, purpose);
        } else if (auto* system = As<Sarvo::VpnSystemObjectRef>(condition)) {
            visitor.VisitVpnSystemObjectRef(*system, purpose);
        } else if (auto* reference = As<Sarvo::VpnObjectRef>(condition)) {
            visitor.VisitVpnObjectRef(*reference, purpose);
        }
    }

    static void Service(Visitor& visitor, Element<Sarvo::ServiceCondition>& condition,
                        Purpose purpose) {
        if (auto* ports = As<Sarvo::PortRestrictionCondition>(condition)) {
            PortRestriction(visitor, *ports, purpose);
        } else if (auto* icmp = As<Sarvo::IcmpCondition>(condition)) {
            visitor.VisitIcmpCondition(*icmp, purpose);
            visitor.VisitIcmpConditionDetails(*icmp, purpose);
        } else if (auto* protocol = As<Sarvo::ProtocolCondition>(condition)) {
            visitor.VisitProtocolCondition(*protocol, purpose);
        } else if (auto* reference = As<Sarvo::ServiceObjectRef>(condition)) {
            visitor.VisitServiceObjectRef(*reference, purpose);
        }
    }

    static void Schedule(Visitor& visitor, Element<Sarvo::ScheduleCondition>& condition,
                         Purpose purpose) {
        if (auto* calendar = As<Sarvo::Calendar>(condition)) {
            visitor.VisitCalendar(*calendar, purpose);
        } else if (auto* daily = As<Sarvo::Daily>(condition)) {
            visitor.VisitDaily(*daily, purpose);
        } else if (auto* weekly = As<Sarvo::Weekly>(condition)) {
            visitor.VisitWeekly(*weekly, purpose);
        } else if (auto* reference = As<Sarvo::ScheduleObjectRef>(condition)) {
            visitor.VisitScheduleObjectRef(*reference, purpose);
        }
    }

    // The same, chosen by the condition's static type.
    static void Condition(Visitor& v, Element<Sarvo::IpHostCondition>& c, Purpose p) {
        IpHost(v, c, p);
    }
    static void Condition(Visitor& v, Element<Sarvo::InterfaceCondition>& c, Purpose p) {
        Interface(v, c, p);
    }
    static void Condition(Visitor& v, Element<Sarvo::VpnHostCondition>& c, Purpose p) {
        VpnHost(v, c, p);
    }
    static void Condition(Visitor& v, Element<Sarvo::ServiceCondition>& c, Purpose p) {
        Service(v, c, p);
    }
    static void Condition(Visitor& v, Element<Sarvo::ScheduleCondition>& c, Purpose p) {
        Schedule(v, c, p);
    }

private:
    template <class T, class From>
    static Element<T>* As(From& from) {
        return dynamic_cast<Element<T>*>(&from);
    }

    [[noreturn]] static void UnknownVariant() { throw std::logic_error("unknown variant"); }

    static void IpPrimitive(Visitor& visitor, Element<Sarvo::IpPrimitive>& primitive,
                            Purpose purpose, bool ofInterface) {
        if (auto* address = As<Sarvo::IpAddress>(primitive)) {
            ofInterface ? visitor.VisitInterfaceIpAddress(*address, purpose)
                        : visitor.VisitIpAddress(*address, purpose);
        } else if (auto* range = As<Sarvo::IpRange>(primitive)) {
            ofInterface ? visitor.VisitInterfaceIpRange(*range, purpose)
                        : visitor.VisitIpRange(*range, purpose);
        } else if (auto* mask = As<Sarvo::IpMask>(primitive)) {
            ofInterface ? visitor.VisitInterfaceIpMask(*mask, purpose)
                        : visitor.VisitIpMask(*mask, purpose);
        } else {
            UnknownVariant();
        }
    }

    static void PortRestriction(Visitor& visitor,
                                Element<Sarvo::PortRestrictionCondition>& condition,
                                Purpose purpose) {
        if (auto* tcp = As<Sarvo::TcpCondition>(condition)) {
            visitor.VisitTcpCondition(*tcp, purpose);
        } else if (auto* udp = As<Sarvo::UdpCondition>(condition)) {
            visitor.VisitUdpCondition(*udp, purpose);
        }
        if (condition.SourcePort().present()) {
            Port(visitor, condition.SourcePort().get(), purpose, true);
        }
        if (condition.DestinationPort().present()) {
            Port(visitor, condition.DestinationPort().get(), purpose, false);
        }
    }

    static void Port(Visitor& visitor, Element<Sarvo::PortPrimitive>& port, Purpose purpose,
                     bool isSource) {
        if (auto* single = As<Sarvo::Port>(port)) {
            isSource ? visitor.VisitSourcePort(*single, purpose)
                     : visitor.VisitDestinationPort(*single, purpose);
        } else if (auto* range = As<Sarvo::PortRange>(port)) {
            isSource ? visitor.VisitSourcePortRange(*range, purpose)
                     : visitor.VisitDestinationPortRange(*range, purpose);
        } else {
            UnknownVariant();
        }
    }
};

extern template class FWCOMMON_EXPORT GenericXmlConditionDispatch<ConditionList>;
extern template class FWCOMMON_EXPORT GenericXmlConditionDispatch<ConstConditionList>;

// The references a condition type may hold: to a named object of one kind
// (ObjectRef) or to a system object (SystemRef).
template <class Condition>
struct ConditionReferences;

template <>
struct ConditionReferences<Sarvo::IpHostCondition> {
    using ObjectRef = Sarvo::IpObjectRef;
    using SystemRef = Sarvo::IpSystemObjectRef;
    static constexpr NamedObjectType kKind = eIpAddressObject;
};

template <>
struct ConditionReferences<Sarvo::InterfaceCondition> {
    using ObjectRef = Sarvo::InterfaceObjectRef;
    using SystemRef = Sarvo::InterfaceSystemObjectRef;
    static constexpr NamedObjectType kKind = eInterfaceObject;
};

template <>
struct ConditionReferences<Sarvo::VpnHostCondition> {
    using ObjectRef = Sarvo::VpnObjectRef;
    using SystemRef = Sarvo::VpnSystemObjectRef;
    static constexpr NamedObjectType kKind = eSarvoGroupObject;
};

template <>
struct ConditionReferences<Sarvo::ServiceCondition> {
    using ObjectRef = Sarvo::ServiceObjectRef;
    using SystemRef = Sarvo::ServiceSystemObjectRef;
    static constexpr NamedObjectType kKind = eServiceObject;
};

template <>
struct ConditionReferences<Sarvo::ScheduleCondition> {
    using ObjectRef = Sarvo::ScheduleObjectRef;
    using SystemRef = Sarvo::ScheduleSystemObjectRef;
    static constexpr NamedObjectType kKind = eScheduleObject;
};

// The kind of named object a condition of this type (const or not) may
// refer to.
template <class Condition>
constexpr NamedObjectType kReferencedKind =
    ConditionReferences<std::remove_const_t<Condition>>::kKind;

namespace detail {

// T with the constness of From.
template <class From, class T>
using SameConstness = std::conditional_t<std::is_const_v<From>, const T, T>;

// The object as T (with its constness), or nullptr.
template <class T, class From>
SameConstness<From, T>* As(From& from) {
    return dynamic_cast<SameConstness<From, T>*>(&from);
}

template <class List, class = void>
struct IsOptional : std::false_type {};
template <class List>
struct IsOptional<List, std::void_t<decltype(std::declval<List&>().present())>> : std::true_type {};

}  // namespace detail

// The condition as a reference to a named object, or nullptr when it is of
// another kind. The result has the constness of the condition.
template <class Condition>
auto* AsObjectReference(Condition& condition) {
    return detail::As<typename ConditionReferences<std::remove_const_t<Condition>>::ObjectRef>(
        condition);
}

// The condition as a reference to a system object, or nullptr.
template <class Condition>
auto* AsSystemReference(Condition& condition) {
    return detail::As<typename ConditionReferences<std::remove_const_t<Condition>>::SystemRef>(
        condition);
}

// True when the condition is a reference to the named object of this kind
// and Id.
template <class Condition>
bool RefersTo(const Condition& condition, NamedObjectType kind, int id) {
    if (kReferencedKind<Condition> != kind) {
        return false;
    }
    const auto* reference = AsObjectReference(condition);
    return reference != nullptr && reference->Id() == id;
}

// Calls fn with each element of a list of conditions: every element of a
// sequence, or the element of an optional when it is present.
template <class List, class Fn>
void ForEachElement(List& list, Fn&& fn) {
    if constexpr (detail::IsOptional<List>::value) {
        if (list.present()) {
            fn(list.get());
        }
    } else {
        for (auto& element : list) {
            fn(element);
        }
    }
}

// Calls fn(list, purpose) with each list of conditions of one network side:
// the interface condition (an optional) and the IP host conditions of a
// public network, the VPN host conditions of a private one. Nothing for an
// absent side.
template <class Side, class Fn>
void ForEachSideList(Side& side, ConditionPurpose::Type purpose, Fn&& fn) {
    if (!side.present()) {
        return;
    }
    if (auto* pub = detail::As<Sarvo::PublicNetwork>(side.get())) {
        fn(pub->InterfaceCondition(), purpose);
        fn(pub->IpHostCondition(), purpose);
    } else if (auto* priv = detail::As<Sarvo::PrivateNetwork>(side.get())) {
        fn(priv->VpnHostCondition(), purpose);
    }
}

// Calls fn(list, purpose) with each list of conditions of a rule (const or
// not), in this order: the schedule conditions, the Source side, the
// service conditions, the Destination side. A list is a sequence or, for
// the interface condition, an optional; ForEachElement walks either.
template <class ConditionSet, class Fn>
void ForEachConditionList(ConditionSet& conditions, Fn&& fn) {
    fn(conditions.ScheduleCondition(), ConditionPurpose::eSchedulePurpose);
    ForEachSideList(conditions.Source(), ConditionPurpose::eSourcePurpose, fn);
    fn(conditions.ServiceCondition(), ConditionPurpose::eServicePurpose);
    ForEachSideList(conditions.Destination(), ConditionPurpose::eDestinationPurpose, fn);
}

// Calls fn(condition, purpose) with each condition of a rule, in the order
// of ForEachConditionList; the condition has its static type
// (Sarvo::IpHostCondition and the others).
template <class ConditionSet, class Fn>
void ForEachCondition(ConditionSet& conditions, Fn&& fn) {
    ForEachConditionList(conditions, [&fn](auto& list, ConditionPurpose::Type purpose) {
        ForEachElement(list, [&fn, purpose](auto& condition) { fn(condition, purpose); });
    });
}

// Calls fn(typed) with the named object (const or not) as its dynamic type
// (Sarvo::IpObject and the others); returns false, calling nothing, for a
// type the schema does not define.
template <class NamedObject, class Fn>
bool WithObjectType(NamedObject& object, Fn&& fn) {
    if (auto* ip = detail::As<Sarvo::IpObject>(object)) {
        fn(*ip);
    } else if (auto* interface = detail::As<Sarvo::InterfaceObject>(object)) {
        fn(*interface);
    } else if (auto* vpn = detail::As<Sarvo::VpnObject>(object)) {
        fn(*vpn);
    } else if (auto* service = detail::As<Sarvo::ServiceObject>(object)) {
        fn(*service);
    } else if (auto* schedule = detail::As<Sarvo::ScheduleObject>(object)) {
        fn(*schedule);
    } else {
        return false;
    }
    return true;
}

// Calls fn(member, purpose) with each member of a named object, the
// inclusions first; the member has its static condition type.
template <class NamedObject, class Fn>
void ForEachMember(NamedObject& object, Fn&& fn) {
    WithObjectType(object, [&fn](auto& typed) {
        for (auto& member : typed.Inclusion()) {
            fn(member, ConditionPurpose::eInclusionPurpose);
        }
        for (auto& member : typed.Exclusion()) {
            fn(member, ConditionPurpose::eExclusionPurpose);
        }
    });
}

}  // namespace fwcommon
