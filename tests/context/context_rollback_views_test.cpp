// Edits of named objects around commits and rollbacks: the Context's
// records, its store's list and the written document stay one view.

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/Context.h>
#include <fwcommon/INamedObject.h>
#include "context/ContextTestSupport.h"
#include "context/PolicyFixtures.h"
#include "context/ViewsAgree.h"

namespace fwcommon::test {
namespace {

const std::wstring kObjects = L"NamedObjects.xml";

Context::ModesMap EverythingEditable() {
    Context::ModesMap modes = AllRulesEditable();
    for (int type = eInterfaceObject; type <= eSarvoGroupObject; ++type) {
        modes[type] = Context::Modes::eEditable;
    }
    return modes;
}

// One document holding "Office" (5001), "Servers" (5002) and a rule that
// names Office.
class RollbackViews : public ::testing::Test {
protected:
    void SetUp() override {
        context.AppendXmlReader(
            kObjects,
            PolicyXml(RuleXml("LocalRule", 200001, 200001, "to office", "Policy",
                              DestinationIsObject(5001)),
                      IpObjectXml(5001, "Office") + IpObjectXml(5002, "Servers")),
            Policy, EverythingEditable(), L"");
    }

    std::string Written() {
        std::vector<unsigned char> bytes;
        context.GetXmlData(kObjects, bytes);
        return ToString(bytes);
    }

    // A rule edit rolled back: the store rebuilds its lists.
    void RollBackARuleEdit() {
        ASSERT_TRUE(context.RemoveRule(kObjects, eLocalRules, 0));
        ASSERT_TRUE(context.RollbackChanges());
    }

    Context context{kObjects};
};

TEST_F(RollbackViews, ObjectEditedInPlaceAfterARollbackReachesTheDocument) {
    RollBackARuleEdit();
    const auto office = context.GetNamedObject(kObjects, Policy, L"Office");
    ASSERT_TRUE(office);
    office->SetName(L"Office 2");
    EXPECT_NE(std::string::npos, Written().find("<Name>Office 2</Name>"));
    ASSERT_TRUE(context.CommitChanges());
    EXPECT_NE(std::string::npos, Written().find("<Name>Office 2</Name>"));
    EXPECT_FALSE(context.HasChanges());
    ExpectViewsAgree(context, kObjects, Policy);
}

TEST_F(RollbackViews, ObjectModifiedBeforeARollbackTakesTheDocumentsContentAgain) {
    const auto office = context.GetNamedObject(kObjects, Policy, L"Office");
    office->SetName(L"Office 2");
    ASSERT_TRUE(context.RollbackChanges());
    const INamedObject& kept = *office;
    EXPECT_EQ(L"Office", kept.GetName());
    EXPECT_EQ(office, context.GetNamedObject(kObjects, 0u));
    ExpectViewsAgree(context, kObjects, Policy);
    // Still the document's object: a new edit is written.
    office->SetName(L"Office 3");
    EXPECT_NE(std::string::npos, Written().find("<Name>Office 3</Name>"));
}

TEST_F(RollbackViews, RemovedObjectComesBackAsTheObjectBothViewsHold) {
    const auto servers = context.GetNamedObject(kObjects, Policy, L"Servers");
    ASSERT_TRUE(context.RemoveNamedObject(kObjects, Policy, L"Servers"));
    ASSERT_TRUE(context.RollbackChanges());
    EXPECT_EQ(servers, context.GetNamedObjectById(kObjects, IdentifierWithType(5002, Policy)));
    ExpectViewsAgree(context, kObjects, Policy);
    servers->SetName(L"Servers 2");
    ASSERT_TRUE(context.CommitChanges());
    EXPECT_NE(std::string::npos, Written().find("<Name>Servers 2</Name>"));
}

TEST_F(RollbackViews, ACommitOfARuleEditAloneHandsOnTheNamedObjects) {
    std::vector<std::string> events;
    context.committing.connect([&] { events.push_back("committing"); });
    context.namedObjectsCommitted.connect(
        [&](const std::vector<std::shared_ptr<INamedObject>>& objects) {
            events.push_back("committed " + std::to_string(objects.size()));
        });
    ASSERT_TRUE(context.RemoveRule(kObjects, eLocalRules, 0));
    ASSERT_TRUE(context.CommitChanges());
    EXPECT_EQ((std::vector<std::string>{"committing", "committed 2"}), events);
}

TEST_F(RollbackViews, AnAnnouncingSearchAnnouncesEveryRuleOfTheResult) {
    const auto office = context.GetNamedObject(kObjects, Policy, L"Office");
    const auto servers = context.GetNamedObject(kObjects, Policy, L"Servers");
    Context::RuleDependencies result;
    context.DetermineRulesDependencies(office, result);
    ASSERT_EQ(1u, result[kObjects].size());
    SignalLog signals(context);
    context.SearchRulesForNamedObject(servers, result, true);
    ASSERT_EQ(1u, signals.modified.size());
    EXPECT_EQ(eRule, std::get<1>(signals.modified.front()));
}

}  // namespace
}  // namespace fwcommon::test
