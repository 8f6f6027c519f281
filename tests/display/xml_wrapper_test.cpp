#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/IXmlWrapper.h>
#include <fwcommon/ProtocolDictionary.h>

#include "common/TestFiles.h"

namespace fwcommon {
namespace {

template <typename Base>
struct Row {
    const char* label;
    std::function<std::unique_ptr<Base>()> make;
    std::wstring expected;
};

template <typename Base, typename Text>
void ExpectTexts(const std::vector<Row<Base>>& rows, Text text) {
    for (const Row<Base>& row : rows) {
        const std::unique_ptr<Base> element = row.make();
        EXPECT_EQ(text(*element), row.expected) << "row: " << row.label;
    }
}

template <typename T, typename... Args>
std::function<std::unique_ptr<T>()> Make(Args... args) {
    return [=] { return std::make_unique<T>(args...); };
}

xml_schema::time Time(unsigned short hours, unsigned short minutes) {
    return xml_schema::time(hours, minutes, 0);
}

Sarvo::WeekDays Days(const char* set) {
    auto on = [set](int i) { return set[i] == '1'; };
    return Sarvo::WeekDays(on(0), on(1), on(2), on(3), on(4), on(5), on(6));
}

std::unique_ptr<Sarvo::IcmpCondition> Icmp(std::optional<long long> type,
                                           std::optional<long long> code) {
    auto icmp = std::make_unique<Sarvo::IcmpCondition>(1);
    if (type) {
        icmp->Type(*type);
    }
    if (code) {
        icmp->Code(*code);
    }
    return icmp;
}

// A port restriction; an empty optional leaves that port absent.
template <typename Condition, typename... Protocol>
std::function<std::unique_ptr<Sarvo::ServiceCondition>()> Ports(
    std::function<std::unique_ptr<Sarvo::PortPrimitive>()> source,
    std::function<std::unique_ptr<Sarvo::PortPrimitive>()> destination, Protocol... protocol) {
    return [=] {
        auto condition = std::make_unique<Condition>(protocol...);
        if (source) {
            condition->SourcePort(source());
        }
        if (destination) {
            condition->DestinationPort(destination());
        }
        return std::unique_ptr<Sarvo::ServiceCondition>(std::move(condition));
    };
}

std::function<std::unique_ptr<Sarvo::PortPrimitive>()> PortOf(long long value) {
    return [=] { return std::make_unique<Sarvo::Port>(value); };
}

std::function<std::unique_ptr<Sarvo::PortPrimitive>()> PortsOf(long long first, long long last) {
    return
        [=] { return std::make_unique<Sarvo::PortRange>(Sarvo::Port(first), Sarvo::Port(last)); };
}

const std::function<std::unique_ptr<Sarvo::PortPrimitive>()> kAnyPort;

class XmlWrapperTest : public ::testing::Test {
protected:
    // The protocol dictionary is process-wide and fills once: every test
    // of this program sees these three lines.
    static void SetUpTestSuite() {
        test::TempDir dir;
        const auto path = dir.path() / "protocols.txt";
        test::WriteBytes(path, test::ToBytes("# number  name  description\n"
                                             "47  GRE  General Routing Encapsulation\n"
                                             "132  SCTP\n"));
        ProtocolDictionary::Instance().Initialize(path.wstring());
    }

