#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/Context.h>
#include <fwcommon/CreateNamedObject.h>
#include <fwcommon/INamedObject.h>
#include <fwcommon/NamedObjectDependencies.h>
#include "context/ContextTestSupport.h"
#include "context/PolicyFixtures.h"

namespace fwcommon::test {
namespace {

std::string Records(const Context::RuleDependencies& found) {
    std::string text;
    for (const auto& [dataname, records] : found) {
        text += std::string(dataname.begin(), dataname.end()) + ":";
        for (const RuleInfo& record : records) {
            text += " " + std::string(record.ruleName.begin(), record.ruleName.end()) + "/" +
                    std::string(record.section.begin(), record.section.end()) + "/" +
                    std::to_string(record.creationType) + "/" + std::to_string(record.location);
        }
        text += ";";
    }
    return text;
}

// Two rule documents that name the IP object 5001 (and one that names 5002).
class ContextRuleDependencies : public ::testing::Test {
protected:
    void SetUp() override {
        context.AppendXmlReader(
            L"objects.xml",
            PolicyXml("", IpObjectXml(5001, "Office") + IpObjectXml(5002, "Servers")), Policy, {},
            L"");
        context.AppendXmlReader(
            L"a.xml",
            PolicyXml(
                RuleXml("LocalRule", 300001, 300001, "in", "User", SourceIsObject(5001)) +
                RuleXml("LocalRule", 300002, 300002, "unrelated", "User", SourceIsObject(5002))),
            User, {}, L"");
        context.AppendXmlReader(L"b.xml",
                                PolicyXml(RuleXml("TransitRule", 200001, 200001, "through",
                                                  "Policy", DestinationIsObject(5001))),
                                Policy, {}, L"");
        office = context.GetNamedObject(L"objects.xml", Policy, L"Office");
    }

    Context context;
    std::shared_ptr<INamedObject> office;
};

TEST_F(ContextRuleDependencies, SearchWithoutAnnouncingChangesNothing) {
    SignalLog signals(context);
    Context::RuleDependencies found;
    context.DetermineRulesDependencies(office, found);
    EXPECT_EQ("a.xml: in/eLocalRules/2/1;b.xml: through/eTransitRules/1/2;objects.xml:;",
              Records(found));
    EXPECT_TRUE(signals.modified.empty());
    EXPECT_FALSE(context.HasChanges());
    // The map is not cleared: a second search appends the same records.
    context.SearchRulesForNamedObject(office, found, false);
    EXPECT_EQ(
        "a.xml: in/eLocalRules/2/1 in/eLocalRules/2/1;"
        "b.xml: through/eTransitRules/1/2 through/eTransitRules/1/2;objects.xml:;",
        Records(found));
}

TEST_F(ContextRuleDependencies, SearchAnnouncingTakesReferencesOutAndAnnouncesEachRule) {
    SignalLog signals(context);
    const auto in = context.GetRule(L"a.xml", eLocalRules, 0);
    const auto through = context.GetRule(L"b.xml", eTransitRules, 0);
    Context::RuleDependencies found;
    context.SearchRulesForNamedObject(office, found, true);
    EXPECT_EQ("a.xml: in/eLocalRules/2/1;b.xml: through/eTransitRules/1/2;objects.xml:;",
              Records(found));
    EXPECT_EQ((std::vector<SignalLog::Change>{{L"a.xml", eRule, User, in->GetIdentifier()},
                                              {L"b.xml", eRule, Policy, through->GetIdentifier()}}),
              signals.modified);
    Context::RuleDependencies again;
    context.DetermineRulesDependencies(office, again);
    EXPECT_EQ("a.xml:;b.xml:;objects.xml:;", Records(again));
    EXPECT_TRUE(context.HasChanges());
}

TEST(ContextRuleDependenciesEmpty, NoDocumentsFindNothing) {
    Context context;
    Context::RuleDependencies found;
    context.SearchRulesForNamedObject(CreateNamedObject(L"x", L"", eIpAddressObject, User), found,
                                      true);
    EXPECT_TRUE(found.empty());
}

// Groups for the dependency walk: base <- middle <- top, an unrelated
// object, and a pair that hold each other and base.
class NamedObjectDependencyWalk : public ::testing::Test {
protected:
    static std::shared_ptr<INamedObject> Ip(const wchar_t* name) {
        return CreateNamedObject(name, L"", eIpAddressObject, User);
    }

