// Strict comparison of rules.

#include <functional>

#include <gtest/gtest.h>

#include <fwcommon/XmlRuleFactory.h>
#include <fwcommon/XmlRuleStrictComparator.h>
#include <fwcommon/XmlRulesStrictCompare.h>

#include "common/Conditions.h"

namespace fwcommon::test {
namespace {

using Edit = std::function<void(Sarvo::Rule&)>;

// Two simple rules, each edited as the row says, and the text their
// comparison must give (empty: equal).
struct RuleRow {
    const char* name;
    Edit editFirst;
    Edit editSecond;
    std::wstring expected;
};

void Keep(Sarvo::Rule&) {}

void CheckRuleRows(const std::vector<RuleRow>& rows) {
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto first = XmlRuleFactory::CreateSimpleXmlRule();
        auto second = XmlRuleFactory::CreateSimpleXmlRule();
        row.editFirst(*first);
        row.editSecond(*second);
        std::wstring details = L"<stale>";
        const bool equal = XmlRulesStrictCompare(first, second, details);
        EXPECT_EQ(equal, row.expected.empty());
        EXPECT_EQ(details, row.expected);
        EXPECT_EQ(XmlRulesStrictCompare(first, second), equal);
    }
}

Sarvo::Filter& FilterOf(Sarvo::Rule& rule) {
    return dynamic_cast<Sarvo::Filter&>(rule.Action());
}

// Replaces the action with a Translation set up by the edit.
Edit Translate(std::function<void(Sarvo::Translation&)> edit) {
    return [edit](Sarvo::Rule& rule) {
        Sarvo::Translation translation;
        edit(translation);
        rule.Action(translation);
    };
}
void NoChange(Sarvo::Translation&) {}

Edit Source(const Sarvo::NetworkCondition& side) {
    return [&side](Sarvo::Rule& rule) { rule.ConditionSet().Source(side); };
}
Edit Destination(const Sarvo::NetworkCondition& side) {
    return [&side](Sarvo::Rule& rule) { rule.ConditionSet().Destination(side); };
}

Sarvo::PublicNetwork Hosts(std::initializer_list<std::shared_ptr<Sarvo::IpHostCondition>> members) {
    Sarvo::PublicNetwork side;
    for (const auto& member : members) {
        side.IpHostCondition().push_back(*member);
    }
    return side;
}

Sarvo::PublicNetwork OnInterface(const std::wstring& name) {
    Sarvo::PublicNetwork side;
    side.InterfaceCondition(Sarvo::SimpleInterface(name));
    return side;
}

Sarvo::PrivateNetwork Nodes(std::initializer_list<long long> ids) {
    Sarvo::PrivateNetwork side;
    for (long long id : ids) {
        side.VpnHostCondition().push_back(Sarvo::VpnNodeId(id));
    }
    return side;
}

Edit Service(const Sarvo::ServiceCondition& condition) {
    return [&condition](Sarvo::Rule& rule) {
        rule.ConditionSet().ServiceCondition().push_back(condition);
    };
}
Edit Schedule(const Sarvo::ScheduleCondition& condition) {
    return [&condition](Sarvo::Rule& rule) {
        rule.ConditionSet().ScheduleCondition().push_back(condition);
    };
}

TEST(RuleComparison, IdentityNameAndOrigin) {
    const std::vector<RuleRow> rows = {
        {"simple rules", Keep, Keep, L""},
        {"reserved attributes are ignored",
         [](Sarvo::Rule& r) {
             r.Reserved1(true);
             r.Reserved3(L"x");
         },
         [](Sarvo::Rule& r) { r.Reserved2(false); }, L""},
        {"rule ids", Keep, [](Sarvo::Rule& r) { r.RuleId(4294967296LL + 100000); },
         L"RuleId mismatch: '100000' and '4295067296'"},
        {"order ids", [](Sarvo::Rule& r) { r.OrderId(-5); }, Keep,
         L"OrderId mismatch: '-5' and '100000'"},
        {"names", Keep, [](Sarvo::Rule& r) { r.Name(L"other"); },
         L"Name mismatch: 'name' and 'other'"},
        {"creation types", Keep,
         [](Sarvo::Rule& r) { r.CreationType(Sarvo::CreationTypes::Policy); },
         L"'CreationType' mismatch: 'User' and 'Policy'"},
        {"activity", Keep, [](Sarvo::Rule& r) { r.IsActive(false); },
         L"'IsActive' mismatch: '1' and '0'"},
        {"action before creation type",
         [](Sarvo::Rule& r) { r.CreationType(Sarvo::CreationTypes::Post); },
         [](Sarvo::Rule& r) { FilterOf(r).FilteringAction(Sarvo::ActionTypes::Drop); },
         L"Filtering action mismatch: 'Pass' and 'Drop'"},
    };
    CheckRuleRows(rows);
}

TEST(RuleComparison, FilterActions) {
    const std::vector<RuleRow> rows = {
        {"filtering action", Keep,
         [](Sarvo::Rule& r) { FilterOf(r).FilteringAction(Sarvo::ActionTypes::Drop); },
         L"Filtering action mismatch: 'Pass' and 'Drop'"},
        {"bidirectional", Keep, [](Sarvo::Rule& r) { FilterOf(r).IsBidirectional(true); },
         L"Filtering option 'IsBidirectional' mismatch: '0' and '1'"},
        {"connection logging", Keep,
         [](Sarvo::Rule& r) { FilterOf(r).IsConnectionLoggingEnabled(false); },
         L"Filtering option 'IsConnectionLoggingEnabled' mismatch: '1' and '0'"},
        {"packet logging", [](Sarvo::Rule& r) { FilterOf(r).IsPacketLoggingEnabled(false); }, Keep,
         L"Filtering option 'IsPacketLoggingEnabled' mismatch: '0' and '1'"},
        {"stateless", Keep, [](Sarvo::Rule& r) { FilterOf(r).IsConnectionStateless(true); },
         L"Filtering option 'IsConnectionStateless' mismatch: '0' and '1'"},
        {"filter against translation", Keep, Translate(NoChange), L"Action type mismatch"},
        {"translation against plain action", Translate(NoChange),
         [](Sarvo::Rule& r) { r.Action(Sarvo::Action()); }, L"Action type mismatch"},
        {"plain actions", [](Sarvo::Rule& r) { r.Action(Sarvo::Action()); },
         [](Sarvo::Rule& r) { r.Action(Sarvo::Action()); },
         L"Incorrect XmlRules. Action field must to be set as Filter or Translation"},
    };
    CheckRuleRows(rows);
}

TEST(RuleComparison, TranslationActions) {
    auto sourceIp = [](const wchar_t* ip) {
        return Translate([ip](Sarvo::Translation& t) { t.SourceIp(Sarvo::IpAddress(ip)); });
    };
    auto destinationIp = [](const wchar_t* ip) {
        return Translate([ip](Sarvo::Translation& t) { t.DestinationIp(Sarvo::IpAddress(ip)); });
    };
    auto destinationPort = [](long long port) {
        return Translate([port](Sarvo::Translation& t) { t.DestinationPort(Sarvo::Port(port)); });
    };
    const std::vector<RuleRow> rows = {
        {"empty translations", Translate(NoChange), Translate(NoChange), L""},
        {"same source", sourceIp(L"1.2.3.4"), sourceIp(L"1.2.3.4"), L""},
        {"source presence", sourceIp(L"1.2.3.4"), Translate(NoChange),
         L"Translation option 'SourceIp'  presence differ: '1', '0'"},
        {"source addresses", sourceIp(L"1.2.3.4"), sourceIp(L"1.2.3.5"),
         L"Translation option 'SourceIp' mismatch: '1.2.3.4' and '1.2.3.5'"},
        {"destination presence", Translate(NoChange), destinationIp(L"5.6.7.8"),
         L"Translation option 'DestinationIp' presence differ: '0', '1'"},
        {"destination addresses", destinationIp(L"5.6.7.8"), destinationIp(L"5.6.7.9"),
         L"Translation option 'DestinationIp' mismatch: '5.6.7.8' and '5.6.7.9'"},
        {"port presence", destinationPort(80), Translate(NoChange),
         L"Translation option 'DestinationPort' presence differ: '1', '0'"},
        {"ports", destinationPort(8080), destinationPort(80),
         L"Translation option 'DestinationPort' mismatch: '8080' and '80'"},
        {"outbound interface", Translate(NoChange),
         Translate([](Sarvo::Translation& t) { t.IsTranslatedIntoOutboundInterface(true); }),
         L"Translation option 'IsTranslatedIntoOutboundInterface' mismatch: '0' and '1'"},
    };
    CheckRuleRows(rows);
}

TEST(RuleComparison, NetworkSides) {
    const auto two = Hosts({Address(L"10.0.0.1"), Address(L"10.0.0.2")});
    const auto twoSwapped = Hosts({Address(L"10.0.0.2"), Address(L"10.0.0.1")});
    const auto three = Hosts({Address(L"10.0.0.1"), Address(L"10.0.0.2"), Address(L"10.0.0.3")});
    const auto eth0 = OnInterface(L"eth0");
    const auto eth1 = OnInterface(L"eth1");
    const auto nodeOne = Nodes({1});
    const auto nodeTwo = Nodes({2});
    const auto noNodes = Nodes({});
    const std::vector<RuleRow> rows = {
        {"same hosts", Source(two), Source(two), L""},
        {"same nodes as destination", Destination(nodeOne), Destination(nodeOne), L""},
        {"source presence", Source(two), Keep, L"'Source' presence differ: '1', '0'"},
        {"destination presence", Keep, Destination(nodeOne),
         L"'Destination' presence differ: '0', '1'"},
        {"interface presence", Source(eth0), Source(two),
         L"In Source option 'InterfaceCondition_optional' presence differ: '1', '0'"},
        {"interfaces", Destination(eth0), Destination(eth1),
         L"In Destination one of 'InterfaceCondition' with type SimpleInterface mismatch: "
         L"'eth0', 'eth1'"},
        {"host counts", Source(two), Source(three),
         L"In Source size of 'IpHostConditions' mismatch: '2', '3'"},
        {"host order", Source(two), Source(twoSwapped),
         L"In Source one of 'IpHostCondition' with type 'IpAddress' mismatch: '10.0.0.1', "
         L"'10.0.0.2'"},
        {"node counts", Destination(nodeOne), Destination(noNodes),
         L"In Destination size of 'VpnHostCondition' mismatch: '1', '0'"},
        {"nodes", Source(nodeOne), Source(nodeTwo),
         L"In Source one of 'VpnHostCondition' with type 'VpnNodeId' mismatch: '1', '2' "},
        {"public against private", Source(two), Source(nodeOne),
         L"Source network condition type mismatch"},
        {"private against public", Destination(noNodes), Destination(eth0),
         L"Destination network condition type mismatch"},
        {"source before destination",
         [&](Sarvo::Rule& r) {
             Source(eth0)(r);
             Destination(nodeOne)(r);
         },
         [&](Sarvo::Rule& r) {
             Source(eth1)(r);
             Destination(nodeTwo)(r);
         },
         L"In Source one of 'InterfaceCondition' with type SimpleInterface mismatch: 'eth0', "
         L"'eth1'"},
    };
    CheckRuleRows(rows);
}

TEST(RuleComparison, ServicesAndSchedules) {
    const Sarvo::ProtocolCondition tcp(6);
    const Sarvo::ProtocolCondition udp(17);
    const auto weekdays = WeeklyOf("1111100");
    const auto everyDay = WeeklyOf("1111111");
    const Sarvo::ScheduleObjectRef reference(3);
    const std::vector<RuleRow> rows = {
        {"same service", Service(tcp), Service(tcp), L""},
        {"service counts", Service(tcp), Keep,
         L"Size of 'Service Condition' mismatch: '1' and '0'"},
        {"services", Service(tcp), Service(udp),
         L"In 'Services' protocols are different: '6', '17'"},
        {"same schedule", Schedule(*weekdays), Schedule(*weekdays), L""},
        {"schedule counts", Keep, Schedule(*weekdays),
         L"Size of Schedule conditions mismatch: '0' and '1'."},
        {"schedules", Schedule(*weekdays), Schedule(*everyDay),
         L"In 'Schedules' Saturday values are different: 'false' and 'true'."},
        {"schedule references", Schedule(reference), Schedule(reference),
         L"In 'Schedules' Schedule has incorrect internal structure."},
        {"services before schedules",
         [&](Sarvo::Rule& r) {
             Service(tcp)(r);
             Schedule (*weekdays)(r);
         },
         [&](Sarvo::Rule& r) {
             Service(udp)(r);
             Schedule (*everyDay)(r);
         },
         L"In 'Services' protocols are different: '6', '17'"},
    };
    CheckRuleRows(rows);
}

// A LocalRule, VpnRule or NatRule with the fields of the simple rule.
template <typename Kind>
std::shared_ptr<Sarvo::Rule> SimpleRuleOfKind(Sarvo::RuleSections::value section) {
    auto simple = XmlRuleFactory::CreateSimpleXmlRule();
    return std::make_shared<Kind>(simple->RuleId(), simple->OrderId(), simple->Name(),
                                  simple->CreationType(), simple->ConditionSet(), simple->Action(),
                                  section);
}

TEST(RuleComparison, KindAndSectionAreNotCompared) {
    const auto local = SimpleRuleOfKind<Sarvo::LocalRule>(Sarvo::RuleSections::LocalSection);
    const auto vpn = SimpleRuleOfKind<Sarvo::VpnRule>(Sarvo::RuleSections::VpnSection);
    const auto misplaced = SimpleRuleOfKind<Sarvo::LocalRule>(Sarvo::RuleSections::NatSection);
    EXPECT_TRUE(XmlRulesStrictCompare(local, vpn));
    EXPECT_TRUE(XmlRulesStrictCompare(local, misplaced));
    EXPECT_TRUE(XmlRulesStrictCompare(XmlRuleFactory::CreateSimpleXmlRule(), vpn));
}

TEST(RuleComparison, SideOfNeitherNetworkKindIsUnequalWithoutText) {
    auto first = XmlRuleFactory::CreateSimpleXmlRule();
    auto second = XmlRuleFactory::CreateSimpleXmlRule();
    first->ConditionSet().Destination(Sarvo::NetworkCondition());
    second->ConditionSet().Destination(Sarvo::PublicNetwork());
    XmlRuleStrictComparator comparator(first, second);
    EXPECT_FALSE(comparator.IsEqual());
    EXPECT_EQ(comparator.GetMismatchDetails(), L"");
}

TEST(RuleComparison, ComparatorKeepsTheTextOfTheLastComparison) {
    auto first = XmlRuleFactory::CreateSimpleXmlRule();
    auto second = XmlRuleFactory::CreateSimpleXmlRule();
    second->Name(L"changed");
    XmlRuleStrictComparator comparator(first, second);
    EXPECT_EQ(comparator.GetMismatchDetails(), L"");
    ASSERT_FALSE(comparator.IsEqual());
    EXPECT_EQ(comparator.GetMismatchDetails(), L"Name mismatch: 'name' and 'changed'");
    second->Name(L"name");
    EXPECT_TRUE(comparator.IsEqual());
    EXPECT_EQ(comparator.GetMismatchDetails(), L"");
}

}  // namespace
}  // namespace fwcommon::test
