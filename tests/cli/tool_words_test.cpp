// What the tool prints names things by its own words: no element, enum or
// member names of the library in any output or message of a read verb, on
// any policy of the test data.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

// Names a reader of the output should never meet, creation types as the
// document spells them among them.
const char* const kLibraryNames[] = {
    "eLocalRules", "eVPNRules",       "eTransitRules", "eTunnelRules",    "eNATRules",
    "IpObject",    "InterfaceObject", "VpnObject",     "ServiceObject",   "ScheduleObject",
    "_optional",   "Sarvo",           "IsActive",      "FilteringAction", "mismatch",
    " Generated",  " Policy",         " User",         " Post",           "(Generated",
    "(Policy",     "(User",           "(Post",
};

std::vector<std::string> TestPolicies() {
    std::vector<std::string> files = {"examples/policy.xml"};
    for (const char* dir : {"tests/data", "tests/data/cli"}) {
        for (const auto& entry : fs::directory_iterator(SourcePath(dir))) {
            if (entry.path().extension() == ".xml")
                files.push_back(std::string(dir) + "/" + entry.path().filename().string());
        }
    }
    return files;
}

TEST(FwpolicyWords, NoLibraryNameInAnyOutputOfTheReadVerbs) {
    const std::vector<std::vector<std::string>> verbs = {
        {"check"}, {"show"}, {"objects"}, {"lint"}, {"unused"}, {"option", "list"}, {"version"}};
    const std::vector<std::string> files = TestPolicies();
    ASSERT_GT(files.size(), 5u);
    for (const std::string& file : files) {
        std::vector<std::vector<std::string>> runs;
        for (std::vector<std::string> verb : verbs) {
            verb.push_back(file);
            runs.push_back(verb);
        }
        runs.push_back({"where-used", file, "--object", "Web"});
        runs.push_back({"rule", "show", file, "--section", "local", "--index", "0"});
        runs.push_back({"diff", "examples/policy.xml", file});
        runs.push_back({"query", file, "--from", "192.168.10.5", "--to", "198.51.100.7",
                        "--service", "tcp/443", "--all", "--explain"});
        for (const auto& run : runs) {
            const ToolResult r = RunFwpolicy(run);
            for (const char* name : kLibraryNames) {
                EXPECT_EQ(std::string::npos, r.out.find(name))
                    << run[0] << " " << file << " prints " << name << ":\n"
                    << r.out;
                EXPECT_EQ(std::string::npos, r.err.find(name))
                    << run[0] << " " << file << " says " << name << ":\n"
                    << r.err;
            }
        }
    }
}

}  // namespace
}  // namespace fwcommon::test
