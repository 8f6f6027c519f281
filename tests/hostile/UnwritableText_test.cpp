// Text that an XML 1.0 document cannot carry (NUL and the other C0
// controls, surrogate halves, U+FFFE, values beyond U+10FFFF): the writer
// reports it with its documented exception, and the Context refuses it
// where it enters, with a message naming the character, leaving the
// document as it was.

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fwcommon/Context.h>
#include <fwcommon/INamedObject.h>
#include <fwcommon/IRule.h>
#include <fwcommon/IXmlReader.h>
#include <fwcommon/PolicyDocument.h>
#include <fwcommon/XmlReaderFactory.h>

#include "common/TestFiles.h"
#include "document/DocumentTestSupport.h"

namespace fwcommon::test {
namespace {

using ::testing::HasSubstr;

const std::wstring kDataname = L"policy.xml";

struct BadText {
    const char* label;
    std::wstring text;
    const char* codePoint;
};

const BadText kBadTexts[] = {
    {"control character", std::wstring(L"a") + wchar_t(0x1) + L"b", "U+0001"},
    {"NUL inside", std::wstring(L"ab\0cd", 5), "U+0000"},
    {"lone surrogate", std::wstring(L"a") + wchar_t(0xD800), "U+D800"},
    {"beyond U+10FFFF", std::wstring(L"a") + wchar_t(0x110000), "U+110000"},
    {"U+FFFE", std::wstring(L"a") + wchar_t(0xFFFE), "U+FFFE"},
};

std::vector<unsigned char> OneRulePolicy() {
    return ToBytes(MinimalPolicy(
        "<Rule xsi:type=\"sv:LocalRule\"><RuleId>1</RuleId><OrderId>1</OrderId><Name>r</Name>"
        "<CreationType>User</CreationType><ConditionSet/><Action xsi:type=\"sv:Filter\">"
        "<FilteringAction>Pass</FilteringAction></Action><Section>LocalSection</Section>"
        "</Rule>"));
}

// The binding's serializer threw Xerces' own DOMLSException for such a
// name, which escaped GetXmlData and aborted the tool.
TEST(UnwritableText, WritingItThrowsTheDocumentedException) {
    for (const BadText& bad : kBadTexts) {
        SCOPED_TRACE(bad.label);
        const auto reader = GetXmlReader(OneRulePolicy(), kDataname, User);
        const auto rule = reader->GetRules(eLocalRules)->front()->GetXmlRule();
        rule->Name(bad.text);
        reader->UpdateRule(eLocalRules, rule);
        std::vector<unsigned char> out;
        EXPECT_THROW(reader->GetXmlData(out), xml_schema::serialization);
    }
}

class UnwritableTextInContext : public ::testing::Test {
protected:
    UnwritableTextInContext() {
        Context::ModesMap modes;
        for (int key = eVPNRules; key <= eTransitRules; ++key) {
            modes[key] = Context::Modes::eEditable;
        }
        for (int kind = 0; kind <= 64; ++kind) {
            modes[kind] = Context::Modes::eEditable;
        }
        context.AppendXmlReader(kDataname, OneRulePolicy(), User, modes, kDataname);
        context.GetXmlData(kDataname, before);
    }

    // The call throws std::invalid_argument naming the character, and the
    // document is as it was.
    template <typename Call>
    void ExpectRefused(Call call, const BadText& bad, const char* what) {
        try {
            call();
            ADD_FAILURE() << "accepted";
        } catch (const std::invalid_argument& e) {
            EXPECT_THAT(e.what(), HasSubstr(std::string("The ") + what + " holds " + bad.codePoint +
                                            ", which a policy document cannot hold"));
        }
        std::vector<unsigned char> after;
        context.GetXmlData(kDataname, after);
        EXPECT_EQ(before, after);
    }

    Context context;
    std::vector<unsigned char> before;
};

TEST_F(UnwritableTextInContext, RuleNamesAreRefused) {
    for (const BadText& bad : kBadTexts) {
        SCOPED_TRACE(bad.label);
        ExpectRefused(
            [&] {
                context.CreateRule(kDataname, eLocalRules, User, bad.text,
                                   Context::RuleActions::ePass, -1);
            },
            bad, "name");
        const auto rule = context.GetRule(kDataname, eLocalRules, 0);
        const std::wstring name = rule->GetXmlRule()->Name();
        ExpectRefused(
            [&] {
                rule->GetXmlRule()->Name(bad.text);
                context.UpdateRule(kDataname, rule);
            },
            bad, "name");
        rule->GetXmlRule()->Name(name);
    }
}

TEST_F(UnwritableTextInContext, ObjectNamesDescriptionsAndOptionsAreRefused) {
    for (const BadText& bad : kBadTexts) {
        SCOPED_TRACE(bad.label);
        ExpectRefused(
            [&] { context.CreateNamedObject(kDataname, bad.text, L"", eIpAddressObject); }, bad,
            "name");
        ExpectRefused(
            [&] { context.CreateNamedObject(kDataname, L"host", bad.text, eIpAddressObject); }, bad,
            "description");
        ExpectRefused([&] { context.SetOptionValue(kDataname, User, L"Audit", bad.text); }, bad,
                      "option value");
        ExpectRefused([&] { context.SetOptionValue(kDataname, User, bad.text, L"on"); }, bad,
                      "option name");
    }
    const auto object = context.CreateNamedObject(kDataname, L"host", L"", eIpAddressObject);
    ASSERT_TRUE(object);
    object->SetName(kBadTexts[0].text);
    EXPECT_THROW(context.UpdateNamedObject(kDataname, object), std::invalid_argument);
}

TEST_F(UnwritableTextInContext, EveryOtherCharacterIsKept) {
    const std::wstring text = std::wstring(L"tab\tline\ncr\r ") + wchar_t(0xD7FF) +
                              wchar_t(0xE000) + wchar_t(0xFFFD) + wchar_t(0x10000) +
                              wchar_t(0x10FFFF);
    ASSERT_TRUE(
        context.CreateRule(kDataname, eLocalRules, User, text, Context::RuleActions::ePass, -1));
    std::vector<unsigned char> out;
    context.GetXmlData(kDataname, out);
    const auto policy = ParsePolicyDocument(out);
    EXPECT_EQ(text, policy->Rules().Rule().back().Name());
}

}  // namespace
}  // namespace fwcommon::test
