// fwpolicy objects, where-used and unused on the example policies.

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/PolicyText.h"
#include "cli/RunTool.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

// The command fails (status 1) with exactly one message about the file.
void ExpectRefused(const std::vector<std::string>& args, const std::string& file,
                   const std::string& message) {
    const ToolResult r = RunFwpolicy(args);
    EXPECT_EQ(1, r.exitStatus) << message;
    EXPECT_EQ("fwpolicy: " + file + ": " + message + "\n", r.err);
}

// --type keeps the kinds it names, each as the whole listing gives it.
TEST(FwpolicyObjects, TypeKeepsTheKindsItNames) {
    const ToolResult r =
        RunFwpolicy({"objects", "examples/policy.xml", "--type", "ip", "--type", "vpn", "--json"});
    ASSERT_EQ(0, r.exitStatus) << r.err;
    const auto all =
        nlohmann::json::parse(RunFwpolicy({"objects", "examples/policy.xml", "--json"}).out);
    EXPECT_EQ((nlohmann::json{{"ip", all.at("ip")}, {"vpn", all.at("vpn")}}),
              nlohmann::json::parse(r.out));
    EXPECT_EQ(2, RunFwpolicy({"objects", "examples/policy.xml", "--type", "host"}).exitStatus);
}

// Piped, nothing is cut; one object of forty addresses keeps its whole
// list without pushing every other line's EXCLUDES forty addresses right.
TEST(FwpolicyObjects, ALongMemberListDoesNotWidenTheOtherLines) {
    std::string many;
    std::string listed;
    for (int i = 1; i <= 40; ++i) {
        const std::string address = "10.9.0." + std::to_string(i);
        many += "<Inclusion xsi:type=\"sv:IpAddress\"><Value>" + address + "</Value></Inclusion>";
        listed += (i > 1 ? "; " : "") + address;
    }
    const std::string objects =
        "<IpObject><Name>Many</Name><Id>101</Id><CreationType>Policy</CreationType>" + many +
        "</IpObject><IpObject><Name>Few</Name><Id>102</Id><CreationType>Policy</CreationType>"
        "<Inclusion xsi:type=\"sv:IpAddress\"><Value>10.1.0.1</Value></Inclusion><Exclusion "
        "xsi:type=\"sv:IpAddress\"><Value>10.1.0.2</Value></Exclusion></IpObject>";
    const TempDir dir;
    const std::string file = WrittenFile(dir.path(), "p.xml", PolicyDocument("", objects));
    const ToolResult r = RunFwpolicy({"objects", file, "--type", "ip"});
    ASSERT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ(
        "ip objects (2)\n"
        "  ID   NAME  CREATION  RULES  INCLUDES  EXCLUDES\n"
        "  101  Many  policy    0      " +
            listed +
            "  -\n"
            "  102  Few   policy    0      10.1.0.1  10.1.0.2\n",
        r.out);
}

// show writes a reference as @Name or @"Name with blanks"; given back as
// an object's name, it names that object, unless an object is literally
// called so.
TEST(FwpolicyWhereUsed, AnObjectIsNamedAsShowWritesItsReferences) {
    const std::string plain =
        RunFwpolicy({"where-used", "examples/policy.xml", "--object", "Head office"}).out;
    for (const char* given : {"@\"Head office\"", "@Head office"}) {
        const ToolResult r = RunFwpolicy({"where-used", "examples/policy.xml", "--object", given});
        EXPECT_EQ(0, r.exitStatus) << given << ": " << r.err;
        EXPECT_EQ(plain, r.out) << given;
    }
    const ToolResult shown =
        RunFwpolicy({"object", "show", "examples/policy.xml", "--name", "@\"Office LAN\""});
    EXPECT_EQ(0, shown.exitStatus) << shown.err;
    EXPECT_NE(std::string::npos, shown.out.find("Office LAN")) << shown.out;

    const TempDir dir;
    const std::string file = (dir.path() / "at.xml").string();
    ASSERT_EQ(0, RunFwpolicy({"new", file, "-q"}).exitStatus);
    for (const char* name : {"@Lab", "Lab"}) {
        ASSERT_EQ(0, RunFwpolicy({"object", "add", file, "--type", "ip", "--name", name, "--member",
                                  "10.0.0.1", "-q"})
                         .exitStatus);
    }
    const ToolResult literal = RunFwpolicy({"object", "show", file, "--name", "@Lab", "--json"});
    EXPECT_NE(std::string::npos, literal.out.find("\"name\": \"@Lab\"")) << literal.out;
}

