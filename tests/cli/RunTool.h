#pragma once

#include <string>
#include <vector>

namespace fwcommon::test {

struct ToolResult {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// Runs the built fwpolicy with the given arguments (no shell involved) and
// collects its exit status and both streams. The tool runs in a temporary
// directory that holds a copy of the source tree's examples/ and
// tests/data/, made once per test process: inputs are named as from the
// source tree's root, and nothing the tool writes by a relative name lands
// in the source tree.
ToolResult RunFwpolicy(const std::vector<std::string>& arguments);

// As RunFwpolicy, with standard input reading the given bytes.
ToolResult RunFwpolicyWithInput(const std::vector<std::string>& arguments,
                                const std::string& input);

// The golden file tests/data/cli/<name> as text, to compare actual with.
// With FWCOMMON_REGENERATE_GOLDEN=1 in the environment, actual is first
// written to that file in the source tree, so that a run of the tests
// regenerates every golden file it compares (review the diff before
// committing it).
std::string Golden(const std::string& name, const std::string& actual);

}  // namespace fwcommon::test
