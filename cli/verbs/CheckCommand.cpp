#include "verbs/CheckCommand.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <fwcommon/PolicyDocument.h>
#include <nlohmann/json.hpp>

#include "fileio/FileIo.h"
#include "fileio/FileWorkers.h"
#include "fileio/PolicyFile.h"
#include "render/Diagnostics.h"
#include "render/PolicySummary.h"
#include "terminal/SafeText.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

struct CheckOptions {
    std::vector<std::string> files;
    bool json = false;
    unsigned jobs = DefaultWorkerCount();
};

using Json = nlohmann::ordered_json;

Json Position(unsigned long long value) {
    return value == 0 ? Json() : Json(value);
}

Json Diagnostic(const xml_schema::error& d) {
    return {{"line", Position(d.line())},
            {"column", Position(d.column())},
            {"severity", d.severity() == xml_schema::severity::warning ? "warning" : "error"},
            {"message", ToUtf8(d.message())}};
}

Json Unpositioned(const std::string& message) {
    return {{"line", nullptr}, {"column", nullptr}, {"severity", "error"}, {"message", message}};
}

Json Diagnostics(const xml_schema::exception& error) {
    Json list = Json::array();
    if (const auto* parsing = dynamic_cast<const xml_schema::parsing*>(&error)) {
        for (const xml_schema::error& d : parsing->diagnostics())
            list.push_back(Diagnostic(d));
    }
    if (list.empty()) {
        std::wostringstream text;
        text << error;
        list.push_back(Unpositioned(ToUtf8(text.str())));
    }
    return list;
}

Json SummaryJson(const PolicySummary& s) {
    return {{"rules",
             {{"local", s.localRules},
              {"vpn", s.vpnRules},
              {"transit", s.transitRules},
              {"tunnel", s.tunnelRules},
              {"nat", s.natRules},
              {"unsectioned", s.unsectionedRules}}},
            {"objects",
             {{"ip", s.ipObjects},
              {"interface", s.interfaceObjects},
              {"vpn", s.vpnObjects},
              {"service", s.serviceObjects},
              {"schedule", s.scheduleObjects}}}};
}

// The check of one file as JSON: its summary when it is a valid policy
// document, else the parser's diagnostics or why it could not be read.
Json CheckFileJson(const std::string& file) {
    Json result = {{"file", file}};
    try {
        const auto policy = fwcommon::ParsePolicyDocument(ReadFile(file));
        result["valid"] = true;
        result.update(SummaryJson(Summarize(*policy)));
    } catch (const xml_schema::exception& e) {
        result["valid"] = false;
        result["diagnostics"] = Diagnostics(e);
    } catch (const std::exception& e) {
        result["valid"] = false;
        result["diagnostics"] = Json::array({Unpositioned(PlainMessage(e.what()))});
    }
    return result;
}

int CheckAsJson(const CheckOptions& options) {
    std::vector<Json> results(options.files.size());
    RunFileJobs(
        options.files.size(), options.jobs,
        [&options, &results](std::size_t index, std::ostream&, std::ostream&) {
            results[index] = CheckFileJson(options.files[index]);
        },
        std::cout, std::cerr);
    const bool valid = std::all_of(results.begin(), results.end(),
                                   [](const Json& r) { return r.at("valid").get<bool>(); });
    std::cout << Json{{"valid", valid}, {"files", results}}.dump(2) << '\n';
    return valid ? kExitOk : kExitFailure;
}

// Checks one file; true when it is a valid policy document.
bool CheckFile(const std::string& file, std::ostream& out, std::ostream& err) {
    const auto policy = LoadPolicyFile(file, err);
    if (policy) {
        out << terminal::Printable(FileLabel(file)) << ": ok: " << Describe(Summarize(*policy))
            << '\n';
    }
    return policy != nullptr;
}

int Check(const CheckOptions& options) {
    if (options.json)
        return CheckAsJson(options);
    // One flag per file, each written by its own job only.
    std::vector<char> valid(options.files.size(), 0);
    RunFileJobs(
        options.files.size(), options.jobs,
        [&options, &valid](std::size_t index, std::ostream& out, std::ostream& err) {
            valid[index] = CheckFile(options.files[index], out, err);
        },
        std::cout, std::cerr);
    return std::all_of(valid.begin(), valid.end(), [](char v) { return v != 0; }) ? kExitOk
                                                                                  : kExitFailure;
}

}  // namespace

void AddJobsOption(CLI::App& verb, unsigned* jobs) {
    // More threads than this only add stacks, never speed.
    constexpr unsigned kMostJobs = 1024;
    verb.add_option("-j,--jobs", *jobs,
                    "Work on N files at once (default: one per processor; 1 works on one file "
                    "after another)")
        ->type_name("N")
        ->check(CLI::Range(1u, kMostJobs));
}

void AddCheckCommand(CLI::App& app, int* status) {
    auto options = std::make_shared<CheckOptions>();
    CLI::App* check = app.add_subcommand(
        "check", "Validate policy files against the rules schema and summarise them");
    check->add_option("FILE", options->files, "Policy files to check")->required();
    check->add_flag("--json", options->json, "Print each file's summary or diagnostics as JSON");
    AddJobsOption(*check, &options->jobs);
    check->callback([options, status] { *status = Check(*options); });
}

}  // namespace fwpolicy
