#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/ConditionPurpose.h>
#include <fwcommon/GenericXmlNamedObjectFieldsIterator.h>
#include <fwcommon/GenericXmlRuleFieldsIterator.h>
#include <fwcommon/XmlNamedObjectFactory.h>
#include <fwcommon/XmlRuleFactory.h>

#include "common/Thrown.h"

namespace fwcommon {
namespace {

using Calls = std::vector<std::string>;
using P = ConditionPurpose::Type;

// Records each condition callback as "<slot>:<purpose>".
template <class Base>
class ConditionRecorder : public Base {
public:
    template <class T>
    using E = typename Base::template Element<T>;

    Calls calls;

    void OnBegin() override { calls.push_back("begin"); }
    void OnEnd() override { calls.push_back("end"); }
    void VisitIpAddress(E<Sarvo::IpAddress>& e, P p) override {
        Slot(3, p);
        lastAddress = &e;
    }
    void VisitIpRange(E<Sarvo::IpRange>&, P p) override { Slot(4, p); }
    void VisitIpMask(E<Sarvo::IpMask>&, P p) override { Slot(5, p); }
    void VisitDomainName(E<Sarvo::DomainName>&, P p) override { Slot(6, p); }
    void VisitIpObjectRef(E<Sarvo::IpObjectRef>&, P p) override { Slot(7, p); }
    void VisitIpSystemObjectRef(E<Sarvo::IpSystemObjectRef>&, P p) override { Slot(8, p); }
    void VisitSimpleInterface(E<Sarvo::SimpleInterface>&, P p) override { Slot(9, p); }
    void VisitInterfaceIpAddress(E<Sarvo::IpAddress>&, P p) override { Slot(10, p); }
    void VisitInterfaceIpRange(E<Sarvo::IpRange>&, P p) override { Slot(11, p); }
    void VisitInterfaceIpMask(E<Sarvo::IpMask>&, P p) override { Slot(12, p); }
    void VisitInterfaceObjectRef(E<Sarvo::InterfaceObjectRef>&, P p) override { Slot(13, p); }
    void VisitVpnNodeId(E<Sarvo::VpnNodeId>&, P p) override { Slot(14, p); }
    void VisitVpnNetworkId(E<Sarvo::VpnNetworkId>&, P p) override { Slot(15, p); }
    void VisitVpnNameTemplate(E<Sarvo::VpnNameTemplate>&, P p) override { Slot(16, p); }
    void VisitVpnSystemObjectRef(E<Sarvo::VpnSystemObjectRef>&, P p) override { Slot(17, p); }
    void VisitVpnObjectRef(E<Sarvo::VpnObjectRef>&, P p) override { Slot(18, p); }
    void VisitTcpCondition(E<Sarvo::TcpCondition>&, P p) override { Slot(19, p); }
    void VisitUdpCondition(E<Sarvo::UdpCondition>&, P p) override { Slot(20, p); }
    void VisitIcmpCondition(E<Sarvo::IcmpCondition>&, P p) override { Slot(21, p); }
    void VisitProtocolCondition(E<Sarvo::ProtocolCondition>&, P p) override { Slot(22, p); }
    void VisitSourcePort(E<Sarvo::Port>&, P p) override { Slot(23, p); }
    void VisitSourcePortRange(E<Sarvo::PortRange>&, P p) override { Slot(24, p); }
    void VisitDestinationPort(E<Sarvo::Port>&, P p) override { Slot(25, p); }
    void VisitDestinationPortRange(E<Sarvo::PortRange>&, P p) override { Slot(26, p); }
    void VisitIcmpConditionDetails(E<Sarvo::IcmpCondition>&, P p) override { Slot(27, p); }
    void VisitServiceObjectRef(E<Sarvo::ServiceObjectRef>&, P p) override { Slot(28, p); }
    void VisitCalendar(E<Sarvo::Calendar>&, P p) override { Slot(29, p); }
    void VisitDaily(E<Sarvo::Daily>&, P p) override { Slot(30, p); }
    void VisitWeekly(E<Sarvo::Weekly>&, P p) override { Slot(31, p); }
    void VisitScheduleObjectRef(E<Sarvo::ScheduleObjectRef>&, P p) override { Slot(32, p); }

