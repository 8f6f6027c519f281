// IP host, IP primitive, VPN host and interface condition comparisons.

#include <gtest/gtest.h>

#include <fwcommon/ConditionComparator.h>

#include "ConditionRows.h"
#include "common/Conditions.h"

namespace fwcommon::test {
namespace {

using condition_comparator::CompareInterfaceCondition;
using condition_comparator::CompareIpHostCondition;
using condition_comparator::CompareVpnHostCondition;
using Sarvo::DomainName;
using Sarvo::IpObjectRef;
using Sarvo::IpSystemObjectRef;

template <typename T, typename... Args>
std::shared_ptr<T> Make(Args&&... args) {
    return std::make_shared<T>(std::forward<Args>(args)...);
}

TEST(HostConditionComparison, IpHostConditionsUnderSource) {
    const std::vector<ConditionRow<Sarvo::IpHostCondition>> rows = {
        {"same address", Address(L"10.0.0.1"), Address(L"10.0.0.1"), L""},
        {"same mask", Mask(L"10.0.0.0", L"255.0.0.0"), Mask(L"10.0.0.0", L"255.0.0.0"), L""},
        {"same range", Range(L"10.0.0.1", L"10.0.0.9"), Range(L"10.0.0.1", L"10.0.0.9"), L""},
        {"same domain", Make<DomainName>(L"a.example"), Make<DomainName>(L"a.example"), L""},
        {"same object", Make<IpObjectRef>(5), Make<IpObjectRef>(5), L""},
        {"address values", Address(L"10.0.0.1"), Address(L"10.0.0.2"),
         L"In Source one of 'IpHostCondition' with type 'IpAddress' mismatch: '10.0.0.1', "
         L"'10.0.0.2'"},
        {"mask values", Mask(L"10.0.0.0", L"255.0.0.0"), Mask(L"10.0.0.0", L"255.255.0.0"),
         L"In Source  one of 'IpHostCondition' with type 'IpMask' mismatch: "
         L"'10.0.0.0/255.0.0.0', '10.0.0.0/255.255.0.0'"},
        {"mask nets", Mask(L"10.0.0.0", L"255.0.0.0"), Mask(L"11.0.0.0", L"255.0.0.0"),
         L"In Source  one of 'IpHostCondition' with type 'IpMask' mismatch: "
         L"'10.0.0.0/255.0.0.0', '11.0.0.0/255.0.0.0'"},
        {"range values", Range(L"10.0.0.1", L"10.0.0.9"), Range(L"10.0.0.1", L"10.0.0.8"),
         L"In Source  one of 'IpHostCondition' with type 'IpMask' mismatch: "
         L"'10.0.0.1-10.0.0.9', '10.0.0.1-10.0.0.8'"},
        {"address against range", Address(L"10.0.0.1"), Range(L"10.0.0.1", L"10.0.0.9"),
         L"In Source one of 'IpPrimitive' type mismatch"},
        {"mask against address", Mask(L"10.0.0.0", L"255.0.0.0"), Address(L"10.0.0.0"),
         L"In Source one of 'IpPrimitive' type mismatch"},
        {"plain primitives", Make<Sarvo::IpPrimitive>(), Make<Sarvo::IpPrimitive>(),
         L"Incorrect XmlRules. IpHostCondition must be one of the types IpMask, IpAddress or "
         L"IpRange"},
        {"domain values", Make<DomainName>(L"a.example"), Make<DomainName>(L"b.example"),
         L"In Source one of 'IpHostCondition' with type DomainName mismatch: 'a.example', "
         L"'b.example'"},
        {"system object names", Make<IpSystemObjectRef>(L"AllClients"),
         Make<IpSystemObjectRef>(L"InternetIP"),
         L"In Source one of 'IpHostCondition' with type IpSystemObjectRef mismatch: "
         L"'AllClients', 'InternetIP'"},
        {"object ids", Make<IpObjectRef>(5), Make<IpObjectRef>(6),
         L"In Source one of 'IpHostCondition' with type IpObjectRef mismatch: '5', '6'"},
        {"address against domain", Address(L"10.0.0.1"), Make<DomainName>(L"a.example"),
         L"In Source one of 'IpHostCondition' type mismatch"},
        {"domain against object", Make<DomainName>(L"a.example"), Make<IpObjectRef>(5),
         L"In Source one of 'IpHostCondition' type mismatch"},
        {"system object against object", Make<IpSystemObjectRef>(L"AllClients"),
         Make<IpObjectRef>(5), L"In Source one of 'IpHostCondition' type mismatch"},
        {"plain conditions", Make<Sarvo::IpHostCondition>(), Make<Sarvo::IpHostCondition>(),
         L"Incorrect XmlRules. IpHostCondition must be one of the types IpPrimitive DomainName, "
         L"IpSystemObjectRef or IpObjectRef"},
    };
    CheckRows(rows, CompareIpHostCondition, L"Source");
}

TEST(HostConditionComparison, AddressAgainstRangeNamesTheContext) {
    std::wstring details;
    const auto address = Address(L"10.0.0.1");
    const auto range = Range(L"10.0.0.1", L"10.0.0.2");
    EXPECT_FALSE(CompareIpHostCondition(address.get(), range.get(), L"Inclusion", details));
    EXPECT_EQ(details, L"In Inclusion one of 'IpPrimitive' type mismatch");
}

TEST(HostConditionComparison, VpnHostConditionsEndWithABlank) {
    using namespace Sarvo;
    const std::vector<ConditionRow<VpnHostCondition>> rows = {
        {"same node", Make<VpnNodeId>(7), Make<VpnNodeId>(7), L""},
        {"same template", Make<VpnNameTemplate>(L"a*"), Make<VpnNameTemplate>(L"a*"), L""},
        {"node ids", Make<VpnNodeId>(7), Make<VpnNodeId>(8),
         L"In Destination one of 'VpnHostCondition' with type 'VpnNodeId' mismatch: '7', '8' "},
        {"network ids", Make<VpnNetworkId>(4294967296LL), Make<VpnNetworkId>(1),
         L"In Destination one of 'VpnHostCondition' with type 'VpnNetworkId' mismatch: "
         L"'4294967296', '1' "},
        {"templates", Make<VpnNameTemplate>(L"a*"), Make<VpnNameTemplate>(L"b*"),
         L"In Destination one of 'VpnHostCondition' with type 'VpnNameTemplate' mismatch: "
         L"'a*', 'b*' "},
        {"system objects", Make<VpnSystemObjectRef>(L"AllClients"),
         Make<VpnSystemObjectRef>(L"AllNodes"),
         L"In Destination one of 'VpnHostCondition' with type 'VpnSystemObjectRef' mismatch: "
         L"'AllClients', 'AllNodes' "},
        {"object ids", Make<VpnObjectRef>(667), Make<VpnObjectRef>(668),
         L"In Destination one of 'VpnHostCondition' with type 'VpnObjectRef' mismatch: '667', "
         L"'668' "},
        {"node against network", Make<VpnNodeId>(7), Make<VpnNetworkId>(7),
         L"In Destination one of 'VpnHostCondition' type mismatch"},
        {"object against system object", Make<VpnObjectRef>(7),
         Make<VpnSystemObjectRef>(L"AllClients"),
         L"In Destination one of 'VpnHostCondition' type mismatch"},
        {"plain conditions", Make<VpnHostCondition>(), Make<VpnHostCondition>(),
         L"Incorrect XmlRules. IpHostCondition must be one of the types VpnNodeId, "
         L"VpnNetworkId, VpnNameTemplate, VpnSystemObjectRef or VpnSystemObjectRef"},
    };
    CheckRows(rows, CompareVpnHostCondition, L"Destination");
}

TEST(HostConditionComparison, InterfaceConditions) {
    using namespace Sarvo;
    auto byIp = [](const std::shared_ptr<IpPrimitive>& address) {
        return Make<InterfaceByIp>(*address);
    };
    const std::vector<ConditionRow<InterfaceCondition>> rows = {
        {"same name", Make<SimpleInterface>(L"eth0"), Make<SimpleInterface>(L"eth0"), L""},
        {"same address", byIp(Address(L"10.0.0.1")), byIp(Address(L"10.0.0.1")), L""},
        {"names", Make<SimpleInterface>(L"eth0"), Make<SimpleInterface>(L"eth1"),
         L"In Source one of 'InterfaceCondition' with type SimpleInterface mismatch: 'eth0', "
         L"'eth1'"},
        {"system objects", Make<InterfaceSystemObjectRef>(L"AnyInterface"),
         Make<InterfaceSystemObjectRef>(L"Internal"),
         L"In Source one of 'InterfaceCondition' with type InterfaceSystemObjectRef mismatch: "
         L"'AnyInterface', 'Internal'"},
        {"object ids", Make<InterfaceObjectRef>(1), Make<InterfaceObjectRef>(2),
         L"In Source one of 'InterfaceCondition' with type InterfaceObjectRef mismatch: '1', "
         L"'2'"},
        {"addresses", byIp(Address(L"10.0.0.1")), byIp(Address(L"10.0.0.2")),
         L"In Source 'InterfaceByIp' one of 'IpHostCondition' with type 'IpAddress' mismatch: "
         L"'10.0.0.1', '10.0.0.2'"},
        {"address against mask", byIp(Address(L"10.0.0.1")), byIp(Mask(L"10.0.0.0", L"255.0.0.0")),
         L"In Source 'InterfaceByIp' one of 'IpPrimitive' type mismatch"},
        {"name against address", Make<SimpleInterface>(L"eth0"), byIp(Address(L"10.0.0.1")),
         L"In Source one of 'InterfaceCondition' type mismatch"},
        {"object against system object", Make<InterfaceObjectRef>(1),
         Make<InterfaceSystemObjectRef>(L"Internal"),
         L"In Source one of 'InterfaceCondition' type mismatch"},
        {"plain conditions", Make<InterfaceCondition>(), Make<InterfaceCondition>(),
         L"Incorrect XmlRules. InterfaceCondition must be one of the types "
         L"SimpleInterfaceInterfaceSystemObjectRef, InterfaceObjectRef or InterfaceByIp"},
    };
    CheckRows(rows, CompareInterfaceCondition, L"Source");
}

}  // namespace
}  // namespace fwcommon::test
