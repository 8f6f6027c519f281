#include "CheckCommand.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <fwcommon/PolicyDocument.h>
#include "Diagnostics.h"
#include "FileIo.h"
#include "PolicySummary.h"

namespace fwpolicy {
namespace {

// Checks one file; true when it is a valid policy document.
bool CheckFile(const std::string& file) {
    std::vector<unsigned char> bytes;
    try {
        bytes = ReadFile(file);
    } catch (const std::exception& e) {
        std::cerr << "fwpolicy: " << file << ": " << e.what() << '\n';
        return false;
    }
    try {
        std::unique_ptr<Sarvo::PolicyType> policy = fwcommon::ParsePolicyDocument(bytes);
        std::cout << file << ": ok: " << Describe(Summarize(*policy)) << '\n';
        return true;
    } catch (const xml_schema::exception& e) {
        PrintDocumentErrors(std::cerr, file, e);
        return false;
    }
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
