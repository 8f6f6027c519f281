// Edits that could widen a policy or lose part of it silently: removing a
// named object that rules still use, setting an option that carries
// attributes.

#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

std::string ServiceObject(const std::string& name, int id) {
    return "<ServiceObject><Name>" + name + "</Name><Id>" + std::to_string(id) +
           "</Id><CreationType>User</CreationType><Inclusion "
           "xsi:type=\"sv:ProtocolCondition\"><Protocol>6</Protocol></Inclusion></ServiceObject>";
}

// A transit rule whose source is the ip object of that Id.
std::string RuleFrom(long long ruleId, const std::string& name, int objectId) {
    return RuleElement("TransitRule", ruleId, ruleId, name, "User", "Pass",
                       "<Source xsi:type=\"sv:PublicNetwork\"><IpHostCondition "
                       "xsi:type=\"sv:IpObjectRef\"><Id>" +
                           std::to_string(objectId) + "</Id></IpHostCondition></Source>");
}

class WideningEdits : public ::testing::Test {
protected:
    fs::path Write(const std::string& name, const std::string& text) {
        const fs::path file = dir_.path() / name;
        WriteBytes(file, ToBytes(text));
        return file;
    }

    TempDir dir_;
};

// object remove took every reference out of the rules that used it and
// exited 0: "from Admins" became "from anywhere".
TEST_F(WideningEdits, RemovingAnObjectRulesUseIsRefusedUnlessForced) {
    const fs::path file = Write(
        "policy.xml", PolicyDocument(RuleFrom(300001, "Admins to the servers", 300101) +
                                         RuleFrom(300002, "Admins to the\nprinters", 300101),
                                     IpObjectElement("Admins", 300101, "User", "10.1.0.5") +
                                         IpObjectElement("Unused", 300102, "User", "10.1.0.6")));
    const std::vector<unsigned char> before = ReadBytes(file);
    // The rules are listed one a line under the refusal, and a name cannot
    // break its line.
    const std::string refusal =
        "named object \"Admins\" (ip 300101) is used by 2 rules, which "
        "removing it would widen; give --force to remove it anyway";
    const std::string rules =
        "  transit rule 300001 \"Admins to the servers\" at 0 (source)\n"
        "  transit rule 300002 \"Admins to the\\x0aprinters\" at 1 (source)\n";
    const ToolResult refused = RunFwpolicy({"object", "remove", file.string(), "--name", "Admins"});
    EXPECT_EQ(kExitFailure, refused.exitStatus);
    EXPECT_EQ("fwpolicy: " + file.string() + ": " + refusal + "\n" + rules, refused.err);
    const ToolResult script =
        RunFwpolicyWithInput({"apply", file.string()}, "object remove --name Admins\n");
    EXPECT_EQ(kExitFailure, script.exitStatus);
    EXPECT_EQ(
        "fwpolicy: " + file.string() + ": line 1: " + refusal + "; nothing was written\n" + rules,
        script.err);
    EXPECT_EQ(before, ReadBytes(file));

    const ToolResult unused = RunFwpolicy({"object", "remove", file.string(), "--name", "Unused"});
    EXPECT_EQ(0, unused.exitStatus) << unused.err;
    EXPECT_EQ("", unused.err);

    const ToolResult forced =
        RunFwpolicy({"object", "remove", file.string(), "--name", "Admins", "--force"});
    ASSERT_EQ(0, forced.exitStatus) << forced.err;
    // The note names the object: on its own line, apart from what the
    // edit printed, "it" would be no one.
    EXPECT_THAT(forced.err, HasSubstr("note: transit rule 300001 \"Admins to the servers\" at 0 no "
                                      "longer refers to ip object "));
    EXPECT_THAT(forced.err, HasSubstr(" \"Admins\" (source)"));
    EXPECT_THAT(forced.err,
                HasSubstr("note: transit rule 300002 \"Admins to the\\x0aprinters\" at 1"));
    const ToolResult objects = RunFwpolicy({"objects", file.string()});
    EXPECT_THAT(objects.out, Not(HasSubstr("Admins")));
}

