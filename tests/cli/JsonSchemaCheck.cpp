#include "cli/JsonSchemaCheck.h"

#include <algorithm>
#include <set>

namespace fwcommon::test {
namespace {

const std::set<std::string> kUnderstood = {"$schema",     "$id",        "title",
                                           "description", "type",       "enum",
                                           "required",    "properties", "additionalProperties",
                                           "items",       "minimum",    "maximum",
                                           "$ref",        "$defs",      "anyOf"};

class Checker {
public:
    explicit Checker(const nlohmann::json& root) : root_(root) {}

    void Check(const nlohmann::json& schema, const nlohmann::json& value, const std::string& at) {
        for (const auto& [keyword, ignored] : schema.items()) {
            if (kUnderstood.count(keyword) == 0) {
                Fail(at, "schema keyword " + keyword + " is not understood");
            }
        }
        if (schema.contains("$ref")) {
            const std::string ref = schema["$ref"];
            const std::string prefix = "#/$defs/";
            if (ref.rfind(prefix, 0) != 0 || !root_.contains("$defs") ||
                !root_["$defs"].contains(ref.substr(prefix.size()))) {
                Fail(at, "unresolved $ref " + ref);
                return;
            }
            Check(root_["$defs"][ref.substr(prefix.size())], value, at);
        }
        if (schema.contains("anyOf") && !MatchesAny(schema["anyOf"], value)) {
            Fail(at, value.dump() + " matches none of the schemas of anyOf");
        }
        if (schema.contains("enum") && std::find(schema["enum"].begin(), schema["enum"].end(),
                                                 value) == schema["enum"].end()) {
            Fail(at, value.dump() + " is none of " + schema["enum"].dump());
        }
        if (schema.contains("type") && !HasType(schema["type"], value)) {
            Fail(at, value.dump() + " is not of type " + schema["type"].dump());
            return;
        }
        if (value.is_number()) {
            CheckBounds(schema, value, at);
        }
        if (value.is_object()) {
            CheckObject(schema, value, at);
        }
        if (value.is_array() && schema.contains("items")) {
            for (std::size_t i = 0; i < value.size(); ++i) {
                Check(schema["items"], value[i], at + "/" + std::to_string(i));
            }
        }
    }

    std::vector<std::string> violations;

private:
    bool MatchesAny(const nlohmann::json& alternatives, const nlohmann::json& value) {
        return std::any_of(alternatives.begin(), alternatives.end(),
                           [&](const nlohmann::json& alternative) {
                               Checker trial(root_);
                               trial.Check(alternative, value, "");
                               return trial.violations.empty();
                           });
    }

    static bool IsType(const std::string& type, const nlohmann::json& value) {
        return (type == "object" && value.is_object()) || (type == "array" && value.is_array()) ||
               (type == "string" && value.is_string()) ||
               (type == "integer" && value.is_number_integer()) ||
               (type == "boolean" && value.is_boolean()) || (type == "null" && value.is_null());
    }

    static bool HasType(const nlohmann::json& type, const nlohmann::json& value) {
        if (type.is_string()) {
            return IsType(type, value);
        }
        return std::any_of(type.begin(), type.end(),
                           [&](const nlohmann::json& t) { return IsType(t, value); });
    }

    void CheckBounds(const nlohmann::json& schema, const nlohmann::json& value,
                     const std::string& at) {
        if (schema.contains("minimum") && value < schema["minimum"]) {
            Fail(at, value.dump() + " is below " + schema["minimum"].dump());
        }
        if (schema.contains("maximum") && value > schema["maximum"]) {
            Fail(at, value.dump() + " is above " + schema["maximum"].dump());
        }
    }

    void CheckObject(const nlohmann::json& schema, const nlohmann::json& value,
                     const std::string& at) {
        for (const auto& name : schema.value("required", nlohmann::json::array())) {
            if (!value.contains(name)) {
                Fail(at, "required member " + name.dump() + " is missing");
            }
        }
        const nlohmann::json properties = schema.value("properties", nlohmann::json::object());
        for (const auto& [name, member] : value.items()) {
            if (properties.contains(name)) {
                Check(properties[name], member, at + "/" + name);
            } else if (schema.value("additionalProperties", true) == false) {
                Fail(at, "member " + name + " is not in the schema");
            }
        }
    }

    void Fail(const std::string& at, const std::string& what) {
        violations.push_back((at.empty() ? "/" : at) + ": " + what);
    }

    const nlohmann::json& root_;
};

}  // namespace

std::vector<std::string> SchemaViolations(const nlohmann::json& schema,
                                          const nlohmann::json& value) {
    Checker checker(schema);
    checker.Check(schema, value, "");
    return checker.violations;
}

}  // namespace fwcommon::test
