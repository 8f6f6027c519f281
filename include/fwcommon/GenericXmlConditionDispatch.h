#pragma once

#include <stdexcept>

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

}  // namespace fwcommon
