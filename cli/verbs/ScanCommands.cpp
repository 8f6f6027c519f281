#include "verbs/ScanCommands.h"

#include <iostream>
#include <memory>
#include <string>

#include <fwcommon/PolicyDocument.h>
#include <fwcommon/QuickScanners.h>
#include "ExitStatus.h"
#include "fileio/FileIo.h"
#include "fileio/MarkupScan.h"
#include "render/Diagnostics.h"
#include "terminal/SafeText.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

const char* const kPolicyElement = "Policy";

// A scan says only that it could not read the bytes; the validating parse
// says where and why, as check does.
void ReportUnreadable(const std::string& file, const std::vector<unsigned char>& bytes) {
    try {
        fwcommon::ValidatePolicyDocument(bytes);
    } catch (const xml_schema::exception& e) {
        PrintDocumentErrors(std::cerr, file, e);
        return;
    }
    PrintFileError(std::cerr, file, "not a readable policy document");
}

// Reads the file and runs one scan; prints the failure and returns false
// when either fails.
template <typename Scan>
bool RunScan(const std::string& file, Scan scan) {
    try {
        const std::vector<unsigned char> bytes = ReadFile(file);
        if (scan(bytes) != 0) {
            ReportUnreadable(file, bytes);
            return false;
        }
        return true;
    } catch (const std::exception& e) {
        PrintFileError(std::cerr, file, e.what());
        return false;
    }
}

}  // namespace

void AddScanCommands(CLI::App& app, int* status) {
    auto versionFile = std::make_shared<std::string>();
    CLI::App* version =
        app.add_subcommand("version", "Print the schema version a policy file states");
    version->add_option("FILE", *versionFile, "Policy file")->required();
    version->callback([versionFile, status] {
        std::wstring text;
        std::string root;
        bool ok = RunScan(*versionFile, [&text, &root](const auto& bytes) {
            root = DocumentElementName(bytes);
            return fwcommon::GetXmlVersion(bytes, text);
        });
        // Every policy document states its version; a file without one, or
        // with another document element, is some other XML.
        if (ok && text.empty()) {
            PrintFileError(std::cerr, *versionFile,
                           "states no Properties/Version, so it is no policy document");
            ok = false;
        } else if (ok && root != kPolicyElement) {
            PrintFileError(std::cerr, *versionFile,
                           "its document element is " + root + ", not " + kPolicyElement +
                               ", so it is no policy document");
            ok = false;
        } else if (ok) {
            std::cout << terminal::Printable(ToUtf8(text)) << '\n';
        }
        *status = ok ? kExitOk : kExitFailure;
    });

    auto domainsFile = std::make_shared<std::string>();
    CLI::App* domains =
        app.add_subcommand("domains", "List the domain names a policy file mentions, sorted");
    domains->add_option("FILE", *domainsFile, "Policy file")->required();
    domains->callback([domainsFile, status] {
        std::vector<std::wstring> names;
        const bool ok = RunScan(*domainsFile, [&names](const auto& bytes) {
            return fwcommon::GetDomainNames(bytes, names);
        });
        for (const auto& name : names) {
            std::cout << terminal::Printable(ToUtf8(name)) << '\n';
        }
        *status = ok ? kExitOk : kExitFailure;
    });
}

}  // namespace fwpolicy
