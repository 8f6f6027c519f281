#include "verbs/DiffCommand.h"

#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "ExitStatus.h"
#include "diff/CanonicalText.h"
#include "diff/PolicyDiff.h"
#include "diff/UnifiedDiff.h"
#include "fileio/DataFiles.h"
#include "fileio/PolicyFile.h"
#include "render/RuleTable.h"
#include "render/TextTable.h"
#include "terminal/SafeText.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

struct DiffOptions {
    std::string first;
    std::string second;
    bool json = false;
    bool stat = false;
    bool quiet = false;
    bool unified = false;
};

// A move's positions as numbers, every other value as the text printed.
nlohmann::json FieldJson(const FieldChange& field) {
    if (field.field == "moved")
        return {{"field", field.field},
                {"old", std::stoull(field.before)},
                {"new", std::stoull(field.after)}};
    return {{"field", field.field}, {"old", field.before}, {"new", field.after}};
}

nlohmann::json Json(const Difference& d) {
    nlohmann::json item = {{"key", ToUtf8(d.key)}, {"creationType", d.creationType}};
    if (!d.kind.empty())
        item[d.group == "rule" ? "section" : "kind"] = d.kind;
    if (d.group != "option")
        item["name"] = ToUtf8(d.name);
    if (!d.fields.empty()) {
        auto& changes = item["changes"] = nlohmann::json::array();
        for (const FieldChange& field : d.fields)
            changes.push_back(FieldJson(field));
    }
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

// Where a difference is counted by --stat: "local rules", "ip objects",
// "options".
std::string StatGroup(const Difference& d) {
    return d.kind.empty() ? "options" : d.kind + " " + d.group + "s";
}

// The groups in the order the tool prints them.
std::vector<std::string> StatGroups() {
    std::vector<std::string> groups;
    for (const std::string& section : SectionNames())
        groups.push_back(section + " rules");
    for (const char* kind : {"ip", "interface", "vpn", "service", "schedule"})
        groups.push_back(std::string(kind) + " objects");
    groups.push_back("options");
    return groups;
}

const std::vector<std::string>& ChangeWords() {
    static const std::vector<std::string> words = {"added", "removed", "changed", "renumbered"};
    return words;
}

std::string Counts(const std::map<std::string, std::size_t>& counts) {
    std::string text;
    for (const std::string& change : ChangeWords()) {
        const auto found = counts.find(change);
        if (found != counts.end())
            text += (text.empty() ? "" : ", ") + std::to_string(found->second) + " " + change;
    }
    return text;
}

// As `git diff --stat`: one line per section and kind that differs, then
// the totals.
void PrintStat(const std::vector<Difference>& differences) {
    std::map<std::string, std::map<std::string, std::size_t>> byGroup;
    std::map<std::string, std::size_t> total;
    for (const Difference& d : differences) {
        ++byGroup[StatGroup(d)][d.change];
        ++total[d.change];
    }
    std::vector<std::vector<std::wstring>> table;
    for (const std::string& group : StatGroups()) {
        const auto found = byGroup.find(group);
        if (found != byGroup.end())
            table.push_back({FromUtf8(group), L"|", FromUtf8(Counts(found->second))});
    }
    PrintTable(std::cout, table);
    std::cout << "  " << differences.size()
              << (differences.size() == 1 ? " difference" : " differences") << ": " << Counts(total)
              << '\n';
}

void PrintUnified(const Sarvo::PolicyType& first, const Sarvo::PolicyType& second,
                  const DiffOptions& options) {
    const auto protocols = textforms::ProtocolNames::FromDictionary();
    std::cout << terminal::PrintableLines(UnifiedDiff(CanonicalLines(first, protocols),
                                                      CanonicalLines(second, protocols),
                                                      options.first, options.second));
}

int Diff(const DiffOptions& options) {
    const auto first = LoadPolicyFile(options.first);
    const auto second = LoadPolicyFile(options.second);
    if (!first || !second)
        return kExitUsage;
    if (!LoadDictionaries())
        return kExitUsage;
    const std::vector<Difference> differences =
        ComparePolicies(*first, *second, textforms::ProtocolNames::FromDictionary());
    if (options.quiet) {
        // exit status only
    } else if (options.json) {
        std::cout << JsonReport(differences).dump(2) << '\n';
    } else if (options.unified) {
        PrintUnified(*first, *second, options);
    } else if (options.stat) {
        if (!differences.empty())
            PrintStat(differences);
    } else {
        for (const Difference& d : differences)
            std::cout << DifferenceText(d);
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
    CLI::Option* json = diff->add_flag("--json", options->json, "Print JSON instead of lines");
    CLI::Option* stat =
        diff->add_flag("--stat", options->stat, "Print how many rules, objects and options differ");
    CLI::Option* quiet =
        diff->add_flag("-q,--quiet", options->quiet, "Print nothing; the exit status tells");
    CLI::Option* unified = diff->add_flag(
        "-u,--unified", options->unified,
        "Print a unified diff of the two policies written one rule, object and option a line");
    json->excludes(stat)->excludes(unified);
    stat->excludes(unified);
    (void)quiet;
    diff->callback([options, status] { *status = Diff(*options); });
}

}  // namespace fwpolicy
