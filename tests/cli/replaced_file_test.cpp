// What an edit keeps of the file it replaces besides mode, owner and
// group: its extended attributes (ACLs, labels, user attributes), and no
// group gains access that it did not have.

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kRoot = 0;
constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;
constexpr gid_t kDaemonGroup = 1;  // a group nobody is not in

std::vector<std::string> AddRule(const fs::path& file, const std::string& name) {
    return {"rule", "add", file.string(), "--section", "local", "--name", name, "--action", "drop"};
}

std::string Attribute(const fs::path& file, const char* name) {
    char value[256];
    const ssize_t size = ::getxattr(file.c_str(), name, value, sizeof value);
    return size < 0 ? std::string("(none)") : std::string(value, static_cast<std::size_t>(size));
}

// An edit renamed a new file over the old one and every extended attribute
// of the old one was gone.
TEST(FwpolicyReplacedFile, ExtendedAttributesAreKept) {
    const TempDir dir;
    const fs::path file = GeneratedPolicy(dir.path(), "policy.xml", "--rules 20 --seed 2");
    const std::string note = "approved by the change board";
    if (::setxattr(file.c_str(), "user.comment", note.data(), note.size(), 0) != 0)
        GTEST_SKIP() << "the file system of " << dir.path()
                     << " keeps no user extended attributes: " << std::strerror(errno);
    ASSERT_EQ(0, ::setxattr(file.c_str(), "user.empty", "", 0, 0));
    const ToolResult result = RunFwpolicy(AddRule(file, "Kept attributes"));
    ASSERT_EQ(0, result.exitStatus) << result.err;
    EXPECT_EQ(note, Attribute(file, "user.comment"));
    EXPECT_EQ("", Attribute(file, "user.empty"));
    EXPECT_EQ(std::vector<std::string>{"policy.xml"}, DirectoryEntries(dir.path()));
}

// A user who may write a file of a group he is not in cannot give the new
// file that group: the new file had his own group with the old file's
// group bits, opening it to every member of his group.
TEST(FwpolicyReplacedFile, AnEditByAnotherUserNeverWidensTheGroupsAccess) {
    if (::geteuid() != kRoot)
        GTEST_SKIP() << "making a file of a group its editor is not in needs root";
    if (std::system("command -v setpriv > /dev/null") != 0)
        GTEST_SKIP() << "setpriv (util-linux) runs the edit as another user";
    const TempDir dir;
    ASSERT_EQ(0, ::chmod(dir.path().c_str(), 0777));
    const fs::path file = GeneratedPolicy(dir.path(), "policy.xml", "--rules 20 --seed 2");
    ASSERT_EQ(0, ::chown(file.c_str(), kNobody, kDaemonGroup));
    ASSERT_EQ(0, ::chmod(file.c_str(), 0660));

    std::string command = "setpriv --reuid=" + std::to_string(kNobody) +
                          " --regid=" + std::to_string(kNoGroup) + " --clear-groups";
    // A build tree under a private folder (mktemp -d) is out of that user's reach.
    const std::string runnable = command + " '" + FWPOLICY_PATH + "' --version > /dev/null 2>&1";
    if (std::system(runnable.c_str()) != 0)
        GTEST_SKIP() << "user " << kNobody << " cannot run " << FWPOLICY_PATH;
    for (const std::string& word :
         std::vector<std::string>{FWPOLICY_PATH, "rule", "add", file.string(), "--section", "local",
                                  "--name", "By nobody", "--action", "drop"})
        command += " '" + word + "'";
    ASSERT_EQ(0, std::system((command + " 2> /dev/null").c_str())) << command;

    struct stat status {};
    ASSERT_EQ(0, ::stat(file.c_str(), &status));
    EXPECT_EQ(kNobody, status.st_uid);
    if (status.st_gid != kDaemonGroup) {
        EXPECT_EQ(0u, status.st_mode & S_IRWXG) << "another group got the old group's access";
    }
    EXPECT_EQ(static_cast<mode_t>(S_IRUSR | S_IWUSR), status.st_mode & S_IRWXU);
}

}  // namespace
}  // namespace fwcommon::test
