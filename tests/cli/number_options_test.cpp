// The numbers the tool's options take as text (--wait SECONDS, --max-size
// SIZE): what each accepts, and the message for each text it refuses.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/RunTool.h"

namespace fwcommon::test {
namespace {

const char* const kPlain = "tests/data/cli/edit-base.xml";  // no comments: edits may rewrite it

struct Row {
    std::string text;
    std::string err;  // "" for a text that is taken
};

TEST(NumberOptions, WaitTakesSecondsFromZeroUp) {
    const Row rows[] = {
        {"0", ""},
        {"2.5", ""},
        {"1e9", ""},
        {"-1", "'-1' is not a number of seconds (0 or more)"},
        {"abc", "'abc' is not a number of seconds (0 or more)"},
        {"", "'' is not a number of seconds (0 or more)"},
        {"inf", "'inf' is not a number of seconds (0 or more)"},
        {"nan", "'nan' is not a number of seconds (0 or more)"},
        {"1e400", "'1e400' is not a number of seconds (0 or more)"},
        {"5s", "'5s' is not a number of seconds (0 or more)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const ToolResult result = RunFwpolicy({"rule", "disable", kPlain, "--section", "local",
                                               "--index", "0", "--dry-run", "--wait", row.text});
        if (row.err.empty()) {
            EXPECT_EQ(0, result.exitStatus) << result.err;
            continue;
        }
        EXPECT_EQ(2, result.exitStatus);
        EXPECT_EQ(
            "fwpolicy rule disable: --wait: " + row.err + " (see 'fwpolicy help rule disable')\n",
            result.err);
    }
}

TEST(NumberOptions, MaxSizeTakesBytesWithBinarySuffixes) {
    const std::string tooSmall = "fwpolicy: " + std::string(kPlain) + ": is ";
    const Row rows[] = {
        {"1G", ""},
        {"64k", ""},
        {"1K", "more than the limit of 1024 bytes (--max-size)"},
        {"0", "more than the limit of 0 bytes (--max-size)"},
        {"lots", "'lots' is not a size (bytes, or a number with K, M or G)"},
        {"1.5G", "'1.5G' is not a size (bytes, or a number with K, M or G)"},
        {"1T", "'1T' is not a size (bytes, or a number with K, M or G)"},
        {"-1", "'-1' is not a size (bytes, or a number with K, M or G)"},
        {"", "'' is not a size (bytes, or a number with K, M or G)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const ToolResult result = RunFwpolicy({"--max-size", row.text, "check", kPlain});
        if (row.err.empty()) {
            EXPECT_EQ(0, result.exitStatus) << result.err;
        } else if (row.err.find("limit") != std::string::npos) {
            EXPECT_EQ(1, result.exitStatus);
            EXPECT_EQ(0u, result.err.find(tooSmall)) << result.err;
            EXPECT_NE(std::string::npos, result.err.find(row.err)) << result.err;
        } else {
            EXPECT_EQ(2, result.exitStatus);
            EXPECT_EQ("fwpolicy check: --max-size: " + row.err + " (see 'fwpolicy help check')\n",
                      result.err);
        }
    }
}

}  // namespace
}  // namespace fwcommon::test
