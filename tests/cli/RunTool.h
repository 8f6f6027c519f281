#pragma once

#include <string>
#include <vector>

namespace fwcommon::test {

struct ToolResult {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// Runs the built fwpolicy with the given arguments (no shell involved) from
// the source tree's root, and collects its exit status and both streams.
ToolResult RunFwpolicy(const std::vector<std::string>& arguments);

// As RunFwpolicy, with standard input reading the given bytes.
ToolResult RunFwpolicyWithInput(const std::vector<std::string>& arguments,
                                const std::string& input);

// The golden file tests/data/cli/<name> as text.
std::string Golden(const std::string& name);

}  // namespace fwcommon::test
