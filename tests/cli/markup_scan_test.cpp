// Detection of the XML comments and processing instructions that a rewrite
// through the document binding would lose, and of the document element.

#include <gtest/gtest.h>

#include "common/TestFiles.h"
#include "fileio/MarkupScan.h"

namespace fwcommon::test {
namespace {

TEST(MarkupScan, CommentsAndInstructionsOutsideTheDeclaration) {
    const std::pair<const char*, bool> rows[] = {
        {"<?xml version=\"1.0\"?><a/>", false},
        {"\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<a/>", false},
        {"<a/>", false},
        {"<?xml version=\"1.0\"?><!-- note --><a/>", true},
        {"<a><b/><!----></a>", true},
        {"<?xml version=\"1.0\"?><?xml-stylesheet href=\"x\"?><a/>", true},
        {"<a><?app data?></a>", true},
        {"<a><![CDATA[<!-- not a comment --> <?no?>]]></a>", false},
        {"<a><![CDATA[x]]><!-- after --></a>", true},
        {"<a attr=\"&lt;!--\">&lt;?x?&gt;</a>", false},
        {"<?xml-model href=\"x\"?><a/>", true},
        {"<a><![CDATA[unterminated", false},
    };
    for (const auto& [text, holds] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(holds, fwpolicy::HoldsCommentsOrInstructions(ToBytes(text)));
    }
}

TEST(MarkupScan, DocumentElementNameAfterTheProlog) {
    const std::pair<const char*, const char*> rows[] = {
        {"<?xml version=\"1.0\"?>\n<sv:Policy xmlns:sv=\"urn:x\">", "Policy"},
        {"\xEF\xBB\xBF<Policy/>", "Policy"},
        {"<!-- <Policy> --><?pi <Policy>?><config><Policy/></config>", "config"},
        {"<!DOCTYPE a [<!ELEMENT a ANY>]><a>", "a"},
        {"<!DOCTYPE Policy SYSTEM \"x\">\n<p:Policy\tId=\"1\">", "Policy"},
        {"no markup", ""},
        {"<!-- unterminated <Policy>", ""},
    };
    for (const auto& [text, name] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(name, fwpolicy::DocumentElementName(ToBytes(text)));
    }
}

TEST(MarkupScan, ExampleHoldsACommentAndTheEditFixtureNone) {
    EXPECT_TRUE(
        fwpolicy::HoldsCommentsOrInstructions(ReadBytes(SourcePath("examples/policy.xml"))));
    EXPECT_FALSE(fwpolicy::HoldsCommentsOrInstructions(
        ReadBytes(SourcePath("tests/data/cli/edit-base.xml"))));
}

}  // namespace
}  // namespace fwcommon::test
