// Service condition comparison, with the port comparisons behind it.

#include <gtest/gtest.h>

#include <fwcommon/ConditionComparator.h>

#include "ConditionRows.h"
#include "common/Conditions.h"

namespace fwcommon::test {
namespace {

using condition_comparator::CompareServiceCondition;
using Sarvo::PortPrimitive;
using Sarvo::ProtocolCondition;
using Sarvo::ServiceObjectRef;
using Sarvo::ServiceSystemObjectRef;
using Sarvo::TcpCondition;
using Sarvo::UdpCondition;

using Row = ConditionRow<Sarvo::ServiceCondition>;

std::shared_ptr<PortPrimitive> P(long long value) {
    return PortOf(value);
}
std::shared_ptr<PortPrimitive> R(long long begin, long long end) {
    return PortsOf(begin, end);
}
const std::shared_ptr<PortPrimitive> kAbsent;

std::shared_ptr<TcpCondition> Tcp(const std::shared_ptr<PortPrimitive>& source,
                                  const std::shared_ptr<PortPrimitive>& destination,
                                  long long protocol = 6) {
    return Restriction<TcpCondition>(source, destination, protocol);
}

std::shared_ptr<UdpCondition> Udp(const std::shared_ptr<PortPrimitive>& source,
                                  const std::shared_ptr<PortPrimitive>& destination) {
    return Restriction<UdpCondition>(source, destination, 17);
}

std::shared_ptr<ProtocolCondition> Protocol(long long value) {
    return std::make_shared<ProtocolCondition>(value);
}

TEST(ServiceConditionComparison, IcmpConditions) {
    const std::vector<Row> rows = {
        {"same type and code", Icmp(8, 0), Icmp(8, 0), L""},
        {"neither type nor code", Icmp({}, {}), Icmp({}, {}), L""},
        {"protocol is not compared", Icmp(8, 0, 1), Icmp(8, 0, 58), L""},
        {"type against none", Icmp(8, {}), Icmp({}, {}),
         L"In 'Services' Icmp types are different: '8', '<not present>'"},
        {"none against type", Icmp({}, 0), Icmp(3, 0),
         L"In 'Services' Icmp types are different: '<not present>', '3'"},
        {"type values", Icmp(8, 0), Icmp(0, 0),
         L"In 'Services' Icmp types are different: '8', '0'"},
        {"code values", Icmp(3, 1), Icmp(3, 13),
         L"In 'Services' Icmp codes are different: '1', '13'"},
        {"code against none", Icmp(3, 4), Icmp(3, {}),
         L"In 'Services' Icmp codes are different: '4', '<not present>'"},
        {"icmp against protocol", Icmp(8, 0), Protocol(1),
         L"In 'Services' One of service condition is icmp condition"},
        {"protocol against icmp", Protocol(1), Icmp(8, 0),
         L"In 'Services' One of service condition is icmp condition"},
    };
    CheckRows(rows, CompareServiceCondition, L"Services");
}

TEST(ServiceConditionComparison, ProtocolsAndObjectReferences) {
    const std::vector<Row> rows = {
        {"same protocol", Protocol(47), Protocol(47), L""},
        {"protocols", Protocol(6), Protocol(17),
         L"In 'Services' protocols are different: '6', '17'"},
        {"protocol against tcp", Protocol(6), Tcp(P(1), P(2)),
         L"In 'Services' one of service condition is protocol condition"},
        {"udp against protocol", Udp(P(1), P(2)), Protocol(17),
         L"In 'Services' one of service condition is protocol condition"},
        {"same object", std::make_shared<ServiceObjectRef>(3),
         std::make_shared<ServiceObjectRef>(3), L""},
        {"object ids", std::make_shared<ServiceObjectRef>(3), std::make_shared<ServiceObjectRef>(4),
         L"In 'Services' id of service object are different: '3', '4'"},
        {"object against system object", std::make_shared<ServiceObjectRef>(3),
         std::make_shared<ServiceSystemObjectRef>(L"AnyService"),
         L"In 'Services' one of service condition is contain object ref"},
        {"system objects are not compared", std::make_shared<ServiceSystemObjectRef>(L"Any"),
         std::make_shared<ServiceSystemObjectRef>(L"Web"), L""},
    };
    CheckRows(rows, CompareServiceCondition, L"Services");
}

TEST(ServiceConditionComparison, PortRestrictions) {
    const std::vector<Row> rows = {
        {"same ports", Tcp(P(1024), P(80)), Tcp(P(1024), P(80)), L""},
        {"same ranges", Tcp(R(1000, 2000), R(80, 90)), Tcp(R(1000, 2000), R(80, 90)), L""},
        {"protocol element is not compared", Tcp(P(1), P(2), 6), Tcp(P(1), P(2), 7), L""},
        {"both sides absent", Udp(kAbsent, kAbsent), Udp(kAbsent, kAbsent), L""},
        {"tcp against not a restriction", Tcp(P(1), P(2)), std::make_shared<ServiceObjectRef>(1),
         L"In 'Services' one of service condition is not port restriction condition"},
        {"tcp against udp", Tcp(P(1), P(2)), Udp(P(1), P(2)),
         L"In 'Services' the port restriction conditions have different protocol"},
        {"plain restrictions", std::make_shared<Sarvo::PortRestrictionCondition>(),
         std::make_shared<Sarvo::PortRestrictionCondition>(),
         L"In 'Services' the port restriction conditions have different protocol"},
        {"tcp source numbers", Tcp(P(1), P(2)), Tcp(P(3), P(2)),
         L"In 'Services' Tcp conditions source ports are different"},
        {"tcp source port against range", Tcp(P(1), P(2)), Tcp(R(1, 1), P(2)),
         L"In 'Services' Tcp conditions source ports are different"},
        {"tcp source absent", Tcp(kAbsent, P(2)), Tcp(P(1), P(2)),
         L"In 'Services' Tcp conditions source ports are different"},
        {"tcp source range begin", Tcp(R(1000, 2000), P(2)), Tcp(R(1001, 2000), P(2)),
         L"In 'Services' Tcp conditions source ports are different"},
        {"tcp destination numbers", Tcp(P(1), P(80)), Tcp(P(1), P(8080)),
         L"In 'Services' Tcp conditions destination ports are different"},
        {"tcp destination range end", Tcp(P(1), R(80, 90)), Tcp(P(1), R(80, 91)),
         L"In 'Services' Tcp conditions destination ports are different"},
        {"tcp destination absent", Tcp(P(1), P(2)), Tcp(P(1), kAbsent),
         L"In 'Services' Tcp conditions destination ports are different"},
        {"udp source numbers", Udp(P(53), P(53)), Udp(P(54), P(53)),
         L"In 'Services' Udp conditions source ports are different"},
        {"udp destination range against port", Udp(P(53), R(53, 54)), Udp(P(53), P(53)),
         L"In 'Services' Udp conditions destination ports are different"},
        {"plain port primitives", Udp(std::make_shared<PortPrimitive>(), kAbsent),
         Udp(std::make_shared<PortPrimitive>(), kAbsent),
         L"In 'Services' Udp conditions source ports are different"},
    };
    CheckRows(rows, CompareServiceCondition, L"Services");
}

}  // namespace
}  // namespace fwcommon::test