    E<Sarvo::IpAddress>* lastAddress = nullptr;

protected:
    void Slot(int slot, P purpose) {
        calls.push_back(std::to_string(slot) + ":" + std::to_string(purpose));
    }
};

template <class Base>
class RuleRecorder : public ConditionRecorder<Base> {
public:
    template <class T>
    using E = typename Base::template Element<T>;
    using Name = std::conditional_t<std::is_same_v<Base, XmlRuleFieldsVisitor>, std::wstring,
                                    const std::wstring>;

    void VisitEmptyField(RuleField::Type field) override {
        this->calls.push_back("empty " + std::to_string(field));
    }
    void VisitName(Name* name) override {
        this->calls.push_back(name ? "name " + std::string(name->begin(), name->end()) : "null");
    }
    void VisitRuleId(std::int64_t id) override {
        this->calls.push_back("rule id " + std::to_string(id));
    }
    void VisitOrderId(std::int64_t id) override {
        this->calls.push_back("order id " + std::to_string(id));
    }
    void VisitIsActive(bool active) override {
        this->calls.push_back(active ? "active" : "inactive");
    }
    void VisitFilter(E<Sarvo::Filter>&) override { this->calls.push_back("filter"); }
    void VisitTranslation(E<Sarvo::Translation>&) override { this->calls.push_back("translation"); }
    void VisitCreationType(E<Sarvo::CreationTypes>&) override {
        this->calls.push_back("creation type");
    }
    void VisitNetworkCondition(E<Sarvo::NetworkCondition>&, P p) override {
        this->calls.push_back("network " + std::to_string(p));
    }
};

template <class Base>
class ObjectRecorder : public ConditionRecorder<Base> {
public:
    template <class T>
    using E = typename Base::template Element<T>;
    using Name = std::conditional_t<std::is_same_v<Base, XmlNamedObjectFieldsVisitor>, std::wstring,
                                    const std::wstring>;

