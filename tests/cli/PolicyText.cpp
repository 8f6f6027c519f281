#include "cli/PolicyText.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <utility>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/RunTool.h"
#include "common/PolicyText.h"
#include "common/TestFiles.h"

namespace fwcommon::test {
namespace {

std::string SectionOfKind(const std::string& kind) {
    if (kind == "LocalRule")
        return "LocalSection";
    if (kind == "VpnRule")
        return "VpnSection";
    if (kind == "TransitRule")
        return "TransitSection";
    if (kind == "TunnelingRule")
        return "TunnelingSection";
    return "NatSection";
}

}  // namespace

std::string RuleElement(const std::string& kind, long long ruleId, long long orderId,
                        const std::string& name, const std::string& creationType,
                        const std::string& action, const std::string& conditions) {
    return "<Rule xsi:type=\"sv:" + kind + "\"><RuleId>" + std::to_string(ruleId) +
           "</RuleId><OrderId>" + std::to_string(orderId) + "</OrderId><Name>" + name +
           "</Name><CreationType>" + creationType + "</CreationType><ConditionSet>" + conditions +
           "</ConditionSet><Action xsi:type=\"sv:Filter\"><FilteringAction>" + action +
           "</FilteringAction></Action><Section>" + SectionOfKind(kind) + "</Section></Rule>";
}

std::string PolicyDocument(const std::string& rules, const std::string& namedObjects,
                           const std::string& options) {
    return PolicyDocumentText(rules, namedObjects, options) + "\n";
}

std::string IpObjectElement(const std::string& name, int id, const std::string& creationType,
                            const std::string& address) {
    return "<IpObject><Name>" + name + "</Name><Id>" + std::to_string(id) + "</Id><CreationType>" +
           creationType + "</CreationType><Inclusion xsi:type=\"sv:IpAddress\"><Value>" + address +
           "</Value></Inclusion></IpObject>";
}

std::string RuleToObject(int objectId) {
    return RuleElement("LocalRule", 200001, 10, "Drop to the servers", "Policy", "Drop",
                       "<Destination xsi:type=\"sv:PublicNetwork\"><IpHostCondition "
                       "xsi:type=\"sv:IpObjectRef\"><Id>" +
                           std::to_string(objectId) + "</Id></IpHostCondition></Destination>");
}

std::string WrittenFile(const std::filesystem::path& dir, const std::string& name,
                        const std::string& text) {
    WriteBytes(dir / name, ToBytes(text));
    return (dir / name).string();
}

std::string BlanksBetweenTagsRemoved(const std::string& text) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '>') {
            out += '>';
            std::size_t next = i + 1;
            while (next < text.size() && std::isspace(static_cast<unsigned char>(text[next])))
                ++next;
            if (next < text.size() && text[next] == '<') {
                i = next;
                continue;
            }
            ++i;
            continue;
        }
        out += text[i++];
    }
    return out;
}

std::string OneObjectOfEachKind() {
    return "<ScheduleObject><Name>Office "
           "hours</Name><Id>501</Id><CreationType>Policy</CreationType>"
           "<Inclusion "
           "xsi:type=\"sv:Daily\"><StartTime>08:00:00</StartTime><EndTime>18:00:00</EndTime>"
           "</Inclusion></ScheduleObject>"
           "<ServiceObject><Name>Web</Name><Id>401</Id><CreationType>Policy</CreationType>"
           "<Inclusion xsi:type=\"sv:ProtocolCondition\"><Protocol>6</Protocol></Inclusion>"
           "</ServiceObject>"
           "<VpnObject><Name>Head office</Name><Id>301</Id><CreationType>Policy</CreationType>"
           "<Inclusion xsi:type=\"sv:VpnNetworkId\"><Value>12</Value></Inclusion></VpnObject>"
           "<InterfaceObject><Name>Outside</Name><Id>201</Id><CreationType>Policy</CreationType>"
           "<Inclusion xsi:type=\"sv:SimpleInterface\"><Value>eth0</Value></Inclusion>"
           "</InterfaceObject>"
           "<IpObject><Name>Office LAN</Name><Id>101</Id><CreationType>Policy</CreationType>"
           "<Inclusion xsi:type=\"sv:IpAddress\"><Value>10.1.0.1</Value></Inclusion></IpObject>";
}

std::vector<std::string> ShownNames(const std::filesystem::path& file, const std::string& section) {
    const ToolResult shown = RunFwpolicy({"show", file.string(), "--json", "--section", section});
    std::vector<std::string> names;
    if (shown.exitStatus != 0)
        return {"<show failed: " + shown.err + ">"};
    const nlohmann::json json = nlohmann::json::parse(shown.out);
    for (const auto& row : json[section])
        names.push_back(row["name"].get<std::string>());
    return names;
}

ino_t InodeOf(const std::filesystem::path& file) {
    struct stat status {};
    EXPECT_EQ(0, ::stat(file.c_str(), &status)) << file;
    return status.st_ino;
}

std::vector<std::string> DirectoryEntries(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

PolicyCopy::PolicyCopy(std::string source)
    : source_(std::move(source)), file_(dir_.path() / "policy.xml") {
    std::filesystem::copy_file(SourcePath(source_), file_);
}

void PolicyCopy::Reset() {
    std::filesystem::remove(file_);
    std::filesystem::copy_file(SourcePath(source_), file_);
}

std::vector<std::string> PolicyCopy::With(std::vector<std::string> arguments) const {
    for (std::string& argument : arguments) {
        if (argument == "@")
            argument = file();
    }
    return arguments;
}

}  // namespace fwcommon::test
