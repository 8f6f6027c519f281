#include "verbs/LintCommand.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <fwcommon/PolicyLint.h>
#include <nlohmann/json.hpp>

#include "CommandLine.h"
#include "ProcessEnd.h"
#include "editor/ObjectDirectory.h"
#include "fileio/FileIdentity.h"
#include "fileio/FileWorkers.h"
#include "fileio/PolicyFile.h"
#include "policy/RuleSection.h"
#include "render/Diagnostics.h"
#include "terminal/SafeText.h"
#include "terminal/Style.h"
#include "text/Utf8.h"
#include "verbs/CheckCommand.h"

namespace fwpolicy {
namespace {

struct LintOptions {
    std::vector<std::string> files;
    std::string objects;
    bool json = false;
    std::string severity = "warning";
    std::vector<std::string> ignored;
    bool strict = false;
    unsigned jobs = DefaultWorkerCount();
};

const std::vector<std::string>& FindingCodes() {
    namespace C = fwcommon::LintCode;
    static const std::vector<std::string> codes = {
        C::kDanglingReference,    C::kUnknownSystemObject, C::kReferenceCycle,
        C::kDuplicateRuleId,      C::kRuleIdInOtherFile,   C::kDuplicateObjectId,
        C::kObjectIdInOtherFile,  C::kDuplicateOrderId,    C::kOrderIdWithoutRoom,
        C::kIdentifierOutOfRange, C::kUnusedObject,        C::kEmptyRange,
        C::kInvalidValue,         C::kNeverMatches,        C::kShadowedRule,
        C::kRedundantRule};
    return codes;
}

// Empty for a finding code; else why not, with the closest code.
std::string FindingCode(const std::string& code) {
    const auto& codes = FindingCodes();
    if (std::find(codes.begin(), codes.end(), code) != codes.end())
        return "";
    const std::string message = "'" + code + "' is not a lint finding code";
    if (const auto closest = ClosestMatch(code, codes))
        return message + "; did you mean '" + *closest + "'?";
    return message;
}

// The findings that --severity and --ignore let through, in report order,
// and how many they left out.
struct Selection {
    std::vector<fwcommon::LintFinding> shown;
    std::size_t leftOut = 0;
};

Selection Select(std::vector<fwcommon::LintFinding> findings, const LintOptions& options) {
    const bool errorsOnly = options.severity == "error";
    Selection selection;
    for (fwcommon::LintFinding& f : findings) {
        const bool ignored = std::find(options.ignored.begin(), options.ignored.end(), f.code) !=
                             options.ignored.end();
        if (ignored || (errorsOnly && f.severity != fwcommon::LintSeverity::eError))
            ++selection.leftOut;
        else
            selection.shown.push_back(std::move(f));
    }
    return selection;
}

// How many findings of each code, most frequent first, ties by code.
std::vector<std::pair<std::string, std::size_t>> CodeCounts(
    const std::vector<fwcommon::LintFinding>& findings) {
    std::map<std::string, std::size_t> byCode;
    for (const auto& f : findings)
        ++byCode[f.code];
    std::vector<std::pair<std::string, std::size_t>> counts(byCode.begin(), byCode.end());
    std::stable_sort(counts.begin(), counts.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    return counts;
}

// "local #2 rule 7" or "ip object 101".
std::string Subject(const fwcommon::LintFinding& f) {
    if (f.subject == fwcommon::LintSubject::eNamedObject) {
        return ObjectKindWord(f.objectType) + " object " + std::to_string(f.identifier);
    }
    const std::string section = SectionName(f.section);
    return (section.empty() ? "rule " : section + " #" + std::to_string(f.position) + " rule ") +
           std::to_string(f.identifier);
}

// "error" or "warning", in its colour when colour is wanted.
std::string SeverityWord(fwcommon::LintSeverity severity) {
    return terminal::Styled(fwcommon::LintSeverityName(severity),
                            severity == fwcommon::LintSeverity::eError ? terminal::Style::kError
                                                                       : terminal::Style::kWarning);
}

// "by code: 4 identifier-out-of-range, 1 shadowed-rule; 2 left out".
std::string CodeLine(const Selection& selection) {
    std::string line = "by code: ";
    const auto counts = CodeCounts(selection.shown);
    if (counts.empty())
        line += "none";
    for (std::size_t i = 0; i < counts.size(); ++i)
        line += (i == 0 ? "" : ", ") + std::to_string(counts[i].second) + " " + counts[i].first;
    if (selection.leftOut > 0)
        line += "; " + std::to_string(selection.leftOut) + " left out";
    return line;
}

// Prints nothing when no file could be read: the errors said why.
void PrintText(const Selection& selection, const std::vector<std::string>& sources) {
    if (sources.empty())
        return;
    std::map<std::string, std::pair<int, int>> counts;
    for (const auto& f : selection.shown) {
        std::cout << terminal::Printable(FileLabel(f.source)) << ": " << Subject(f) << " \""
                  << terminal::Printable(ToUtf8(f.name)) << "\": " << SeverityWord(f.severity)
                  << ": " << f.code << ": " << terminal::Printable(ToUtf8(f.message)) << '\n';
        auto& [errors, warnings] = counts[f.source];
        (f.severity == fwcommon::LintSeverity::eError ? errors : warnings) += 1;
    }
    for (const std::string& source : sources) {
        const auto [errors, warnings] = counts[source];
        std::cout << terminal::Printable(FileLabel(source)) << ": " << errors
                  << (errors == 1 ? " error, " : " errors, ") << warnings
                  << (warnings == 1 ? " warning" : " warnings") << '\n';
    }
    std::cout << CodeLine(selection) << '\n';
}

using Json = nlohmann::ordered_json;

Json RelatedRuleJson(const fwcommon::LintRelatedRule& rule) {
    return {{"section", SectionName(rule.section)},
            {"position", rule.position},
            {"ruleId", rule.identifier},
            {"name", ToUtf8(rule.name)}};
}

Json FindingJson(const fwcommon::LintFinding& f) {
    Json j = {{"file", f.source},
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
        if (f.relatedRule)
            j["relatedRule"] = RelatedRuleJson(*f.relatedRule);
    }
    return j;
}

Json FileCountsJson(const std::vector<fwcommon::LintFinding>& findings,
                    const std::vector<std::string>& sources) {
    Json files = Json::array();
    for (const std::string& source : sources) {
        std::size_t errors = 0;
        std::size_t warnings = 0;
        for (const auto& f : findings) {
            if (f.source == source)
                (f.severity == fwcommon::LintSeverity::eError ? errors : warnings) += 1;
        }
        files.push_back({{"file", source}, {"errors", errors}, {"warnings", warnings}});
    }
    return files;
}

void PrintJson(const Selection& selection, const std::vector<std::string>& sources) {
    Json list = Json::array();
    for (const auto& f : selection.shown)
        list.push_back(FindingJson(f));
    Json byCode = Json::object();
    for (const auto& [code, count] : CodeCounts(selection.shown))
        byCode[code] = count;
    const Json report = {{"findings", list},
                         {"files", FileCountsJson(selection.shown, sources)},
                         {"byCode", byCode},
                         {"leftOut", selection.leftOut}};
    std::cout << report.dump(2) << '\n';
}

// Errors fail the run; with --strict warnings do too.
bool Fails(const std::vector<fwcommon::LintFinding>& findings, bool strict) {
    return std::any_of(findings.begin(), findings.end(), [strict](const auto& f) {
        return strict || f.severity == fwcommon::LintSeverity::eError;
    });
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
    const Selection selection =
        Select(fwcommon::LintPolicies(documents, objects ? &shared : nullptr), options);
    if (options.json) {
        PrintJson(selection, sources);
    } else {
        PrintText(selection, sources);
    }
    loaded.push_back(std::move(objects));
    LeaveToProcessEnd(std::make_shared<decltype(loaded)>(std::move(loaded)));
    return allLoaded && !Fails(selection.shown, options.strict) ? kExitOk : kExitFailure;
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
    lint->add_option("--severity", options->severity,
                     "Report only findings of this severity or worse (default warning)")
        ->check(CLI::IsMember({"error", "warning"}));
    std::string codes;
    for (const std::string& code : FindingCodes())
        codes += (codes.empty() ? "" : ", ") + code;
    lint->add_option("--ignore", options->ignored, "Leave out the findings of this code: " + codes)
        ->check(FindingCode);
    lint->add_flag("--strict", options->strict, "Fail on warnings as on errors");
    AddJobsOption(*lint, &options->jobs);
    lint->callback([options, status] {
        // A file named twice (a.xml ./a.xml) is linted once, not against itself.
        options->files = DistinctFiles(options->files);
        *status = RunLint(*options);
    });
}

}  // namespace fwpolicy
