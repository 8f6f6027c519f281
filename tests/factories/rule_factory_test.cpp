// Sample rules built by XmlRuleFactory.

#include <stdexcept>
#include <typeinfo>

#include <gtest/gtest.h>
#include <boost/date_time/gregorian/gregorian_types.hpp>
#include <boost/lexical_cast.hpp>

#include <fwcommon/PolicyDocument.h>
#include <fwcommon/XmlRuleFactory.h>
#include <fwcommon/XmlRulesStrictCompare.h>

#include "common/Conditions.h"

namespace fwcommon::test {
namespace {

using F = XmlRuleFactory;

// The simple rule with the given Source side.
std::shared_ptr<Sarvo::Rule> SimpleRuleWithSource(const Sarvo::NetworkCondition& side) {
    auto rule = F::CreateSimpleXmlRule();
    rule->ConditionSet().Source(side);
    return rule;
}

Sarvo::PublicNetwork PublicWithInterface(const Sarvo::InterfaceCondition& condition) {
    Sarvo::PublicNetwork side;
    side.InterfaceCondition(condition);
    return side;
}

Sarvo::PublicNetwork PublicWithHost(const Sarvo::IpHostCondition& condition) {
    Sarvo::PublicNetwork side;
    side.IpHostCondition().push_back(condition);
    return side;
}

Sarvo::PrivateNetwork PrivateWithHost(const Sarvo::VpnHostCondition& condition) {
    Sarvo::PrivateNetwork side;
    side.VpnHostCondition().push_back(condition);
    return side;
}

TEST(RuleFactory, SimpleRuleFields) {
    const auto rule = F::CreateSimpleXmlRule();
    EXPECT_EQ(typeid(*rule), typeid(Sarvo::Rule));
    EXPECT_EQ(rule->RuleId(), 100000);
    EXPECT_EQ(rule->OrderId(), 100000);
    EXPECT_EQ(rule->Name(), L"name");
    EXPECT_EQ(rule->CreationType(), Sarvo::CreationTypes::User);
    EXPECT_TRUE(rule->IsActive());
    const Sarvo::ConditionSet& conditions = rule->ConditionSet();
    EXPECT_FALSE(conditions.Source().present());
    EXPECT_FALSE(conditions.Destination().present());
    EXPECT_TRUE(conditions.ServiceCondition().empty());
    EXPECT_TRUE(conditions.ScheduleCondition().empty());
    const auto& filter = dynamic_cast<const Sarvo::Filter&>(rule->Action());
    EXPECT_EQ(filter.FilteringAction(), Sarvo::ActionTypes::Pass);
    EXPECT_FALSE(filter.IsConnectionStateless());
    EXPECT_TRUE(filter.IsPacketLoggingEnabled());
    EXPECT_TRUE(filter.IsConnectionLoggingEnabled());
    EXPECT_FALSE(filter.IsBidirectional());
}

TEST(RuleFactory, TwoSimpleRulesAreEqualButNotShared) {
    const auto first = F::CreateSimpleXmlRule();
    const auto second = F::CreateSimpleXmlRule();
    EXPECT_NE(first, second);
    EXPECT_TRUE(XmlRulesStrictCompare(first, second));
}

TEST(RuleFactory, SimpleTranslationRule) {
    const auto rule = F::CreateSimpleTranslationXmlRule();
    const auto& translation = dynamic_cast<const Sarvo::Translation&>(rule->Action());
    EXPECT_FALSE(translation.SourceIp().present());
    EXPECT_FALSE(translation.DestinationIp().present());
    EXPECT_FALSE(translation.DestinationPort().present());
    EXPECT_FALSE(translation.IsTranslatedIntoOutboundInterface());
    std::wstring details;
    EXPECT_FALSE(XmlRulesStrictCompare(rule, F::CreateSimpleXmlRule(), details));
    EXPECT_EQ(details, L"Action type mismatch");
}

// Each builder of a Source side against the side built by hand; the strict
// comparison checks kinds and values.
TEST(RuleFactory, SourceSides) {
    using namespace Sarvo;
    const IpAddress address(L"10.0.0.1");
    const IpRange range(IpAddress(L"10.0.0.1"), IpAddress(L"10.0.0.254"));
    const IpMask mask(IpAddress(L"10.0.0.0"), IpAddress(L"255.255.255.0"));
    struct Row {
        const char* name;
        std::shared_ptr<Rule> built;
        std::shared_ptr<Rule> expected;
    };
    const std::vector<Row> rows = {
        {"simple interface", F::CreateLocalXmlRuleWithSimpleInterface(),
         SimpleRuleWithSource(PublicWithInterface(SimpleInterface(L"eth0")))},
        {"named interface", F::CreateLocalXmlRuleWithSimpleInterface("lan2"),
         SimpleRuleWithSource(PublicWithInterface(SimpleInterface(L"lan2")))},
        {"interface object", F::CreateLocalXmlRuleWithInterfaceObjectRef(),
         SimpleRuleWithSource(PublicWithInterface(InterfaceObjectRef(666)))},
        {"interface object 12", F::CreateLocalXmlRuleWithInterfaceObjectRef(12),
         SimpleRuleWithSource(PublicWithInterface(InterfaceObjectRef(12)))},
        {"interface address", F::CreateLocalXmlRuleWithInterfaceByIpAddress(),
         SimpleRuleWithSource(PublicWithInterface(InterfaceByIp(address)))},
        {"interface address given", F::CreateLocalXmlRuleWithInterfaceByIpAddress("1.1.1.1"),
         SimpleRuleWithSource(PublicWithInterface(InterfaceByIp(IpAddress(L"1.1.1.1"))))},
        {"interface range", F::CreateLocalXmlRuleWithInterfaceByIpRange(),
         SimpleRuleWithSource(PublicWithInterface(InterfaceByIp(range)))},
        {"interface range given", F::CreateLocalXmlRuleWithInterfaceByIpRange("1.0.0.1", "1.0.0.2"),
         SimpleRuleWithSource(PublicWithInterface(
             InterfaceByIp(IpRange(IpAddress(L"1.0.0.1"), IpAddress(L"1.0.0.2")))))},
        {"interface mask", F::CreateLocalXmlRuleWithInterfaceByIpMask(),
         SimpleRuleWithSource(PublicWithInterface(InterfaceByIp(mask)))},
        {"interface mask given", F::CreateLocalXmlRuleWithInterfaceByIpMask("1.0.0.0", "255.0.0.0"),
         SimpleRuleWithSource(PublicWithInterface(
             InterfaceByIp(IpMask(IpAddress(L"1.0.0.0"), IpAddress(L"255.0.0.0")))))},
        {"address", F::CreateLocalXmlRuleWithIpAddress(),
         SimpleRuleWithSource(PublicWithHost(address))},
        {"address given", F::CreateLocalXmlRuleWithIpAddress("2.2.2.2"),
         SimpleRuleWithSource(PublicWithHost(IpAddress(L"2.2.2.2")))},
        {"range", F::CreateLocalXmlRuleWithIpRange(), SimpleRuleWithSource(PublicWithHost(range))},
        {"range given", F::CreateLocalXmlRuleWithIpRange("2.0.0.1", "2.0.0.9"),
         SimpleRuleWithSource(
             PublicWithHost(IpRange(IpAddress(L"2.0.0.1"), IpAddress(L"2.0.0.9"))))},
        {"mask", F::CreateLocalXmlRuleWithIpMask(), SimpleRuleWithSource(PublicWithHost(mask))},
        {"mask given", F::CreateLocalXmlRuleWithIpMask("2.0.0.0", "255.255.0.0"),
         SimpleRuleWithSource(
             PublicWithHost(IpMask(IpAddress(L"2.0.0.0"), IpAddress(L"255.255.0.0"))))},
        {"domain name", F::CreateLocalXmlRuleWithDomaineName(),
         SimpleRuleWithSource(PublicWithHost(DomainName(L"www.example.com")))},
        {"domain name given", F::CreateLocalXmlRuleWithDomaineName("mail.example.org"),
         SimpleRuleWithSource(PublicWithHost(DomainName(L"mail.example.org")))},
        {"ip object", F::CreateLocalXmlRuleWithIpObjectRef(),
         SimpleRuleWithSource(PublicWithHost(IpObjectRef(666)))},
        {"ip object given", F::CreateLocalXmlRuleWithIpObjectRef(7),
         SimpleRuleWithSource(PublicWithHost(IpObjectRef(7)))},
        {"ip system object", F::CreateLocalXmlRuleWithIpSystemObjectRef(),
         SimpleRuleWithSource(PublicWithHost(IpSystemObjectRef(L"AllClients")))},
        {"ip system object given", F::CreateLocalXmlRuleWithIpSystemObjectRef("InternetIP"),
         SimpleRuleWithSource(PublicWithHost(IpSystemObjectRef(L"InternetIP")))},
        {"vpn node", F::CreateVpnXmlRuleWithVpnNodeId(),
         SimpleRuleWithSource(PrivateWithHost(VpnNodeId(100)))},
        {"vpn node given", F::CreateVpnXmlRuleWithVpnNodeId(4294967295u),
         SimpleRuleWithSource(PrivateWithHost(VpnNodeId(4294967295LL)))},
        {"vpn network", F::CreateVpnXmlRuleWithVpnNetworkId(),
         SimpleRuleWithSource(PrivateWithHost(VpnNetworkId(100)))},
        {"vpn network given", F::CreateVpnXmlRuleWithVpnNetworkId(5),
         SimpleRuleWithSource(PrivateWithHost(VpnNetworkId(5)))},
        {"vpn template", F::CreateVpnXmlRuleWithVpnNameTemplate(),
         SimpleRuleWithSource(PrivateWithHost(VpnNameTemplate(L"nameTemplate")))},
        {"vpn template given", F::CreateVpnXmlRuleWithVpnNameTemplate("branch-*"),
         SimpleRuleWithSource(PrivateWithHost(VpnNameTemplate(L"branch-*")))},
        {"vpn object", F::CreateVpnXmlRuleWithVpnObjectRef(),
         SimpleRuleWithSource(PrivateWithHost(VpnObjectRef(667)))},
        {"vpn object given", F::CreateVpnXmlRuleWithVpnObjectRef(8),
         SimpleRuleWithSource(PrivateWithHost(VpnObjectRef(8)))},
        {"vpn system object", F::CreateVpnXmlRuleWithVpnSystemObjectRef(),
         SimpleRuleWithSource(PrivateWithHost(VpnSystemObjectRef(L"AllClients")))},
        {"vpn system object given", F::CreateVpnXmlRuleWithVpnSystemObjectRef("AllNodes"),
         SimpleRuleWithSource(PrivateWithHost(VpnSystemObjectRef(L"AllNodes")))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::wstring details;
        EXPECT_TRUE(XmlRulesStrictCompare(row.built, row.expected, details)) << details;
        EXPECT_EQ(typeid(*row.built), typeid(Rule));
    }
}

TEST(RuleFactory, LocalRuleWithIpRangeByDefault) {
    const auto rule = F::CreateLocalXmlRuleWithIpRange();
    const auto& side = dynamic_cast<const Sarvo::PublicNetwork&>(*rule->ConditionSet().Source());
    EXPECT_FALSE(side.InterfaceCondition().present());
    ASSERT_EQ(side.IpHostCondition().size(), 1u);
    const auto& range = dynamic_cast<const Sarvo::IpRange&>(side.IpHostCondition()[0]);
    EXPECT_EQ(range.Begin().Value(), L"10.0.0.1");
    EXPECT_EQ(range.End().Value(), L"10.0.0.254");
}

TEST(RuleFactory, ServiceRules) {
    const auto protocolRule = F::CreateServiceRuleWithProtocol(47);
    ASSERT_EQ(protocolRule->ConditionSet().ServiceCondition().size(), 1u);
    EXPECT_EQ(dynamic_cast<const Sarvo::ProtocolCondition&>(
                  protocolRule->ConditionSet().ServiceCondition()[0])
                  .Protocol(),
              47);

    const auto icmpRule = F::CreateIcmpServiceRule(8, 0);
    const auto& icmp =
        dynamic_cast<const Sarvo::IcmpCondition&>(icmpRule->ConditionSet().ServiceCondition()[0]);
    EXPECT_EQ(icmp.Protocol(), 1);
    ASSERT_TRUE(icmp.Type().present());
    ASSERT_TRUE(icmp.Code().present());
    EXPECT_EQ(*icmp.Type(), 8);
    EXPECT_EQ(*icmp.Code(), 0);

    const auto portRule = F::CreateTcpServiceRuleWithPort(1024, 443);
    const auto& tcp =
        dynamic_cast<const Sarvo::TcpCondition&>(portRule->ConditionSet().ServiceCondition()[0]);
    EXPECT_EQ(tcp.Protocol(), 6);
    EXPECT_EQ(dynamic_cast<const Sarvo::Port&>(*tcp.SourcePort()).Value(), 1024);
    EXPECT_EQ(dynamic_cast<const Sarvo::Port&>(*tcp.DestinationPort()).Value(), 443);
}

TEST(RuleFactory, TcpRuleWithPortRanges) {
    const auto rule = F::CreateTcpServiceRuleWithPortRange(1000, 2000, 80, 90);
    ASSERT_EQ(rule->ConditionSet().ServiceCondition().size(), 1u);
    const auto& tcp =
        dynamic_cast<const Sarvo::TcpCondition&>(rule->ConditionSet().ServiceCondition()[0]);
    EXPECT_EQ(tcp.Protocol(), 6);
    const auto& source = dynamic_cast<const Sarvo::PortRange&>(*tcp.SourcePort());
    const auto& destination = dynamic_cast<const Sarvo::PortRange&>(*tcp.DestinationPort());
    EXPECT_EQ(source.Begin().Value(), 1000);
    EXPECT_EQ(source.End().Value(), 2000);
    EXPECT_EQ(destination.Begin().Value(), 80);
    EXPECT_EQ(destination.End().Value(), 90);
}

const Sarvo::Schedule& OnlySchedule(const Sarvo::Rule& rule) {
    return dynamic_cast<const Sarvo::Schedule&>(rule.ConditionSet().ScheduleCondition().at(0));
}

TEST(RuleFactory, DailyScheduleTimesDropTheFraction) {
    const auto rule = F::CreateDailyScheduleRule("08:30:15", "17:00:00");
    const auto& daily = dynamic_cast<const Sarvo::Daily&>(OnlySchedule(*rule));
    EXPECT_EQ(daily.StartTime(), Time(8, 30, 15));
    EXPECT_EQ(daily.EndTime(), Time(17, 0, 0));
    EXPECT_FALSE(daily.StartTime().zone_present());

    const auto withFraction = F::CreateDailyScheduleRule("08:30:15.5", "17:00:00");
    EXPECT_EQ(OnlySchedule(*withFraction).StartTime(), Time(8, 30, 15));
    EXPECT_TRUE(XmlRulesStrictCompare(rule, withFraction));
}

TEST(RuleFactory, TimeTextsInTheirAcceptedForms) {
    struct Row {
        const char* text;
        xml_schema::time expected;
    };
    const std::vector<Row> rows = {
        {"8:30", Time(8, 30, 0)},        {"08-30-15", Time(8, 30, 15)},
        {"23,59,59", Time(23, 59, 59)},  {"00:00:00", Time(0, 0, 0)},
        {"06:07:08.999", Time(6, 7, 8)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(OnlySchedule(*F::CreateDailyScheduleRule(row.text, "23:00:00")).StartTime(),
                  row.expected);
    }
}

TEST(RuleFactory, TimeOutsideTheDayIsRefused) {
    for (const char* text : {"24:00:00", "-01:00:00", "30:00:00"}) {
        SCOPED_TRACE(text);
        try {
            F::CreateDailyScheduleRule("08:00:00", text);
            ADD_FAILURE() << "no exception";
        } catch (const std::out_of_range& error) {
            EXPECT_EQ(std::string(error.what()),
                      std::string("fwcommon::XmlRuleFactory.Time of day is out of range "
                                  "00:00:00..23:59:59: '") +
                          text + "'");
        }
    }
}

TEST(RuleFactory, MalformedTimeTextPropagatesTheParserError) {
    EXPECT_THROW(F::CreateDailyScheduleRule("08:xx:00", "17:00:00"), boost::bad_lexical_cast);
    EXPECT_THROW(
        F::CreateWeeklyScheduleRule("08:00:00", "noon", true, true, true, true, true, false, false),
        boost::bad_lexical_cast);
}

TEST(RuleFactory, WeeklyDaysInOrder) {
    const auto rule = F::CreateWeeklyScheduleRule("08:00:00", "17:00:00", true, false, false, true,
                                                  false, false, true);
    const auto& weekly = dynamic_cast<const Sarvo::Weekly&>(OnlySchedule(*rule));
    const Sarvo::WeekDays& days = weekly.WeekDays();
    const bool actual[] = {days.Monday(), days.Tuesday(),  days.Wednesday(), days.Thursday(),
                           days.Friday(), days.Saturday(), days.Sunday()};
    const bool expected[] = {true, false, false, true, false, false, true};
    for (int day = 0; day < 7; ++day) {
        EXPECT_EQ(actual[day], expected[day]) << "day " << day;
    }
    EXPECT_EQ(weekly.StartTime(), Time(8, 0, 0));
    EXPECT_EQ(weekly.EndTime(), Time(17, 0, 0));
}

TEST(RuleFactory, CalendarDates) {
    const auto rule =
        F::CreateCalendarScheduleRule("08:00:00", "17:00:00", "2024-03-01", "2025-Feb-28");
    const auto& calendar = dynamic_cast<const Sarvo::Calendar&>(OnlySchedule(*rule));
    EXPECT_EQ(calendar.StartDate(), xml_schema::date(2024, 3, 1));
    EXPECT_EQ(calendar.EndDate(), xml_schema::date(2025, 2, 28));
    EXPECT_FALSE(calendar.StartDate().zone_present());
}

TEST(RuleFactory, InvalidDatesRaiseTheGregorianErrors) {
    auto calendar = [](const char* start) {
        return F::CreateCalendarScheduleRule("08:00:00", "17:00:00", start, "2024-12-31");
    };
    try {
        calendar("2024-01-32");
        ADD_FAILURE() << "day 32 accepted";
    } catch (const boost::gregorian::bad_day_of_month& error) {
        EXPECT_STREQ(error.what(), "Day of month value is out of range 1..31");
    }
    try {
        calendar("1399-01-01");
        ADD_FAILURE() << "year 1399 accepted";
    } catch (const boost::gregorian::bad_year& error) {
        // Boost words the valid range by release ("1400..9999", "1400..10000").
        EXPECT_STREQ(error.what(), boost::gregorian::bad_year().what());
        EXPECT_EQ(std::string(error.what()).rfind("Year is out of valid range: 1400..", 0), 0u);
    }
    EXPECT_THROW(calendar("2023-02-29"), boost::gregorian::bad_day_of_month);
    EXPECT_THROW(calendar("2024-13-01"), boost::gregorian::bad_month);
}

// Every kind of sample rule can be written into a document that the schema
// accepts, and reads back unchanged.
TEST(RuleFactory, RulesAreValidDocumentContent) {
    const std::vector<std::shared_ptr<Sarvo::Rule>> rules = {
        F::CreateSimpleXmlRule(),
        F::CreateSimpleTranslationXmlRule(),
        F::CreateLocalXmlRuleWithInterfaceByIpMask(),
        F::CreateLocalXmlRuleWithDomaineName(),
        F::CreateVpnXmlRuleWithVpnNameTemplate(),
        F::CreateIcmpServiceRule(3, 4),
        F::CreateTcpServiceRuleWithPortRange(1000, 2000, 80, 90),
        F::CreateWeeklyScheduleRule("1:2:3", "4:5:6", true, true, true, true, true, true, true),
        F::CreateCalendarScheduleRule("00:00:00", "23:59:59", "2024-01-01", "2024-12-31"),
    };
    Sarvo::Rules list;
    for (const auto& rule : rules) {
        list.Rule().push_back(*rule);
    }
    const Sarvo::PolicyType policy(
        list, Sarvo::Properties(L"1.0", xml_schema::date_time(2024, 1, 1, 0, 0, 0), 0));
    const auto reread = ParsePolicyDocument(WritePolicyDocument(policy));
    ASSERT_EQ(reread->Rules().Rule().size(), rules.size());
    for (std::size_t i = 0; i < rules.size(); ++i) {
        SCOPED_TRACE(i);
        std::wstring details;
        auto back = std::shared_ptr<Sarvo::Rule>(reread->Rules().Rule()[i]._clone());
        EXPECT_TRUE(XmlRulesStrictCompare(rules[i], back, details)) << details;
    }
}

}  // namespace
}  // namespace fwcommon::test
