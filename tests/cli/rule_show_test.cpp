// fwpolicy rule show: one rule with every field and the named objects it
// refers to (its text is golden in show_test.cpp), as the JSON of show
// --json and objects --json, and the rules it cannot find.

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

const char* const kExample = "examples/policy.xml";

nlohmann::json Json(const std::vector<std::string>& args) {
    const ToolResult result = RunFwpolicy(args);
    EXPECT_EQ(0, result.exitStatus) << result.err;
    return nlohmann::json::parse(result.out);
}

// The JSON of one rule is the rule as show --json lists it, and its
// objects are those objects --json lists, so that a program reads one form.
TEST(FwpolicyRuleShow, JsonIsTheRowOfShowWithTheObjectsOfObjects) {
    const nlohmann::json all = Json({"show", kExample, "--json"});
    const nlohmann::json objects = Json({"objects", kExample, "--json"});
    std::size_t rules = 0;
    for (const auto& [section, rows] : all.items()) {
        for (std::size_t index = 0; index < rows.size(); ++index, ++rules) {
            SCOPED_TRACE(section + " " + std::to_string(index));
            nlohmann::json one = Json({"rule", "show", kExample, "--section", section, "--index",
                                       std::to_string(index), "--json"});
            EXPECT_EQ(one, Json({"rule", "show", kExample, "--id",
                                 std::to_string(rows[index]["id"].get<long long>()), "--json"}));
            EXPECT_EQ(section, one["section"]);
            EXPECT_EQ(rows[index]["id"], one["orderId"]);  // the example's order ids are its ids
            for (const nlohmann::json& object : one["objects"]) {
                bool found = false;
                for (const nlohmann::json& candidate : objects[object["kind"].get<std::string>()])
                    found = found || candidate == object;
                EXPECT_TRUE(found) << object.dump();
            }
            for (const char* extra : {"section", "orderId", "creationType", "objects"})
                one.erase(extra);
            EXPECT_EQ(rows[index], one);
        }
    }
    EXPECT_EQ(11u, rules);
    const nlohmann::json vpn = Json({"rule", "show", kExample, "--id", "200002", "--json"});
    std::vector<std::string> names;
    for (const nlohmann::json& object : vpn["objects"])
        names.push_back(object["kind"].get<std::string>() + " " +
                        object["name"].get<std::string>());
    // Remote staff is not used; Web comes in through Mail.
    EXPECT_EQ((std::vector<std::string>{"schedule Office hours", "vpn Head office", "service Mail",
                                        "service Web", "ip Office LAN"}),
              names);
}

TEST(FwpolicyRuleShow, SaysWhichRuleItCannotFind) {
    TempDir dir;
    const auto twice = dir.path() / "twice.xml";
    std::string text = ToString(ReadBytes(SourcePath(kExample)));
    // Two rules of one id (a Post rule taking the id of a User one).
    const std::string post = "<RuleId>2000000002</RuleId>";
    text.replace(text.find(post), post.size(), "<RuleId>300001</RuleId>");
    WriteBytes(twice, ToBytes(text));
    struct Row {
        std::vector<std::string> args;
        std::string err;
    };
    const Row rows[] = {
        {{"rule", "show", kExample, "--id", "4"},
         "fwpolicy: " + std::string(kExample) + ": no rule has id 4\n"},
        {{"rule", "show", kExample, "--section", "nat", "--index", "2"},
         "fwpolicy: " + std::string(kExample) + ": section nat has no rule at index 2 (2 rules)\n"},
        {{"rule", "show", twice.string(), "--id", "300001"},
         "fwpolicy: " + twice.string() +
             ": 2 rules have id 300001; name one with --section local --index 1 or the like\n"},
        {{"rule", "show", (dir.path() / "missing.xml").string(), "--id", "1"},
         "fwpolicy: " + (dir.path() / "missing.xml").string() +
             ": cannot read: No such file or directory\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args.back());
        const ToolResult result = RunFwpolicy(row.args);
        EXPECT_EQ(1, result.exitStatus);
        EXPECT_EQ(row.err, result.err);
        EXPECT_EQ("", result.out);
    }
    EXPECT_EQ(2, RunFwpolicy({"rule", "show", kExample, "--id", "1", "--index", "0"}).exitStatus);
}

}  // namespace
}  // namespace fwcommon::test
