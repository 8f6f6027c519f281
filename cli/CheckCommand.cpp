#include "CheckCommand.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "PolicyFile.h"
#include "PolicySummary.h"

namespace fwpolicy {
namespace {

// Checks one file; true when it is a valid policy document.
bool CheckFile(const std::string& file) {
    const auto policy = LoadPolicyFile(file);
    if (policy) {
        std::cout << file << ": ok: " << Describe(Summarize(*policy)) << '\n';
    }
    return policy != nullptr;
}

}  // namespace

void AddCheckCommand(CLI::App& app, int* status) {
    auto files = std::make_shared<std::vector<std::string>>();
    CLI::App* check = app.add_subcommand(
        "check", "Validate policy files against the rules schema and summarise them");
    check->add_option("FILE", *files, "Policy files to check")->required();
    check->callback([files, status] {
        bool allValid = true;
        for (const std::string& file : *files) {
            allValid = CheckFile(file) && allValid;
        }
        *status = allValid ? kExitOk : kExitFailure;
    });
}

}  // namespace fwpolicy
