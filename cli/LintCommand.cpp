#include "LintCommand.h"

#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <fwcommon/PolicyLint.h>
#include <nlohmann/json.hpp>

#include "CheckCommand.h"
#include "Diagnostics.h"
#include "FileWorkers.h"
#include "PolicyFile.h"
#include "RuleSection.h"
#include "Utf8.h"
#include "editor/ObjectDirectory.h"
#include "terminal/SafeText.h"

namespace fwpolicy {
namespace {

struct LintOptions {
    std::vector<std::string> files;
    std::string objects;
    bool json = false;
    unsigned jobs = DefaultWorkerCount();
};

// "local #2 rule 7" or "ip object 101".
std::string Subject(const fwcommon::LintFinding& f) {
    if (f.subject == fwcommon::LintSubject::eNamedObject) {
        return ObjectKindWord(f.objectType) + " object " + std::to_string(f.identifier);
    }
    const std::string section = SectionName(f.section);
    return (section.empty() ? "rule " : section + " #" + std::to_string(f.position) + " rule ") +
           std::to_string(f.identifier);
}

void PrintText(const std::vector<fwcommon::LintFinding>& findings,
               const std::vector<std::string>& sources) {
    std::map<std::string, std::pair<int, int>> counts;
    for (const auto& f : findings) {
        std::cout << terminal::Printable(FileLabel(f.source)) << ": " << Subject(f) << " \""
                  << terminal::Printable(ToUtf8(f.name))
                  << "\": " << fwcommon::LintSeverityName(f.severity) << ": " << f.code << ": "
                  << terminal::Printable(ToUtf8(f.message)) << '\n';
        auto& [errors, warnings] = counts[f.source];
        (f.severity == fwcommon::LintSeverity::eError ? errors : warnings) += 1;
    }
    for (const std::string& source : sources) {
        const auto [errors, warnings] = counts[source];
        std::cout << terminal::Printable(FileLabel(source)) << ": " << errors
                  << (errors == 1 ? " error, " : " errors, ") << warnings
                  << (warnings == 1 ? " warning" : " warnings") << '\n';
    }
}

nlohmann::json FindingJson(const fwcommon::LintFinding& f) {
    nlohmann::json j = {{"file", f.source},
                        {"severity", fwcommon::LintSeverityName(f.severity)},
                        {"code", f.code},
                        {"name", ToUtf8(f.name)},
                        {"message", ToUtf8(f.message)}};
    if (f.subject == fwcommon::LintSubject::eNamedObject) {
        j["object"] = ObjectKindWord(f.objectType);
        j["id"] = f.identifier;
    } else {
        j["section"] = SectionName(f.section);
        j["position"] = f.position;
        j["ruleId"] = f.identifier;
    }
    return j;
}

void PrintJson(const std::vector<fwcommon::LintFinding>& findings) {
    nlohmann::json list = nlohmann::json::array();
    for (const auto& f : findings) {
        list.push_back(FindingJson(f));
    }
    std::cout << nlohmann::json{{"findings", list}}.dump(2) << '\n';
}

bool HasErrors(const std::vector<fwcommon::LintFinding>& findings) {
    for (const auto& f : findings) {
        if (f.severity == fwcommon::LintSeverity::eError) {
            return true;
        }
    }
    return false;
}

// The files to lint, then the named-objects file when there is one, each
// loaded by a job of its own; a file that cannot be loaded stays empty.
std::vector<std::unique_ptr<Sarvo::PolicyType>> LoadAll(const LintOptions& options) {
    std::vector<std::string> files = options.files;
    if (!options.objects.empty())
        files.push_back(options.objects);
    std::vector<std::unique_ptr<Sarvo::PolicyType>> loaded(files.size());
    RunFileJobs(
        files.size(), options.jobs,
        [&files, &loaded](std::size_t index, std::ostream&, std::ostream& err) {
            loaded[index] = LoadPolicyFile(files[index], err);
        },
        std::cout, std::cerr);
    return loaded;
}

int RunLint(const LintOptions& options) {
    std::vector<std::unique_ptr<Sarvo::PolicyType>> loaded = LoadAll(options);
    std::vector<fwcommon::LintDocument> documents;
    std::vector<std::string> sources;
    bool allLoaded = true;
    for (std::size_t i = 0; i < options.files.size(); ++i) {
        const std::string& file = options.files[i];
        allLoaded = allLoaded && loaded[i] != nullptr;
        documents.push_back(fwcommon::LintDocument{file, loaded[i].get()});
        if (loaded[i]) {
            sources.push_back(file);
        }
    }
    std::unique_ptr<Sarvo::PolicyType> objects;
    fwcommon::LintDocument shared{options.objects, nullptr};
    if (!options.objects.empty()) {
        objects = std::move(loaded.back());
        allLoaded = allLoaded && objects != nullptr;
        shared.policy = objects.get();
        if (objects) {
            sources.push_back(options.objects);
        }
    }
    const auto findings = fwcommon::LintPolicies(documents, objects ? &shared : nullptr);
    if (options.json) {
        PrintJson(findings);
    } else {
        PrintText(findings, sources);
    }
    return allLoaded && !HasErrors(findings) ? kExitOk : kExitFailure;
}

}  // namespace

void AddLintCommand(CLI::App& app, int* status) {
    auto options = std::make_shared<LintOptions>();
    CLI::App* lint = app.add_subcommand(
        "lint", "Find broken references, duplicate identifiers, unused objects and dead rules");
    lint->add_option("FILE", options->files, "Policy files to lint")->required();
    lint->add_option("--objects", options->objects,
                     "Named-objects file whose objects the rules may refer to");
    lint->add_flag("--json", options->json, "Print the findings as JSON");
    AddJobsOption(*lint, &options->jobs);
    lint->callback([options, status] { *status = RunLint(*options); });
}

}  // namespace fwpolicy
