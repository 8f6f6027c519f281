// How fwpolicy answers a command line it cannot run: an unknown verb or
// option is named with the closest known one, usage errors name the verb
// and where its help is, and help and --version print on standard output.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/RunTool.h"

namespace fwcommon::test {
namespace {

constexpr int kExitUsage = 2;

struct UsageCase {
    std::vector<std::string> arguments;
    std::string message;
};

TEST(FwpolicyCommandLine, UsageErrorsSayWhatIsWrongAndSuggestTheClosestWord) {
    const std::vector<UsageCase> cases = {
        {{"shwo", "examples/policy.xml"},
         "fwpolicy: 'shwo' is not a fwpolicy verb; did you mean 'show'?\n"},
        {{"chekc"}, "fwpolicy: 'chekc' is not a fwpolicy verb; did you mean 'check'?\n"},
        {{"xyzzy"}, "fwpolicy: 'xyzzy' is not a fwpolicy verb\n"},
        {{"rule", "ad", "examples/policy.xml"},
         "fwpolicy: 'ad' is not a fwpolicy rule verb; did you mean 'add'?\n"},
        {{"-v", "rule", "mvoe"},
         "fwpolicy: 'mvoe' is not a fwpolicy rule verb; did you mean 'move'?\n"},
        {{"show", "examples/policy.xml", "--jsn"},
         "fwpolicy show: unknown option '--jsn'; did you mean '--json'?\n"},
        {{"show", "examples/policy.xml", "--sectoin=nat"},
         "fwpolicy show: unknown option '--sectoin'; did you mean '--section'?\n"},
        {{"--verbsoe", "check", "examples/policy.xml"},
         "fwpolicy: unknown option '--verbsoe'; did you mean '--verbose'?\n"},
        // A slip in the name of a required option is the error, not the
        // option it leaves missing.
        {{"rule", "add", "examples/policy.xml", "--sectoin", "local"},
         "fwpolicy rule add: unknown option '--sectoin'; did you mean '--section'?\n"},
        // Of two words as close, the one it begins.
        {{"object", "set", "examples/policy.xml", "--name", "Web", "--ad", "tcp/1"},
         "fwpolicy object set: unknown option '--ad'; did you mean '--add'?\n"},
        // With nothing close, where the options are listed.
        {{"object", "set", "examples/policy.xml", "--name", "Web", "--member", "tcp/1"},
         "fwpolicy object set: unknown option '--member' (see 'fwpolicy help object set')\n"},
        // The tool's own --version after a verb would skip the verb's work.
        {{"new", "new.xml", "--version", "1.0"},
         "fwpolicy new: --version is an option of fwpolicy itself, not of a verb: fwpolicy "
         "--version (see 'fwpolicy help new')\n"},
        {{"show", "examples/policy.xml", "extra.xml"},
         "fwpolicy show: unexpected argument 'extra.xml' (see 'fwpolicy help show')\n"},
        {{"show"}, "fwpolicy show: FILE is required (see 'fwpolicy help show')\n"},
        {{"rule", "add"}, "fwpolicy rule add: FILE is required (see 'fwpolicy help rule add')\n"},
        {{}, "fwpolicy: a verb is required (see 'fwpolicy help')\n"},
        {{"rule"}, "fwpolicy rule: a verb is required (see 'fwpolicy help rule')\n"},
        {{"rule", "move", "examples/policy.xml", "--id", "abc", "--by", "1"},
         "fwpolicy rule move: --id: 'abc' is not a number (see 'fwpolicy help rule move')\n"},
        {{"rule", "add", "examples/policy.xml", "--section", "local", "--name", "x",
          "--position=-x"},
         "fwpolicy rule add: --position: '-x' is not a number from 0 to 2147483647 (see "
         "'fwpolicy help rule add')\n"},
        {{"--color=blue", "show", "examples/policy.xml"},
         "fwpolicy show: --color: 'blue' is not one of auto, always, never (see 'fwpolicy help "
         "show')\n"},
        {{"check"}, "fwpolicy check: FILE is required (see 'fwpolicy help check')\n"},
        {{"lint"}, "fwpolicy lint: FILE is required (see 'fwpolicy help lint')\n"},
        {{"query"}, "fwpolicy query: FILE is required (see 'fwpolicy help query')\n"},
        {{"show", "examples/policy.xml", "--color=blue"},
         "fwpolicy show: --color: 'blue' is not one of auto, always, never (see 'fwpolicy help "
         "show')\n"},
        // Naming no rule or object is found before the (here missing) file is read.
        {{"rule", "disable", "missing.xml"},
         "fwpolicy rule disable: name the rule with --id ID or with --section S --index I (see "
         "'fwpolicy help rule disable')\n"},
        {{"rule", "show", "missing.xml", "--json"},
         "fwpolicy rule show: name the rule with --id ID or with --section S --index I (see "
         "'fwpolicy help rule show')\n"},
        {{"object", "rename", "missing.xml", "--to", "X"},
         "fwpolicy object rename: name the object with --name NAME or --id ID (see 'fwpolicy "
         "help object rename')\n"},
        {{"object", "remove", "missing.xml"},
         "fwpolicy object remove: name the object with --name NAME or --id ID (see 'fwpolicy "
         "help object remove')\n"},
        {{"help", "shwo"}, "fwpolicy: 'shwo' is not a fwpolicy verb; did you mean 'show'?\n"},
        {{"shw\x1b]0;owned\x07"}, "fwpolicy: 'shw\\x1b]0;owned\\x07' is not a fwpolicy verb\n"},
    };
    for (const UsageCase& c : cases) {
        const ToolResult r = RunFwpolicy(c.arguments);
        SCOPED_TRACE(c.message);
        EXPECT_EQ(kExitUsage, r.exitStatus);
        EXPECT_EQ(c.message, r.err);
        EXPECT_EQ("", r.out);
    }
}

TEST(FwpolicyCommandLine, VersionNamesToolLibraryAndSchema) {
    const ToolResult r = RunFwpolicy({"--version"});
    EXPECT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ(std::string("fwpolicy ") + FWCOMMON_VERSION + "\nfwcommon library " +
                  FWCOMMON_VERSION + "\npolicy schema 1.0\n",
              r.out);
}

// help VERB printed the help of the help verb itself.
TEST(FwpolicyCommandLine, HelpOfEveryVerbIsItsDashDashHelp) {
    const std::vector<std::vector<std::string>> verbs = {
        {},         {"check"},       {"show"},         {"objects"},          {"where-used"},
        {"unused"}, {"diff"},        {"merge"},        {"format"},           {"renumber"},
        {"rule"},   {"rule", "add"}, {"rule", "move"}, {"object", "remove"}, {"option", "set"}};
    for (const std::vector<std::string>& verb : verbs) {
        std::vector<std::string> help = {"help"};
        help.insert(help.end(), verb.begin(), verb.end());
        std::vector<std::string> dashDash = verb;
        dashDash.push_back("--help");
        const ToolResult byVerb = RunFwpolicy(help);
        const ToolResult byOption = RunFwpolicy(dashDash);
        SCOPED_TRACE(byOption.out);
        EXPECT_EQ(0, byVerb.exitStatus) << byVerb.err;
        EXPECT_EQ(0, byOption.exitStatus) << byOption.err;
        EXPECT_EQ(byOption.out, byVerb.out);
        std::string usage = "Usage: fwpolicy";
        for (const std::string& word : verb)
            usage += " " + word;
        EXPECT_NE(std::string::npos, byVerb.out.find(usage + " [OPTIONS]"));
    }
}

}  // namespace
}  // namespace fwcommon::test
