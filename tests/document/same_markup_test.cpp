// Two pieces of markup compare equal only when a parser reads them as the
// same elements, attributes and texts: a false "same" would leave a changed
// item unread by the check of an edit.

#include <string>

#include <gtest/gtest.h>

#include <fwcommon/DocumentNamespace.h>

#include "document/AttributeDefaults.h"
#include "document/MarkupLimits.h"
#include "document/SameMarkup.h"

namespace fwcommon::document {
namespace {

// IsActive defaults to "true" on a TransitRule; prefixes as most files bind them.
OmittableAttributes RuleDefaults() {
    return OmittableAttributes{"xsi:type", {{"sv:TransitRule", "IsActive", "true"}}};
}

TEST(SameMarkup, TellsLayoutFromContent) {
    const OmittableAttributes defaults = RuleDefaults();
    const struct {
        const char* label;
        std::string a;
        std::string b;
        bool same;
        bool withDefaults;
    } rows[] = {
        {"attribute order", "<A x=\"1\" y=\"2\"/>", "<A y=\"2\" x=\"1\"/>", true, false},
        {"quotes", "<A x=\"1\"/>", "<A x='1'/>", true, false},
        {"white space in tags", "<A x=\"1\"/>", "<A\n\tx = \"1\" />", true, false},
        {"empty-element form", "<A><B/></A>", "<A><B></B></A>", true, false},
        {"indentation", "<A>\n  <B>t</B>\n</A>", "<A><B>t</B></A>", true, false},
        {"white space that is an element's content", "<A><B> </B></A>", "<A><B/></A>", false,
         false},
        {"white space inside a text", "<B>a b</B>", "<B>a  b</B>", false, false},
        {"a character reference", "<B>a</B>", "<B>&#97;</B>", false, false},
        {"another value", "<A x=\"1\"/>", "<A x=\"2\"/>", false, false},
        {"another element", "<A><B/></A>", "<A><C/></A>", false, false},
        {"an attribute more", "<A x=\"1\"/>", "<A x=\"1\" y=\"2\"/>", false, false},
        {"an attribute twice", "<A x=\"1\"/>", "<A x=\"1\" x=\"1\"/>", false, false},
        {"a comment", "<A><B/></A>", "<A><!-- c --><B/></A>", false, false},
        {"a CDATA section", "<B>a</B>", "<B><![CDATA[a]]></B>", false, false},
        {"a processing instruction", "<A/>", "<A><?p?></A>", false, false},
        {"a quote in another quote", "<A x='a\"b'/>", "<A x=\"a\"b\"/>", false, false},
        {"attributes run together", "<A x=\"1\" y=\"2\"/>", "<A x=\"1\"y=\"2\"/>", false, false},
        {"an attribute without a value", "<A x=\"1\"/>", "<A x/>", false, false},
        {"an unclosed quote", "<A x=\"1\"/>", "<A x=\"1/>", false, false},
        {"a prefix", "<sv:A/>", "<A/>", false, false},
        {"a default left out",
         "<Rule xsi:type=\"sv:TransitRule\" IsActive=\"true\"><Name>r</Name></Rule>",
         "<Rule xsi:type=\"sv:TransitRule\"><Name>r</Name></Rule>", true, true},
        {"a default left out, without the table",
         "<Rule xsi:type=\"sv:TransitRule\" IsActive=\"true\"/>",
         "<Rule xsi:type=\"sv:TransitRule\"/>", false, false},
        {"another value left out", "<Rule xsi:type=\"sv:TransitRule\" IsActive=\"false\"/>",
         "<Rule xsi:type=\"sv:TransitRule\"/>", false, true},
        {"a default of another type", "<Rule xsi:type=\"sv:NatRule\" IsActive=\"true\"/>",
         "<Rule xsi:type=\"sv:NatRule\"/>", false, true},
        {"a default without a type", "<Rule IsActive=\"true\"/>", "<Rule/>", false, true},
        {"a default written twice", "<Rule xsi:type=\"sv:TransitRule\" IsActive=\"true\"/>",
         "<Rule xsi:type=\"sv:TransitRule\" IsActive=\"true\" IsActive=\"true\"/>", false, true},
        {"a default under a prefix bound again",
         "<Rule xmlns:sv=\"urn:other\"><X xsi:type=\"sv:TransitRule\" IsActive=\"true\"/></Rule>",
         "<Rule xmlns:sv=\"urn:other\"><X xsi:type=\"sv:TransitRule\"/></Rule>", false, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        const OmittableAttributes* omittable = row.withDefaults ? &defaults : nullptr;
        EXPECT_EQ(row.same, SameMarkup(row.a, row.b, omittable));
        EXPECT_EQ(row.same, SameMarkup(row.b, row.a, omittable)) << "the other way round";
    }
}

TEST(SameMarkup, WhiteSpaceBeyondTheBoundOnATextIsNotPassedOver) {
    const std::string spaced = "<A>" + std::string(kMaxTextLength + 1, '\n') + "<B/></A>";
    EXPECT_FALSE(SameMarkup("<A><B/></A>", spaced));
    EXPECT_TRUE(SameMarkup("<A>\n<B/></A>", "<A><B/></A>"));
}

TEST(SamePrologue, ComparesWhatTheBytesBeforeTheRootDeclare) {
    const std::string canonical = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\" ?>\n";
    const struct {
        const char* label;
        std::string other;
        bool same;
    } rows[] = {
        {"the same bytes", canonical, true},
        {"no declaration", "", true},
        {"encoding in lower case, single quotes", "<?xml version='1.0' encoding='utf-8'?>", true},
        {"a byte-order mark", "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n", true},
        {"a comment and an instruction", "<?xml version=\"1.0\"?>\n<!-- a > b -->\n<?p x?>\n",
         true},
        {"another encoding", "<?xml version=\"1.0\" encoding=\"UTF-16\"?>", false},
        {"another version", "<?xml version=\"1.1\" encoding=\"UTF-8\"?>", false},
        {"no version", "<?xml encoding=\"UTF-8\"?>", false},
        {"an unclosed comment", "<!-- a", false},
        {"text", "x", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(row.same, SamePrologue(canonical, row.other));
    }
}

TEST(AttributeDefaults, HoldTheSchemasDefaultsAlsoOfDerivedTypes) {
    const auto& defaults = AttributeDefaultsOf(L"");
    const auto holds = [&](const std::string& type, const std::string& attribute,
                           const std::string& value) {
        for (const AttributeDefault& d : defaults) {
            if (d.type == type && d.attribute == attribute)
                return d.value == value;
        }
        return false;
    };
    EXPECT_TRUE(holds("TransitRule", "IsActive", "true")) << "from the rules' base type";
    EXPECT_TRUE(holds("NatRule", "IsActive", "true"));
    EXPECT_TRUE(holds("Filter", "IsBidirectional", "false"));
    EXPECT_FALSE(holds("Filter", "IsActive", "true"));

    const std::string bindsP =
        "<p:Policy xmlns:p=\"" + std::string(kDocumentNamespaceNarrow) + "\"";
    const auto omittable = OmittableBelow(
        bindsP + " xmlns:i=\"http://www.w3.org/2001/XMLSchema-instance\">", defaults);
    ASSERT_TRUE(omittable);
    EXPECT_EQ("i:type", omittable->typeAttribute);
    EXPECT_EQ("true", omittable->DefaultOf("p:TransitRule", "IsActive").value_or("none"));
    EXPECT_FALSE(OmittableBelow(bindsP + ">", defaults)) << "no prefix for xsi:type";
}

}  // namespace
}  // namespace fwcommon::document