    std::shared_ptr<IXmlWrapper> wrapper_ = GetXmlWrapper();
};

TEST_F(XmlWrapperTest, ScheduleConditionTexts) {
    using Base = Sarvo::ScheduleCondition;
    const std::vector<Row<Base>> rows = {
        {"daily", Make<Sarvo::Daily>(Time(8, 5), Time(17, 30)), L"Daily 08:05-17:30"},
        {"daily to midnight", Make<Sarvo::Daily>(Time(0, 0), Time(23, 59)), L"Daily 00:00-23:59"},
        {"weekly, three days", Make<Sarvo::Weekly>(Time(8, 0), Time(17, 0), Days("1010100")),
         L"Weekly 08:00-17:00 Mon-Wed-Fri"},
        {"weekly, every day", Make<Sarvo::Weekly>(Time(9, 0), Time(10, 0), Days("1111111")),
         L"Weekly 09:00-10:00 Mon-Tue-Wed-Thu-Fri-Sat-Sun"},
        {"weekly, weekend", Make<Sarvo::Weekly>(Time(9, 0), Time(10, 0), Days("0000011")),
         L"Weekly 09:00-10:00 Sat-Sun"},
        {"weekly, no day", Make<Sarvo::Weekly>(Time(9, 0), Time(10, 0), Days("0000000")),
         L"Weekly 09:00-10:00"},
        {"calendar",
         Make<Sarvo::Calendar>(Time(8, 0), Time(17, 30), xml_schema::date(2026, 2, 1),
                               xml_schema::date(2026, 12, 31)),
         L"Calendar 01/02/2026 08:00-31/12/2026 17:30"},
        {"object reference", Make<Sarvo::ScheduleObjectRef>(501), L"#501"},
        {"system object", Make<Sarvo::ScheduleSystemObjectRef>(std::wstring(L"Always")), L"Always"},
        {"schedule of no kind", Make<Sarvo::Schedule>(Time(8, 0), Time(9, 0)), L""},
        {"condition of no kind", Make<Base>(), L""},
    };
    ExpectTexts(rows, [this](const Base& c) { return wrapper_->ScheduleConditionText(c); });
}

TEST_F(XmlWrapperTest, ScheduleTextIgnoresSeconds) {
    const Sarvo::Daily daily(xml_schema::time(7, 3, 59.5), xml_schema::time(7, 4, 1));
    EXPECT_EQ(wrapper_->ScheduleText(daily), L"Daily 07:03-07:04");
}

TEST_F(XmlWrapperTest, ServiceConditionTexts) {
    using Base = Sarvo::ServiceCondition;
    auto icmp = [](std::optional<long long> type, std::optional<long long> code) {
        return [=] { return std::unique_ptr<Base>(Icmp(type, code)); };
    };
    const std::vector<Row<Base>> rows = {
        {"icmp type and code", icmp(8, 0), L"1 8/0"},
        {"icmp type only", icmp(3, std::nullopt), L"1 3"},
        {"icmp code only", icmp(std::nullopt, 4), L"1/4"},
        {"icmp any", icmp(std::nullopt, std::nullopt), L"1"},
        {"tcp any ports", Ports<Sarvo::TcpCondition>(kAnyPort, kAnyPort, 6LL), L"6 */*"},
        {"tcp destination", Ports<Sarvo::TcpCondition>(kAnyPort, PortOf(80), 6LL), L"6 */80"},
        {"tcp source", Ports<Sarvo::TcpCondition>(PortOf(22), kAnyPort, 6LL), L"6 22/*"},
        {"udp both", Ports<Sarvo::UdpCondition>(PortsOf(1024, 65535), PortOf(53), 17LL),
         L"17 1024-65535/53"},
        {"bare restriction", Ports<Sarvo::PortRestrictionCondition>(kAnyPort, PortsOf(1, 9)),
         L"-1 */1-9"},
        {"protocol with description", Make<Sarvo::ProtocolCondition>(47LL),
         L"47 - GRE (General Routing Encapsulation)"},
        {"protocol without description", Make<Sarvo::ProtocolCondition>(132LL), L"132 - SCTP"},
        {"protocol not in dictionary", Make<Sarvo::ProtocolCondition>(253LL), L"253"},
        {"protocol out of range", Make<Sarvo::ProtocolCondition>(1LL << 40), L"1099511627776"},
        {"object reference", Make<Sarvo::ServiceObjectRef>(7), L"#7"},
        {"system object", Make<Sarvo::ServiceSystemObjectRef>(std::wstring(L"AnyService")),
         L"AnyService"},
        {"service of no kind", Make<Sarvo::Service>(), L""},
        {"condition of no kind", Make<Base>(), L""},
    };
    ExpectTexts(rows, [this](const Base& c) { return wrapper_->ServiceConditionText(c); });
}

TEST_F(XmlWrapperTest, PortTexts) {
    using Base = Sarvo::PortPrimitive;
    const std::vector<Row<Base>> rows = {
        {"single", PortOf(8080), L"8080"},
        {"range", PortsOf(1024, 65535), L"1024-65535"},
        {"zero", PortOf(0), L"0"},
        {"no kind", Make<Base>(), L""},
    };
    ExpectTexts(rows, [this](const Base& p) { return wrapper_->PortText(p); });
}

TEST_F(XmlWrapperTest, IpHostConditionTexts) {
    using Base = Sarvo::IpHostCondition;
    const std::vector<Row<Base>> rows = {
        {"address", Make<Sarvo::IpAddress>(std::wstring(L"10.0.0.1")), L"10.0.0.1"},
        {"mask",
         Make<Sarvo::IpMask>(Sarvo::IpAddress(L"10.0.0.0"), Sarvo::IpAddress(L"255.255.255.0")),
         L"10.0.0.0/255.255.255.0"},
        {"range",
         Make<Sarvo::IpRange>(Sarvo::IpAddress(L"10.0.0.1"), Sarvo::IpAddress(L"10.0.0.9")),
         L"10.0.0.1-10.0.0.9"},
        {"domain name", Make<Sarvo::DomainName>(std::wstring(L"www.example.com")),
         L"www.example.com"},
        {"empty domain name", Make<Sarvo::DomainName>(std::wstring()), L""},
        {"system object", Make<Sarvo::IpSystemObjectRef>(std::wstring(L"InternetIP")),
         L"InternetIP"},
        {"object reference", Make<Sarvo::IpObjectRef>(-3), L"#-3"},
        {"primitive of no kind", Make<Sarvo::IpPrimitive>(), L""},
        {"condition of no kind", Make<Base>(), L""},
    };
    ExpectTexts(rows, [this](const Base& c) { return wrapper_->IpHostConditionText(c); });
}

TEST_F(XmlWrapperTest, VpnHostConditionTexts) {
    using Base = Sarvo::VpnHostCondition;
    const std::vector<Row<Base>> rows = {
        {"name template", Make<Sarvo::VpnNameTemplate>(std::wstring(L"branch-*")), L"branch-*"},
        {"node", Make<Sarvo::VpnNodeId>(0x1A0000LL), L"1703936"},
        {"network", Make<Sarvo::VpnNetworkId>(-9000000000LL), L"-9000000000"},
        {"system object", Make<Sarvo::VpnSystemObjectRef>(std::wstring(L"AllClients")),
         L"AllClients"},
        {"object reference", Make<Sarvo::VpnObjectRef>(12), L"#12"},
        {"condition of no kind", Make<Base>(), L""},
    };
    ExpectTexts(rows, [this](const Base& c) { return wrapper_->VpnHostConditionText(c); });
}

TEST_F(XmlWrapperTest, InterfaceConditionTextsOutsideRules) {
    using Base = Sarvo::InterfaceCondition;
    const std::vector<Row<Base>> rows = {
        {"named", Make<Sarvo::SimpleInterface>(std::wstring(L"eth0")), L"eth0"},
        {"any", Make<Sarvo::SimpleInterface>(std::wstring()), L"*"},
        {"by address", Make<Sarvo::InterfaceByIp>(Sarvo::IpAddress(L"192.168.1.1")),
         L"IP:192.168.1.1"},
        {"by mask",
         Make<Sarvo::InterfaceByIp>(
             Sarvo::IpMask(Sarvo::IpAddress(L"10.0.0.0"), Sarvo::IpAddress(L"255.0.0.0"))),
         L"IP:10.0.0.0/255.0.0.0"},
        {"by primitive of no kind", Make<Sarvo::InterfaceByIp>(Sarvo::IpPrimitive()), L"IP:*"},
        {"object reference", Make<Sarvo::InterfaceObjectRef>(4), L"#4"},
        {"system object", Make<Sarvo::InterfaceSystemObjectRef>(std::wstring(L"AllInterfaces")),
         L"AllInterfaces"},
        {"condition of no kind", Make<Base>(), L""},
    };
    ExpectTexts(rows, [this](const Base& c) { return wrapper_->InterfaceConditionText(c); });
}

// A public side that passes the named interface.
Sarvo::PublicNetwork Side(const std::wstring& interfaceName) {
    Sarvo::PublicNetwork side;
    side.InterfaceCondition(Sarvo::SimpleInterface(interfaceName));
    side.IpHostCondition().push_back(Sarvo::IpAddress(L"10.0.0.1"));
    return side;
}

template <typename Kind>
std::unique_ptr<Kind> RuleWithSides(const wchar_t* section) {
    Sarvo::ConditionSet conditions;
    conditions.Source(Side(L"eth0"));
    conditions.Destination(Side(L"eth1"));
    return std::make_unique<Kind>(1, 1, L"rule", Sarvo::CreationTypes::User, conditions,
                                  Sarvo::Filter(Sarvo::ActionTypes::Pass),
                                  Sarvo::RuleSections(section));
}

const Sarvo::InterfaceCondition& InterfaceOf(const Sarvo::ConditionSet::Source_optional& side) {
    return *dynamic_cast<const Sarvo::PublicNetwork&>(*side).InterfaceCondition();
}

TEST_F(XmlWrapperTest, InterfaceConditionTextsNameTheirSide) {
    const auto local = RuleWithSides<Sarvo::LocalRule>(L"LocalSection");
    EXPECT_EQ(wrapper_->InterfaceConditionText(InterfaceOf(local->ConditionSet().Source())),
              L"Source (eth0)");
    EXPECT_EQ(wrapper_->InterfaceConditionText(InterfaceOf(local->ConditionSet().Destination())),
              L"Target (eth1)");

    const auto nat = RuleWithSides<Sarvo::NatRule>(L"NatSection");
    EXPECT_EQ(wrapper_->InterfaceConditionText(InterfaceOf(nat->ConditionSet().Source())),
              L"Source (eth0)");
    EXPECT_EQ(wrapper_->InterfaceConditionText(InterfaceOf(nat->ConditionSet().Destination())),
              L"OutgoingInterface (eth1)");

    // A copy has left the rule; so has a side on its own.
    const std::unique_ptr<Sarvo::InterfaceCondition> copy(
        InterfaceOf(local->ConditionSet().Source())._clone());
    EXPECT_EQ(wrapper_->InterfaceConditionText(*copy), L"eth0");
    const Sarvo::PublicNetwork side = Side(L"eth2");
    EXPECT_EQ(wrapper_->InterfaceConditionText(*side.InterfaceCondition()), L"eth2");
}

TEST_F(XmlWrapperTest, InterfaceConditionOfNamedObjectIsNotLabelled) {
    Sarvo::InterfaceObject object(L"LAN", 3, Sarvo::CreationTypes::Policy);
    object.Inclusion().push_back(Sarvo::SimpleInterface(L"eth0"));
    EXPECT_EQ(wrapper_->InterfaceConditionText(object.Inclusion().front()), L"eth0");
}

TEST_F(XmlWrapperTest, SimpleTextSlotsGiveTheValue) {
    EXPECT_EQ(wrapper_->VpnSystemObjectRefText(Sarvo::VpnSystemObjectRef(L"")), L"");
    EXPECT_EQ(wrapper_->VpnNameTemplateText(Sarvo::VpnNameTemplate(L"hq")), L"hq");
    EXPECT_EQ(wrapper_->IpSystemObjectRefText(Sarvo::IpSystemObjectRef(L"AnyIP")), L"AnyIP");
    EXPECT_EQ(wrapper_->DomainNameText(Sarvo::DomainName(L"mail.example.org")),
              L"mail.example.org");
    EXPECT_EQ(wrapper_->VpnNodeIdText(Sarvo::VpnNodeId(9223372036854775807LL)),
              L"9223372036854775807");
    EXPECT_EQ(wrapper_->VpnNetworkIdText(Sarvo::VpnNetworkId(0)), L"0");
}

// Hosts built against the header call operations by slot: the order of the
// declarations is part of the interface. Under the Itanium C++ ABI a
// pointer to a virtual member holds 1 plus the slot's byte offset.
#if defined(__GXX_ABI_VERSION)
template <typename Member>
std::size_t SlotOf(Member member) {
    struct Representation {
        std::uintptr_t pointer;
        std::ptrdiff_t adjustment;
    } representation;
    static_assert(sizeof(member) == sizeof(representation));
    std::memcpy(&representation, &member, sizeof(representation));
    return (representation.pointer - 1) / sizeof(void*);
}

TEST(XmlWrapperSlotsTest, OperationsStandInTheirSlots) {
    EXPECT_EQ(SlotOf(&IXmlWrapper::ScheduleText), 0u);
    EXPECT_EQ(SlotOf(&IXmlWrapper::ScheduleConditionText), 1u);
    EXPECT_EQ(SlotOf(&IXmlWrapper::ServiceText), 2u);
    EXPECT_EQ(SlotOf(&IXmlWrapper::ServiceConditionText), 3u);
    EXPECT_EQ(SlotOf(&IXmlWrapper::VpnSystemObjectRefText), 4u);
    EXPECT_EQ(SlotOf(&IXmlWrapper::VpnNodeIdText), 5u);
    EXPECT_EQ(SlotOf(&IXmlWrapper::VpnNetworkIdText), 6u);
    EXPECT_EQ(SlotOf(&IXmlWrapper::VpnNameTemplateText), 7u);
    EXPECT_EQ(SlotOf(&IXmlWrapper::VpnHostConditionText), 8u);
    EXPECT_EQ(SlotOf(&IXmlWrapper::InterfaceConditionText), 9u);
    EXPECT_EQ(SlotOf(&IXmlWrapper::PortText), 10u);
    EXPECT_EQ(SlotOf(&IXmlWrapper::IpSystemObjectRefText), 11u);
    EXPECT_EQ(SlotOf(&IXmlWrapper::IpPrimitiveText), 12u);
    EXPECT_EQ(SlotOf(&IXmlWrapper::DomainNameText), 13u);
    EXPECT_EQ(SlotOf(&IXmlWrapper::IpHostConditionText), 14u);
}
#endif

}  // namespace
}  // namespace fwcommon
