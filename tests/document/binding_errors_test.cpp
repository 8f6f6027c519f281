// Content that the document binding itself rejects, with the runtime's
// texts, and the same content rejected by the validating parse.

#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "common/TestFiles.h"
#include "document/DocumentTestSupport.h"

namespace fwcommon::test {
namespace {

const std::string kNs = kDocumentNamespaceNarrow;

std::string LocalRule(const std::string& conditions, const std::string& action,
                      const std::string& section = "<Section>LocalSection</Section>",
                      const std::string& kind = "sv:LocalRule") {
    return "<Rule xsi:type=\"" + kind +
           "\"><RuleId>1</RuleId><OrderId>1</OrderId><Name>r</Name>"
           "<CreationType>User</CreationType><ConditionSet>" +
           conditions + "</ConditionSet>" + action + section + "</Rule>";
}

const std::string kPass =
    "<Action xsi:type=\"sv:Filter\"><FilteringAction>Pass</FilteringAction></Action>";

std::string WithRoot(const std::string& name) {
    std::string text = MinimalPolicy();
    for (auto at = text.find("sv:Policy"); at != std::string::npos; at = text.find("sv:Policy")) {
        text.replace(at, 9, name);
    }
    return text;
}

// What the binding alone (no schema validation) says about a document.
std::wstring BindingError(const std::string& xml) {
    std::istringstream in(xml);
    try {
        Sarvo::Policy(in, xml_schema::flags::dont_validate);
    } catch (const xml_schema::exception& e) {
        return ErrorText(e);
    }
    return L"accepted";
}

struct Rejection {
    const char* name;
    std::string xml;
    std::wstring bindingText;
};

std::ostream& operator<<(std::ostream& out, const Rejection& row) {
    return out << row.name;
}

const std::wstring kWideNs(kDocumentNamespace);

const Rejection kRejections[] = {
    {"missing Section", MinimalPolicy(LocalRule("", kPass, "")), L"expected element 'Section'"},
    {"missing OrderId", MinimalPolicy("<Rule xsi:type=\"sv:LocalRule\"><RuleId>1</RuleId></Rule>"),
     L"expected element 'OrderId'"},
    {"lower-case enumerator",
     MinimalPolicy(LocalRule(
         "", "<Action xsi:type=\"sv:Filter\"><FilteringAction>pass</FilteringAction></Action>")),
     L"unexpected enumerator 'pass'"},
    {"unregistered xsi:type", MinimalPolicy(LocalRule("", kPass, "", "sv:NoSuchRule")),
     L"no type information available for type '" + kWideNs + L"#NoSuchRule'"},
    {"type not derived from the declared type",
     MinimalPolicy(LocalRule("<Source xsi:type=\"sv:PublicNetwork\"><InterfaceCondition "
                             "xsi:type=\"sv:InterfaceByIp\"><Condition xsi:type=\"sv:Port\">"
                             "<Value>1</Value></Condition></InterfaceCondition></Source>",
                             kPass)),
     L"type '" + kWideNs + L"#Port' is not derived from '" + kWideNs + L"#IpPrimitive'"},
    {"domain name where an IP primitive is declared",
     MinimalPolicy(LocalRule("<Source xsi:type=\"sv:PublicNetwork\"><InterfaceCondition "
                             "xsi:type=\"sv:InterfaceByIp\"><Condition xsi:type=\"sv:DomainName\">"
                             "<Value>a</Value></Condition></InterfaceCondition></Source>",
                             kPass)),
     L"type '" + kWideNs + L"#DomainName' is not derived from '" + kWideNs + L"#IpPrimitive'"},
    {"unmapped prefix", MinimalPolicy(LocalRule("", kPass, "", "zz:LocalRule")),
     L"no mapping provided for namespace prefix 'zz'"},
    {"wrong root", WithRoot("sv:Policies"),
     L"expected element '" + kWideNs + L"#Policy' instead of '" + kWideNs + L"#Policies'"},
};

class BindingRejects : public ::testing::TestWithParam<Rejection> {};

TEST_P(BindingRejects, WithTheRuntimeText) {
    EXPECT_EQ(GetParam().bindingText, BindingError(GetParam().xml));
}

TEST_P(BindingRejects, AndValidationRejectsBeforeTheBindingWithAPosition) {
    const auto bytes = ToBytes(GetParam().xml);
    try {
        ParsePolicyDocument(bytes);
        FAIL() << "accepted";
    } catch (const xml_schema::parsing& e) {
        ASSERT_FALSE(e.diagnostics().empty());
        EXPECT_GT(e.diagnostics().front().line(), 0u);
        EXPECT_GT(e.diagnostics().front().column(), 0u);
        EXPECT_EQ(xml_schema::severity::error, e.diagnostics().front().severity());
    }
}

INSTANTIATE_TEST_SUITE_P(Documents, BindingRejects, ::testing::ValuesIn(kRejections));

TEST(BindingAccepts, InterfaceByIpWithARange) {
    const std::string xml = MinimalPolicy(LocalRule(
        "<Source xsi:type=\"sv:PublicNetwork\"><InterfaceCondition xsi:type=\"sv:InterfaceByIp\">"
        "<Condition xsi:type=\"sv:IpRange\"><Begin><Value>1.1.1.1</Value></Begin><End>"
        "<Value>1.1.1.9</Value></End></Condition></InterfaceCondition></Source>",
        kPass));
    auto policy = ParsePolicyDocument(ToBytes(xml));
    const auto& side = dynamic_cast<const Sarvo::PublicNetwork&>(
        *policy->Rules().Rule()[0].ConditionSet().Source());
    const auto& byIp = dynamic_cast<const Sarvo::InterfaceByIp&>(*side.InterfaceCondition());
    EXPECT_NE(nullptr, dynamic_cast<const Sarvo::IpRange*>(&byIp.Condition()));
}

TEST(BindingAccepts, UnknownTrailingElementWithoutValidation) {
    std::string xml = MinimalPolicy();
    xml.insert(xml.find("</Properties>"), "<Unknown/>");
    EXPECT_EQ(L"accepted", BindingError(xml));
    EXPECT_NE(L"", ParseError(ToBytes(xml))) << "validation must reject it";
}

TEST(ParsingError, CarriesEveryDiagnosticInItsText) {
    std::string xml = MinimalPolicy();
    xml.replace(xml.find("900"), 3, "soon");
    const std::wstring text = ParseError(ToBytes(xml));
    EXPECT_EQ(0u, text.find(L"policy:2:")) << std::string(text.begin(), text.end());
    EXPECT_NE(std::wstring::npos, text.find(L" error: "));
}

}  // namespace
}  // namespace fwcommon::test