// An ip object that includes one object and excludes another.
std::string IpGroup(const std::string& name, int id, int included, int excluded) {
    const auto ref = [](const char* list, int object) {
        return std::string("<") + list + " xsi:type=\"sv:IpObjectRef\"><Id>" +
               std::to_string(object) + "</Id></" + list + ">";
    };
    return "<IpObject><Name>" + name + "</Name><Id>" + std::to_string(id) +
           "</Id><CreationType>User</CreationType>" + ref("Inclusion", included) +
           ref("Exclusion", excluded) + "</IpObject>";
}

// Taking an object out of another's exclusions widens that object as
// surely as taking it out of its inclusions; an object that names only
// itself, or an object that does not exist, holds nothing back.
TEST_F(WideningEdits, AnObjectAnotherIncludesOrExcludesIsNotRemoved) {
    const fs::path file = Write(
        "groups.xml", PolicyDocument("", IpObjectElement("Office", 300101, "User", "10.1.0.0") +
                                             IpObjectElement("Guests", 300102, "User", "10.1.9.0") +
                                             IpGroup("Staff", 300103, 300101, 300102) +
                                             IpGroup("Loop", 300104, 300104, 300199)));
    const std::vector<unsigned char> before = ReadBytes(file);
    for (const char* name : {"Office", "Guests"}) {
        const ToolResult refused =
            RunFwpolicy({"object", "remove", file.string(), "--name", name, "--force"});
        EXPECT_EQ(kExitFailure, refused.exitStatus) << name;
        EXPECT_EQ("fwpolicy: " + file.string() + ": named object \"" + name +
                      "\" is part of ip object \"Staff\"; take it out of there first\n",
                  refused.err);
    }
    EXPECT_EQ(before, ReadBytes(file));
    const ToolResult loop = RunFwpolicy({"object", "remove", file.string(), "--name", "Loop"});
    EXPECT_EQ(0, loop.exitStatus) << loop.err;
    EXPECT_EQ(0, RunFwpolicy({"object", "remove", file.string(), "--name", "Staff"}).exitStatus);
    EXPECT_EQ(0, RunFwpolicy({"object", "remove", file.string(), "--name", "Guests"}).exitStatus);
}

// Objects of two kinds may share a name; --name alone cannot tell them
// apart and --id can.
TEST_F(WideningEdits, AnObjectIsChosenByIdWhereNamesRepeat) {
    const fs::path file =
        Write("policy.xml",
              PolicyDocument("", ServiceObject("Backup", 300401) +
                                     IpObjectElement("Backup", 300101, "User", "10.1.0.5")));
    const ToolResult ambiguous =
        RunFwpolicy({"object", "remove", file.string(), "--name", "Backup"});
    EXPECT_EQ(kExitFailure, ambiguous.exitStatus);
    EXPECT_THAT(ambiguous.err,
                HasSubstr("several named objects match \"Backup\" (ip 300101 \"Backup\", service "
                          "300401 \"Backup\"); choose one with --type or --id"));

    // Two ip objects of one Id: only their names tell them apart.
    const fs::path twins = Write(
        "twins.xml", PolicyDocument("", IpObjectElement("Servers", 300101, "User", "10.1.0.5") +
                                            IpObjectElement("Spare", 300101, "User", "10.1.0.6")));
    for (const char* verb : {"show", "remove"}) {
        const ToolResult twin = RunFwpolicy({"object", verb, twins.string(), "--id", "300101"});
        EXPECT_EQ(kExitFailure, twin.exitStatus);
        EXPECT_THAT(twin.err,
                    HasSubstr("several named objects match with id 300101 (ip 300101 "
                              "\"Servers\", ip 300101 \"Spare\"); choose one with --name"))
            << verb;
    }
    const ToolResult spare = RunFwpolicy({"object", "show", twins.string(), "--name", "Spare"});
    EXPECT_THAT(spare.out, HasSubstr("name:     Spare\n"));
    EXPECT_THAT(spare.out, HasSubstr("include:  10.1.0.6\n"));
    EXPECT_THAT(spare.out, Not(HasSubstr("10.1.0.5")));
    const ToolResult spareJson =
        RunFwpolicy({"object", "show", twins.string(), "--name", "Spare", "--json"});
    EXPECT_EQ(1u, nlohmann::json::parse(spareJson.out)["inclusions"].size()) << spareJson.out;

    const ToolResult byId = RunFwpolicy({"object", "remove", file.string(), "--id", "300401"});
    ASSERT_EQ(0, byId.exitStatus) << byId.err;
    const ToolResult objects = RunFwpolicy({"objects", file.string()});
    EXPECT_THAT(objects.out, HasSubstr("300101"));
    EXPECT_THAT(objects.out, Not(HasSubstr("300401")));

    const ToolResult missing = RunFwpolicy({"object", "remove", file.string(), "--id", "300401"});
    EXPECT_EQ(kExitFailure, missing.exitStatus);
    EXPECT_THAT(missing.err, HasSubstr("no named object with id 300401"));
    EXPECT_EQ(kExitUsage, RunFwpolicy({"object", "remove", file.string()}).exitStatus);
}