    void TearDown() override {
        // Objects holding each other keep each other alive: let go.
        for (const auto& object : {cycleA, cycleB}) {
            const auto inclusions = object->GetInclusions();
            for (const auto& item : *inclusions) {
                object->RemoveItem(0, item);
            }
        }
    }

    std::shared_ptr<INamedObject> base = Ip(L"base");
    std::shared_ptr<INamedObject> middle = Ip(L"middle");
    std::shared_ptr<INamedObject> top = Ip(L"top");
    std::shared_ptr<INamedObject> unrelated = Ip(L"unrelated");
    std::shared_ptr<INamedObject> cycleA = Ip(L"cycle a");
    std::shared_ptr<INamedObject> cycleB = Ip(L"cycle b");
};

TEST_F(NamedObjectDependencyWalk, GroupsHoldingTheObjectAtAnyDepthAreFound) {
    ASSERT_TRUE(middle->AddNamedObject(1, base));  // exclusions count too
    ASSERT_TRUE(top->AddNamedObject(0, middle));
    // A cycle: a holds b, and b takes the lists of a holder of a.
    ASSERT_TRUE(cycleA->AddNamedObject(0, cycleB));
    const auto holderOfA = Ip(L"holder of a");
    ASSERT_TRUE(holderOfA->AddNamedObject(0, cycleA));
    cycleB->AssignFrom(holderOfA);
    ASSERT_TRUE(cycleB->AddNamedObject(0, base));

    const auto list = std::make_shared<const NamedObjectList>(
        NamedObjectList{unrelated, top, cycleA, base, middle, cycleB});
    std::set<unsigned long> found = {42};
    DetermineNamedObjectDependencies(base, list, found);
    EXPECT_EQ((std::set<unsigned long>{42, middle->GetIdentifier(), top->GetIdentifier(),
                                       cycleA->GetIdentifier(), cycleB->GetIdentifier()}),
              found);

    std::set<unsigned long> ofTop;
    DetermineNamedObjectDependencies(top, list, ofTop);
    EXPECT_TRUE(ofTop.empty());
}

TEST_F(NamedObjectDependencyWalk, ObjectOnACycleDependsOnItself) {
    ASSERT_TRUE(cycleA->AddNamedObject(0, cycleB));
    cycleB->AssignFrom(cycleA);  // b now holds b
    const auto list = std::make_shared<const NamedObjectList>(NamedObjectList{cycleA, cycleB});
    std::set<unsigned long> found;
    DetermineNamedObjectDependencies(cycleB, list, found);
    EXPECT_EQ((std::set<unsigned long>{cycleA->GetIdentifier(), cycleB->GetIdentifier()}), found);
}

TEST_F(NamedObjectDependencyWalk, ListedObjectStandsForEveryEntryOfItsIdentity) {
    // top holds a stale copy of middle; the listed middle holds base.
    const auto staleMiddle =
        CreateNamedObject(middle->GetIdentifier(), L"middle", L"", eIpAddressObject, User);
    ASSERT_TRUE(top->AddNamedObject(0, staleMiddle));
    ASSERT_TRUE(middle->AddNamedObject(0, base));
    const auto list = std::make_shared<const NamedObjectList>(NamedObjectList{top, middle});
    std::set<unsigned long> found;
    DetermineNamedObjectDependencies(base, list, found);
    EXPECT_EQ((std::set<unsigned long>{top->GetIdentifier(), middle->GetIdentifier()}), found);
}

TEST_F(NamedObjectDependencyWalk, EmptyInputsAddNothing) {
    std::set<unsigned long> found = {1};
    DetermineNamedObjectDependencies(base, std::make_shared<const NamedObjectList>(), found);
    DetermineNamedObjectDependencies(base, nullptr, found);
    DetermineNamedObjectDependencies(
        nullptr, std::make_shared<const NamedObjectList>(NamedObjectList{top}), found);
    EXPECT_EQ(std::set<unsigned long>{1}, found);
}

}  // namespace
}  // namespace fwcommon::test
