// The bundled example policy built again from nothing through the tool
// alone (fwpolicy new, object add, rule add): its rules and named objects
// read back the same as the example's, creation types included,
// identifiers aside. The example holds every kind of condition, both kinds
// of action and every kind of named object with inclusions and exclusions,
// so a part of a policy the editor cannot make shows up here as a
// difference.

#include <filesystem>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fwcommon/PolicyDocument.h>
#include "cli/RunTool.h"
#include "common/TestFiles.h"
#include "verbs/ScriptWords.h"

namespace fwcommon::test {
namespace {

namespace fs = std::filesystem;

const char* const kExample = "examples/policy.xml";

// The edits that make the example, as script lines, in the order of its
// objects and rules.
const char* const kExampleEdits[] = {
    "object add --type schedule --name 'Office hours' --creation-type policy --member 'weekly "
    "mon-fri 08:00-18:30' --exclude 'calendar 2026-12-24T00:00/2026-12-26T23:59'\n",
    "object add --type schedule --name 'Nightly backup window' --creation-type user --member "
    "'daily 01:00-04:00'\n",
    "object add --type service --name Web --creation-type policy --member tcp/80 --member tcp/443 "
    "--member udp/443\n",
    "object add --type service --name Mail --creation-type policy --member tcp/993-995 --member "
    "@Web --exclude tcp/994\n",
    "object add --type service --name Diagnostics --creation-type user --member icmp/8/0 --member "
    "icmp/3 --member proto/47 --member All\n",
    "object add --type vpn --name 'Head office' --creation-type policy --member vpn-network:12 "
    "--member 'vpn-name:HQ-*' --member AllCoordinators --exclude vpn-node:1207\n",
    "object add --type vpn --name 'Remote staff' --creation-type user --member vpn-node:1301 "
    "--member vpn-node:1302 --member '@\"Head office\"'\n",
    "object add --type interface --name Outside --creation-type policy --member interface:eth0 "
    "--member 203.0.113.10 --exclude interface:eth0.99\n",
    "object add --type interface --name Inside --creation-type policy --member "
    "192.168.10.0/255.255.255.0 --member MyNetwork --member @Outside\n",
    "object add --type ip --name 'Office LAN' --creation-type policy --member "
    "192.168.10.0/255.255.255.0 --exclude 192.168.10.200-192.168.10.254\n",
    "object add --type ip --name 'DMZ web server' --creation-type policy --member 172.16.5.10 "
    "--member www.example.com\n",
    "object add --type ip --name 'Büro München' --creation-type user --member '@\"Office LAN\"' "
    "--member LocalHost\n",
    "rule add --section local --name 'Administration from the LAN' --creation-type policy "
    "--source-object Inside --source '@\"Office LAN\"' --service tcp/22 --destination LocalHost\n",
    "rule add --section local --name 'Ping the node' --creation-type user --service "
    "icmp/echo-request\n",
    "rule add --section local --name 'Drop everything else to the node' --creation-type post "
    "--action drop --no-packet-log --disabled\n",
    "rule add --section vpn --name 'Head office to the LAN during office hours' --creation-type "
    "policy --schedule-object 'Office hours' --source '@\"Head office\"' --service-object Mail "
    "--destination '@\"Office LAN\"' --both-ways\n",
    "rule add --section vpn --name 'Remote staff by node and template' --creation-type user "
    "--source vpn-node:1301 --source 'vpn-name:Laptop-*' --source AllClients --service All\n",
    "rule add --section transit --name 'LAN to the Internet' --creation-type policy --schedule "
    "'weekly mon-sat 07:00-20:00' --source interface:eth1 --source '@\"Office LAN\"' --service "
    "@Web --service udp/1024-65535:53 --destination InternetIP\n",
    "rule add --section transit --name 'Backups to the DMZ at night' --creation-type user "
    "--schedule 'daily 01:00-04:00' --schedule 'calendar 2026-01-01T00:00/2026-12-31T23:59:59' "
    "--source 192.168.10.20-192.168.10.29 --service tcp/873 --destination "
    "interface:172.16.5.1-172.16.5.254 --destination '@\"DMZ web server\"' --destination "
    "backup.example.com --stateless\n",
    "rule add --section transit --name 'Block GRE from outside' --creation-type post --action drop "
    "--source interface:InternetGateway --service gre\n",
    "rule add --section tunnel --name 'Tunnel the LAN to head office' --creation-type policy "
    "--source '@\"Office LAN\"' --destination '@\"Head office\"' --destination vpn-network:12\n",
    "rule add --section nat --name 'Hide the LAN behind the outside address' --creation-type "
    "policy --source '@\"Office LAN\"' --destination-object Outside --to-outbound-interface\n",
    "rule add --section nat --name 'Publish the web server' --creation-type user --schedule All "
    "--service tcp/8443 --destination 203.0.113.10 --translate-source 203.0.113.10 "
    "--translate-destination 172.16.5.10 --translate-port 443\n",
};

// The output without what the tool gives each new rule and object of its
// own: identifiers.
nlohmann::json WithoutIdentities(nlohmann::json json) {
    if (json.is_object()) {
        json.erase("id");
        for (auto& [key, value] : json.items())
            value = WithoutIdentities(value);
    } else if (json.is_array()) {
        for (auto& value : json)
            value = WithoutIdentities(value);
    }
    return json;
}

nlohmann::json ReadBack(const std::string& verb, const std::string& file) {
    const ToolResult result = RunFwpolicy({verb, file, "--json"});
    EXPECT_EQ(0, result.exitStatus) << result.err;
    return WithoutIdentities(nlohmann::json::parse(result.out));
}

// The example's calendar exclusion of Office hours ends at 23:59:59; the
// editor writes a named schedule's times in minutes, so the built one ends
// at 23:59:00.
nlohmann::json InMinutes(nlohmann::json json) {
    std::string text = json.dump();
    for (const auto& [seconds, minutes] :
         {std::pair<std::string, std::string>{"\"end\":\"23:59:59\"", "\"end\":\"23:59:00\""},
          {"2026-12-26T23:59:59", "2026-12-26T23:59"}}) {
        for (std::size_t at; (at = text.find(seconds)) != std::string::npos;)
            text.replace(at, seconds.size(), minutes);
    }
    return nlohmann::json::parse(text);
}

// Each rule's creation type by the rule's name, which show --json leaves
// out.
std::map<std::wstring, int> RuleCreationTypes(const std::string& file) {
    std::map<std::wstring, int> types;
    const auto policy = ParsePolicyDocument(ReadBytes(file));
    for (const auto& rule : policy->Rules().Rule())
        types[rule.Name()] = static_cast<int>(rule.CreationType());
    return types;
}

void ExpectTheExample(const std::string& file) {
    EXPECT_EQ(0, RunFwpolicy({"check", file}).exitStatus);
    EXPECT_EQ(RuleCreationTypes(SourcePath(kExample).string()), RuleCreationTypes(file));
    for (const std::string verb : {"show", "objects"}) {
        SCOPED_TRACE(verb);
        const nlohmann::json expected =
            verb == "objects" ? InMinutes(ReadBack(verb, kExample)) : ReadBack(verb, kExample);
        const nlohmann::json built = ReadBack(verb, file);
        ASSERT_EQ(expected.size(), built.size());
        for (const auto& [group, entries] : expected.items()) {
            ASSERT_EQ(entries.size(), built[group].size()) << group;
            for (std::size_t i = 0; i < entries.size(); ++i)
                EXPECT_EQ(entries[i], built[group][i]) << group << " " << i;
        }
    }
}

TEST(BuildTheExample, OneEditAtATimeFromNew) {
    TempDir dir;
    const std::string file = (dir.path() / "policy.xml").string();
    ASSERT_EQ(0, RunFwpolicy({"new", file}).exitStatus);
    for (const std::string line : kExampleEdits) {
        std::vector<std::string> args = fwpolicy::SplitScriptLine(line.substr(0, line.size() - 1));
        args.insert(args.begin() + 2, file);
        const ToolResult result = RunFwpolicy(args);
        ASSERT_EQ(0, result.exitStatus) << line << result.err;
    }
    ExpectTheExample(file);
}

TEST(BuildTheExample, AsOneScript) {
    TempDir dir;
    const std::string file = (dir.path() / "policy.xml").string();
    ASSERT_EQ(0, RunFwpolicy({"new", file, "-q"}).exitStatus);
    std::string script = "# the bundled example, from nothing\n";
    for (const char* line : kExampleEdits)
        script += line;
    const ToolResult applied = RunFwpolicyWithInput({"apply", file}, script);
    ASSERT_EQ(0, applied.exitStatus) << applied.err;
    EXPECT_EQ(
        "applied " + std::to_string(std::size(kExampleEdits)) + " edits from standard input\n",
        applied.out);
    ExpectTheExample(file);
}

}  // namespace
}  // namespace fwcommon::test
