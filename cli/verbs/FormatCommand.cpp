#include "verbs/FormatCommand.h"

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <fwcommon/PolicyDocument.h>
#include "editor/PolicyEdit.h"
#include "fileio/EditLock.h"
#include "fileio/FileIo.h"
#include "fileio/FileWorkers.h"
#include "render/Diagnostics.h"
#include "terminal/SafeText.h"
#include "verbs/CheckCommand.h"

namespace fwpolicy {
namespace {

struct FormatOptions {
    std::vector<std::string> files;
    std::string output;
    bool check = false;
    bool dropComments = false;
    unsigned jobs = DefaultWorkerCount();
    EditTarget replace;  // --force and --wait, for a file rewritten in place
};

bool RewritesInPlace(const FormatOptions& options) {
    return !options.check && options.output.empty();
}

// Writes the result to -o OUT; its failures are reported under OUT's name.
int WriteFormatted(const std::string& output, const std::vector<unsigned char>& canonical,
                   const std::string& source, bool force, std::ostream& err) {
    try {
        WriteOutput(output, canonical, {source}, force);
        return kExitOk;
    } catch (const std::exception& e) {
        PrintFileError(err, output, e.what());
    }
    return kExitFailure;
}

// Formats one file; returns its exit status.
int FormatFile(const std::string& file, const FormatOptions& options, std::ostream& out,
               std::ostream& err) {
    try {
        std::optional<EditLock> lock;  // held until the file is replaced
        if (RewritesInPlace(options)) {
            EditTarget target = options.replace;
            target.file = file;
            LockForReplacing(target, lock);
        }
        const std::vector<unsigned char> bytes = ReadFile(file);
        const std::vector<unsigned char> canonical =
            fwcommon::WritePolicyDocument(*fwcommon::ParsePolicyDocument(bytes));
        if (options.check) {
            if (canonical == bytes)
                return kExitOk;
            out << terminal::Printable(FileLabel(file)) << ": not in canonical form\n";
            return kExitFailure;
        }
        const std::string& target = options.output.empty() ? file : options.output;
        if (canonical == bytes && target == file && file != kStandardStream)
            return kExitOk;
        if (!MayRewrite(file, bytes, options.dropComments))
            return kExitFailure;
        ProveReadable(bytes, canonical);
        if (options.output.empty()) {
            // Replaced as an edit replaces a file.
            ExpectReplaceable(file, lock, bytes, options.replace.force,
                              "the file changed while it was being formatted; nothing was written");
            ReplaceInPlace(file, canonical);
            WarnCommentsDropped(file, bytes, options.dropComments);
            return kExitOk;
        }
        const int status =
            WriteFormatted(options.output, canonical, file, options.replace.force, err);
        if (status == kExitOk)
            WarnCommentsDropped(file, bytes, options.dropComments);
        return status;
    } catch (const xml_schema::exception& e) {
        PrintDocumentErrors(err, file, e);
    } catch (const std::exception& e) {
        PrintFileError(err, file, e.what());
    }
    return kExitFailure;
}

// Checks run on several files at once; rewrites one file after another
// (the same file may be named twice).
int Format(const FormatOptions& options) {
    const unsigned jobs = options.check ? options.jobs : 1;
    std::vector<int> statuses(options.files.size(), kExitOk);
    RunFileJobs(
        options.files.size(), jobs,
        [&options, &statuses](std::size_t index, std::ostream& out, std::ostream& err) {
            statuses[index] = FormatFile(options.files[index], options, out, err);
        },
        std::cout, std::cerr);
    for (const int status : statuses) {
        if (status != kExitOk)
            return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

void AddFormatCommand(CLI::App& app, int* status) {
    auto options = std::make_shared<FormatOptions>();
    CLI::App* format =
        app.add_subcommand("format", "Rewrite policy files in the library's canonical form");
    format->add_option("FILE", options->files, "Policy files")->required();
    CLI::Option* output =
        format->add_option("-o,--output", options->output, "Write the result here (one FILE only)");
    CLI::Option* check = format->add_flag(
        "--check", options->check, "Write nothing; exit 1 when a file is not in canonical form");
    output->excludes(check);
    format->add_flag("--drop-comments", options->dropComments,
                     "Rewrite even though XML comments and processing instructions will be lost");
    AddJobsOption(*format, &options->jobs);
    AddReplaceOptions(*format, options->replace,
                      "Replace a file, or OUT, even when it is read-only or has several hard "
                      "links");
    format->callback([options, output, status] {
        if (output->count() > 0 && options->files.size() != 1)
            throw CLI::ValidationError("--output", "needs exactly one FILE");
        *status = Format(*options);
    });
}

}  // namespace fwpolicy
