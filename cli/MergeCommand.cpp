#include "MergeCommand.h"

#include <climits>
#include <cstdint>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <fwcommon/Context.h>
#include <fwcommon/PolicyDocument.h>
#include "CheckCommand.h"
#include "Diagnostics.h"
#include "FileIo.h"
#include "IsoTime.h"
#include "Utf8.h"

namespace fwpolicy {
namespace {

struct MergeOptions {
    std::vector<std::string> files;
    std::string output;
    std::string time;
    int period = 900;
};

// Registers one file; false (reported) when it cannot be read or loaded.
bool Register(fwcommon::Context& context, const std::string& file) {
    try {
        const std::wstring dataname = FromUtf8(file);
        context.AppendXmlReader(dataname, ReadFile(file), fwcommon::User, {}, dataname);
        return true;
    } catch (const xml_schema::exception& e) {
        PrintDocumentErrors(std::cerr, file, e);
    } catch (const std::exception& e) {
        PrintFileError(std::cerr, file, e.what());
    }
    return false;
}

int Merge(const MergeOptions& options, std::int64_t time) {
    fwcommon::Context context;
    for (const std::string& file : options.files) {
        if (!Register(context, file))
            return kExitFailure;
    }
    try {
        std::vector<unsigned char> merged;
        context.GetRSOP(merged, time, options.period);
        fwcommon::ParsePolicyDocument(merged);  // never write what we could not read back
        WriteOutput(options.output, merged, options.files);
        return kExitOk;
    } catch (const xml_schema::exception& e) {
        PrintDocumentErrors(std::cerr, options.output, e);
    } catch (const std::exception& e) {
        PrintFileError(std::cerr, options.output, e.what());
    }
    return kExitFailure;
}

}  // namespace

void AddMergeCommand(CLI::App& app, int* status) {
    auto options = std::make_shared<MergeOptions>();
    CLI::App* merge = app.add_subcommand(
        "merge", "Write the resultant policy of several policy files into one file");
    merge->add_option("FILE", options->files, "Policy files, in order")->required();
    merge->add_option("-o,--output", options->output, "File to write")->required();
    merge->add_option("--time", options->time,
                      "Application time, ISO-8601 such as 2026-12-01T08:00:00Z (default: now)");
    merge->add_option("--period", options->period, "Rollback period in seconds (default 900)")
        ->check(CLI::Range(0, INT_MAX));
    merge->callback([options, status] {
        std::int64_t time = 0;  // the library's "now"
        if (!options->time.empty()) {
            try {
                time = ParseIsoDateTime(options->time);
            } catch (const std::invalid_argument& e) {
                throw CLI::ValidationError("--time", e.what());
            }
        }
        *status = Merge(*options, time);
    });
}

}  // namespace fwpolicy
