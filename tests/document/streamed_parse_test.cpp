#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include <fwcommon/DocumentNamespace.h>
#include <fwcommon/PolicyDocument.h>
#include "common/TestFiles.h"
#include "document/DocumentTestSupport.h"

namespace fwcommon::test {
namespace {

// The same bytes built by the generated parser in one piece, from a Xerces
// DOM of the whole document validated against the rules schema: the
// reference for the library's own reader, which converts element by
// element from a lighter tree.
std::unique_ptr<Sarvo::PolicyType> BuiltInOnePiece(const std::vector<unsigned char>& bytes) {
    xml_schema::properties properties;
    properties.schema_location(kDocumentNamespace, SourcePath("schema/rules.xsd").wstring());
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    return Sarvo::Policy(in, xml_schema::flags::dont_initialize, properties);
}

void ExpectSameAsInOnePiece(const std::vector<unsigned char>& bytes) {
    const auto streamed = ParsePolicyDocument(bytes);
    const auto whole = BuiltInOnePiece(bytes);
    EXPECT_TRUE(*streamed == *whole);
    // Each taken element is owned by its sequence, as in a document built
    // in one piece.
    for (const Sarvo::Rule& rule : streamed->Rules().Rule()) {
        ASSERT_EQ(rule._container(), &streamed->Rules()) << "rule " << rule.RuleId();
    }
    if (streamed->NamedObjects()) {
        for (const Sarvo::IpObject& object : streamed->NamedObjects()->IpObject()) {
            ASSERT_EQ(object._container(), &*streamed->NamedObjects()) << "object " << object.Id();
        }
    }
}

TEST(StreamedParse, FilesEqualTheDocumentBuiltInOnePiece) {
    for (const char* file : {"examples/policy.xml", "tests/data/edge-kinds.xml",
                             "fuzz/seeds/xml/objects-of-every-kind.xml"}) {
        SCOPED_TRACE(file);
        ExpectSameAsInOnePiece(ReadBytes(SourcePath(file)));
    }
}

// Generated policies hold every kind of rule, condition, object and option.
TEST(StreamedParse, GeneratedPoliciesEqualTheDocumentBuiltInOnePiece) {
    TempDir dir;
    for (const char* seed : {"1", "2", "3"}) {
        SCOPED_TRACE(std::string("seed ") + seed);
        const auto file = GeneratedPolicy(dir.path(), std::string("p") + seed + ".xml",
                                          std::string("--rules 400 --objects 120 --options 6 "
                                                      "--seed ") +
                                              seed);
        ExpectSameAsInOnePiece(ReadBytes(file));
    }
}

const char kLocalRuleStart[] = "<RuleId>1</RuleId><OrderId>1</OrderId>";
const char kLocalRuleEnd[] =
    "<CreationType>User</CreationType><ConditionSet/><Action xsi:type=\"sv:Filter\">"
    "<FilteringAction>Pass</FilteringAction></Action><Section>LocalSection</Section></Rule>";

std::string LocalRule(const std::string& name) {
    return std::string("<Rule xsi:type=\"sv:LocalRule\">") + kLocalRuleStart + "<Name>" + name +
           "</Name>" + kLocalRuleEnd;
}

struct LayoutCase {
    const char* label;
    std::string rules;
    std::string rulesStartTag = "<Rules>";
};

// Ways of writing the same kinds of content that a reader of the document
// must see through: where namespaces are declared, how text is split,
// what the schema fills in.
const LayoutCase kLayouts[] = {
    {"xsi:type prefixes declared on the rule and on the action",
     std::string("<Rule xmlns:p=\"") + kDocumentNamespaceNarrow + "\" xsi:type=\"p:LocalRule\">" +
         kLocalRuleStart +
         "<Name>a</Name><CreationType>User</CreationType><ConditionSet/>"
         "<Action xmlns:q=\"" +
         kDocumentNamespaceNarrow +
         "\" xsi:type=\"q:Filter\"><FilteringAction>Drop</FilteringAction></Action>"
         "<Section>LocalSection</Section></Rule>" +
         LocalRule("after the declarations went out of scope")},
    {"xsi:type prefix declared on the Rules element, above the rule",
     std::string("<Rule xsi:type=\"r:TransitRule\">") + kLocalRuleStart +
         "<Name>d</Name><CreationType>User</CreationType><ConditionSet/>"
         "<Action xsi:type=\"r:Filter\"><FilteringAction>Pass</FilteringAction></Action>"
         "<Section>TransitSection</Section></Rule>",
     std::string("<Rules xmlns:r=\"") + kDocumentNamespaceNarrow + "\">"},
    {"defaults the schema fills in",
     std::string("<Rule xsi:type=\"sv:NatRule\">") + kLocalRuleStart +
         "<Name>n</Name><CreationType>Policy</CreationType><ConditionSet/>"
         "<Action xsi:type=\"sv:Filter\"><FilteringAction>Pass</FilteringAction></Action>"
         "<Section/></Rule>"},
    {"texts in pieces: references, CDATA, comments, characters beyond the BMP",
     LocalRule("a&amp;b&lt;&#xE9;<![CDATA[<c>]]>d<!-- between -->e \xF0\x9F\x98\x80 \xC3\xB6")},
    {"whitespace around numbers and booleans",
     std::string("<Rule IsActive=\" false \" xsi:type=\"sv:LocalRule\"><RuleId> 7 </RuleId>"
                 "<OrderId>\n3\n</OrderId><Name>  spaced  </Name>") +
         kLocalRuleEnd},
    {"an empty name and a comment between rules",
     LocalRule("") + "<!-- a comment -->" + LocalRule("<!-- only a comment -->")},
};

TEST(StreamedParse, LayoutsEqualTheDocumentBuiltInOnePiece) {
    for (const LayoutCase& layout : kLayouts) {
        SCOPED_TRACE(layout.label);
        std::string text = MinimalPolicy(layout.rules);
        text.replace(text.find("<Rules>"), std::string("<Rules>").size(), layout.rulesStartTag);
        const auto bytes = ToBytes(text);
        ASSERT_EQ(ParseError(bytes), L"");
        ExpectSameAsInOnePiece(bytes);
    }
}

// A streamed element that is invalid is reported by validation with its
// position, as before any element is converted.
TEST(StreamedParse, AnInvalidRuleAfterValidOnesIsAValidationError) {
    const std::string good = LocalRule("a");
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
