#include "cli/RunTool.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "cli/JsonOutputCheck.h"
#include "common/TestFiles.h"

extern char** environ;

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
    return ToString(ReadBytes(path));
}

// The source trees the tests name their inputs in.
const char* const kInputTrees[] = {"examples", "tests/data"};

const fs::path& ToolDirectory() {
    static const TempDir dir;
    static const bool copied = [] {
        for (const char* tree : kInputTrees) {
            fs::create_directories(dir.path() / tree);
            fs::copy(SourcePath(tree), dir.path() / tree, fs::copy_options::recursive);
        }
        return true;
    }();
    (void)copied;
    return dir.path();
}

bool RegeneratingGolden() {
    const char* value = std::getenv("FWCOMMON_REGENERATE_GOLDEN");
    return value != nullptr && std::string(value) == "1";
}

}  // namespace

ToolCommandLine::ToolCommandLine(const std::vector<std::string>& arguments)
    : words_{FWPOLICY_PATH} {
    words_.insert(words_.end(), arguments.begin(), arguments.end());
    for (std::string& word : words_)
        argv_.push_back(word.data());
    argv_.push_back(nullptr);
}

pid_t StartFwpolicy(const std::vector<std::string>& arguments,
                    const std::function<void()>& prepareChild) {
    ToolCommandLine command(arguments);
    const pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        prepareChild();
        ::execv(FWPOLICY_PATH, command.argv());
        ::_exit(127);
    }
    return pid;
}

ToolResult RunFwpolicy(const std::vector<std::string>& arguments) {
    return RunFwpolicyWithInput(arguments, "");
}

ToolResult RunFwpolicyWithInput(const std::vector<std::string>& arguments,
                                const std::string& input) {
    TempDir dir;
    const std::string inPath = (dir.path() / "in").string();
    WriteBytes(inPath, ToBytes(input));
    const std::string outPath = (dir.path() / "out").string();
    const std::string errPath = (dir.path() / "err").string();

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT, 0600);
    const std::string workingDirectory = ToolDirectory().string();
    posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());

    ToolCommandLine command(arguments);
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, FWPOLICY_PATH, &actions, nullptr, command.argv(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        throw std::runtime_error("cannot start fwpolicy");
    }
    int status = 0;
    waitpid(pid, &status, 0);

    ToolResult result;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadText(outPath);
    result.err = ReadText(errPath);
    // Whatever JSON a test makes the tool print is held to its schema.
    for (const std::string& violation : JsonOutputViolations(arguments, result.out))
        ADD_FAILURE() << violation;
    return result;
}

std::string Golden(const std::string& name, const std::string& actual) {
    const fs::path path = SourcePath("tests/data/cli/" + name);
    if (RegeneratingGolden()) {
        WriteBytes(path, ToBytes(actual));
    }
    return ReadText(path);
}

}  // namespace fwcommon::test
