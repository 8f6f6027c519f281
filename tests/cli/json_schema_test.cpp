// The JSON the tool prints is structure a program can use, and every JSON
// output of the tests is held to the schema under docs/ (RunTool checks
// it); the checker of those schemas refuses what they do not allow.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/JsonOutputCheck.h"
#include "cli/JsonSchemaCheck.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

const nlohmann::json kSchema = nlohmann::json::parse(R"({
  "type": "object",
  "required": ["name", "items"],
  "additionalProperties": false,
  "properties": {
    "name": { "type": "string" },
    "mode": { "enum": ["a", "b"] },
    "size": { "type": ["integer", "null"], "minimum": 0, "maximum": 9 },
    "items": { "type": "array", "items": { "$ref": "#/$defs/item" } },
    "either": { "anyOf": [{ "type": "boolean" }, { "$ref": "#/$defs/item" }] }
  },
  "$defs": {
    "item": {
      "type": "object",
      "required": ["id"],
      "additionalProperties": false,
      "properties": { "id": { "type": "integer" } }
    }
  }
})");

TEST(JsonSchemaCheck, RefusesEachKindOfViolationAtItsPath) {
    struct Case {
        std::string document;
        std::string violation;  // "" when the document follows the schema
    };
    const std::vector<Case> cases = {
        {R"({"name": "x", "items": [{"id": 1}], "mode": "a", "size": null, "either": true})", ""},
        {R"({"name": "x", "items": [], "either": {"id": 2}})", ""},
        {R"({"name": 1, "items": []})", "/name: 1 is not of type \"string\""},
        {R"({"items": []})", "/: required member \"name\" is missing"},
        {R"({"name": "x", "items": [], "extra": 0})", "/: member extra is not in the schema"},
        {R"({"name": "x", "items": [], "mode": "c"})", "/mode: \"c\" is none of [\"a\",\"b\"]"},
        {R"({"name": "x", "items": [], "size": 10})", "/size: 10 is above 9"},
        {R"({"name": "x", "items": [], "size": -1})", "/size: -1 is below 0"},
        {R"({"name": "x", "items": [{"id": 1}, {"id": "2"}]})",
         "/items/1/id: \"2\" is not of type \"integer\""},
        {R"({"name": "x", "items": [{}]})", "/items/0: required member \"id\" is missing"},
        {R"({"name": "x", "items": [], "either": {"id": 1, "more": 2}})",
         "/either: {\"id\":1,\"more\":2} matches none of the schemas of anyOf"},
        {R"({"name": "x", "items": {}})", "/items: {} is not of type \"array\""},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> violations =
            SchemaViolations(kSchema, nlohmann::json::parse(c.document));
        if (c.violation.empty()) {
            EXPECT_TRUE(violations.empty()) << c.document << ": " << violations.front();
        } else {
            ASSERT_EQ(1u, violations.size()) << c.document;
            EXPECT_EQ(c.violation, violations.front());
        }
    }
}

TEST(JsonSchemaCheck, KeywordsAndReferencesItCannotFollowAreViolations) {
    const auto unknown = nlohmann::json::parse(R"({"type": "string", "pattern": "^a"})");
    EXPECT_EQ(std::vector<std::string>{"/: schema keyword pattern is not understood"},
              SchemaViolations(unknown, "abc"));
    const auto dangling = nlohmann::json::parse(R"({"$ref": "#/$defs/none"})");
    EXPECT_EQ(std::vector<std::string>{"/: unresolved $ref #/$defs/none"},
              SchemaViolations(dangling, 1));
}

TEST(JsonOutputCheck, EachReadVerbIsHeldToItsOwnSchema) {
    EXPECT_EQ("show.schema.json", JsonSchemaFileOf({"show", "f.xml", "--json"}));
    EXPECT_EQ("object-show.schema.json", JsonSchemaFileOf({"object", "show", "--json"}));
    EXPECT_EQ("option-list.schema.json", JsonSchemaFileOf({"option", "list", "f", "--json"}));
    EXPECT_EQ("", JsonSchemaFileOf({"show", "f.xml"}));
    EXPECT_EQ(
        std::vector<std::string>{"the output is no JSON: "},
        std::vector<std::string>{
            JsonOutputViolations({"show", "f", "--json"}, "show rules").front().substr(0, 23)});
    EXPECT_TRUE(JsonOutputViolations({"show", "f", "--json"}, "").empty())
        << "a run that failed before printing";
    EXPECT_EQ(
        std::vector<std::string>{"docs/frob.schema.json is missing: JSON output needs a schema"},
        JsonOutputViolations({"frob", "f", "--json"}, "{}"));
    const std::vector<std::string> wrong =
        JsonOutputViolations({"show", "f", "--json"}, R"({"local": [{"position": -1}]})");
    EXPECT_FALSE(wrong.empty());
    EXPECT_EQ(0u, wrong.front().find("show.schema.json: /local/0: required member"))
        << wrong.front();
}

TEST(JsonOutputCheck, EveryReadVerbPrintsJsonWithASchema) {
    const std::vector<std::vector<std::string>> verbs = {
        {"check"},          {"show"}, {"objects"}, {"object", "show"}, {"where-used"},  {"unused"},
        {"option", "list"}, {"lint"}, {"query"},   {"diff"},           {"rule", "show"}};
    for (std::vector<std::string> verb : verbs) {
        std::vector<std::string> help = {"help"};
        help.insert(help.end(), verb.begin(), verb.end());
        EXPECT_NE(std::string::npos, RunFwpolicy(help).out.find("--json")) << verb.front();
        verb.push_back("--json");
        const std::string schema = JsonSchemaFileOf(verb);
        EXPECT_TRUE(std::filesystem::exists(SourcePath("docs/" + schema))) << schema;
    }
}

}  // namespace
}  // namespace fwcommon::test
