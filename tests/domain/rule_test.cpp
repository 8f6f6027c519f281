#include "domain/Rule.h"
#include "common/Thrown.h"

#include <cstdint>
#include <functional>
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

TEST(RuleTest, HandlesShareTheElementAndSetActiveChangesItWithoutNotifying) {
    auto element = ElementWithRuleId(1);
    Rule first(element);
    Rule second(element);
    auto listener = std::make_shared<RecordingListener>();
    first.AddListener(listener);
    EXPECT_EQ(element, first.GetXmlRule());

    first.SetActive(false);
    EXPECT_FALSE(first.IsActive());
    EXPECT_FALSE(second.IsActive());
    EXPECT_FALSE(element->IsActive());
    second.SetActive(true);
    EXPECT_TRUE(first.IsActive());
    EXPECT_TRUE(listener->calls.empty());
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
    const std::function<void()> constructions[] = {
        [] { Rule rule{std::shared_ptr<Sarvo::Rule>()}; },
        [] { Rule rule{std::shared_ptr<const Sarvo::Rule>()}; },
    };
    for (const auto& construct : constructions) {
        EXPECT_EQ("fwcommon::Rule::Rule.Empty rule element",
                  test::Thrown<std::invalid_argument>(construct));
    }
}

// A handle sharing an element reads it in place; whatever may change the
// element gives the handle a copy first, and the shared element stays.
TEST(RuleTest, SharingHandleNeverChangesTheSharedElement) {
    const std::shared_ptr<const Sarvo::Rule> shared = ElementWithRuleId(300007);
    const std::wstring name = shared->Name();

    Rule reading(shared);
    EXPECT_EQ(name, reading.GetName());
    EXPECT_EQ(300007u, reading.GetIdentifier());
    reading.IsActive();
    EXPECT_EQ(shared.get(), reading.SharedElement()) << "reading made a copy";

    Rule changing(shared);
    changing.GetXmlRule()->Name(L"changed");
    EXPECT_EQ(nullptr, changing.SharedElement());
    EXPECT_EQ(L"changed", changing.GetName());
    EXPECT_EQ(changing.GetXmlRule(), changing.GetXmlRule()) << "one element of its own";

    Rule deactivated(shared);
    deactivated.SetActive(!shared->IsActive());
    EXPECT_NE(shared->IsActive(), deactivated.IsActive());

    EXPECT_EQ(name, shared->Name());
    EXPECT_EQ(name, reading.GetName());
}

TEST(RuleTest, RebindAndReleaseKeepTheContent) {
    auto first = ElementWithRuleId(300008);
    first->Name(L"first");
    const std::shared_ptr<const Sarvo::Rule> copy(first->_clone());

    Rule bound{std::shared_ptr<const Sarvo::Rule>(first)};
    bound.Rebind(copy);
    EXPECT_EQ(copy.get(), bound.SharedElement());
    first->Name(L"changed after the rebind");
    EXPECT_EQ(L"first", bound.GetName());

    bound.Release();
    EXPECT_EQ(nullptr, bound.SharedElement());
    EXPECT_EQ(1, copy.use_count()) << "the released handle still holds the copy";
    EXPECT_EQ(L"first", bound.GetName());

    Rule own(ElementWithRuleId(300009));
    const Sarvo::Rule* element = &own.Element();
    own.Rebind(copy);
    EXPECT_EQ(element, &own.Element()) << "a handle with its own element was rebound";
}

}  // namespace
}  // namespace fwcommon
