#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace fwcommon::test {

// Checks value against a JSON schema that uses only type, enum, required,
// properties, additionalProperties (false), items, minimum, maximum, anyOf
// and local "$ref"s to "#/$defs/NAME". Returns one line per violation, each
// naming the path of the value ("/files/0/sections/1/deciding"); a schema
// keyword outside that subset is reported too, so that the check never
// passes by ignoring what it does not understand.
std::vector<std::string> SchemaViolations(const nlohmann::json& schema,
                                          const nlohmann::json& value);

}  // namespace fwcommon::test
