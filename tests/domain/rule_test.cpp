#include "domain/Rule.h"

#include <cstdint>
#include <memory>
#include <stdexcept>

#include <gtest/gtest.h>

#include <fwcommon/XmlRuleFactory.h>
#include "domain/DomainTestSupport.h"

namespace fwcommon {
namespace {

using test::RecordingListener;

std::shared_ptr<Sarvo::Rule> ElementWithRuleId(std::int64_t ruleId) {
    auto element = XmlRuleFactory::CreateSimpleXmlRule();
    element->RuleId(ruleId);
    return element;
}

TEST(RuleTest, IdentifierIsTheLowWordOfRuleId) {
    struct Row {
        std::int64_t ruleId;
        std::uint32_t identifier;
    };
    const Row rows[] = {
        {7, 7},
        {300001, 300001},
        {4294967295LL, 4294967295u},
        {4294967296LL, 0},
        {4294967296LL + 5, 5},
        {-1, 4294967295u},
    };
    for (const Row& row : rows) {
        Rule rule(ElementWithRuleId(row.ruleId));
        EXPECT_EQ(row.identifier, rule.GetIdentifier()) << "RuleId " << row.ruleId;
    }
}

TEST(RuleTest, IdentifierStaysWhenRuleIdChangesButNameAndCreationTypeAreLive) {
    Rule rule(ElementWithRuleId(4294967296LL + 5));
    rule.GetXmlRule()->RuleId(99);
    rule.GetXmlRule()->Name(L"renamed");
    rule.GetXmlRule()->CreationType(Sarvo::CreationTypes::Post);
    EXPECT_EQ(5u, rule.GetIdentifier());
    EXPECT_EQ(L"renamed", rule.GetName());
    EXPECT_EQ(Post, rule.GetCreationType());
    EXPECT_EQ(eRule, rule.GetDomainObjectType());
}

TEST(RuleTest, CreationTypeFollowsTheDocumentNumbering) {
    const Sarvo::CreationTypes::value document[] = {
        Sarvo::CreationTypes::Generated, Sarvo::CreationTypes::Policy, Sarvo::CreationTypes::User,
        Sarvo::CreationTypes::Post};
    const CreationType expected[] = {Generated, Policy, User, Post};
    for (int i = 0; i < 4; ++i) {
        auto element = ElementWithRuleId(1);
        element->CreationType(document[i]);
        EXPECT_EQ(expected[i], Rule(element).GetCreationType()) << "row " << i;
    }
}

TEST(RuleTest, SetActiveChangesTheSharedElementWithoutNotifying) {
    auto element = ElementWithRuleId(1);
    Rule first(element);
    Rule second(element);
    auto listener = std::make_shared<RecordingListener>();
    first.AddListener(listener);

    first.SetActive(false);
    EXPECT_FALSE(first.IsActive());
    EXPECT_FALSE(second.IsActive());
    EXPECT_FALSE(element->IsActive());
    second.SetActive(true);
    EXPECT_TRUE(first.IsActive());
    EXPECT_TRUE(listener->calls.empty());
}

TEST(RuleTest, HandleSharesItsElement) {
    auto element = ElementWithRuleId(1);
    Rule rule(element);
    EXPECT_EQ(element, rule.GetXmlRule());
}

TEST(RuleTest, NotifiesEachListenerOnceWithRuleFamilyAndIdentifier) {
    Rule rule(ElementWithRuleId(4294967296LL + 5));
    auto once = std::make_shared<RecordingListener>();
    auto other = std::make_shared<RecordingListener>();
    rule.AddListener(once);
    rule.AddListener(once);
    rule.AddListener(other);
    rule.NotifyChanged();
    EXPECT_EQ((std::vector<std::string>{"32:5"}), once->calls);
    EXPECT_EQ((std::vector<std::string>{"32:5"}), other->calls);

    rule.RemoveListener(once);
    rule.RemoveListener(std::make_shared<RecordingListener>());
    rule.NotifyChanged();
    EXPECT_EQ(1u, once->calls.size());
    EXPECT_EQ(2u, other->calls.size());
}

TEST(RuleTest, RuleKeepsItsListenersAlive) {
    Rule rule(ElementWithRuleId(3));
    auto listener = std::make_shared<RecordingListener>();
    rule.AddListener(listener);
    EXPECT_EQ(2, listener.use_count());
    rule.RemoveListener(listener);
    EXPECT_EQ(1, listener.use_count());
}

TEST(RuleTest, EmptyElementIsRefused) {
    try {
        Rule rule(nullptr);
        FAIL() << "no exception";
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ("fwcommon::Rule::Rule.Empty rule element", e.what());
    }
}

}  // namespace
}  // namespace fwcommon
