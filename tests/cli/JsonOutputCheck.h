#pragma once

#include <string>
#include <vector>

namespace fwcommon::test {

// The schema file under docs/ that describes the JSON a command line
// prints ("show" -> "show.schema.json", "object show" ->
// "object-show.schema.json"); empty when the arguments ask for no JSON.
std::string JsonSchemaFileOf(const std::vector<std::string>& arguments);

// Every way the standard output of a run with these arguments breaks the
// schema its verb documents: output that is no JSON, each violation of the
// schema, a verb that documents no schema. Empty output (a run that failed
// before printing) is not checked.
std::vector<std::string> JsonOutputViolations(const std::vector<std::string>& arguments,
                                              const std::string& out);

}  // namespace fwcommon::test