// The objects of a named-objects file are used by the rules of other
// files: removing one from it checks those rules too.
TEST_F(WideningEdits, RulesOfOtherFilesKeepAnObjectOfTheObjectsFile) {
    const fs::path objects =
        Write("objects.xml",
              PolicyDocument("", IpObjectElement("Admins", 300101, "User", "10.1.0.5") +
                                     IpObjectElement("Printers", 300102, "User", "10.1.0.9")));
    const fs::path users =
        Write("users.xml", PolicyDocument(RuleFrom(300001, "Admins in", 300101)));
    // This file's reference to 300102 means its own object of that Id.
    const fs::path own =
        Write("own.xml", PolicyDocument(RuleFrom(300001, "Own printers", 300102),
                                        IpObjectElement("Mine", 300102, "User", "10.9.9.9")));
    const std::vector<unsigned char> before = ReadBytes(objects);

    const ToolResult refused = RunFwpolicy({"object", "remove", users.string(), own.string(),
                                            "--objects", objects.string(), "--name", "Admins"});
    EXPECT_EQ(kExitFailure, refused.exitStatus);
    EXPECT_THAT(refused.err,
                HasSubstr(users.string() + ": transit rule 300001 \"Admins in\" at 0 (source)"));
    EXPECT_EQ(before, ReadBytes(objects));

    const ToolResult printers = RunFwpolicy({"object", "remove", users.string(), own.string(),
                                             "--objects", objects.string(), "--name", "Printers"});
    EXPECT_EQ(0, printers.exitStatus) << printers.err;

    const ToolResult forced = RunFwpolicy({"object", "remove", users.string(), "--objects",
                                           objects.string(), "--name", "Admins", "--force"});
    ASSERT_EQ(0, forced.exitStatus) << forced.err;
    EXPECT_THAT(forced.err,
                HasSubstr("warning: " + users.string() +
                          ": transit rule 300001 \"Admins in\" at 0 (source) still refers to ip "
                          "object "));
    EXPECT_THAT(RunFwpolicy({"objects", objects.string()}).out, Not(HasSubstr("Admins")));

    const ToolResult twoFiles =
        RunFwpolicy({"object", "remove", users.string(), own.string(), "--name", "Mine"});
    EXPECT_EQ(kExitUsage, twoFiles.exitStatus);
    EXPECT_THAT(twoFiles.err, HasSubstr("--objects"));
}

const char* const kOptions =
    "<Option TargetApplication=\"monitor\" Reserved=\"r1\"><Name>LogLevel</Name><Value>2</Value>"
    "<CreationType>Policy</CreationType></Option>"
    "<Option TargetPlatform=\"linux-x86_64\"><Name>DefaultAction</Name><Value>Drop</Value>"
    "<CreationType>User</CreationType></Option>"
    "<Option><Name>Audit</Name><Value>off</Value><CreationType>User</CreationType></Option>";

