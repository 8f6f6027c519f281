// ReadLayout finds the lists and items of a document from its tags alone:
// quoted values may hold '>' and '<', unparsed markup is passed over whole,
// and a tag it cannot close leaves no layout.

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document/DocumentLayout.h"

namespace fwcommon::document {
namespace {

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

}  // namespace
}  // namespace fwcommon::document
