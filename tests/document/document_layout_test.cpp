// ReadLayout finds the lists and items of a document from its tags alone:
// quoted values may hold '>' and '<', unparsed markup is passed over whole,
// and a tag it cannot close leaves no layout. Read with an item reader, it
// finds the same layout, and each item read so gives the fields a read of
// the item's own bytes gives.

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/TestFiles.h"
#include "document/DocumentLayout.h"
#include "document/EditedText.h"
#include "document/SameMarkup.h"

namespace fwcommon::document {
namespace {

using test::OtherLayout;
using test::ReadBytes;
using test::SourcePath;
using test::ToString;

struct LayoutRow {
    const char* document;
    std::optional<std::vector<std::string>> items;  // each item's bytes
};

std::vector<unsigned char> Bytes(const std::string& text) {
    return std::vector<unsigned char>(text.begin(), text.end());
}

TEST(ReadLayout, FindsTheItemsWhateverTheirTagsHold) {
    using Items = std::vector<std::string>;
    const LayoutRow rows[] = {
        {R"(<r><Rules><a x="1>2"/><b>t</b></Rules></r>)", Items{R"(<a x="1>2"/>)", "<b>t</b>"}},
        {R"(<r><Rules><a x='"<' y=">'"/></Rules></r>)", Items{R"(<a x='"<' y=">'"/>)"}},
        {"<r><Rules><a><!-- <b> --><![CDATA[</a>]]><?p >?></a></Rules></r>",
         Items{"<a><!-- <b> --><![CDATA[</a>]]><?p >?></a>"}},
        {"<?xml version='1.0'?><!-- <x> --><r>\n <Rules>\n  <a/>\n </Rules>\n "
         "<Other><c/></Other></r>",
         Items{"<a/>"}},
        {"<r\n><Rules\t><a\n/><b\r\n>x</b\n></Rules></r>", Items{"<a\n/>", "<b\r\n>x</b\n>"}},
        {R"(<r><Rules><a x="1></Rules></r>)", std::nullopt},
        {"<r><Rules><a <b/></Rules></r>", std::nullopt},
        {"<r><Rules><a></Rules></r>", std::nullopt},
        {"<!DOCTYPE r><r/>", std::nullopt},
        {"<r/><r/>", std::nullopt},
        {"<r><Rules><a/></Rules></r", std::nullopt},
    };
    for (const LayoutRow& row : rows) {
        SCOPED_TRACE(row.document);
        const std::vector<unsigned char> bytes = Bytes(row.document);
        const auto layout = ReadLayout(bytes);
        ASSERT_EQ(row.items.has_value(), layout.has_value());
        if (!layout)
            continue;
        std::vector<std::string> items;
        for (const Item& item : layout->items)
            items.emplace_back(BytesOf(bytes, item.begin, item.end));
        EXPECT_EQ(*row.items, items);
    }
}

// The fields of a piece, one string each: kind and bytes.
class RecordedFields : public MarkupFields {
public:
    void Field(Kind kind, std::string_view bytes) override {
        fields.push_back(static_cast<char>(kind) + std::string(bytes));
    }
    std::vector<std::string> fields;
};

bool SameItems(const Layout& a, const Layout& b) {
    const auto same = [](const Item& x, const Item& y) {
        return x.begin == y.begin && x.end == y.end && x.list == y.list && x.name == y.name;
    };
    return a.rootBegin == b.rootBegin && a.rootTagEnd == b.rootTagEnd &&
           a.lists.size() == b.lists.size() &&
           std::equal(a.items.begin(), a.items.end(), b.items.begin(), b.items.end(), same);
}

// Reads the layout both ways and compares: the same items, and for each
// the same fields or the same refusal. The number of items read whole.
std::size_t ExpectTheSameReadBothWays(const std::string& document) {
    const std::vector<unsigned char> bytes = Bytes(document);
    const NumberTexts numbers{"Rule", {"RuleId", "OrderId"}};
    std::vector<std::optional<std::vector<std::string>>> read;
    const ItemReader reader = [&](const Layout& sofar, std::string_view rest) {
        RecordedFields fields;
        const auto end = ReadElementFields(rest, nullptr, &numbers, fields);
        read.resize(sofar.items.size() + 1);
        if (end)
            read.back() = fields.fields;
        return end;
    };
    const auto plain = ReadLayout(bytes);
    const auto withReader = ReadLayout(bytes, reader);
    EXPECT_EQ(plain.has_value(), withReader.has_value());
    if (!plain || !withReader)
        return 0;
    EXPECT_TRUE(SameItems(*plain, *withReader));
    std::size_t whole = 0;
    for (std::size_t i = 0; i < plain->items.size(); ++i) {
        const Item& item = plain->items[i];
        const std::string_view piece = BytesOf(bytes, item.begin, item.end);
        RecordedFields fields;
        const bool readable = ReadMarkupFields(piece, nullptr, &numbers, fields);
        const bool readWhole = i < read.size() && read[i].has_value();
        EXPECT_EQ(readable, readWhole) << piece;
        if (readable && readWhole) {
            EXPECT_EQ(fields.fields, *read[i]) << piece;
            ++whole;
        }
    }
    return whole;
}

TEST(ReadLayout, AnItemReaderFindsTheSameItemsAndFields) {
    const std::string example = ToString(ReadBytes(SourcePath("examples/policy.xml")));
    const std::string everyKind = ToString(ReadBytes(SourcePath("tests/data/cli/every-kind.xml")));
    for (const std::string& document : {example, OtherLayout(example), everyKind}) {
        EXPECT_GT(ExpectTheSameReadBothWays(document), 10u);
    }
    // Items that the item reader leaves to the layout read, and items
    // around them that it reads.
    const char* const odd[] = {
        "<r><Rules><a><!-- c --></a><b x='1'/></Rules></r>",
        "<r><Rules><a><![CDATA[<b>]]></a><b/></Rules></r>",
        "<r><Rules><a><?p x?></a><b/></Rules></r>",
        R"(<r><Rules><a x="1>2" y='"'>t</a><b y="<"/></Rules></r>)",
        R"(<r><Rules><a"b="1"/><c/></Rules></r>)",
        R"(<r><Rules><i><a x"y="1"/></i><c/></Rules></r>)",
        "<r><Rules><a x=1/><c/></Rules></r>",
        "<r><Rules><a></b><c/></Rules></r>",
        "<r><Rules><Rule><RuleId> 7 </RuleId><OrderId>-3</OrderId></Rule></Rules></r>",
        "<r><Rules><a>\n  </a><b>  <c/>  </b></Rules><Other><d/></Other></r>",
        "<r><NamedObjects xmlns:p='u'><p:a/></NamedObjects><Rules/><Options><o/></Options></r>",
    };
    for (const char* document : odd) {
        SCOPED_TRACE(document);
        ExpectTheSameReadBothWays(document);
    }
}

}  // namespace
}  // namespace fwcommon::document
