// The checks the tool makes while it reads a file: UTF-8, sizes written by
// administrators, and the markup bounds applied piece by piece. The markup
// check must never refuse what the library's own bounds accept, so every
// case is held against the library's scan as well.

#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/TestFiles.h"
#include "document/MarkupLimits.h"
#include "fileio/StreamingMarkupCheck.h"
#include "fileio/Utf8Check.h"
#include "text/ByteSize.h"

namespace fwcommon::test {
namespace {

using ::testing::HasSubstr;

// What the streaming check says about `text` fed in pieces of `piece`
// bytes: empty when it takes all of it.
std::string StreamingRefusal(const std::string& text, std::size_t piece) {
    fwpolicy::StreamingMarkupCheck check;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    try {
        for (std::size_t at = 0; at < text.size(); at += piece) {
            check.Take(bytes + at, std::min(piece, text.size() - at));
        }
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

std::string Repeat(const std::string& text, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

std::string Nested(std::size_t levels, const std::string& inner = "") {
    return Repeat("<a>", levels) + inner + Repeat("</a>", levels);
}

TEST(Utf8Check, WellFormedSequencesOnly) {
    const std::pair<std::string, bool> rows[] = {
        {"plain", true},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9D\x84\x9E", true},
        {"\xEF\xBF\xBF\xF4\x8F\xBF\xBF", true},  // U+FFFF, U+10FFFF
        {"\x80", false},                         // lone continuation
        {"\xC3", false},                         // cut short
        {"\xC0\xAF", false},                     // overlong '/'
        {"\xE0\x80\xAF", false},                 // overlong '/'
        {"\xF0\x80\x80\xAF", false},             // overlong '/'
        {"\xED\xA0\x80", false},                 // surrogate half
        {"\xF4\x90\x80\x80", false},             // beyond U+10FFFF
        {"\xFF", false},
        {"\xC3\x28", false},
    };
    for (const auto& [text, valid] : rows) {
        SCOPED_TRACE(testing::PrintToString(text));
        EXPECT_EQ(valid, fwpolicy::IsValidUtf8(text));
    }
}

TEST(ByteSize, NumbersWithBinarySuffixes) {
    EXPECT_EQ(std::uint64_t{0}, fwpolicy::ParseByteSize("0"));
    EXPECT_EQ(std::uint64_t{4096}, fwpolicy::ParseByteSize("4096"));
    EXPECT_EQ(std::uint64_t{2048}, fwpolicy::ParseByteSize("2K"));
    EXPECT_EQ(std::uint64_t{3} << 20, fwpolicy::ParseByteSize("3m"));
    EXPECT_EQ(std::uint64_t{1} << 30, fwpolicy::ParseByteSize("1G"));
    EXPECT_EQ(std::uint64_t{18446744073709551615u},
              fwpolicy::ParseByteSize("18446744073709551615"));
    for (const char* bad :
         {"", "G", "-1", "1.5G", "1GB", "1T", " 1", "18446744073709551616", "17179869184G"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(std::nullopt, fwpolicy::ParseByteSize(bad));
    }
}

// Markup the library's bounds accept is taken whole and in one-byte pieces.
TEST(StreamingMarkupCheck, TakesWhatTheLibraryBoundsAccept) {
    const std::string rows[] = {
        Nested(256),
        Nested(255, "<b/>") + Repeat("<c/>", 1000),
        "<a " + Repeat("x='1' ", 1023) + "y='>'/>",
        "<a><!-- <b><b><b> --->" + Nested(255) + "</a>",
        "<a><![CDATA[" + Repeat("<b>", 300) + "]]]]>" + Nested(255) + "</a>",
        "<?xml version='1.0'?><?pi <a><a> ?" + Repeat("?", 3) + ">" + Nested(256),
        "<a b=\"<c>\" d='\"=\"'>" + std::string(1048576, 't') + "</a>",
        "<a>" + std::string(600000, 'x') + "<b/>" + std::string(600000, 'y') + "</a>",
        "\xEF\xBB\xBF<a>caf\xC3\xA9</a>",
    };
    for (const std::string& text : rows) {
        SCOPED_TRACE(text.substr(0, 60));
        ASSERT_FALSE(document::FindMarkupLimitBreach(ToBytes(text)));
        EXPECT_EQ("", StreamingRefusal(text, text.size()));
        EXPECT_EQ("", StreamingRefusal(text, 1));
    }
    for (const char* file : {"examples/policy.xml", "tests/data/cli/chain.xml",
                             "tests/data/cli/lint-findings.xml", "tests/data/edge-kinds.xml"}) {
        SCOPED_TRACE(file);
        EXPECT_EQ("", StreamingRefusal(ToString(ReadBytes(SourcePath(file))), 4096));
    }
}

TEST(StreamingMarkupCheck, RefusesAsSoonAsABoundBreaks) {
    const struct {
        const char* label;
        std::string text;
        const char* reason;
    } rows[] = {
        {"257 levels", Nested(257), "elements are nested deeper than 256 levels (at byte 770)"},
        {"endless nesting", Repeat("<a>", 100000), "nested deeper than 256 levels"},
        {"1025 attributes", "<a " + Repeat("x='1' ", 1025) + "/>",
         "an element carries more than 1024 attributes"},
        {"long text", "<a>" + std::string(1048577, 't'),
         "a text is longer than 1048576 characters"},
        {"text around a comment",
         "<a>" + std::string(600000, 't') + "<!-- -->" + std::string(600000, 't'),
         "a text is longer than 1048576 characters"},
        {"a NUL", std::string("<a/>\0", 5),
         "a NUL byte is not allowed in a policy document (at byte 4)"},
        {"zeros", std::string(100000, '\0'),
         "a NUL byte is not allowed in a policy document (at byte 0)"},
        {"invalid UTF-8", "<a>\xC3\x28</a>", "the bytes are not valid UTF-8 (at byte 4)"},
        {"UTF-16 mark", "\xFF\xFE<\0a\0", "the bytes are not valid UTF-8 (at byte 0)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        for (std::size_t piece : {std::size_t{1}, std::size_t{7}, row.text.size()}) {
            EXPECT_THAT(StreamingRefusal(row.text, piece), HasSubstr(row.reason));
        }
    }
}

}  // namespace
}  // namespace fwcommon::test
