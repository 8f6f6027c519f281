#include "ShowCommand.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "CheckCommand.h"
#include "ConditionJson.h"
#include "ConditionText.h"
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
    bool raw = false;
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

    ConditionJson::Json Json(const Sarvo::PolicyType& policy, const std::string& section) const {
        ConditionJson::Json rules = ConditionJson::Json::array();
        for (const Sarvo::Rule* rule : SectionRules(policy, section))
            rules.push_back(json_.Rule(*rule, rules.size()));
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

int Show(const ShowOptions& options) {
    const auto documents = LoadDocuments(options);
    if (documents.empty())
        return kExitFailure;
    if (!LoadDictionaries())
        return kExitFailure;
    const RowSource source(documents);
    ConditionJson::Json sections = ConditionJson::Json::object();
    for (const std::string& section : SectionNames()) {
        if (!options.section.empty() && section != options.section)
            continue;
        if (options.json)
            sections[section] = source.Json(*documents.front(), section);
        else
            PrintSection(section, source.Rows(*documents.front(), section, options.raw));
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
    show->callback([options, status] { *status = Show(*options); });
}

}  // namespace fwpolicy
