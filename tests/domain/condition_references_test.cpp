#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/GenericXmlConditionDispatch.h>
#include <fwcommon/XmlNamedObjectFactory.h>
#include <fwcommon/XmlRuleFactory.h>

namespace fwcommon {
namespace {

using Seen = std::vector<std::string>;

// "<kind>@<purpose>" for a reference to a named object, "system@<purpose>"
// for a system object, "other@<purpose>" for anything else.
template <class Condition>
std::string Describe(Condition& condition, ConditionPurpose::Type purpose) {
    const std::string at = "@" + std::to_string(purpose);
    if (auto* reference = AsObjectReference(condition)) {
        return std::to_string(kReferencedKind<Condition>) + ":" + std::to_string(reference->Id()) +
               at;
    }
    if (AsSystemReference(condition) != nullptr) {
        return "system" + at;
    }
    return "other" + at;
}

Seen WalkRule(Sarvo::ConditionSet& conditions) {
    Seen seen;
    ForEachCondition(conditions, [&seen](auto& condition, ConditionPurpose::Type purpose) {
        seen.push_back(Describe(condition, purpose));
    });
    Seen constSeen;
    const Sarvo::ConditionSet& constant = conditions;
    ForEachCondition(constant, [&constSeen](const auto& condition, ConditionPurpose::Type purpose) {
        constSeen.push_back(Describe(condition, purpose));
    });
    EXPECT_EQ(seen, constSeen);
    return seen;
}

// A rule with every kind of list: schedules, a public source (interface and
// hosts), services and a private destination.
std::shared_ptr<Sarvo::Rule> RuleWithEveryList() {
    auto rule = XmlRuleFactory::CreateSimpleXmlRule();
    auto& conditions = rule->ConditionSet();
    conditions.ScheduleCondition().push_back(Sarvo::ScheduleObjectRef(51));
    conditions.ScheduleCondition().push_back(Sarvo::ScheduleSystemObjectRef(L"Always"));
    Sarvo::PublicNetwork source;
    source.IpHostCondition().push_back(Sarvo::IpObjectRef(11));
    source.IpHostCondition().push_back(Sarvo::IpAddress(L"10.0.0.1"));
    source.InterfaceCondition(Sarvo::InterfaceObjectRef(21));
    conditions.Source(source);
    conditions.ServiceCondition().push_back(Sarvo::ServiceSystemObjectRef(L"All"));
    conditions.ServiceCondition().push_back(Sarvo::ServiceObjectRef(41));
    Sarvo::PrivateNetwork destination;
    destination.VpnHostCondition().push_back(Sarvo::VpnObjectRef(31));
    destination.VpnHostCondition().push_back(Sarvo::VpnSystemObjectRef(L"AllNodes"));
    conditions.Destination(destination);
    return rule;
}

std::string Kind(NamedObjectType kind) {
    return std::to_string(kind);
}

// Schedules, then the source side (its interface before its hosts), the
// services and the destination side, each with the purpose of its place.
TEST(ConditionReferencesTest, RuleConditionsComeInDocumentOrderWithTheirPurpose) {
    auto rule = RuleWithEveryList();
    EXPECT_EQ((Seen{Kind(eScheduleObject) + ":51@3", "system@3", Kind(eInterfaceObject) + ":21@0",
                    Kind(eIpAddressObject) + ":11@0", "other@0", "system@2",
                    Kind(eServiceObject) + ":41@2", Kind(eSarvoGroupObject) + ":31@1", "system@1"}),
              WalkRule(rule->ConditionSet()));
}

TEST(ConditionReferencesTest, AbsentSidesAndEmptyListsGiveNothing) {
    auto rule = XmlRuleFactory::CreateSimpleXmlRule();
    rule->ConditionSet().Source().reset();
    rule->ConditionSet().Destination(Sarvo::PublicNetwork());
    EXPECT_TRUE(WalkRule(rule->ConditionSet()).empty());
}

// The predicate needs the kind and the Id to agree; a system object or a
// literal condition never refers to a named object.
TEST(ConditionReferencesTest, RefersToMatchesKindAndId) {
    const Sarvo::IpObjectRef ip(7);
    EXPECT_TRUE(RefersTo(static_cast<const Sarvo::IpHostCondition&>(ip), eIpAddressObject, 7));
    EXPECT_FALSE(RefersTo(static_cast<const Sarvo::IpHostCondition&>(ip), eIpAddressObject, 8));
    EXPECT_FALSE(RefersTo(static_cast<const Sarvo::IpHostCondition&>(ip), eSarvoGroupObject, 7));

    const Sarvo::VpnObjectRef vpn(7);
    EXPECT_TRUE(RefersTo(static_cast<const Sarvo::VpnHostCondition&>(vpn), eSarvoGroupObject, 7));
    EXPECT_FALSE(RefersTo(static_cast<const Sarvo::VpnHostCondition&>(vpn), eIpAddressObject, 7));

    const Sarvo::InterfaceObjectRef interface(3);
    EXPECT_TRUE(
        RefersTo(static_cast<const Sarvo::InterfaceCondition&>(interface), eInterfaceObject, 3));
    const Sarvo::ServiceObjectRef service(4);
    EXPECT_TRUE(RefersTo(static_cast<const Sarvo::ServiceCondition&>(service), eServiceObject, 4));
    const Sarvo::ScheduleObjectRef schedule(5);
    EXPECT_TRUE(
        RefersTo(static_cast<const Sarvo::ScheduleCondition&>(schedule), eScheduleObject, 5));

    const Sarvo::IpSystemObjectRef system(L"AllClients");
    EXPECT_FALSE(RefersTo(static_cast<const Sarvo::IpHostCondition&>(system), eIpAddressObject, 0));
    const Sarvo::IpAddress address(L"10.0.0.7");
    EXPECT_FALSE(
        RefersTo(static_cast<const Sarvo::IpHostCondition&>(address), eIpAddressObject, 0));
}

// A reference found through a modifiable condition can be rewritten in
// place.
TEST(ConditionReferencesTest, ModifiableReferenceRewritesTheDocument) {
    auto rule = RuleWithEveryList();
    ForEachCondition(rule->ConditionSet(), [](auto& condition, ConditionPurpose::Type) {
        if (auto* reference = AsObjectReference(condition)) {
            reference->Id(reference->Id() + 100);
        }
    });
    const auto& hosts =
        dynamic_cast<const Sarvo::PublicNetwork&>(rule->ConditionSet().Source().get())
            .IpHostCondition();
    EXPECT_TRUE(RefersTo(hosts.front(), eIpAddressObject, 111));
}

template <class Object>
Seen WalkMembers(Object& object) {
    Seen seen;
    ForEachMember(static_cast<Sarvo::NamedObject&>(object),
                  [&seen](auto& member, ConditionPurpose::Type purpose) {
                      seen.push_back(Describe(member, purpose));
                  });
    return seen;
}

// Inclusions before exclusions, for each of the five kinds of object.
TEST(ConditionReferencesTest, MembersOfEachObjectKindInclusionsFirst) {
    auto ip = XmlNamedObjectFactory::CreateSimpleIpObject();
    ip->Inclusion().clear();
    ip->Exclusion().push_back(Sarvo::IpObjectRef(2));
    ip->Inclusion().push_back(Sarvo::IpObjectRef(1));
    EXPECT_EQ((Seen{Kind(eIpAddressObject) + ":1@4", Kind(eIpAddressObject) + ":2@5"}),
              WalkMembers(*ip));

    auto interface = XmlNamedObjectFactory::CreateSimpleInterfaceObject();
    interface->Inclusion().clear();
    interface->Inclusion().push_back(Sarvo::InterfaceObjectRef(3));
    EXPECT_EQ((Seen{Kind(eInterfaceObject) + ":3@4"}), WalkMembers(*interface));

    auto vpn = XmlNamedObjectFactory::CreateSimpleVpnObject();
    vpn->Inclusion().clear();
    vpn->Inclusion().push_back(Sarvo::VpnSystemObjectRef(L"AllNodes"));
    EXPECT_EQ((Seen{"system@4"}), WalkMembers(*vpn));

    auto service = XmlNamedObjectFactory::CreateSimpleServiceObject();
    service->Inclusion().clear();
    service->Exclusion().push_back(Sarvo::ServiceObjectRef(4));
    EXPECT_EQ((Seen{Kind(eServiceObject) + ":4@5"}), WalkMembers(*service));

    auto schedule = XmlNamedObjectFactory::CreateSimpleScheduleObject();
    schedule->Inclusion().clear();
    schedule->Inclusion().push_back(Sarvo::ScheduleObjectRef(5));
    EXPECT_EQ((Seen{Kind(eScheduleObject) + ":5@4"}), WalkMembers(*schedule));
}

}  // namespace
}  // namespace fwcommon
