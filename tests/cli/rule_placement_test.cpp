// fwpolicy rule add puts the new rule where it was asked, in sections
// numbered any way (its refusals are among those of edit_test.cpp).

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

}  // namespace
}  // namespace fwcommon::test
