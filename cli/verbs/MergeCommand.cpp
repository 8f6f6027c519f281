#include "verbs/MergeCommand.h"

#include <climits>
#include <cstdint>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <fwcommon/Context.h>
#include <fwcommon/PolicyDocument.h>
#include "ExitStatus.h"
#include "ProcessEnd.h"
#include "fileio/FileIdentity.h"
#include "fileio/FileIo.h"
#include "fileio/FileWorkers.h"
#include "policy/IdentifierRoom.h"
#include "render/Diagnostics.h"
#include "terminal/SafeText.h"
#include "text/IsoTime.h"
#include "text/Utf8.h"
#include "verbs/CheckCommand.h"
#include "verbs/MergeRenumberings.h"

namespace fwpolicy {
namespace {

struct MergeOptions {
    std::vector<std::string> files;
    std::string output;
    std::string time;
    int period = 900;
    bool force = false;  // replace a read-only OUT or one of several hard links
    unsigned jobs = DefaultWorkerCount();
};

// One input file read and parsed, before the context sees it.
struct ParsedInput {
    std::unique_ptr<Sarvo::PolicyType> document;
    MergeSource source;
    std::optional<fwcommon::PolicyDocumentDigest> digest;  // of the bytes it was parsed from
};

// A file that could not be read or parsed; its message is printed.
struct InputRefused {};

// Reads and parses one file, keeping its rules' and objects' identifiers
// as the file gives them; throws InputRefused after printing to err why
// it could not.
ParsedInput Parse(const std::string& file, const std::wstring& schemaPath, std::ostream& err) {
    try {
        ParsedInput input;
        const std::vector<unsigned char> bytes = ReadFile(file);
        input.document = fwcommon::ParsePolicyDocument(bytes, schemaPath);
        input.source = SourceOf(FromUtf8(file), *input.document);
        input.digest.emplace(bytes, schemaPath);
        return input;
    } catch (const xml_schema::exception& e) {
        PrintDocumentErrors(err, file, e);
    } catch (const std::exception& e) {
        PrintFileError(err, file, e.what());
    }
    throw InputRefused();
}

// Registers one parsed file under its name and notes what the load
// changed; false (reported) when the context refuses it.
bool Register(fwcommon::Context& context, const std::string& file, ParsedInput& input,
              std::vector<MergeSource>& sources) {
    try {
        const std::wstring& dataname = input.source.dataname;
        context.AppendParsedDocument(dataname, std::move(input.document), fwcommon::User, {},
                                     dataname);
        NoteChangesOnLoad(input.source, context);
        sources.push_back(std::move(input.source));
        return true;
    } catch (const xml_schema::exception& e) {
        PrintDocumentErrors(std::cerr, file, e);
    } catch (const std::exception& e) {
        PrintFileError(std::cerr, file, e.what());
    }
    return false;
}

// Reads and parses the files, up to `jobs` at once; false when one of them
// could not be (reported, as a run one file after another reports it).
bool ParseAll(const MergeOptions& options, const std::wstring& schemaPath,
              std::vector<ParsedInput>& inputs) {
    inputs.resize(options.files.size());
    try {
        RunFileJobs(
            options.files.size(), options.jobs,
            [&](std::size_t index, std::ostream&, std::ostream& err) {
                inputs[index] = Parse(options.files[index], schemaPath, err);
            },
            std::cout, std::cerr);
    } catch (const InputRefused&) {
        return false;
    }
    return true;
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

// Tells, one line each on stderr, which objects and rules got new
// identifiers in the merged document, and why. The lines go out in blocks:
// a merge of files that share identifiers notes every rule of all but the
// first, and stderr writes each line on its own otherwise.
void ReportRenumberings(const std::vector<Renumbering>& renumberings) {
    constexpr std::size_t kBlockBytes = 64 * 1024;
    std::ostringstream block;
    for (const Renumbering& r : renumberings) {
        PrintFileError(block, ToUtf8(r.dataname),
                       r.what + " \"" + terminal::Printable(ToUtf8(r.name)) + "\" renumbered " +
                           std::to_string(r.from) + " \u2192 " + std::to_string(r.to) + " (" +
                           r.why + ")");
        if (block.tellp() >= static_cast<std::streamoff>(kBlockBytes)) {
            std::cerr << block.str();
            block.str(std::string());
        }
    }
    std::cerr << block.str() << std::flush;
}

// What a merge gives: the merged document's bytes, what it renumbered,
// and the digests of its inputs to check the bytes against.
struct MergeResult {
    std::vector<unsigned char> bytes;  // empty when an input was refused (reported)
    std::vector<Renumbering> renumberings;
    std::vector<fwcommon::PolicyDocumentDigest> digests;
};

// Merges the files; the inputs are left to the end of the process (the
// peak is the merge itself, while they and the resultant policy are all
// held, not the check that follows).
MergeResult Merged(const MergeOptions& options, std::int64_t time) {
    const auto inputs = std::make_shared<fwcommon::Context>();
    fwcommon::Context& context = *inputs;
    std::vector<ParsedInput> parsed;
    MergeResult result;
    if (!ParseAll(options, context.GetSchemaPath(), parsed))
        return result;
    std::vector<MergeSource> sources;
    for (std::size_t i = 0; i < options.files.size(); ++i) {
        result.digests.push_back(*parsed[i].digest);
        if (!Register(context, options.files[i], parsed[i], sources))
            return result;
    }
    std::vector<std::wstring> log;
    try {
        const MergeLogCapture capture;
        context.GetRSOP(result.bytes, time, options.period);
        log = capture.Lines();
    } catch (const std::out_of_range&) {
        // The merged policy numbers every rule within its creation type's
        // range, which the files together may outgrow.
        CreationTypeCounts rules;
        for (const MergeSource& source : sources)
            CountRulesByCreationType(source.rules, rules);
        const std::string crowded = RulesBeyondTheirIdentifiers(rules);
        if (crowded.empty())
            throw;
        std::cerr << "fwpolicy: merge: together the files hold " << crowded
                  << "; merge fewer of them\n";
        result.bytes.clear();
        return result;
    }
    result.renumberings = RenumberingsOf(log, sources);
    LeaveToProcessEnd(inputs);
    return result;
}

int Merge(const MergeOptions& options, std::int64_t time) {
    try {
        // Asked before the files are read, so that a merge of large files
        // does not end in a refusal.
        CheckOutputMayBeReplaced(options.output, options.force);
        const MergeResult merged = Merged(options, time);
        if (merged.bytes.empty())
            return kExitFailure;
        // Never write what could not be read back.
        fwcommon::ValidateMergedPolicyDocument(merged.digests, merged.bytes);
        WriteOutput(options.output, merged.bytes, options.files, options.force);
        ReportRenumberings(merged.renumberings);
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
    merge->add_flag("--force", options->force,
                    "Replace OUT even when it is read-only or has several hard links");
    AddJobsOption(*merge, &options->jobs);
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
