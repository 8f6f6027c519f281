// Text from an untrusted policy reaches the terminal escaped: control
// characters (C0, C1, DEL), direction overrides and bytes that are no UTF-8
// are shown as visible escapes in tables and messages, and columns are
// measured in terminal cells.

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"
#include "terminal/DisplayWidth.h"
#include "terminal/SafeText.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;
using fwpolicy::terminal::DisplayWidth;
using fwpolicy::terminal::FitToWidth;
using fwpolicy::terminal::Printable;
using fwpolicy::terminal::PrintableLines;

TEST(SafeText, EscapesWhatATerminalWouldObey) {
    EXPECT_EQ("plain Ünïcode 東京", Printable("plain Ünïcode 東京"));
    EXPECT_EQ("\\x1b[2J\\x07\\x7f", Printable("\x1b[2J\x07\x7f"));
    EXPECT_EQ("\\x9b2J", Printable("\xc2\x9b"
                                   "2J"))
        << "C1 CSI";
    EXPECT_EQ("ab\\u202ecd\\u2066", Printable("ab\xe2\x80\xae"
                                              "cd\xe2\x81\xa6"));
    EXPECT_EQ("\\xff\\xc3", Printable("\xff\xc3")) << "no UTF-8";
    EXPECT_EQ("\\xc0\\xaf", Printable("\xc0\xaf")) << "overlong";
    EXPECT_EQ("a\\x0ab\\x09", Printable("a\nb\t"));
    EXPECT_EQ("a\nb\t\\x0d", PrintableLines("a\nb\t\r"));
}

TEST(DisplayWidth, CountsCells) {
    EXPECT_EQ(5u, DisplayWidth("hello"));
    EXPECT_EQ(4u, DisplayWidth("東京"));
    EXPECT_EQ(1u, DisplayWidth("e\xcc\x81")) << "combining acute";
    EXPECT_EQ(3u, DisplayWidth("Ünï"));
    EXPECT_EQ("東", FitToWidth("東京", 3));
    EXPECT_EQ("ab", FitToWidth("abc", 2));
}

std::string HostilePolicy() {
    const std::string rules = RuleElement("LocalRule", 1, 1,
                                          "csi \xc2\x9b"
                                          "2J here") +
                              RuleElement("LocalRule", 2, 2,
                                          "abc\xe2\x80\xae"
                                          "fed") +
                              RuleElement("LocalRule", 3, 3, "東京オフィス") +
                              RuleElement("LocalRule", 4, 4, "plain");
    return PolicyDocument(rules);
}

// show printed names as they were: a C1 CSI cleared the screen and a
// right-to-left override displayed the name reversed; a wide-character name
// pushed its row's columns out of line.
TEST(FwpolicyTerminalText, ShowEscapesNamesAndAlignsWideOnes) {
    TempDir dir;
    const fs::path file = dir.path() / "hostile.xml";
    WriteBytes(file, ToBytes(HostilePolicy()));
    const ToolResult r = RunFwpolicy({"show", file.string(), "--section", "local"});
    ASSERT_EQ(0, r.exitStatus) << r.err;
    EXPECT_NE(std::string::npos, r.out.find("csi \\x9b2J here"));
    EXPECT_NE(std::string::npos, r.out.find("abc\\u202efed"));
    EXPECT_EQ(std::string::npos, r.out.find("\xc2\x9b"));
    EXPECT_EQ(std::string::npos, r.out.find("\xe2\x80\xae"));
    // Every row's ACTIVE column starts in the same cell.
    std::size_t column = std::string::npos;
    std::size_t start = r.out.find('\n') + 1;
    while (start < r.out.size()) {
        const std::size_t end = r.out.find('\n', start);
        const std::string line = r.out.substr(start, end - start);
        const std::size_t at =
            line.find(line.find("ACTIVE") != std::string::npos ? "ACTIVE" : "yes");
        ASSERT_NE(std::string::npos, at) << line;
        const std::size_t cells = DisplayWidth(line.substr(0, at));
        if (column == std::string::npos)
            column = cells;
        EXPECT_EQ(column, cells) << line;
        start = end + 1;
    }
}

// The tool echoed names unescaped; a name the library refuses is named by
// its code point (hostile_text_test.cpp).
TEST(FwpolicyTerminalText, MessagesQuoteNamesEscaped) {
    TempDir dir;
    const fs::path file = dir.path() / "hostile.xml";
    WriteBytes(file, ToBytes(HostilePolicy()));
    const ToolResult missing =
        RunFwpolicy({"object", "remove", file.string(), "--name", "x\x1b]0;owned\x07"});
    EXPECT_EQ(1, missing.exitStatus);
    EXPECT_EQ("fwpolicy: " + file.string() + ": no named object \"x\\x1b]0;owned\\x07\"\n",
              missing.err);
}

}  // namespace
}  // namespace fwcommon::test