TEST(FwpolicyUnused, AnExclusionCountsAsAReference) {
    const ToolResult r = RunFwpolicy({"unused", "tests/data/cli/chain.xml"});
    EXPECT_EQ(0, r.exitStatus) << r.err;
    EXPECT_EQ("tests/data/cli/chain.xml: ip 3 Top\ntests/data/cli/chain.xml: service 1 Base\n",
              r.out);
}

TEST(FwpolicyUnused, UnloadableFileFailsButOthersAreStillListed) {
    const ToolResult r = RunFwpolicy({"unused", "examples/policy.xml", "no/such.xml"});
    EXPECT_EQ(1, r.exitStatus);
    EXPECT_NE(std::string::npos, r.out.find("examples/policy.xml: vpn 300302 Remote staff\n"));
    EXPECT_EQ("fwpolicy: no/such.xml: cannot read: No such file or directory\n", r.err);
}

// Two nodes' files that both number an object 101: each file's rule refers
// to its own object, never to the other file's; the named-objects file is
// reached only through --objects.
TEST(FwpolicyWhereUsed, EachFileResolvesItsReferencesWithinItselfAndItsObjectsFile) {
    const TempDir dir;
    const auto servers = [](int id, const std::string& address) {
        return IpObjectElement("Servers", id, "Policy", address);
    };
    const std::string a = WrittenFile(dir.path(), "a.xml",
                                      PolicyDocument(RuleToObject(101), servers(101, "10.1.0.5")));
    const std::string b = WrittenFile(dir.path(), "b.xml",
                                      PolicyDocument(RuleToObject(202), servers(101, "10.2.0.5")));
    const std::string shared =
        WrittenFile(dir.path(), "objects.xml", PolicyDocument("", servers(202, "10.3.0.5")));

    const ToolResult whereUsed =
        RunFwpolicy({"where-used", a, b, "--objects", shared, "--object", "Servers", "--json"});
    ASSERT_EQ(0, whereUsed.exitStatus) << whereUsed.err;
    std::vector<std::string> users;
    const auto json = nlohmann::json::parse(whereUsed.out);
    for (const auto& object : json.at("objects")) {
        std::string line = object.at("file").get<std::string>() + " " +
                           std::to_string(object.at("id").get<int>()) + ":";
        for (const auto& rule : object.at("rules"))
            line += " " + rule.at("file").get<std::string>();
        users.push_back(line);
    }
    EXPECT_EQ((std::vector<std::string>{a + " 101: " + a, b + " 101:", shared + " 202: " + b}),
              users)
        << whereUsed.out;

    const ToolResult unused = RunFwpolicy({"unused", a, b, "--objects", shared});
    EXPECT_EQ(0, unused.exitStatus) << unused.err;
    EXPECT_EQ(b + ": ip 101 Servers\n", unused.out);
    const ToolResult withoutObjects = RunFwpolicy({"unused", a, b, shared});
    EXPECT_EQ(b + ": ip 101 Servers\n" + shared + ": ip 202 Servers\n", withoutObjects.out)
        << "a rules file's references do not reach another file given beside it";
}

