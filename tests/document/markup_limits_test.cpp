// The bounds on the markup are read alike whatever the width of the units:
// UTF-8 documents are scanned straight from their bytes, UTF-16 and UTF-32
// documents unit by unit.

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/PolicyText.h"
#include "document/MarkupLimits.h"

namespace fwcommon::document {
namespace {

// ascii in UTF-16 or UTF-32, little-endian, after its byte-order mark.
std::vector<unsigned char> Widened(const std::string& ascii, std::size_t width) {
    std::vector<unsigned char> bytes = width == 2 ? std::vector<unsigned char>{0xFF, 0xFE}
                                                  : std::vector<unsigned char>{0xFF, 0xFE, 0, 0};
    for (const char c : ascii) {
        bytes.push_back(static_cast<unsigned char>(c));
        bytes.insert(bytes.end(), width - 1, 0);
    }
    return bytes;
}

std::string Describe(const std::optional<LimitBreach>& breach) {
    if (!breach)
        return "none";
    return std::to_string(breach->position.line) + ":" + std::to_string(breach->position.column) +
           " " + std::string(breach->message.begin(), breach->message.end());
}

std::string Attributes(int count, const std::string& value) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += " a" + std::to_string(i) + "=" + value;
    return text;
}

TEST(MarkupLimits, EveryUnitWidthFindsTheSameBreach) {
    const std::string longValue(kMaxTextLength + 1, 'v');
    const struct {
        const char* label;
        std::string xml;
        std::string breach;
    } rows[] = {
        {"within the bounds", "<r a='1' b=\"2\"><e/></r>", "none"},
        {"quotes hold '>', '=' and the other quote",
         "<r a='>=\"' b=\"'>=\"" + Attributes(1022, "'='") + "></r>", "none"},
        {"one attribute too many", "<r>\n <e" + Attributes(1025, "'1'") + "/></r>",
         "2:2 an element carries more than 1024 attributes"},
        {"a value too long in single quotes", "<r a='" + longValue + "'/>",
         "1:1 a text is longer than 1048576 characters"},
        {"a value too long in double quotes", "<r>\n<e a=\"" + longValue + "\"/></r>",
         "2:1 a text is longer than 1048576 characters"},
        {"an unclosed value runs to the end", "<r a='" + std::string(300, '>') + "<r>", "none"},
        {"empty elements do not nest", "<r>" + test::Repeated("<e a='/'/>", 300) + "</r>", "none"},
        {"'/' inside a value does not empty the element", test::Repeated("<e a='/'>", 257),
         "1:2305 elements are nested deeper than 256 levels"},
        {"257 levels", test::Repeated("<a>", 257),
         "1:769 elements are nested deeper than 256 levels"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        const std::vector<unsigned char> utf8(row.xml.begin(), row.xml.end());
        EXPECT_EQ(row.breach, Describe(FindMarkupLimitBreach(utf8)));
        EXPECT_EQ(row.breach, Describe(FindMarkupLimitBreach(Widened(row.xml, 2))));
        EXPECT_EQ(row.breach, Describe(FindMarkupLimitBreach(Widened(row.xml, 4))));
    }
}

}  // namespace
}  // namespace fwcommon::document
