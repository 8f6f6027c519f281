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
    EXPECT_TRUE(Holds(Written(context, kObjects), "<Name>Office 2</Name>"));
    ASSERT_TRUE(context.CommitChanges());
    EXPECT_TRUE(Holds(Written(context, kObjects), "<Name>Office 2</Name>"));
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
    EXPECT_TRUE(Holds(Written(context, kObjects), "<Name>Office 3</Name>"));
}

TEST_F(RollbackViews, RemovedObjectComesBackAsTheObjectBothViewsHold) {
    const auto servers = context.GetNamedObject(kObjects, Policy, L"Servers");
    ASSERT_TRUE(context.RemoveNamedObject(kObjects, Policy, L"Servers"));
    ASSERT_TRUE(context.RollbackChanges());
    EXPECT_EQ(servers, context.GetNamedObjectById(kObjects, IdentifierWithType(5002, Policy)));
    ExpectViewsAgree(context, kObjects, Policy);
    servers->SetName(L"Servers 2");
    ASSERT_TRUE(context.CommitChanges());
    EXPECT_TRUE(Holds(Written(context, kObjects), "<Name>Servers 2</Name>"));
}

TEST_F(RollbackViews, ACommitOfARuleEditAloneRaisesTheCommitSignalsAndNoOthers) {
    std::vector<std::string> events;
    auto note = [&events](const char* what) {
        return [&events, what](auto&&...) { events.push_back(what); };
    };
    context.objectAdded.connect(note("added"));
    context.objectModified.connect(note("modified"));
    context.objectRemoved.connect(note("removed"));
    context.rollingBack.connect(note("rolling back"));
    context.namedObjectsRolledBack.connect(note("rolled back"));
    context.hostNotice.connect(note("host notice"));
    context.hostReset.connect(note("host reset"));
    context.hostQuery.connect([&events] {
        events.push_back("host query");
        return false;
    });
    ASSERT_TRUE(context.RemoveRule(kObjects, eLocalRules, 0));
    events.clear();
    context.committing.connect(note("committing"));
    context.namedObjectsCommitted.connect(
        [&](const std::vector<std::shared_ptr<INamedObject>>& objects) {
            events.push_back("committed " + std::to_string(objects.size()));
        });
    ASSERT_TRUE(context.CommitChanges());
    EXPECT_EQ((std::vector<std::string>{"committing", "committed 2"}), events);
}

// An in-place edit leaves the pending change record alone until the
// commit, which records the edit: a slot of the commit reads the
// modification; afterwards nothing is pending.
TEST_F(RollbackViews, InsideACommitThePendingChangeIsTheModification) {
    context.GetNamedObject(kObjects, Policy, L"Office")->SetName(L"Office 2");
    EXPECT_FALSE(context.GetNamedObjectsChanges());
    Context::Change seen;
    context.committing.connect([&] { seen = context.GetNamedObjectsChanges(); });
    ASSERT_TRUE(context.CommitChanges());
    ASSERT_TRUE(seen);
    EXPECT_EQ(std::make_pair(static_cast<int>(eIpAddressObject), Context::eModified), *seen);
    EXPECT_FALSE(context.GetNamedObjectsChanges());
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

// Two rules named alike, one of each creation type, each naming another
// object: the search for one object announces the rule of its own
// creation type.
TEST(DependencySearch, AnnouncesTheRuleOfTheRightCreationType) {
    Context context{kObjects};
    context.AppendXmlReader(
        kObjects,
        PolicyXml(
            RuleXml("LocalRule", 200001, 200001, "alike", "Policy", DestinationIsObject(5001)) +
                RuleXml("LocalRule", 300001, 300001, "alike", "User", DestinationIsObject(5002)),
            IpObjectXml(5001, "Office") + IpObjectXml(5002, "Servers")),
        Policy, EverythingEditable(), L"");
    const auto servers = context.GetNamedObject(kObjects, Policy, L"Servers");
    SignalLog signals(context);
    Context::RuleDependencies result;
    context.SearchRulesForNamedObject(servers, result, true);
    ASSERT_EQ(1u, result[kObjects].size());
    ASSERT_EQ(1u, signals.modified.size());
    EXPECT_EQ(SignalLog::Change(kObjects, eRule, User, 300001), signals.modified.front());
}

}  // namespace
}  // namespace fwcommon::test