TEST(FwpolicyWhereUsed, AnUnknownObjectOrAFileNotReadFailsInTextAndJson) {
    const ToolResult r = RunFwpolicy({"where-used", "examples/policy.xml", "--object", "Nobody"});
    EXPECT_EQ(1, r.exitStatus);
    EXPECT_EQ("fwpolicy: no named object \"Nobody\" in the files given\n", r.err);
    const ToolResult none =
        RunFwpolicy({"where-used", "examples/policy.xml", "--object", "Nobody", "--json"});
    EXPECT_EQ(1, none.exitStatus);
    EXPECT_EQ(nlohmann::json::array(), nlohmann::json::parse(none.out).at("objects"));
    EXPECT_EQ(1, RunFwpolicy({"unused", "no/such/file.xml", "--json"}).exitStatus);
}

// Two objects of one kind may share an Id (lint reports it); each is still
// listed and shown with its own entries, and --id alone names neither.
TEST(FwpolicyObjects, ObjectsSharingAnIdKeepTheirOwnEntries) {
    const std::string objects =
        IpObjectElement("Front", 101, "Policy", "10.1.0.1") +
        IpObjectElement("Back", 101, "Policy", "10.2.0.2") +
        "<IpObject><Name>Both</Name><Id>102</Id><CreationType>User</CreationType>"
        "<Inclusion xsi:type=\"sv:IpObjectRef\"><Id>101</Id></Inclusion></IpObject>";
    const TempDir dir;
    const std::string file = WrittenFile(dir.path(), "p.xml", PolicyDocument("", objects));
    const ToolResult listed = RunFwpolicy({"objects", file, "--type", "ip"});
    ASSERT_EQ(0, listed.exitStatus) << listed.err;
    EXPECT_NE(std::string::npos, listed.out.find("  101  Front  policy    0      10.1.0.1  -\n"))
        << listed.out;
    EXPECT_NE(std::string::npos, listed.out.find("  101  Back   policy    0      10.2.0.2  -\n"))
        << listed.out;
    const ToolResult raw = RunFwpolicy({"objects", file, "--type", "ip", "--raw"});
    ASSERT_EQ(0, raw.exitStatus) << raw.err;
    EXPECT_NE(std::string::npos, raw.out.find("Front  policy    0      10.1.0.1")) << raw.out;
    EXPECT_NE(std::string::npos, raw.out.find("Back   policy    0      10.2.0.2")) << raw.out;

    for (const std::string json : {"", "--json"}) {
        std::vector<std::string> args = {"object", "show", file, "--name", "Back"};
        if (!json.empty())
            args.push_back(json);
        const ToolResult back = RunFwpolicy(args);
        ASSERT_EQ(0, back.exitStatus) << json << back.err;
        EXPECT_NE(std::string::npos, back.out.find("10.2.0.2")) << json << back.out;
        EXPECT_EQ(std::string::npos, back.out.find("10.1.0.1")) << json << back.out;
    }
    ExpectRefused({"object", "show", file, "--id", "101"}, file,
                  "several named objects match with id 101 (ip 101 \"Front\", ip 101 "
                  "\"Back\"); choose one with --name");
    ExpectRefused({"object", "show", file, "--name", "Side", "--type", "ip"}, file,
                  "no named object \"Side\" of type ip");
}

