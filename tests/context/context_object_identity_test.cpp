// Named objects of different kinds may share a name and even an
// identifier: every edit through the Context touches the object it was
// asked about and no other, in the Context's records, in the store's list
// and in the written document.

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/Context.h>
#include <fwcommon/CreateNamedObject.h>
#include <fwcommon/INamedObject.h>
#include <fwcommon/IRule.h>
#include <fwcommon/rules.hxx>
#include "context/ContextTestSupport.h"
#include "context/PolicyFixtures.h"
#include "context/ViewsAgree.h"

namespace fwcommon::test {
namespace {

const std::wstring kObjects = L"NamedObjects.xml";
constexpr int kShared = 7;

std::shared_ptr<INamedObject> KeptOfKind(Context& context, NamedObjectType type) {
    const auto kept = context.GetNamedObjects(kObjects, type);
    return kept->size() == 1 ? kept->front() : nullptr;
}

// An IP object "Web" and a service object "Web" that share the identifier
// 7; one rule names the IP object, another the service object.
class SharedIdentity : public ::testing::Test {
protected:
    void SetUp() override {
        context.AppendXmlReader(
            kObjects,
            PolicyXml(RuleXml("LocalRule", 200001, 200001, "to web", "Policy",
                              DestinationIsObject(kShared)) +
                          RuleXml("LocalRule", 200002, 200002, "web service", "Policy",
                                  ServiceIsObject(kShared)),
                      ServiceObjectXml(kShared, "Web", 80) + IpObjectXml(kShared, "Web")),
            Policy, EverythingEditable(), L"");
    }

