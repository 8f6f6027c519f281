#include "CheckCommand.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "FileWorkers.h"
#include "PolicyFile.h"
#include "PolicySummary.h"
#include "terminal/SafeText.h"

namespace fwpolicy {
namespace {

struct CheckOptions {
    std::vector<std::string> files;
    unsigned jobs = DefaultWorkerCount();
};

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
    verb.add_option("-j,--jobs", *jobs,
                    "Work on N files at once (default: one per processor; 1 works on one file "
                    "after another)")
        ->type_name("N")
        ->check(CLI::PositiveNumber);
}

void AddCheckCommand(CLI::App& app, int* status) {
    auto options = std::make_shared<CheckOptions>();
    CLI::App* check = app.add_subcommand(
        "check", "Validate policy files against the rules schema and summarise them");
    check->add_option("FILE", options->files, "Policy files to check")->required();
    AddJobsOption(*check, &options->jobs);
    check->callback([options, status] { *status = Check(*options); });
}

}  // namespace fwpolicy
