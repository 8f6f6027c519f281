// fwpolicy rule add puts the new rule where it was asked, in sections
// numbered any way, and refuses a pass rule that would match everything
// unless that is said.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

// Policy rules numbered from 400001, above the order ids new User rules get.
std::string NumberedHigh(int count) {
    std::string rules;
    for (int i = 0; i < count; ++i)
        rules += RuleElement("TransitRule", 200001 + i, 400001 + i, "p" + std::to_string(i));
    return PolicyDocument(rules);
}

std::vector<std::string> Names(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back("p" + std::to_string(i));
    return names;
}

class RulePlacement : public ::testing::Test {
protected:
    TempDir dir;
    fs::path file = dir.path() / "policy.xml";

    void Write(const std::string& text) { WriteBytes(file, ToBytes(text)); }
    ToolResult Add(std::vector<std::string> extra) {
        std::vector<std::string> args = {"rule", "add", file.string(), "--section", "transit"};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunFwpolicy(args);
    }
};

TEST_F(RulePlacement, DefaultAppendsBelowTheLastRule) {
    Write(PolicyDocument(
        RuleElement("TransitRule", 200001, 400001, "Drop all transit", "Policy", "Drop")));
    ASSERT_EQ(0, Add({"--name", "Allow", "--match-all"}).exitStatus);
    EXPECT_EQ((std::vector<std::string>{"Drop all transit", "Allow"}), ShownNames(file, "transit"));
}

TEST_F(RulePlacement, EveryPositionIsThePlaceShowLists) {
    const int count = 12;
    for (const int position : {0, 1, 5, 11, 12}) {
        Write(NumberedHigh(count));
        const ToolResult added =
            Add({"--name", "new", "--action", "drop", "--position", std::to_string(position)});
        ASSERT_EQ(0, added.exitStatus) << added.err;
        std::vector<std::string> expected = Names(count);
        expected.insert(expected.begin() + position, "new");
        EXPECT_EQ(expected, ShownNames(file, "transit")) << "position " << position;
    }
}

TEST_F(RulePlacement, BeforeAndAfterNameTheNeighbour) {
    Write(NumberedHigh(4));
    ASSERT_EQ(0, Add({"--name", "b", "--action", "drop", "--before", "200003"}).exitStatus);
    ASSERT_EQ(0, Add({"--name", "a", "--action", "drop", "--after", "200004"}).exitStatus);
    ASSERT_EQ(0, Add({"--name", "f", "--action", "drop", "--before", "200001"}).exitStatus);
    EXPECT_EQ((std::vector<std::string>{"f", "p0", "p1", "b", "p2", "p3", "a"}),
              ShownNames(file, "transit"));
}

TEST_F(RulePlacement, RefusalsLeaveTheFileAsItWas) {
    Write(NumberedHigh(3));
    const auto original = ReadBytes(file);
    struct Row {
        std::vector<std::string> extra;
        int exitStatus;
        std::string err;
    };
    const std::string prefix = "fwpolicy: " + file.string() + ": ";
    const Row rows[] = {
        {{"--name", "open"},
         1,
         prefix +
             "a pass rule without conditions lets all traffic through; give --match-all if that "
             "is meant\n"},
        {{"--name", "x", "--action", "drop", "--before", "7"},
         1,
         prefix + "section transit has no rule with ID 7\n"},
        {{"--name", "x", "--action", "drop", "--position", "4"},
         1,
         prefix + "position 4 is past the end of section transit (3 rules)\n"},
        {{"--name", "x", "--action", "drop", "--position", "1", "--after", "200001"}, 2, ""},
        {{"--name", "x", "--action", "drop", "--before", "200001", "--after", "200001"}, 2, ""},
    };
    for (const Row& row : rows) {
        const ToolResult result = Add(row.extra);
        EXPECT_EQ(row.exitStatus, result.exitStatus) << row.extra[1] << ": " << result.err;
        if (!row.err.empty()) {
            EXPECT_EQ(row.err, result.err);
        }
        EXPECT_EQ(original, ReadBytes(file));
    }
    EXPECT_EQ(std::vector<std::string>{"policy.xml"}, DirectoryEntries(dir.path()));
}

}  // namespace
}  // namespace fwcommon::test