    Context context{kObjects};
};

TEST_F(SharedIdentity, RemovingTheServiceKeepsTheIpObjectInEveryView) {
    const auto ip = KeptOfKind(context, eIpAddressObject);
    ASSERT_TRUE(ip);
    const auto service = context.GetNamedObject(kObjects, 1u);
    ASSERT_EQ(eServiceObject, service->GetNamedObjectType());

    ASSERT_TRUE(context.RemoveNamedObject(kObjects, 1u));
    EXPECT_EQ(ip, KeptOfKind(context, eIpAddressObject));
    EXPECT_FALSE(KeptOfKind(context, eServiceObject));
    const std::string written = Written(context, kObjects);
    EXPECT_TRUE(Holds(written, "<IpObject>"));
    EXPECT_FALSE(Holds(written, "<ServiceObject>"));
    EXPECT_TRUE(Holds(written, "sv:IpObjectRef"));
    EXPECT_FALSE(Holds(written, "sv:ServiceObjectRef"));
    ExpectViewsAgree(context, kObjects, Policy);

    ASSERT_TRUE(context.RollbackChanges());
    EXPECT_EQ(ip, KeptOfKind(context, eIpAddressObject));
    EXPECT_EQ(service, KeptOfKind(context, eServiceObject));
    ExpectViewsAgree(context, kObjects, Policy);
}

TEST_F(SharedIdentity, RemovingTheIpObjectKeepsTheServiceInEveryView) {
    const auto service = KeptOfKind(context, eServiceObject);
    ASSERT_TRUE(context.RemoveNamedObject(kObjects, 0u));
    EXPECT_EQ(service, KeptOfKind(context, eServiceObject));
    EXPECT_FALSE(KeptOfKind(context, eIpAddressObject));
    EXPECT_TRUE(Holds(Written(context, kObjects), "sv:ServiceObjectRef"));
    ExpectViewsAgree(context, kObjects, Policy);
    ASSERT_TRUE(context.CommitChanges());
    ExpectViewsAgree(context, kObjects, Policy);
}

TEST_F(SharedIdentity, UpdatingTheServiceLeavesTheIpObjectAsItWas) {
    const auto ip = KeptOfKind(context, eIpAddressObject);
    const auto service = KeptOfKind(context, eServiceObject);
    std::vector<std::shared_ptr<INamedObject>> rolledBack;
    context.namedObjectsRolledBack.connect(
        [&](const std::vector<std::shared_ptr<INamedObject>>& objects) { rolledBack = objects; });

    ASSERT_TRUE(context.UpdateNamedObject(
        kObjects, CreateNamedObject(kShared, L"Web 2", L"", eServiceObject, Policy)));
    const INamedObject& keptIp = *ip;
    const INamedObject& keptService = *service;
    EXPECT_EQ(L"Web", keptIp.GetName());
    EXPECT_EQ(1u, ip->GetInclusions()->size());
    EXPECT_EQ(L"Web 2", keptService.GetName());
    const std::string written = Written(context, kObjects);
    EXPECT_TRUE(Holds(written, "<Name>Web</Name>"));
    EXPECT_TRUE(Holds(written, "<Value>10.0.0.7</Value>"));
    ExpectViewsAgree(context, kObjects, Policy);

    ASSERT_TRUE(context.RollbackChanges());
    ASSERT_EQ(1u, rolledBack.size());
    EXPECT_EQ(service, rolledBack.front());
}

TEST_F(SharedIdentity, ACommitAfterUpdatingTheServiceReportsAServiceChange) {
    Context::Change seen;
    context.committing.connect([&] { seen = context.GetNamedObjectsChanges(); });
    ASSERT_TRUE(context.UpdateNamedObject(
        kObjects, CreateNamedObject(kShared, L"Web 2", L"", eServiceObject, Policy)));
    ASSERT_TRUE(context.CommitChanges());
    EXPECT_EQ("(2,1)", Text(seen));
}

TEST(ObjectNotifications, AnEditIsAnnouncedUnderTheDocumentHoldingThatObject) {
    const std::wstring services = L"Services.xml";
    const std::wstring hosts = L"Hosts.xml";
    Context context{kObjects};
    context.AppendXmlReader(services, PolicyXml("", ServiceObjectXml(kShared, "Web", 80)), Policy,
                            EverythingEditable(), L"");
    context.AppendXmlReader(hosts, PolicyXml("", IpObjectXml(kShared, "Web")), Policy,
                            EverythingEditable(), L"");
    SignalLog signals(context);
    const auto ip = context.GetNamedObject(hosts, Policy, L"Web");
    ASSERT_TRUE(ip);
    ip->SetName(L"Web hosts");
    ASSERT_EQ(1u, signals.modified.size());
    EXPECT_EQ(hosts, std::get<0>(signals.modified.front()));
    EXPECT_TRUE(Holds(Written(context, hosts), "<Name>Web hosts</Name>"));
    EXPECT_FALSE(Holds(Written(context, services), "<Name>Web hosts</Name>"));

    std::vector<std::shared_ptr<INamedObject>> rolledBack;
    context.namedObjectsRolledBack.connect(
        [&](const std::vector<std::shared_ptr<INamedObject>>& objects) { rolledBack = objects; });
    ASSERT_TRUE(context.RollbackChanges());
    ASSERT_EQ(1u, rolledBack.size());
    EXPECT_EQ(ip, rolledBack.front());
}

// A service object "Web" that a rule uses, and a new IP object "Web".
class SameName : public ::testing::Test {
protected:
    void SetUp() override {
        context.AppendXmlReader(kObjects,
                                PolicyXml(RuleXml("LocalRule", 200002, 200002, "web service",
                                                  "Policy", ServiceIsObject(81)),
                                          ServiceObjectXml(81, "Web", 80)),
                                Policy, EverythingEditable(), L"");
    }

