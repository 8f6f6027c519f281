#include "ShowCommand.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "CheckCommand.h"
#include "DataFiles.h"
#include "PolicyFile.h"
#include "RuleTable.h"
#include "TextTable.h"
#include "Utf8.h"

namespace fwpolicy {
namespace {

struct ShowOptions {
    std::string file;
    std::string section;
    std::string objectsFile;
    bool json = false;
};

std::vector<std::wstring> Cells(const RuleRow& row) {
    return {std::to_wstring(row.position),
            std::to_wstring(row.identifier),
            row.name,
            row.active ? L"yes" : L"no",
            row.action,
            row.source,
            row.destination,
            row.services,
            row.schedules};
}

void PrintSection(const std::string& section, const std::vector<RuleRow>& rows) {
    std::vector<std::vector<std::wstring>> table = {{L"#", L"ID", L"NAME", L"ACTIVE", L"ACTION",
                                                     L"SOURCE", L"DESTINATION", L"SERVICES",
                                                     L"SCHEDULES"}};
    for (const RuleRow& row : rows)
        table.push_back(Cells(row));
    std::cout << section << " rules (" << rows.size() << ")\n";
    PrintTable(std::cout, table);
}

nlohmann::json RowJson(const RuleRow& row) {
    return {{"position", row.position},
            {"id", row.identifier},
            {"name", ToUtf8(row.name)},
            {"active", row.active},
            {"action", ToUtf8(row.action)},
            {"source", ToUtf8(row.source)},
            {"destination", ToUtf8(row.destination)},
            {"services", ToUtf8(row.services)},
            {"schedules", ToUtf8(row.schedules)}};
}

int Show(const ShowOptions& options) {
    const auto policy = LoadPolicyFile(options.file);
    if (!policy)
        return kExitFailure;
    ObjectNames names;
    CollectObjectNames(*policy, names);
    if (!options.objectsFile.empty()) {
        const auto objects = LoadPolicyFile(options.objectsFile);
        if (!objects)
            return kExitFailure;
        CollectObjectNames(*objects, names);
    }
    if (!LoadDictionaries())
        return kExitFailure;
    const auto wrapper = fwcommon::GetXmlWrapper();
    nlohmann::json sections = nlohmann::json::object();
    for (const std::string& section : SectionNames()) {
        if (!options.section.empty() && section != options.section)
            continue;
        const std::vector<RuleRow> rows = SectionRows(*policy, section, *wrapper, names);
        if (options.json) {
            auto& list = sections[section] = nlohmann::json::array();
            for (const RuleRow& row : rows)
                list.push_back(RowJson(row));
        } else {
            PrintSection(section, rows);
        }
    }
    if (options.json)
        std::cout << sections.dump(2) << '\n';
    return kExitOk;
}

}  // namespace

void AddShowCommand(CLI::App& app, int* status) {
    auto options = std::make_shared<ShowOptions>();
    CLI::App* show =
        app.add_subcommand("show", "Show the rules of a policy file section by section");
    show->add_option("FILE", options->file, "Policy file")->required();
    show->add_option("--section", options->section, "Only this section")
        ->check(CLI::IsMember(SectionNames()));
    show->add_option("--objects", options->objectsFile,
                     "Policy file holding the named objects that rules refer to");
    show->add_flag("--json", options->json, "Print JSON instead of a table");
    show->callback([options, status] { *status = Show(*options); });
}

}  // namespace fwpolicy