// option set wrote the option anew at the end of the list, without the
// attributes that say which application and platform it is for; diff did
// not say so when the value changed too.
TEST_F(WideningEdits, SettingAnOptionKeepsItsAttributesAndItsPlace) {
    const fs::path file = Write("policy.xml", PolicyDocument("", "", kOptions));
    const fs::path before = Write("before.xml", PolicyDocument("", "", kOptions));
    const ToolResult set = RunFwpolicy({"option", "set", file.string(), "LogLevel", "3"});
    ASSERT_EQ(0, set.exitStatus) << set.err;
    const ToolResult list = RunFwpolicy({"option", "list", file.string(), "--json"});
    EXPECT_EQ(nlohmann::json::parse(R"([
                  {"attributes": {"Reserved": "r1", "TargetApplication": "monitor"},
                   "creationType": "policy", "name": "LogLevel", "value": "3"},
                  {"attributes": {"TargetPlatform": "linux-x86_64"},
                   "creationType": "user", "name": "DefaultAction", "value": "Drop"},
                  {"attributes": {}, "creationType": "user", "name": "Audit", "value": "off"}])"),
              nlohmann::json::parse(list.out));
    EXPECT_EQ("option changed: \"LogLevel\" (policy)\n  value: \"2\" \u2192 \"3\"\n",
              RunFwpolicy({"diff", before.string(), file.string()}).out);

    // The same through a script, which sets the option twice and another
    // once: each keeps the place and attributes it had in the file.
    const ToolResult script = RunFwpolicyWithInput(
        {"apply", file.string()},
        "option set DefaultAction Pass\noption set LogLevel 4\noption set LogLevel 5\n");
    ASSERT_EQ(0, script.exitStatus) << script.err;
    EXPECT_EQ(
        "option changed: \"LogLevel\" (policy)\n  value: \"2\" \u2192 \"5\"\n"
        "option changed: \"DefaultAction\" (user)\n  value: \"Drop\" \u2192 \"Pass\"\n",
        RunFwpolicy({"diff", before.string(), file.string()}).out);
    const ToolResult names = RunFwpolicy({"option", "list", file.string()});
    EXPECT_LT(names.out.find("LogLevel"), names.out.find("DefaultAction"));
    EXPECT_LT(names.out.find("DefaultAction"), names.out.find("Audit"));
}

// diff compared option values only: an option that lost its attributes
// and changed its value was reported as a value change alone.
TEST_F(WideningEdits, DiffReportsEachChangedAttributeOfAnOption) {
    std::string changed = kOptions;
    changed.replace(changed.find(" Reserved=\"r1\""), std::string(" Reserved=\"r1\"").size(), "");
    changed.replace(changed.find("monitor"), std::string("monitor").size(), "agent");
    changed.replace(changed.find("<Value>2</Value>"), std::string("<Value>2</Value>").size(),
                    "<Value>3</Value>");
    changed.replace(changed.find("<Option><Name>Audit"), std::string("<Option>").size(),
                    "<Option TargetPlatform=\"arm64\">");
    const fs::path a = Write("a.xml", PolicyDocument("", "", kOptions));
    const fs::path b = Write("b.xml", PolicyDocument("", "", changed));
    const ToolResult diff = RunFwpolicy({"diff", a.string(), b.string()});
    EXPECT_EQ(1, diff.exitStatus) << diff.err;
    EXPECT_EQ(
        "option changed: \"LogLevel\" (policy)\n  value: \"2\" \u2192 \"3\"\n"
        "  TargetApplication: monitor \u2192 agent\n  Reserved: r1 \u2192 (none)\n"
        "option changed: \"Audit\" (user)\n  TargetPlatform: (none) \u2192 arm64\n",
        diff.out);
}

}  // namespace
}  // namespace fwcommon::test
