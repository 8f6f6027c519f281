#include "cli/PolicyText.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "cli/RunTool.h"

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
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<sv:Policy xmlns:sv=\"urn:fwcommon:policy:rules\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">";
    if (!namedObjects.empty())
        xml += "<NamedObjects>" + namedObjects + "</NamedObjects>";
    xml += "<Rules>" + rules + "</Rules>";
    if (!options.empty())
        xml += "<Options>" + options + "</Options>";
    return xml +
           "<Properties><Version>1.0</Version><IssueDateTime>2026-01-01T00:00:00Z</IssueDateTime>"
           "<RollbackPeriod>900</RollbackPeriod></Properties></sv:Policy>\n";
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

std::vector<std::string> DirectoryEntries(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace fwcommon::test