// A copy of an object under another creation type keeps its Id and name:
// only its place in the document tells the two apart.
TEST(FwpolicyObjects, ObjectsSharingIdAndNameKeepTheirOwnEntriesAndCreationTypes) {
    const std::string objects = IpObjectElement("Twin", 101, "Policy", "10.1.0.1") +
                                IpObjectElement("Twin", 101, "User", "10.2.0.2");
    const TempDir dir;
    const std::string file = WrittenFile(dir.path(), "p.xml", PolicyDocument("", objects));
    for (const char* raw : {"", "--raw"}) {
        std::vector<std::string> args = {"objects", file, "--type", "ip"};
        if (*raw != '\0')
            args.push_back(raw);
        const ToolResult listed = RunFwpolicy(args);
        ASSERT_EQ(0, listed.exitStatus) << raw << listed.err;
        EXPECT_NE(std::string::npos, listed.out.find("  101  Twin  policy    0      10.1.0.1  -\n"))
            << raw << listed.out;
        EXPECT_NE(std::string::npos, listed.out.find("  101  Twin  user      0      10.2.0.2  -\n"))
            << raw << listed.out;
    }
    const ToolResult json = RunFwpolicy({"objects", file, "--type", "ip", "--json"});
    ASSERT_EQ(0, json.exitStatus) << json.err;
    const auto ip = nlohmann::json::parse(json.out).at("ip");
    ASSERT_EQ(2u, ip.size()) << json.out;
    EXPECT_EQ("policy", ip[0].at("creationType"));
    EXPECT_EQ("user", ip[1].at("creationType"));
    for (std::size_t i = 0; i < ip.size(); ++i) {
        ASSERT_EQ(1u, ip[i].at("inclusions").size()) << json.out;
        EXPECT_EQ(i == 0 ? "10.1.0.1" : "10.2.0.2", ip[i].at("inclusions")[0].at("text"));
    }
}

// Only --creation-type tells such a copy from its original: every object
// verb takes it, and the refusal without it says so and names the
// creation types.
TEST(FwpolicyObjects, CreationTypeChoosesBetweenObjectsOfOneIdAndName) {
    const TempDir dir;
    const std::string objects = IpObjectElement("Twin", 101, "Policy", "10.1.0.1") +
                                IpObjectElement("Twin", 101, "User", "10.2.0.2");
    const std::string file = WrittenFile(dir.path(), "p.xml", PolicyDocument("", objects));

    ExpectRefused({"object", "show", file, "--name", "Twin"}, file,
                  "several named objects match \"Twin\" (ip 101 \"Twin\" policy, ip 101 "
                  "\"Twin\" user); choose one with --creation-type");
    ExpectRefused({"object", "show", file, "--id", "101", "--creation-type", "post"}, file,
                  "no named object with id 101 of creation type post");

    const ToolResult user =
        RunFwpolicy({"object", "show", file, "--name", "Twin", "--creation-type", "user"});
    ASSERT_EQ(0, user.exitStatus) << user.err;
    EXPECT_NE(std::string::npos, user.out.find("creation: user\n")) << user.out;
    EXPECT_NE(std::string::npos, user.out.find("10.2.0.2")) << user.out;

    const std::vector<std::vector<std::string>> edits = {
        {"object", "set", file, "--id", "101", "--creation-type", "user", "--add", "10.3.0.3",
         "-q"},
        {"object", "rename", file, "--name", "Twin", "--creation-type", "policy", "--to", "Kept",
         "-q"},
    };
    for (const auto& edit : edits) {
        const ToolResult r = RunFwpolicy(edit);
        ASSERT_EQ(0, r.exitStatus) << edit[1] << ": " << r.err;
    }
    const auto ip =
        nlohmann::json::parse(RunFwpolicy({"objects", file, "--type", "ip", "--json"}).out)
            .at("ip");
    ASSERT_EQ(2u, ip.size());
    EXPECT_EQ("Kept", ip[0].at("name"));
    EXPECT_EQ(1u, ip[0].at("inclusions").size());
    EXPECT_EQ("Twin", ip[1].at("name"));
    EXPECT_EQ(2u, ip[1].at("inclusions").size());

    const ToolResult removed =
        RunFwpolicy({"object", "remove", file, "--id", "101", "--creation-type", "policy", "-q"});
    ASSERT_EQ(0, removed.exitStatus) << removed.err;
    const auto left =
        nlohmann::json::parse(RunFwpolicy({"objects", file, "--type", "ip", "--json"}).out)
            .at("ip");
    ASSERT_EQ(1u, left.size());
    EXPECT_EQ("user", left[0].at("creationType"));
}

}  // namespace
}  // namespace fwcommon::test
