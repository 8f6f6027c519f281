#include "DiffCommand.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "CheckCommand.h"
#include "PolicyDiff.h"
#include "PolicyFile.h"
#include "Utf8.h"
#include "terminal/SafeText.h"

namespace fwpolicy {
namespace {

struct DiffOptions {
    std::string first;
    std::string second;
    bool json = false;
};

nlohmann::json Json(const Difference& d) {
    nlohmann::json item = {{"key", ToUtf8(d.key)}, {"creationType", ToUtf8(d.creationType)}};
    if (!d.kind.empty())
        item[d.group == "rule" ? "section" : "kind"] = d.kind;
    if (d.group != "option")
        item["name"] = ToUtf8(d.name);
    if (!d.detail.empty())
        item["difference"] = ToUtf8(d.detail);
    return item;
}

nlohmann::json JsonReport(const std::vector<Difference>& differences) {
    nlohmann::json report = {{"equal", differences.empty()}};
    for (const char* group : {"rule", "object", "option"}) {
        auto& lists = report[std::string(group) + "s"];
        for (const char* change : {"added", "removed", "changed"})
            lists[change] = nlohmann::json::array();
    }
    report["rules"]["renumbered"] = nlohmann::json::array();
    for (const Difference& d : differences)
        report[d.group + "s"][d.change].push_back(Json(d));
    return report;
}

int Diff(const DiffOptions& options) {
    const auto first = LoadPolicyFile(options.first);
    const auto second = LoadPolicyFile(options.second);
    if (!first || !second)
        return kExitUsage;
    const std::vector<Difference> differences = ComparePolicies(*first, *second);
    if (options.json) {
        std::cout << JsonReport(differences).dump(2) << '\n';
    } else {
        for (const Difference& d : differences)
            std::cout << terminal::Printable(DifferenceLine(d)) << '\n';
    }
    return differences.empty() ? kExitOk : kExitFailure;
}

}  // namespace

void AddDiffCommand(CLI::App& app, int* status) {
    auto options = std::make_shared<DiffOptions>();
    CLI::App* diff =
        app.add_subcommand("diff", "Compare two policy files rule by rule and object by object");
    diff->add_option("A", options->first, "Policy file before")->required();
    diff->add_option("B", options->second, "Policy file after")->required();
    diff->add_flag("--json", options->json, "Print JSON instead of lines");
    diff->callback([options, status] { *status = Diff(*options); });
}

}  // namespace fwpolicy