    void VisitId(std::int32_t id) override { this->calls.push_back("id " + std::to_string(id)); }
    void VisitName(Name* name) override {
        this->calls.push_back(name ? "name " + std::string(name->begin(), name->end()) : "null");
    }
    void VisitCreationType(E<Sarvo::CreationTypes>&) override {
        this->calls.push_back("creation type");
    }
};

// The calls of one walk of the rule over modifiable elements; the walk over
// constant ones must give the same.
Calls Walk(const std::shared_ptr<Sarvo::Rule>& rule) {
    RuleRecorder<XmlRuleFieldsVisitor> visitor;
    XmlRuleFieldsIterator(&visitor).ProcessRule(rule);
    RuleRecorder<ConstXmlRuleFieldsVisitor> constVisitor;
    ConstXmlRuleFieldsIterator(&constVisitor).ProcessRule(rule);
    EXPECT_EQ(visitor.calls, constVisitor.calls);
    return visitor.calls;
}

// The calls between the rule's own fields and OnEnd, ", " between.
std::string Conditions(const std::shared_ptr<Sarvo::Rule>& rule) {
    const Calls calls = Walk(rule);
    std::string text;
    for (auto call = std::find(calls.begin(), calls.end(), "creation type") + 1;
         call + 1 < calls.end(); ++call) {
        text += (text.empty() ? "" : ", ") + *call;
    }
    return text;
}

TEST(FieldVisitorTest, RuleWithoutConditionsReportsFourEmptyFields) {
    auto rule = XmlRuleFactory::CreateSimpleXmlRule();
    rule->RuleId(4294967301LL);
    rule->OrderId(12);
    rule->IsActive(false);
    EXPECT_EQ((Calls{"begin", "rule id 4294967301", "order id 12", "inactive", "name name",
                     "filter", "creation type", "empty 5", "empty 6", "empty 8", "empty 9", "end"}),
              Walk(rule));
    EXPECT_EQ("translation", Walk(XmlRuleFactory::CreateSimpleTranslationXmlRule())[5]);
}

// One rule and the calls its conditions give.
struct WalkRow {
    std::string what;
    std::shared_ptr<Sarvo::Rule> rule;
    std::string calls;  // ", " between
};

TEST(FieldVisitorTest, ConditionCallsInOrderWithTheirPurposes) {
    // A host or interface of the source: its slot with the source's purpose.
    const struct {
        const char* what;
        std::shared_ptr<Sarvo::Rule> rule;
        int slot;
    } sources[] = {
        {"interface only", XmlRuleFactory::CreateLocalXmlRuleWithSimpleInterface(), 9},
        {"interface object", XmlRuleFactory::CreateLocalXmlRuleWithInterfaceObjectRef(), 13},
        {"interface by address", XmlRuleFactory::CreateLocalXmlRuleWithInterfaceByIpAddress(), 10},
        {"interface by range", XmlRuleFactory::CreateLocalXmlRuleWithInterfaceByIpRange(), 11},
        {"interface by mask", XmlRuleFactory::CreateLocalXmlRuleWithInterfaceByIpMask(), 12},
        {"address", XmlRuleFactory::CreateLocalXmlRuleWithIpAddress(), 3},
        {"range", XmlRuleFactory::CreateLocalXmlRuleWithIpRange(), 4},
        {"mask", XmlRuleFactory::CreateLocalXmlRuleWithIpMask(), 5},
        {"domain name", XmlRuleFactory::CreateLocalXmlRuleWithDomaineName(), 6},
        {"ip object", XmlRuleFactory::CreateLocalXmlRuleWithIpObjectRef(), 7},
        {"ip system object", XmlRuleFactory::CreateLocalXmlRuleWithIpSystemObjectRef(), 8},
        {"vpn node", XmlRuleFactory::CreateVpnXmlRuleWithVpnNodeId(), 14},
        {"vpn network", XmlRuleFactory::CreateVpnXmlRuleWithVpnNetworkId(), 15},
        {"vpn template", XmlRuleFactory::CreateVpnXmlRuleWithVpnNameTemplate(), 16},
        {"vpn system object", XmlRuleFactory::CreateVpnXmlRuleWithVpnSystemObjectRef(), 17},
        {"vpn object", XmlRuleFactory::CreateVpnXmlRuleWithVpnObjectRef(), 18},
    };
    for (const auto& row : sources) {
        EXPECT_EQ("network 0, " + std::to_string(row.slot) + ":0, empty 6, empty 8, empty 9",
                  Conditions(row.rule))
            << row.what;
    }
    const std::vector<WalkRow> rows = {
        {"protocol", XmlRuleFactory::CreateServiceRuleWithProtocol(47),
         "empty 5, empty 6, 22:2, empty 9"},
        {"icmp", XmlRuleFactory::CreateIcmpServiceRule(8, 0),
         "empty 5, empty 6, 21:2, 27:2, empty 9"},
        {"tcp ports", XmlRuleFactory::CreateTcpServiceRuleWithPort(1024, 80),
         "empty 5, empty 6, 19:2, 23:2, 25:2, empty 9"},
        {"tcp port ranges", XmlRuleFactory::CreateTcpServiceRuleWithPortRange(1, 2, 3, 4),
         "empty 5, empty 6, 19:2, 24:2, 26:2, empty 9"},
        {"daily", XmlRuleFactory::CreateDailyScheduleRule("08:00", "17:00"),
         "empty 5, empty 6, empty 8, 30:3"},
        {"weekly",
         XmlRuleFactory::CreateWeeklyScheduleRule("08:00", "17:00", true, false, false, false,
                                                  false, false, false),
         "empty 5, empty 6, empty 8, 31:3"},
        {"calendar",
         XmlRuleFactory::CreateCalendarScheduleRule("08:00", "17:00", "2024-01-01", "2024-12-31"),
         "empty 5, empty 6, empty 8, 29:3"},
    };
    for (const WalkRow& row : rows) {
        EXPECT_EQ(row.calls, Conditions(row.rule)) << row.what;
    }
}

TEST(FieldVisitorTest, TcpWithSourceRangeAndDestinationPortKeepsOnePurpose) {
    auto rule = XmlRuleFactory::CreateSimpleXmlRule();
    auto tcp = std::make_unique<Sarvo::TcpCondition>(6);
    tcp->SourcePort(Sarvo::PortRange(Sarvo::Port(1024), Sarvo::Port(2048)));
    tcp->DestinationPort(Sarvo::Port(80));
    rule->ConditionSet().ServiceCondition().push_back(std::move(tcp));
    auto udp = std::make_unique<Sarvo::UdpCondition>(17);
    rule->ConditionSet().ServiceCondition().push_back(std::move(udp));
    EXPECT_EQ("empty 5, empty 6, 19:2, 24:2, 25:2, 20:2, empty 9", Conditions(rule));
}

TEST(FieldVisitorTest, EmptyNetworksReportTheirFieldAsEmpty) {
    auto rule = XmlRuleFactory::CreateSimpleXmlRule();
    rule->ConditionSet().Source(Sarvo::PublicNetwork());
    rule->ConditionSet().Destination(Sarvo::PrivateNetwork());
    EXPECT_EQ("network 0, empty 5, network 1, empty 6, empty 8, empty 9", Conditions(rule));
}

TEST(FieldVisitorTest, AddressesAndInterfaceOfOneSourceInOrder) {
    auto rule = XmlRuleFactory::CreateSimpleXmlRule();
    Sarvo::PublicNetwork source;
    source.InterfaceCondition(Sarvo::SimpleInterface(L"eth0"));
    source.IpHostCondition().push_back(Sarvo::IpAddress(L"10.0.0.1"));
    source.IpHostCondition().push_back(Sarvo::DomainName(L"example.com"));
    source.IpHostCondition().push_back(Sarvo::IpSystemObjectRef(L"AllClients"));
    rule->ConditionSet().Destination(source);
    EXPECT_EQ("empty 5, network 1, 3:1, 6:1, 8:1, 9:1, empty 8, empty 9", Conditions(rule));
}

TEST(FieldVisitorTest, SystemObjectReferencesWithoutCallbackAreSkipped) {
    auto rule = XmlRuleFactory::CreateSimpleXmlRule();
    Sarvo::PublicNetwork source;
    source.InterfaceCondition(Sarvo::InterfaceSystemObjectRef(L"All"));
    rule->ConditionSet().Source(source);
    rule->ConditionSet().ServiceCondition().push_back(Sarvo::ServiceSystemObjectRef(L"All"));
    rule->ConditionSet().ScheduleCondition().push_back(Sarvo::ScheduleSystemObjectRef(L"All"));
    EXPECT_EQ("network 0, empty 6", Conditions(rule));
}

// The walk stops with "unknown variant" at an element of a kind the schema
// does not define.
TEST(FieldVisitorTest, UnknownKindsStopTheWalk) {
    auto abstractNetwork = XmlRuleFactory::CreateSimpleXmlRule();
    abstractNetwork->ConditionSet().Source(Sarvo::NetworkCondition());

    auto abstractPrimitive = XmlRuleFactory::CreateSimpleXmlRule();
    Sarvo::PublicNetwork source;
    source.IpHostCondition().push_back(Sarvo::IpPrimitive());
    abstractPrimitive->ConditionSet().Source(source);

    auto abstractPort = XmlRuleFactory::CreateSimpleXmlRule();
    Sarvo::TcpCondition tcp(6);
    tcp.DestinationPort(Sarvo::PortPrimitive());
    abstractPort->ConditionSet().ServiceCondition().push_back(tcp);

    for (const auto& rule : {abstractNetwork, abstractPrimitive, abstractPort}) {
        RuleRecorder<XmlRuleFieldsVisitor> visitor;
        EXPECT_EQ("unknown variant", test::Thrown<std::logic_error>([&] {
                      XmlRuleFieldsIterator(&visitor).ProcessRule(rule);
                  }));
        EXPECT_NE("end", visitor.calls.back());
    }
}

TEST(FieldVisitorTest, CallbackExceptionsPassThrough) {
    struct Throwing : RuleRecorder<XmlRuleFieldsVisitor> {
        void VisitIpAddress(E<Sarvo::IpAddress>&, P) override {
            throw std::runtime_error("from the callback");
        }
    } visitor;
    EXPECT_THROW(XmlRuleFieldsIterator(&visitor).ProcessRule(
                     XmlRuleFactory::CreateLocalXmlRuleWithIpAddress()),
                 std::runtime_error);
}

TEST(FieldVisitorTest, ModifiableWalkHandsOutTheRulesOwnElements) {
    auto rule = XmlRuleFactory::CreateLocalXmlRuleWithIpAddress("10.0.0.1");
    RuleRecorder<XmlRuleFieldsVisitor> visitor;
    XmlRuleFieldsIterator(&visitor).ProcessRule(rule);
    ASSERT_NE(nullptr, visitor.lastAddress);
    visitor.lastAddress->Value(L"10.0.0.2");
    const auto& source =
        dynamic_cast<const Sarvo::PublicNetwork&>(rule->ConditionSet().Source().get());
    EXPECT_EQ(L"10.0.0.2",
              dynamic_cast<const Sarvo::IpAddress&>(source.IpHostCondition()[0]).Value());
}

TEST(FieldVisitorTest, PurposeToRuleField) {
    EXPECT_EQ(RuleField::eSourceField, ToRuleField(ConditionPurpose::eSourcePurpose));
    EXPECT_EQ(5, ToRuleField(ConditionPurpose::eSourcePurpose));
    EXPECT_EQ(6, ToRuleField(ConditionPurpose::eDestinationPurpose));
    EXPECT_EQ(8, ToRuleField(ConditionPurpose::eServicePurpose));
    EXPECT_EQ(9, ToRuleField(ConditionPurpose::eSchedulePurpose));
    for (int purpose : {4, 5, -1}) {
        EXPECT_EQ(
            "Cannot convert ConditionPurpose '" + std::to_string(purpose) + "' to RuleField value.",
            test::Thrown<std::invalid_argument>(
                [&] { ToRuleField(static_cast<ConditionPurpose::Type>(purpose)); }));
    }
}

TEST(FieldVisitorTest, ServiceObjectWithTwoExclusions) {
    auto object = XmlNamedObjectFactory::CreateSimpleServiceObject(L"web", 41);
    object->Exclusion().push_back(Sarvo::IcmpCondition(1));
    object->Exclusion().push_back(Sarvo::ProtocolCondition(47));
    ObjectRecorder<XmlNamedObjectFieldsVisitor> visitor;
    XmlServiceObjectFieldsIterator(&visitor).ProcessServiceObject(object);
    EXPECT_EQ((Calls{"begin", "id 41", "name web", "creation type", "22:4", "21:5", "27:5", "22:5",
                     "end"}),
              visitor.calls);

    ObjectRecorder<ConstXmlNamedObjectFieldsVisitor> constVisitor;
    ConstXmlServiceObjectFieldsIterator(&constVisitor).ProcessServiceObject(object);
    EXPECT_EQ(visitor.calls, constVisitor.calls);
}

TEST(FieldVisitorTest, EachNamedObjectKindDispatchesItsOwnConditions) {
    ObjectRecorder<ConstXmlNamedObjectFieldsVisitor> ip;
    ConstXmlIpObjectFieldsIterator(&ip).ProcessIpObject(
        XmlNamedObjectFactory::CreateSimpleIpObject(L"a", 1));
    EXPECT_EQ((Calls{"begin", "id 1", "name a", "creation type", "3:4", "end"}), ip.calls);

    ObjectRecorder<ConstXmlNamedObjectFieldsVisitor> interfaces;
    ConstXmlInterfaceObjectFieldsIterator(&interfaces)
        .ProcessInterfaceObject(XmlNamedObjectFactory::CreateSimpleInterfaceObject(L"b", 2));
    EXPECT_EQ((Calls{"begin", "id 2", "name b", "creation type", "9:4", "end"}), interfaces.calls);

    ObjectRecorder<ConstXmlNamedObjectFieldsVisitor> vpn;
    ConstXmlVpnObjectFieldsIterator(&vpn).ProcessVpnObject(
        XmlNamedObjectFactory::CreateSimpleVpnObject(L"c", 3));
    EXPECT_EQ((Calls{"begin", "id 3", "name c", "creation type", "14:4", "end"}), vpn.calls);

    auto schedule = XmlNamedObjectFactory::CreateSimpleScheduleObject(L"d", 4);
    schedule->Inclusion().clear();
    ObjectRecorder<XmlNamedObjectFieldsVisitor> schedules;
    XmlScheduleObjectFieldsIterator(&schedules).ProcessScheduleObject(schedule);
    EXPECT_EQ((Calls{"begin", "id 4", "name d", "creation type", "end"}), schedules.calls);
}

}  // namespace
}  // namespace fwcommon
