#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/Context.h>
#include <fwcommon/IRule.h>
#include <fwcommon/XmlRuleFactory.h>
#include "common/Thrown.h"
#include "context/ContextTestSupport.h"

namespace fwcommon::test {
namespace {

const std::wstring kDoc = L"a.xml";

// A Context with one document: local rules "l1" (300001) and "l2"
// (300002), one rule of every other section.
class ContextRules : public ::testing::Test {
protected:
    void SetUp() override {
        context.AppendXmlReader(kDoc,
                                PolicyXml(RuleXml("LocalRule", 300001, 300001, "l1") +
                                          RuleXml("LocalRule", 300002, 300002, "l2") +
                                          RuleXml("VpnRule", 300003, 300003, "vpn") +
                                          RuleXml("NatRule", 300004, 300004, "nat") +
                                          RuleXml("TunnelingRule", 300005, 300005, "tunnel") +
                                          RuleXml("TransitRule", 300006, 300006, "transit")),
                                User, AllRulesEditable(), L"");
    }

    std::vector<std::wstring> LocalNames() { return Names(context.GetRules(kDoc, eLocalRules)); }

    Context context;
    SignalLog signals{context};
};

TEST_F(ContextRules, CreateRuleBuildsTheFilterOfTheAction) {
    struct Row {
        int action;
        Sarvo::ActionTypes::value expected;
    };
    const std::vector<Row> rows = {{0, Sarvo::ActionTypes::Pass},
                                   {1, Sarvo::ActionTypes::Drop},
                                   {5, Sarvo::ActionTypes::Drop}};
    for (const auto& row : rows) {
        const auto rule = context.CreateRule(kDoc, eLocalRules, User, L"new",
                                             Context::RuleActions::Enum(row.action), -1);
        ASSERT_NE(nullptr, rule) << "action " << row.action;
        const auto* filter = dynamic_cast<const Sarvo::Filter*>(&rule->GetXmlRule()->Action());
        ASSERT_NE(nullptr, filter) << "action " << row.action;
        EXPECT_EQ(row.expected, filter->FilteringAction()) << "action " << row.action;
        EXPECT_EQ(eLocalRules, Context::GetRuleType(rule->GetXmlRule()));
    }
}

TEST_F(ContextRules, CreateRuleAddsAnnouncesAndLogs) {
    CapturedLog log;
    const auto rule =
        context.CreateRule(kDoc, eLocalRules, User, L"first", Context::RuleActions::ePass, 0);
    ASSERT_NE(nullptr, rule);
    EXPECT_EQ((std::vector<std::wstring>{L"first", L"l1", L"l2"}), LocalNames());
    EXPECT_EQ(kDoc, context.GetDataname(rule));
    ASSERT_EQ(1u, signals.added.size());
    EXPECT_EQ(kDoc, signals.added[0].first);
    EXPECT_EQ(rule, signals.added[0].second);
    EXPECT_EQ(LogLine(2, L"'a.xml': Create rule 'first'(" + std::to_wstring(rule->GetIdentifier()) +
                             L")"),
              ContextLines(log).back());
    EXPECT_EQ("(4,0)", Text(context.GetRulesChanges()));
    EXPECT_TRUE(context.HasChanges());
}

TEST_F(ContextRules, CreateNatRuleMakesATranslationInTheNatSection) {
    const auto rule = context.CreateNatRule(kDoc, User, L"translate", -1);
    ASSERT_NE(nullptr, rule);
    EXPECT_NE(nullptr, dynamic_cast<const Sarvo::Translation*>(&rule->GetXmlRule()->Action()));
    EXPECT_EQ(eNATRules, Context::GetRuleType(rule->GetXmlRule()));
    EXPECT_EQ((std::vector<std::wstring>{L"nat", L"translate"}),
              Names(context.GetRules(kDoc, eNATRules)));
    EXPECT_EQ("(2,0)", Text(context.GetRulesChanges()));
}

TEST_F(ContextRules, GetRuleAndGetRuleByIdGiveTheIndexedHandle) {
    const auto rule = context.GetRule(kDoc, eLocalRules, 1);
    ASSERT_NE(nullptr, rule);
    EXPECT_EQ(L"l2", rule->GetName());
    EXPECT_EQ(rule, context.GetRuleById(kDoc, {300002, User}));
    EXPECT_EQ(nullptr, context.GetRuleById(kDoc, {300002, Policy}));
}

TEST_F(ContextRules, IndexOutOfRangeThrowsBeforeAnythingChanges) {
    const std::vector<std::pair<const char*, std::function<void()>>> calls = {
        {"GetRule", [&] { context.GetRule(kDoc, eLocalRules, 2); }},
        {"RemoveRule", [&] { context.RemoveRule(kDoc, eLocalRules, 2); }},
        {"ChangeRulePriority", [&] { context.ChangeRulePriority(kDoc, eLocalRules, 2, -1); }},
        {"RemoveRule in an empty section", [&] { context.RemoveRule(kDoc, RuleType(7), 0); }},
    };
    CapturedLog log;
    for (const auto& call : calls) {
        EXPECT_EQ("invalid vector<T> subscript", Thrown<std::out_of_range>(call.second))
            << call.first;
    }
    EXPECT_TRUE(ContextLines(log).empty());
    EXPECT_EQ((std::vector<std::wstring>{L"l1", L"l2"}), LocalNames());
    EXPECT_EQ("none", Text(context.GetRulesChanges()));
    EXPECT_FALSE(context.HasChanges());
    EXPECT_TRUE(signals.modified.empty());
    EXPECT_TRUE(signals.removed.empty());
}

TEST_F(ContextRules, RemoveRuleRemovesAnnouncesAndLogs) {
    CapturedLog log;
    EXPECT_TRUE(context.RemoveRule(kDoc, eLocalRules, 0));
    EXPECT_EQ(std::vector<std::wstring>{L"l2"}, LocalNames());
    EXPECT_EQ(std::vector<std::wstring>{LogLine(2, L"'a.xml': Remove rule, index=0, id=300001")},
              ContextLines(log));
    ASSERT_EQ(1u, signals.removed.size());
    EXPECT_EQ(SignalLog::Change(kDoc, eRule, User, 300001), signals.removed[0]);
    EXPECT_EQ("(4,2)", Text(context.GetRulesChanges()));
}

TEST_F(ContextRules, ChangesAfterCreateAndRemoveKeepTheCreation) {
    EXPECT_EQ("none", Text(context.GetRulesChanges()));
    context.CreateRule(kDoc, eLocalRules, User, L"new", Context::RuleActions::ePass, -1);
    EXPECT_EQ("(4,0)", Text(context.GetRulesChanges()));
    // A removal writes only the first record; the creation's record wins.
    EXPECT_TRUE(context.RemoveRule(kDoc, eLocalRules, 0));
    EXPECT_EQ("(4,0)", Text(context.GetRulesChanges()));
    EXPECT_TRUE(context.RemoveRule(kDoc, eVPNRules, 0));
    EXPECT_EQ("(4,0)", Text(context.GetRulesChanges()));
    EXPECT_TRUE(context.CommitChanges());
    EXPECT_EQ("none", Text(context.GetRulesChanges()));
    EXPECT_FALSE(context.HasChanges());
}

TEST_F(ContextRules, SingleEditsReportTheirOwnKindOfChange) {
    struct Row {
        const char* edit;
        std::function<bool(Context&)> run;
        const char* expected;
    };
    const std::vector<Row> rows = {
        {"update", [](Context& c) { return c.UpdateRule(kDoc, c.GetRule(kDoc, eTransitRules, 0)); },
         "(5,1)"},
        {"remove", [](Context& c) { return c.RemoveRule(kDoc, eNATRules, 0); }, "(2,2)"},
        {"reorder", [](Context& c) { return c.ChangeRulePriority(kDoc, eLocalRules, 0, 1); },
         "(4,3)"},
    };
    for (const auto& row : rows) {
        EXPECT_TRUE(row.run(context)) << row.edit;
        EXPECT_EQ(row.expected, Text(context.GetRulesChanges())) << row.edit;
        EXPECT_TRUE(context.RollbackChanges()) << row.edit;
        EXPECT_EQ("none", Text(context.GetRulesChanges())) << row.edit;
        EXPECT_EQ((std::vector<std::wstring>{L"l1", L"l2"}), LocalNames()) << row.edit;
    }
}

TEST_F(ContextRules, ChangeRulePriorityIsAnnouncedForTheWholeSection) {
    EXPECT_TRUE(context.ChangeRulePriority(kDoc, eLocalRules, 0, 1));
    EXPECT_EQ((std::vector<std::wstring>{L"l2", L"l1"}), LocalNames());
    ASSERT_EQ(1u, signals.modified.size());
    EXPECT_EQ(SignalLog::Change(kDoc, eRule, User, 0), signals.modified[0]);
}

TEST_F(ContextRules, RefusedCreatesAndMovesChangeNothingAndAnnounceNothing) {
    EXPECT_EQ(nullptr,
              context.CreateRule(kDoc, RuleType(9), User, L"x", Context::RuleActions::ePass, -1));
    EXPECT_FALSE(context.ChangeRulePriority(kDoc, eLocalRules, 0, 0));
    EXPECT_FALSE(context.ChangeRulePriority(kDoc, eLocalRules, 1, 1));
    EXPECT_TRUE(signals.added.empty());
    EXPECT_TRUE(signals.modified.empty());
    EXPECT_EQ("none", Text(context.GetRulesChanges()));
}

TEST_F(ContextRules, UpdateRuleStoresTheElementAndAnnouncesIt) {
    const auto rule = context.GetRule(kDoc, eLocalRules, 0);
    rule->GetXmlRule()->Name(L"renamed");
    CapturedLog log;
    EXPECT_TRUE(context.UpdateRule(kDoc, rule));
    EXPECT_EQ(std::vector<std::wstring>{LogLine(
                  2, L"'a.xml': UpdateRule, id='300001', name='renamed', type='eLocalRules'")},
              ContextLines(log));
    EXPECT_EQ((std::vector<std::wstring>{L"renamed", L"l2"}), LocalNames());
    ASSERT_EQ(1u, signals.modified.size());
    EXPECT_EQ(SignalLog::Change(kDoc, eRule, User, 300001), signals.modified[0]);
}

TEST_F(ContextRules, UpdateRuleRefusesElementsOfNoKnownKind) {
    const auto plain = XmlRuleFactory::CreateSimpleXmlRule();
    EXPECT_EQ("fwcommon::Context::GetRuleType.. Unsupported type",
              Thrown<std::runtime_error>([&] { context.UpdateRule(kDoc, plain); }));
    EXPECT_THROW(context.UpdateRule(kDoc, std::shared_ptr<IRule>()), std::invalid_argument);
    EXPECT_TRUE(signals.modified.empty());
}

TEST_F(ContextRules, RuleTypeFollowsTheElementKind) {
    const std::vector<RuleType> sections = {eVPNRules, eNATRules, eTunnelRules, eLocalRules,
                                            eTransitRules};
    for (RuleType section : sections) {
        const auto rule = context.GetRule(kDoc, section, 0);
        EXPECT_EQ(section, Context::GetRuleType(rule->GetXmlRule())) << "section " << section;
    }
    EXPECT_THROW(Context::GetRuleType(nullptr), std::runtime_error);
}

TEST_F(ContextRules, DomainObjectOfAnElementTakesTheLowWordOfRuleId) {
    const auto element = XmlRuleFactory::CreateSimpleXmlRule();
    element->RuleId((std::int64_t(1) << 32) + 5);
    element->CreationType(Sarvo::CreationTypes::Post);
    EXPECT_EQ(IdentifierWithType(5, Post), Context::GetDomainObject(element));
    EXPECT_EQ(Post, Context::GetCreationType(element));
    const auto rule = context.GetRule(kDoc, eLocalRules, 1);
    EXPECT_EQ(IdentifierWithType(300002, User), Context::GetDomainObject(rule));
}

TEST_F(ContextRules, ChangeReportedByACreatedRuleIsAnnouncedWithItsDocument) {
    const auto rule =
        context.CreateRule(kDoc, eLocalRules, User, L"new", Context::RuleActions::ePass, -1);
    rule->NotifyChanged();
    ASSERT_EQ(1u, signals.modified.size());
    EXPECT_EQ(SignalLog::Change(kDoc, eRule, User, rule->GetIdentifier()), signals.modified[0]);
}

// A caller keeps the rule CreateRule returned and edits it: it is the
// handle the store lists, before and after it is handed back, so a move
// renumbers it and its own notification names its own document, even when
// a document registered earlier holds a copy of it.
TEST(ContextKeptRule, TheCreatedRuleStaysTheHandleTheStoreHolds) {
    const std::wstring copies = L"copies.xml";
    Context context;
    context.AppendXmlReader(copies, {}, User, AllRulesEditable(), L"");
    context.AppendXmlReader(kDoc, PolicyXml(RuleXml("LocalRule", 300001, 300001, "l1")), User,
                            AllRulesEditable(), L"");
    const auto rule =
        context.CreateRule(kDoc, eLocalRules, User, L"kept", Context::RuleActions::ePass, -1);
    ASSERT_NE(nullptr, rule);
    const IdentifierWithType id = Context::GetDomainObject(rule);
    EXPECT_EQ(rule, context.GetRuleById(kDoc, id));
    ASSERT_TRUE(
        context.UpdateRule(copies, std::shared_ptr<Sarvo::Rule>(rule->GetXmlRule()->_clone())));

    ASSERT_TRUE(context.ChangeRulePriority(kDoc, eLocalRules, 1, -1));
    EXPECT_EQ(context.GetRule(kDoc, eLocalRules, 0), rule);
    EXPECT_EQ(300001, rule->GetXmlRule()->OrderId()) << "the move renumbered the kept rule";

    rule->GetXmlRule()->Name(L"kept and renamed");
    ASSERT_TRUE(context.UpdateRule(kDoc, rule));
    EXPECT_EQ(rule, context.GetRuleById(kDoc, id));
    SignalLog signals(context);
    rule->SetActive(false);
    rule->NotifyChanged();
    ASSERT_FALSE(signals.modified.empty());
    for (const auto& change : signals.modified) {
        EXPECT_EQ(kDoc, std::get<0>(change));
    }
    EXPECT_EQ((std::vector<std::wstring>{L"kept"}), Names(context.GetRules(copies, eLocalRules)));
}

// A rule kept across a rollback is the store's rule again, with the
// document's content: the edit rolled back does not come back with the
// next edit handed in.
TEST(ContextKeptRule, AfterARollbackTheKeptRuleHoldsTheDocumentsContent) {
    Context context;
    context.AppendXmlReader(kDoc, PolicyXml(RuleXml("LocalRule", 300001, 300001, "l1")), User,
                            AllRulesEditable(), L"");
    const auto rule =
        context.CreateRule(kDoc, eLocalRules, User, L"kept", Context::RuleActions::ePass, -1);
    ASSERT_TRUE(context.CommitChanges());
    rule->GetXmlRule()->Name(L"rolled back");
    ASSERT_TRUE(context.UpdateRule(kDoc, rule));
    ASSERT_TRUE(context.RollbackChanges());

    EXPECT_EQ(rule, context.GetRuleById(kDoc, Context::GetDomainObject(rule)));
    EXPECT_EQ(L"kept", rule->GetXmlRule()->Name());
    rule->GetXmlRule()->IsActive(false);
    ASSERT_TRUE(context.UpdateRule(kDoc, rule));
    EXPECT_EQ((std::vector<std::wstring>{L"l1", L"kept"}),
              Names(context.GetRules(kDoc, eLocalRules)));
    std::vector<unsigned char> bytes;
    context.GetXmlData(kDoc, bytes);
    const std::string written(bytes.begin(), bytes.end());
    EXPECT_EQ(std::string::npos, written.find("rolled back"));

    // A removal rolled back brings back the rule the caller keeps.
    ASSERT_TRUE(context.CommitChanges());
    ASSERT_TRUE(context.RemoveRule(kDoc, eLocalRules, 1));
    ASSERT_TRUE(context.RollbackChanges());
    EXPECT_EQ(rule, context.GetRule(kDoc, eLocalRules, 1));
}

TEST_F(ContextRules, ModificationOfAnUnregisteredDatanameIsNotAnnounced) {
    context.MarkDomainObjectAsModified(L"other.xml", eRule, User, 300001);
    EXPECT_TRUE(signals.modified.empty());
    context.MarkDomainObjectAsModified(kDoc, eRule, User, 300001);
    EXPECT_EQ(1u, signals.modified.size());
}

TEST(ContextRuleLifetime, RuleOutlivingItsContextMayStillReportChanges) {
    std::shared_ptr<IRule> rule;
    {
        Context context;
        context.AppendXmlReader(kDoc, {}, User, AllRulesEditable(), L"");
        rule =
            context.CreateRule(kDoc, eLocalRules, User, L"kept", Context::RuleActions::ePass, -1);
    }
    ASSERT_NE(nullptr, rule);
    EXPECT_NO_THROW(rule->NotifyChanged());
}

TEST(ContextRuleModes, EditableOnlyWithModeOneForTheSection) {
    Context context;
    context.AppendXmlReader(kDoc, {}, User,
                            {{eLocalRules, Context::Modes::eEditable},
                             {eVPNRules, Context::Modes::eReadOnly},
                             {eTransitRules, Context::Modes::Enum(2)}},
                            L"");
    EXPECT_TRUE(context.IsRulesEditable(kDoc, eLocalRules));
    EXPECT_FALSE(context.IsRulesEditable(kDoc, eVPNRules));
    EXPECT_FALSE(context.IsRulesEditable(kDoc, eTransitRules));
    EXPECT_FALSE(context.IsRulesEditable(kDoc, eNATRules));
    EXPECT_FALSE(context.IsRulesEditable(L"unregistered.xml", eLocalRules));
}

}  // namespace
}  // namespace fwcommon::test
