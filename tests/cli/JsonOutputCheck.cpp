#include "cli/JsonOutputCheck.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include <nlohmann/json.hpp>

#include "cli/JsonSchemaCheck.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

// Verbs whose second word names the read verb ("object show").
const std::set<std::string> kVerbGroups = {"object", "option", "rule"};

const nlohmann::json& SchemaOf(const std::string& file) {
    static std::map<std::string, nlohmann::json> loaded;
    auto found = loaded.find(file);
    if (found == loaded.end()) {
        std::ifstream in(SourcePath("docs/" + file));
        nlohmann::json schema;
        if (in)
            schema = nlohmann::json::parse(std::string(std::istreambuf_iterator<char>(in), {}));
        found = loaded.emplace(file, schema).first;
    }
    return found->second;
}

}  // namespace

std::string JsonSchemaFileOf(const std::vector<std::string>& arguments) {
    if (arguments.empty() ||
        std::find(arguments.begin(), arguments.end(), "--json") == arguments.end())
        return "";
    std::string verb = arguments[0];
    if (kVerbGroups.count(verb) != 0 && arguments.size() > 1)
        verb += "-" + arguments[1];
    return verb + ".schema.json";
}

std::vector<std::string> JsonOutputViolations(const std::vector<std::string>& arguments,
                                              const std::string& out) {
    const std::string file = JsonSchemaFileOf(arguments);
    if (file.empty() || out.empty())
        return {};
    const nlohmann::json& schema = SchemaOf(file);
    if (schema.is_null())
        return {"docs/" + file + " is missing: JSON output needs a schema"};
    nlohmann::json value;
    try {
        value = nlohmann::json::parse(out);
    } catch (const nlohmann::json::parse_error& e) {
        return {std::string("the output is no JSON: ") + e.what()};
    }
    std::vector<std::string> violations;
    for (const std::string& v : SchemaViolations(schema, value))
        violations.push_back(file + ": " + v);
    return violations;
}

}  // namespace fwcommon::test
