// The road of one request through the library: a new local rule is created
// through the Context, its conditions filled through its document element,
// handed back, committed, written out, and found again in the bytes.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/Context.h>
#include <fwcommon/IRule.h>
#include <fwcommon/XmlRulesStrictCompare.h>
#include <fwcommon/rules.hxx>
#include "context/ContextTestSupport.h"

namespace fwcommon::test {
namespace {

const std::wstring kDoc = L"local.xml";

// Source 192.168.10.0/24 and ICMP echo requests, as a caller would set them.
void FillConditions(Sarvo::Rule& rule) {
    Sarvo::PublicNetwork source;
    source.IpHostCondition().push_back(
        Sarvo::IpMask(Sarvo::IpAddress(L"192.168.10.0"), Sarvo::IpAddress(L"255.255.255.0")));
    rule.ConditionSet().Source(source);
    Sarvo::IcmpCondition icmp(1);
    icmp.Type(8);
    rule.ConditionSet().ServiceCondition().push_back(icmp);
}

TEST(RoadOfRequest, NewLocalRuleIsWrittenAndReadBackUnchanged) {
    Context context;
    context.AppendXmlReader(kDoc, {}, User, AllRulesEditable(), L"Local policy");
    const auto rule = context.CreateRule(kDoc, eLocalRules, User, L"allow admin net",
                                         Context::RuleActions::ePass, -1);
    ASSERT_NE(nullptr, rule);
    const auto element = rule->GetXmlRule();
    ASSERT_NE(nullptr, dynamic_cast<Sarvo::LocalRule*>(element.get()));
    FillConditions(*element);
    ASSERT_TRUE(context.UpdateRule(kDoc, rule));
    ASSERT_TRUE(context.CommitChanges());
    EXPECT_FALSE(context.HasChanges());

    std::vector<unsigned char> bytes;
    context.GetXmlData(kDoc, bytes);

    Context reloaded;
    reloaded.AppendXmlReader(kDoc, bytes, User, {}, L"");
    const auto found = reloaded.GetRuleById(kDoc, Context::GetDomainObject(rule));
    ASSERT_NE(nullptr, found);
    std::wstring mismatch;
    EXPECT_TRUE(XmlRulesStrictCompare(element, found->GetXmlRule(), mismatch))
        << std::string(mismatch.begin(), mismatch.end());
    const auto& filter = dynamic_cast<const Sarvo::Filter&>(found->GetXmlRule()->Action());
    EXPECT_EQ(Sarvo::ActionTypes::Pass, filter.FilteringAction());
    EXPECT_EQ(1u, reloaded.GetRules(kDoc, eLocalRules)->size());
}

}  // namespace
}  // namespace fwcommon::test
