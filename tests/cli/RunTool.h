#pragma once

#include <sys/types.h>

#include <cstdlib>
#include <functional>
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

// The command line of the built fwpolicy with the given arguments, as
// execv takes it. Build it before fork: the child only reads it.
class ToolCommandLine {
public:
    explicit ToolCommandLine(const std::vector<std::string>& arguments);
    ToolCommandLine(const ToolCommandLine&) = delete;
    ToolCommandLine& operator=(const ToolCommandLine&) = delete;

    char* const* argv() { return argv_.data(); }

private:
    std::vector<std::string> words_;
    std::vector<char*> argv_;
};

// Starts the built fwpolicy in the current directory and returns its
// process id without waiting. The child runs prepareChild (descriptors,
// signal dispositions) just before it executes the tool; the caller reaps it.
pid_t StartFwpolicy(const std::vector<std::string>& arguments,
                    const std::function<void()>& prepareChild);

// Sets FWPOLICY_FAIL_AT, which makes that step of replacing a file fail,
// for the tool runs (and file replacements) within the object's lifetime.
class FailAt {
public:
    explicit FailAt(const char* step) { ::setenv("FWPOLICY_FAIL_AT", step, 1); }
    ~FailAt() { ::unsetenv("FWPOLICY_FAIL_AT"); }
    FailAt(const FailAt&) = delete;
    FailAt& operator=(const FailAt&) = delete;
};

// The golden file tests/data/cli/<name> as text, to compare actual with.
// With FWCOMMON_REGENERATE_GOLDEN=1 in the environment, actual is first
// written to that file in the source tree, so that a run of the tests
// regenerates every golden file it compares (review the diff before
// committing it).
std::string Golden(const std::string& name, const std::string& actual);

}  // namespace fwcommon::test
