#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include <fwcommon/PolicyDocument.h>
#include "common/TestFiles.h"
#include "document/DocumentTestSupport.h"

namespace fwcommon::test {
namespace {

// The same bytes built by the generated parser in one piece, from a DOM of
// the whole document (no validation).
std::unique_ptr<Sarvo::PolicyType> BuiltInOnePiece(const std::vector<unsigned char>& bytes) {
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    return Sarvo::Policy(in, xml_schema::flags::dont_validate);
}

// The parser takes rules and named objects out of the DOM one by one; the
// document it hands out must not differ from one built in a single piece:
// same elements, same order, each element owned by its sequence.
TEST(StreamedParse, EqualsTheDocumentBuiltInOnePiece) {
    const auto bytes = ReadBytes(SourcePath("examples/policy.xml"));
    const auto streamed = ParsePolicyDocument(bytes);
    const auto whole = BuiltInOnePiece(bytes);
    ASSERT_FALSE(streamed->Rules().Rule().empty());
    ASSERT_TRUE(streamed->NamedObjects());
    ASSERT_FALSE(streamed->NamedObjects()->IpObject().empty());
    EXPECT_TRUE(*streamed == *whole);

    for (const Sarvo::Rule& rule : streamed->Rules().Rule()) {
        EXPECT_EQ(rule._container(), &streamed->Rules()) << "rule " << rule.RuleId();
    }
    for (const Sarvo::IpObject& object : streamed->NamedObjects()->IpObject()) {
        EXPECT_EQ(object._container(), &*streamed->NamedObjects()) << "object " << object.Id();
    }
}

// A streamed element that is invalid is reported by validation with its
// position, as before any element is converted.
TEST(StreamedParse, AnInvalidRuleAfterValidOnesIsAValidationError) {
    const std::string good =
        "<Rule xsi:type=\"sv:LocalRule\"><RuleId>1</RuleId><OrderId>1</OrderId><Name>a</Name>"
        "<CreationType>User</CreationType><ConditionSet/><Action xsi:type=\"sv:Filter\">"
        "<FilteringAction>Pass</FilteringAction></Action><Section>LocalSection</Section></Rule>";
    const std::string bad = "<Rule xsi:type=\"sv:LocalRule\"><RuleId>2</RuleId></Rule>";
    ASSERT_EQ(ParseError(ToBytes(MinimalPolicy(good + good))), L"");
    try {
        ParsePolicyDocument(ToBytes(MinimalPolicy(good + bad + good)));
        FAIL() << "accepted";
    } catch (const xml_schema::parsing& e) {
        ASSERT_FALSE(e.diagnostics().empty());
        EXPECT_EQ(e.diagnostics().front().line(), 2u);
        EXPECT_EQ(xml_schema::severity::error, e.diagnostics().front().severity());
    }
}

}  // namespace
}  // namespace fwcommon::test
