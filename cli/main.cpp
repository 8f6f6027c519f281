// fwpolicy: check, show, compare and edit firewall policy files.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include <fwcommon/LogFacility.h>
#include <fwcommon/StreamLogSink.h>
#include "ApplyCommand.h"
#include "ByteSize.h"
#include "CheckCommand.h"
#include "CommandLine.h"
#include "DiffCommand.h"
#include "FileIo.h"
#include "FormatCommand.h"
#include "LintCommand.h"
#include "MergeCommand.h"
#include "NewCommand.h"
#include "ObjectCommand.h"
#include "ObjectsCommand.h"
#include "OptionCommand.h"
#include "QueryCommand.h"
#include "RenumberCommand.h"
#include "RuleCommand.h"
#include "ScanCommands.h"
#include "ShowCommand.h"
#include "UnusedCommand.h"
#include "Utf8Check.h"
#include "WhereUsedCommand.h"

namespace {

// -v/--verbose: the library's log lines go to stderr. Attached while the
// command line is parsed, before any verb runs.
void AttachVerboseSink(std::int64_t) {
    static fwcommon::StreamLogSink sink(0, std::cerr);
    fwcommon::GetLibLogFacility().AttachSink(&sink);
}

// --max-size SIZE: the largest policy file the verbs read.
void SetMaxSize(const std::string& text) {
    const auto bytes = fwpolicy::ParseByteSize(text);
    if (!bytes) {
        throw CLI::ValidationError(
            "--max-size", "'" + text + "' is not a size (bytes, or a number with K, M or G)");
    }
    fwpolicy::SetMaxFileSize(*bytes);
}

// Names, values and file names are taken as UTF-8 text; an argument that
// is not would reach a document changed or not at all.
bool ArgumentsAreUtf8(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!fwpolicy::IsValidUtf8(argv[i])) {
            std::cerr << "fwpolicy: argument " << i
                      << " is not valid UTF-8; the tool takes its arguments as UTF-8 text\n";
            return false;
        }
    }
    return true;
}

// The last verb of the chain the command line selected.
const CLI::App& DeepestVerb(const CLI::App& app) {
    const CLI::App* verb = &app;
    while (!verb->get_subcommands().empty())
        verb = verb->get_subcommands().front();
    return *verb;
}

// Verbs whose exit status 1 is an answer (differences found, a flow
// dropped): their trouble is 2.
bool AnswersWithStatusOne(const CLI::App& verb) {
    return verb.get_name() == "diff" || verb.get_name() == "query";
}

// Output that could not be written (a full disk, a closed pipe) is an
// error, as cat and diff report it; a verb must not exit 0 having printed
// half of its answer.
int WithOutputChecked(int status, const CLI::App& verb) {
    std::cout.flush();
    if (std::cout && std::fflush(stdout) == 0 && !std::ferror(stdout))
        return status;
    const int error = errno;
    std::cerr << "fwpolicy: cannot write standard output"
              << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << '\n';
    if (AnswersWithStatusOne(verb))
        return fwpolicy::kExitUsage;
    return status == fwpolicy::kExitOk ? fwpolicy::kExitFailure : status;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"fwpolicy: check, show, compare and edit firewall policy files", "fwpolicy"};
    app.require_subcommand(1);
    app.fallthrough();  // -v is accepted after the verb too
    app.add_flag_function("-v,--verbose", AttachVerboseSink,
                          "Show the library's log lines on stderr");
    app.add_option_function<std::string>("--max-size", SetMaxSize,
                                         "Refuse policy files larger than SIZE (default 1G)")
        ->type_name("SIZE");
    int status = fwpolicy::kExitOk;
    fwpolicy::AddNewCommand(app, &status);
    fwpolicy::AddCheckCommand(app, &status);
    fwpolicy::AddShowCommand(app, &status);
    fwpolicy::AddScanCommands(app, &status);
    fwpolicy::AddObjectsCommand(app, &status);
    fwpolicy::AddWhereUsedCommand(app, &status);
    fwpolicy::AddUnusedCommand(app, &status);
    fwpolicy::AddDiffCommand(app, &status);
    fwpolicy::AddMergeCommand(app, &status);
    fwpolicy::AddRuleCommand(app, &status);
    fwpolicy::AddObjectCommand(app, &status);
    fwpolicy::AddOptionCommand(app, &status);
    fwpolicy::AddRenumberCommand(app, &status);
    fwpolicy::AddApplyCommand(app, &status);
    fwpolicy::AddFormatCommand(app, &status);
    fwpolicy::AddLintCommand(app, &status);
    fwpolicy::AddQueryCommand(app, &status);
    fwpolicy::AddHelpCommand(app, &status);
    fwpolicy::AddVersionFlag(app);

    if (!ArgumentsAreUtf8(argc, argv)) {
        return fwpolicy::kExitUsage;
    }
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (const auto unknown = fwpolicy::UnknownVerb(app, args)) {
        std::cerr << "fwpolicy: " << *unknown << '\n';
        return fwpolicy::kExitUsage;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ExtrasError&) {
        std::cerr << fwpolicy::UnexpectedArguments(DeepestVerb(app), app.remaining(true)) << '\n';
        return fwpolicy::kExitUsage;
    } catch (const CLI::ParseError& e) {
        std::cerr << fwpolicy::UsageError(DeepestVerb(app), e.what()) << '\n';
        return fwpolicy::kExitUsage;
    }
    return WithOutputChecked(status, DeepestVerb(app));
}
