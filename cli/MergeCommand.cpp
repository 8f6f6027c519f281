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
#include "FileIdentity.h"
#include "FileIo.h"
#include "IsoTime.h"
#include "MergeRenumberings.h"
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

// Refuses a file given twice, and an output that would replace an input.
void CheckMergeFiles(const MergeOptions& options) {
    const std::size_t repeated = FirstRepeatedFile(options.files);
    if (repeated < options.files.size()) {
        throw CLI::ValidationError(options.files[repeated],
                                   "is given twice; merge takes each policy once");
    }
    for (std::size_t i = 0; i < options.files.size(); ++i) {
        if (options.output != kStandardStream && NamesSameFile(options.output, options.files[i])) {
            throw CLI::ValidationError("-o " + options.output,
                                       "is one of the files to merge; write the merged policy "
                                       "to a file of its own");
        }
    }
}

// Tells, one line each on stderr, which objects and rules of a later file
// got new identifiers because an earlier file's held theirs.
void ReportRenumberings(const std::vector<Renumbering>& renumberings) {
    for (const Renumbering& r : renumberings) {
        PrintFileError(std::cerr, ToUtf8(r.dataname),
                       r.what + " \"" + ToUtf8(r.name) + "\" renumbered " + std::to_string(r.from) +
                           " \u2192 " + std::to_string(r.to) + " (an earlier file holds " +
                           std::to_string(r.from) + ")");
    }
}

int Merge(const MergeOptions& options, std::int64_t time) {
    fwcommon::Context context;
    for (const std::string& file : options.files) {
        if (!Register(context, file))
            return kExitFailure;
    }
    try {
        std::vector<unsigned char> merged;
        std::vector<std::wstring> log;
        {
            const MergeLogCapture capture;
            context.GetRSOP(merged, time, options.period);
            log = capture.Lines();
        }
        // Never write what could not be read back.
        const auto result = fwcommon::ParsePolicyDocument(merged);
        WriteOutput(options.output, merged, options.files);
        ReportRenumberings(RenumberingsOf(log, *result));
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
        CheckMergeFiles(*options);
        *status = Merge(*options, time);
    });
}

}  // namespace fwpolicy
