#pragma once

#include <fwcommon/ConditionList.h>
#include <fwcommon/ConditionPurpose.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// A host application's callbacks for the conditions of a rule or named
// object, one per kind of condition. An iterator calls them in document
// order; each element callback gets the element (constant over
// ConstConditionList) and the purpose of the place where it stands. The
// visitor is used by one thread for one walk; exceptions thrown by a
// callback pass through the iterator unchanged.
template <class List>
class GenericXmlConditionFieldsVisitor {
public:
    using ListType = List;
    template <class T>
    using Element = typename List::template Element<T>;
    using Purpose = ConditionPurpose::Type;

    virtual ~GenericXmlConditionFieldsVisitor() = default;

    // Before anything else of a rule or named object.
    virtual void OnBegin() = 0;
    // After everything else.
    virtual void OnEnd() = 0;
    // IP host conditions.
    virtual void VisitIpAddress(Element<Sarvo::IpAddress>& element, Purpose purpose) = 0;
    virtual void VisitIpRange(Element<Sarvo::IpRange>& element, Purpose purpose) = 0;
    virtual void VisitIpMask(Element<Sarvo::IpMask>& element, Purpose purpose) = 0;
    virtual void VisitDomainName(Element<Sarvo::DomainName>& element, Purpose purpose) = 0;
    virtual void VisitIpObjectRef(Element<Sarvo::IpObjectRef>& element, Purpose purpose) = 0;
    virtual void VisitIpSystemObjectRef(Element<Sarvo::IpSystemObjectRef>& element,
                                        Purpose purpose) = 0;
    // Interface conditions; the three address callbacks receive the
    // primitive of an InterfaceByIp.
    virtual void VisitSimpleInterface(Element<Sarvo::SimpleInterface>& element,
                                      Purpose purpose) = 0;
    virtual void VisitInterfaceIpAddress(Element<Sarvo::IpAddress>& element, Purpose purpose) = 0;
    virtual void VisitInterfaceIpRange(Element<Sarvo::IpRange>& element, Purpose purpose) = 0;
    virtual void VisitInterfaceIpMask(Element<Sarvo::IpMask>& element, Purpose purpose) = 0;
    virtual void VisitInterfaceObjectRef(Element<Sarvo::InterfaceObjectRef>& element,
                                         Purpose purpose) = 0;
    // VPN host conditions.
    virtual void VisitVpnNodeId(Element<Sarvo::VpnNodeId>& element, Purpose purpose) = 0;
    virtual void VisitVpnNetworkId(Element<Sarvo::VpnNetworkId>& element, Purpose purpose) = 0;
    virtual void VisitVpnNameTemplate(Element<Sarvo::VpnNameTemplate>& element,
                                      Purpose purpose) = 0;
    virtual void VisitVpnSystemObjectRef(Element<Sarvo::VpnSystemObjectRef>& element,
                                         Purpose purpose) = 0;
    virtual void VisitVpnObjectRef(Element<Sarvo::VpnObjectRef>& element, Purpose purpose) = 0;
    // Service conditions. A TCP or UDP condition is followed by its source
    // and destination ports; an ICMP condition comes twice, first to
    // VisitIcmpCondition, then to VisitIcmpConditionDetails.
    virtual void VisitTcpCondition(Element<Sarvo::TcpCondition>& element, Purpose purpose) = 0;
    virtual void VisitUdpCondition(Element<Sarvo::UdpCondition>& element, Purpose purpose) = 0;
    virtual void VisitIcmpCondition(Element<Sarvo::IcmpCondition>& element, Purpose purpose) = 0;
    virtual void VisitProtocolCondition(Element<Sarvo::ProtocolCondition>& element,
                                        Purpose purpose) = 0;
    virtual void VisitSourcePort(Element<Sarvo::Port>& element, Purpose purpose) = 0;
    virtual void VisitSourcePortRange(Element<Sarvo::PortRange>& element, Purpose purpose) = 0;
    virtual void VisitDestinationPort(Element<Sarvo::Port>& element, Purpose purpose) = 0;
    virtual void VisitDestinationPortRange(Element<Sarvo::PortRange>& element, Purpose purpose) = 0;
    virtual void VisitIcmpConditionDetails(Element<Sarvo::IcmpCondition>& element,
                                           Purpose purpose) = 0;
    virtual void VisitServiceObjectRef(Element<Sarvo::ServiceObjectRef>& element,
                                       Purpose purpose) = 0;
    // Schedule conditions.
    virtual void VisitCalendar(Element<Sarvo::Calendar>& element, Purpose purpose) = 0;
    virtual void VisitDaily(Element<Sarvo::Daily>& element, Purpose purpose) = 0;
    virtual void VisitWeekly(Element<Sarvo::Weekly>& element, Purpose purpose) = 0;
    virtual void VisitScheduleObjectRef(Element<Sarvo::ScheduleObjectRef>& element,
                                        Purpose purpose) = 0;

    GenericXmlConditionFieldsVisitor(const GenericXmlConditionFieldsVisitor&) = default;
    GenericXmlConditionFieldsVisitor& operator=(const GenericXmlConditionFieldsVisitor&) {
        return *this;
    }

protected:
    GenericXmlConditionFieldsVisitor() = default;
};

extern template class FWCOMMON_EXPORT GenericXmlConditionFieldsVisitor<ConditionList>;
extern template class FWCOMMON_EXPORT GenericXmlConditionFieldsVisitor<ConstConditionList>;

using XmlConditionFieldsVisitor = GenericXmlConditionFieldsVisitor<ConditionList>;
using ConstXmlConditionFieldsVisitor = GenericXmlConditionFieldsVisitor<ConstConditionList>;

}  // namespace fwcommon
