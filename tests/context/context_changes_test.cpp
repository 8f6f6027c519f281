#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/Context.h>
#include <fwcommon/IRule.h>
#include "context/ContextTestSupport.h"

namespace fwcommon::test {
namespace {

const std::wstring kDoc = L"a.xml";

// Counts the commit and rollback notices of a Context.
struct NoticeLog {
    explicit NoticeLog(Context& context) {
        context.committing.connect([this] { events.push_back("committing"); });
        context.namedObjectsCommitted.connect(
            [this](const std::vector<std::shared_ptr<INamedObject>>& objects) {
                events.push_back("committed " + std::to_string(objects.size()));
            });
        context.rollingBack.connect([this] { events.push_back("rolling back"); });
        context.namedObjectsRolledBack.connect(
            [this](const std::vector<std::shared_ptr<INamedObject>>& objects) {
                events.push_back("rolled back " + std::to_string(objects.size()));
            });
    }
    std::vector<std::string> events;
};

class ContextChanges : public ::testing::Test {
protected:
    void SetUp() override {
        context.AppendXmlReader(kDoc, PolicyXml(RuleXml("LocalRule", 300001, 300001, "kept")), User,
                                AllRulesEditable(), L"");
    }

    Context context;
    SignalLog signals{context};
    NoticeLog notices{context};
};

TEST_F(ContextChanges, CommitWithoutChangesSucceedsAndLogs) {
    CapturedLog log;
    EXPECT_TRUE(context.CommitChanges());
    EXPECT_EQ(std::vector<std::string>{"committing"}, notices.events);
    EXPECT_EQ(std::vector<std::wstring>{LogLine(2, L"'CommitChanges'")}, ContextLines(log));
    EXPECT_EQ("none", Text(context.GetRulesChanges()));
}

TEST_F(ContextChanges, RollbackWithoutChangesSucceedsAndLogs) {
    CapturedLog log;
    EXPECT_TRUE(context.RollbackChanges());
    EXPECT_EQ((std::vector<std::string>{"rolling back", "rolled back 0"}), notices.events);
    EXPECT_EQ(std::vector<std::wstring>{LogLine(2, L"'RollbackChanges'")}, ContextLines(log));
    EXPECT_TRUE(signals.removed.empty());
}

TEST_F(ContextChanges, CommitKeepsACreatedRule) {
    context.CreateRule(kDoc, eLocalRules, User, L"new", Context::RuleActions::ePass, -1);
    EXPECT_TRUE(context.HasChanges());
    EXPECT_TRUE(context.CommitChanges());
    EXPECT_FALSE(context.HasChanges());
    EXPECT_EQ((std::vector<std::wstring>{L"kept", L"new"}),
              Names(context.GetRules(kDoc, eLocalRules)));
    // Nothing is pending any more: a rollback announces no removal.
    EXPECT_TRUE(context.RollbackChanges());
    EXPECT_TRUE(signals.removed.empty());
    EXPECT_EQ((std::vector<std::wstring>{L"kept", L"new"}),
              Names(context.GetRules(kDoc, eLocalRules)));
}

TEST_F(ContextChanges, RollbackDropsACreatedRuleAndAnnouncesItsRemoval) {
    const auto rule =
        context.CreateRule(kDoc, eLocalRules, User, L"new", Context::RuleActions::ePass, -1);
    EXPECT_TRUE(context.RollbackChanges());
    EXPECT_FALSE(context.HasChanges());
    EXPECT_EQ(std::vector<std::wstring>{L"kept"}, Names(context.GetRules(kDoc, eLocalRules)));
    ASSERT_EQ(1u, signals.removed.size());
    EXPECT_EQ(SignalLog::Change(kDoc, eRule, User, rule->GetIdentifier()), signals.removed[0]);
    EXPECT_EQ("none", Text(context.GetRulesChanges()));
}

TEST_F(ContextChanges, AnnouncementsReachTheSignalsUnchanged) {
    const auto rule = context.GetRule(kDoc, eLocalRules, 0);
    context.MarkDomainObjectAsAdded(kDoc, rule);
    context.MarkDomainObjectAsModified(kDoc, eNamedObject, Post, 77);
    context.MarkDomainObjectAsRemoved(kDoc, eRule, Policy, 200005);
    ASSERT_EQ(1u, signals.added.size());
    EXPECT_EQ(rule, signals.added[0].second);
    EXPECT_EQ(std::vector<SignalLog::Change>{SignalLog::Change(kDoc, eNamedObject, Post, 77)},
              signals.modified);
    EXPECT_EQ(std::vector<SignalLog::Change>{SignalLog::Change(kDoc, eRule, Policy, 200005)},
              signals.removed);
}

}  // namespace
}  // namespace fwcommon::test
