// Documents survive parse -> write -> parse with the same typed content.

#include <limits>
#include <stdexcept>
#include <string>
#include <typeinfo>

#include <gtest/gtest.h>

#include "common/TestFiles.h"
#include "common/Xmllint.h"
#include "document/DocumentTestSupport.h"

namespace fwcommon::test {
namespace {

struct Written {
    std::unique_ptr<Sarvo::PolicyType> original;
    std::string text;
    std::unique_ptr<Sarvo::PolicyType> reread;
};

Written WriteAndReread(const std::string& relativePath) {
    Written w;
    w.original = ParsePolicyDocument(ReadBytes(SourcePath(relativePath)));
    const std::vector<unsigned char> bytes = WritePolicyDocument(*w.original);
    w.text = ToString(bytes);
    w.reread = ParsePolicyDocument(bytes);
    return w;
}

const Sarvo::Rule& RuleNamed(const Sarvo::PolicyType& policy, const std::wstring& name) {
    for (const Sarvo::Rule& rule : policy.Rules().Rule()) {
        if (rule.Name() == name) {
            return rule;
        }
    }
    throw std::runtime_error("no such rule");
}

// The XML text of the first element after `marker`, up to the end of the
// start tag.
std::string StartTagAfter(const std::string& text, const std::string& marker,
                          const std::string& tag) {
    const auto at = text.find(marker);
    const auto start = text.find("<" + tag, at);
    return text.substr(start, text.find('>', start) - start + 1);
}

class RoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(RoundTrip, ReparsedDocumentEqualsTheOriginal) {
    Written w = WriteAndReread(GetParam());
    EXPECT_TRUE(*w.original == *w.reread);
    EXPECT_EQ(w.text, ToString(WritePolicyDocument(*w.reread))) << "writing is not stable";
    EXPECT_TRUE(XmllintAccepts(ToBytes(w.text)));
}

INSTANTIATE_TEST_SUITE_P(Documents, RoundTrip,
                         ::testing::Values("examples/policy.xml", "tests/data/edge-kinds.xml"));

TEST(RoundTrip, ComparisonSeesAChangedNestedValue) {
    Written w = WriteAndReread("examples/policy.xml");
    auto& tcp = dynamic_cast<Sarvo::TcpCondition&>(
        w.reread->Rules().Rule()[0].ConditionSet().ServiceCondition()[0]);
    dynamic_cast<Sarvo::Port&>(*tcp.DestinationPort()).Value(2222);
    EXPECT_FALSE(*w.original == *w.reread);
}

TEST(RoundTrip, WrittenEnvelopeHasDeclarationPrefixAndSchemaLocation) {
    const std::string text = WriteAndReread("examples/policy.xml").text;
    const std::string ns = kDocumentNamespaceNarrow;
    EXPECT_EQ(0u, text.find("<?xml version=\"1.0\" encoding=\"UTF-8\""));
    EXPECT_NE(std::string::npos, text.find("<sv:Policy "));
    EXPECT_NE(std::string::npos, text.find("xmlns:sv=\"" + ns + "\""));
    EXPECT_NE(std::string::npos, text.find("xsi:schemaLocation=\"" + ns + " rules.xsd\""));
    EXPECT_NE(std::string::npos, text.find("\n  <Rules>")) << "output is not indented";
    EXPECT_NE(std::string::npos, text.find("xsi:type=\"sv:LocalRule\""));
}

TEST(RoundTrip, FilterFlagsAreWrittenWithTheirDefaults) {
    const std::string tag =
        StartTagAfter(WriteAndReread("examples/policy.xml").text, "Ping the node", "Action");
    for (const char* attribute :
         {"IsConnectionStateless=\"false\"", "IsPacketLoggingEnabled=\"true\"",
          "IsConnectionLoggingEnabled=\"true\"", "IsBidirectional=\"false\""}) {
        EXPECT_NE(std::string::npos, tag.find(attribute)) << attribute << " missing in " << tag;
    }
}

TEST(RoundTrip, DefaultsAreReadWhereAttributesAreAbsent) {
    Written w = WriteAndReread("examples/policy.xml");
    const Sarvo::Rule& ping = RuleNamed(*w.reread, L"Ping the node");
    EXPECT_TRUE(ping.IsActive());
    const auto& filter = dynamic_cast<const Sarvo::Filter&>(ping.Action());
    EXPECT_FALSE(filter.IsConnectionStateless());
    EXPECT_TRUE(filter.IsPacketLoggingEnabled());
    EXPECT_TRUE(filter.IsConnectionLoggingEnabled());
    EXPECT_FALSE(filter.IsBidirectional());

    const Sarvo::Rule& hide = RuleNamed(*w.reread, L"Hide the LAN behind the outside address");
    const auto& translation = dynamic_cast<const Sarvo::Translation&>(hide.Action());
    EXPECT_TRUE(translation.IsTranslatedIntoOutboundInterface());
    EXPECT_FALSE(translation.SourceIp().present());
}

TEST(RoundTrip, DynamicTypesAndOptionalPartsSurvive) {
    Written w = WriteAndReread("tests/data/edge-kinds.xml");
    const auto& rules = w.reread->Rules().Rule();
    ASSERT_EQ(3u, rules.size());
    EXPECT_EQ(typeid(Sarvo::Rule), typeid(rules[0])) << "a rule without xsi:type has no kind";
    EXPECT_EQ(typeid(Sarvo::NetworkCondition), typeid(*rules[0].ConditionSet().Source()));
    EXPECT_EQ(typeid(Sarvo::NetworkCondition), typeid(*rules[0].ConditionSet().Destination()));
    EXPECT_EQ(typeid(Sarvo::Action), typeid(rules[0].Action()));
    EXPECT_EQ(std::numeric_limits<long long>::min(), rules[0].RuleId());
    EXPECT_EQ(std::numeric_limits<long long>::max(), rules[0].OrderId());

    const auto& nat = dynamic_cast<const Sarvo::NatRule&>(rules[1]);
    EXPECT_EQ(Sarvo::RuleSections::LocalSection, nat.Section()) << "Section is kept as read";
    EXPECT_FALSE(nat.IsActive());
    EXPECT_TRUE(nat.Reserved1().present() && *nat.Reserved1());
    EXPECT_FALSE(nat.Reserved2().present());
    EXPECT_EQ(L"", *nat.Reserved3());
    EXPECT_EQ(L"  spaced   name  ", nat.Name()) << "strings are not collapsed";
    EXPECT_EQ(4294967301LL, nat.RuleId());

    const auto& service = w.reread->NamedObjects()->ServiceObject()[0];
    EXPECT_EQ(std::numeric_limits<int>::min(), service.Id());
    EXPECT_EQ(typeid(Sarvo::PortRestrictionCondition), typeid(service.Inclusion()[0]));
    EXPECT_EQ(typeid(Sarvo::Service), typeid(service.Inclusion()[1]));
    EXPECT_EQ(typeid(Sarvo::ServiceCondition), typeid(service.Inclusion()[2]));
    const auto& icmp = dynamic_cast<const Sarvo::IcmpCondition&>(service.Inclusion()[4]);
    EXPECT_FALSE(icmp.Type().present());
    EXPECT_EQ(4, *icmp.Code());
    const auto& tcp = dynamic_cast<const Sarvo::TcpCondition&>(service.Exclusion()[0]);
    EXPECT_EQ(typeid(Sarvo::PortPrimitive), typeid(*tcp.SourcePort()));
    EXPECT_FALSE(tcp.DestinationPort().present());

    const auto& ip = w.reread->NamedObjects()->IpObject()[0];
    EXPECT_EQ(typeid(Sarvo::IpHostCondition), typeid(ip.Inclusion()[0]));
    EXPECT_EQ(L"bare", *ip.Inclusion()[0].Reserved());
    EXPECT_EQ(L"n", *dynamic_cast<const Sarvo::IpMask&>(ip.Inclusion()[2]).Net().Reserved());
}

TEST(RoundTrip, NonAsciiNamesAreIntact) {
    Written w = WriteAndReread("tests/data/edge-kinds.xml");
    EXPECT_EQ(L"日本語の名前 — ünïcode", w.reread->NamedObjects()->IpObject()[0].Name());
    EXPECT_NE(std::string::npos, w.text.find("日本語の名前 — ünïcode")) << "not written as UTF-8";

    Written example = WriteAndReread("examples/policy.xml");
    EXPECT_EQ(L"Büro München", example.reread->NamedObjects()->IpObject()[2].Name());
}

TEST(RoundTrip, TimesKeepFractionsAndZones) {
    Written w = WriteAndReread("tests/data/edge-kinds.xml");
    const auto& schedule = dynamic_cast<const Sarvo::Schedule&>(
        w.reread->NamedObjects()->ScheduleObject()[0].Inclusion()[0]);
    EXPECT_EQ(15.5, schedule.StartTime().seconds());
    EXPECT_TRUE(schedule.EndTime().zone_present());
    EXPECT_EQ(2, schedule.EndTime().zone_hours());
    const auto& properties = w.reread->Properties();
    EXPECT_FALSE(properties.ApplicationDateTime().present());
    EXPECT_EQ(-1, properties.RollbackPeriod());
}

}  // namespace
}  // namespace fwcommon::test
