// Identities stay put: a first edit of the bundled example or of a
// generated policy renumbers nothing, so diff reports the one change made.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

fs::path GeneratedPolicy(const fs::path& dir, const std::string& arguments) {
    const fs::path file = dir / "generated.xml";
    const std::string command = "python3 " + SourcePath("bench/gen-policy").string() + " " +
                                arguments + " -o " + file.string() + " > /dev/null 2>&1";
    EXPECT_EQ(0, std::system(command.c_str())) << command;
    return file;
}

TEST(FwpolicyIdentities, AFirstEditOfTheExampleOrOfAGeneratedPolicyRenumbersNothing) {
    const TempDir dir;
    const fs::path example = dir.path() / "example.xml";
    fs::copy_file(SourcePath("examples/policy.xml"), example);
    const fs::path generated = GeneratedPolicy(dir.path(), "--rules 2000 --seed 4");
    for (const fs::path& file : {example, generated}) {
        SCOPED_TRACE(file.filename().string());
        const fs::path original = file.string() + ".orig";
        fs::copy_file(file, original);
        const ToolResult edit = RunFwpolicy({"rule", "disable", file.string(), "--section",
                                             "transit", "--index", "0", "--drop-comments"});
        ASSERT_EQ(0, edit.exitStatus) << edit.err;
        const ToolResult diff = RunFwpolicy({"diff", original.string(), file.string()});
        EXPECT_EQ(1, diff.exitStatus) << diff.err;
        EXPECT_EQ(1, std::count(diff.out.begin(), diff.out.end(), '\n')) << diff.out;
        EXPECT_EQ(0u, diff.out.rfind("rule changed: transit ", 0)) << diff.out;
    }
}

}  // namespace
}  // namespace fwcommon::test
