#include "verbs/ShowCommand.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "ExitStatus.h"
#include "fileio/DataFiles.h"
#include "fileio/PolicyFile.h"
#include "render/ConditionJson.h"
#include "render/ConditionText.h"
#include "render/RuleTable.h"
#include "render/TextTable.h"
#include "terminal/SafeText.h"
#include "text/Utf8.h"
#include "verbs/RuleFilter.h"

namespace fwpolicy {
namespace {

struct ShowOptions {
    std::string file;
    std::string section;
    std::string objectsFile;
    bool json = false;
    bool raw = false;
    RuleFilterOptions filter;
    bool activeOnly = false;
    bool inactiveOnly = false;
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

// "transit rules (3)", or with a filter "transit rules (1 of 3)".
void PrintSection(const std::string& section, const std::vector<RuleRow>& rows, std::size_t total,
                  bool narrowed) {
    std::vector<std::vector<std::wstring>> table = {{L"#", L"ID", L"NAME", L"ACTIVE", L"ACTION",
                                                     L"SOURCE", L"DESTINATION", L"SERVICES",
                                                     L"SCHEDULES"}};
    for (const RuleRow& row : rows)
        table.push_back(Cells(row));
    std::cout << section << " rules (" << rows.size();
    if (narrowed)
        std::cout << " of " << total;
    std::cout << ")\n";
    PrintTable(std::cout, table);
}

// The named objects rules may refer to: the file's own, then those of
// --objects. Null when a file cannot be loaded (its errors are printed).
std::vector<std::unique_ptr<Sarvo::PolicyType>> LoadDocuments(const ShowOptions& options) {
    std::vector<std::unique_ptr<Sarvo::PolicyType>> documents;
    for (const std::string* file : {&options.file, &options.objectsFile}) {
        if (file->empty())
            continue;
        auto document = LoadPolicyFile(*file);
        if (!document)
            return {};
        documents.push_back(std::move(document));
    }
    return documents;
}

// The rows of a section in the tool's words, or with --raw in the
// library's display texts.
class RowSource {
public:
    explicit RowSource(const std::vector<std::unique_ptr<Sarvo::PolicyType>>& documents)
        : protocols_(textforms::ProtocolNames::FromDictionary()),
          words_(kinded_, protocols_),
          json_(kinded_, protocols_, words_) {
        for (const auto& document : documents) {
            CollectObjectNames(*document, names_);
            CollectKindedObjectNames(*document, kinded_);
        }
    }

    std::vector<RuleRow> Rows(const Sarvo::PolicyType& policy, const std::string& section,
                              bool raw) const {
        if (raw)
            return SectionRows(policy, section, *wrapper_, names_);
        return SectionRowsInWords(policy, section, words_);
    }

    ConditionJson::Json Json(const Sarvo::PolicyType& policy, const std::string& section,
                             const std::set<std::size_t>& kept) const {
        ConditionJson::Json rules = ConditionJson::Json::array();
        const std::vector<const Sarvo::Rule*> all = SectionRules(policy, section);
        for (std::size_t position : kept)
            rules.push_back(json_.Rule(*all[position], position));
        return rules;
    }

private:
    ObjectNames names_;
    KindedObjectNames kinded_;
    textforms::ProtocolNames protocols_;
    ConditionText words_;
    ConditionJson json_;
    std::shared_ptr<fwcommon::IXmlWrapper> wrapper_ = fwcommon::GetXmlWrapper();
};

std::vector<RuleRow> Kept(std::vector<RuleRow> rows, const std::set<std::size_t>& kept) {
    rows.erase(
        std::remove_if(rows.begin(), rows.end(),
                       [&kept](const RuleRow& row) { return kept.count(row.position) == 0; }),
        rows.end());
    return rows;
}

// Empty for a whole number; else why it is no rule identifier.
std::string RuleIdText(const std::string& text) {
    const bool digits = !text.empty() &&
                        text.find_first_not_of("-0123456789") == std::string::npos &&
                        text.find('-', 1) == std::string::npos && text != "-";
    return digits ? ""
                  : "'" + terminal::Printable(text) + "' is not a rule identifier (a whole number)";
}

RuleFilterOptions FilterOptions(const ShowOptions& options) {
    RuleFilterOptions filter = options.filter;
    if (options.activeOnly || options.inactiveOnly)
        filter.active = options.activeOnly;
    return filter;
}

int Show(const ShowOptions& options) {
    if (!LoadDictionaries())
        return kExitFailure;
    std::optional<RuleFilter> filter;
    try {
        filter.emplace(FilterOptions(options));
    } catch (const std::invalid_argument& e) {
        std::cerr << "fwpolicy show: " << terminal::Printable(e.what()) << '\n';
        return kExitUsage;
    }
    const auto documents = LoadDocuments(options);
    if (documents.empty())
        return kExitFailure;
    const Sarvo::PolicyType* namedObjects = documents.size() > 1 ? documents[1].get() : nullptr;
    auto kept = filter->KeptPositions(*documents.front(), namedObjects);
    const RowSource source(documents);
    ConditionJson::Json sections = ConditionJson::Json::object();
    for (const std::string& section : SectionNames()) {
        if (!options.section.empty() && section != options.section)
            continue;
        if (options.json) {
            sections[section] = source.Json(*documents.front(), section, kept[section]);
        } else {
            const auto rows = source.Rows(*documents.front(), section, options.raw);
            PrintSection(section, Kept(rows, kept[section]), rows.size(), filter->Narrows());
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
    show->add_flag("--raw", options->raw,
                   "Show conditions in the library's display texts instead of the tool's words");
    RuleFilterOptions& filter = options->filter;
    show->add_option("--id", filter.id, "Only the rule with this RuleId")
        ->type_name("RULEID")
        ->check(RuleIdText);
    show->add_option("--name", filter.name,
                     "Only rules whose whole name matches this shell pattern ('*LAN*')");
    CLI::Option* active = show->add_flag("--active", options->activeOnly, "Only active rules");
    show->add_flag("--inactive", options->inactiveOnly, "Only inactive rules")->excludes(active);
    show->add_option("--source", filter.source,
                     "Only rules that may match traffic from this end: an address, node:N, "
                     "network:N, name:NODE or a system object, as query --from reads it");
    show->add_option("--destination", filter.destination,
                     "Only rules that may match traffic to this end, in the forms of --source");
    show->add_option("--service", filter.service,
                     "Only rules that may match this service: tcp/22, udp/53, icmp/8/0, gre, "
                     "as query --service reads it");
    show->callback([options, status] { *status = Show(*options); });
}

}  // namespace fwpolicy