    Context context{kObjects};
};

TEST_F(SameName, RemovingANewIpObjectByIdentifierLeavesTheServiceOfTheSameName) {
    const auto service = KeptOfKind(context, eServiceObject);
    const auto ip = context.CreateNamedObject(kObjects, L"Web", L"", eIpAddressObject);
    ASSERT_TRUE(ip);
    ASSERT_TRUE(context.RemoveNamedObjectById(kObjects, Context::GetDomainObject(ip)));
    EXPECT_EQ(service, KeptOfKind(context, eServiceObject));
    EXPECT_FALSE(KeptOfKind(context, eIpAddressObject));
    EXPECT_TRUE(Holds(Written(context, kObjects), "sv:ServiceObjectRef"));
    ExpectViewsAgree(context, kObjects, Policy);
}

TEST(ObjectReferences, RemovingAnObjectUsedOnBothSidesOfARuleLeavesNoReference) {
    Context context{kObjects};
    context.AppendXmlReader(kObjects,
                            PolicyXml(RuleXml("LocalRule", 200001, 200001, "within", "Policy",
                                              SourceIsObject(5001) + DestinationIsObject(5001)),
                                      IpObjectXml(5001, "Office") + IpObjectXml(5002, "Servers")),
                            Policy, EverythingEditable(), L"");
    SignalLog signals(context);
    ASSERT_TRUE(context.RemoveNamedObject(kObjects, Policy, L"Office"));
    EXPECT_FALSE(Holds(Written(context, kObjects), "sv:IpObjectRef"));
    const auto rules = context.GetRules(kObjects, eLocalRules);
    ASSERT_EQ(1u, rules->size());
    EXPECT_FALSE(rules->front()->GetXmlRule()->ConditionSet().Destination().present() &&
                 Written(context, kObjects).find("<Id>5001</Id>") != std::string::npos);
    const auto ruleChanges =
        std::count_if(signals.modified.begin(), signals.modified.end(),
                      [](const SignalLog::Change& change) { return std::get<1>(change) == eRule; });
    EXPECT_EQ(1, ruleChanges) << "one announcement per rule";
    ExpectViewsAgree(context, kObjects, Policy);
}

// A caller keeps a rule that names an object and hands it back after the
// object went: the kept rule lost the reference too, so none comes back.
TEST(ObjectReferences, AKeptRuleHandedBackAfterARemovalNamesNoRemovedObject) {
    Context context{kObjects};
    context.AppendXmlReader(
        kObjects, PolicyXml("", IpObjectXml(5001, "Office") + IpObjectXml(5002, "Servers")), Policy,
        EverythingEditable(), L"");
    const auto rule = context.CreateRule(kObjects, eLocalRules, Policy, L"to office",
                                         Context::RuleActions::ePass, -1);
    ASSERT_NE(nullptr, rule);
    Sarvo::PublicNetwork destination;
    destination.IpHostCondition().push_back(Sarvo::IpObjectRef(5001));
    destination.IpHostCondition().push_back(Sarvo::IpObjectRef(5002));
    rule->GetXmlRule()->ConditionSet().Destination(destination);
    ASSERT_TRUE(context.UpdateRule(kObjects, rule));

    ASSERT_TRUE(context.RemoveNamedObject(kObjects, Policy, L"Office"));
    rule->GetXmlRule()->Name(L"to servers");
    ASSERT_TRUE(context.UpdateRule(kObjects, rule));
    const std::string written = Written(context, kObjects);
    EXPECT_TRUE(Holds(written, "<Name>to servers</Name>"));
    EXPECT_FALSE(Holds(written, "<Id>5001</Id>"));
    ExpectViewsAgree(context, kObjects, Policy);
}

// "Servers" includes "Office": removing Office takes it out of Servers
// too, in the record, in the document and across a rollback.
TEST(ObjectReferences, RemovingAnObjectTakesItOutOfTheObjectsThatIncludeIt) {
    Context context{kObjects};
    context.AppendXmlReader(
        kObjects,
        PolicyXml("", IpObjectXml(5001, "Office") + IpObjectXml(5002, "Servers", "Policy", {5001})),
        Policy, EverythingEditable(), L"");
    SignalLog signals(context);
    const auto servers = context.GetNamedObject(kObjects, Policy, L"Servers");
    ASSERT_EQ(2u, servers->GetInclusions()->size());
    ASSERT_TRUE(context.RemoveNamedObject(kObjects, Policy, L"Office"));
    EXPECT_EQ(1u, servers->GetInclusions()->size());
    EXPECT_FALSE(Holds(Written(context, kObjects), "sv:IpObjectRef"));
    EXPECT_NE(signals.modified.end(),
              std::find(signals.modified.begin(), signals.modified.end(),
                        SignalLog::Change(kObjects, eNamedObject, Policy, 5002)))
        << "the including object is announced as changed";
    ExpectViewsAgree(context, kObjects, Policy);

    ASSERT_TRUE(context.RollbackChanges());
    EXPECT_EQ(2u, servers->GetInclusions()->size());
    ExpectViewsAgree(context, kObjects, Policy);
}

}  // namespace
}  // namespace fwcommon::test
