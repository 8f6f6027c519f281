// fwpolicy: check, show, compare and edit firewall policy files.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include <fwcommon/LogFacility.h>
#include <fwcommon/StreamLogSink.h>
#include "CommandLine.h"
#include "fileio/FileIo.h"
#include "fileio/Utf8Check.h"
#include "render/EditReport.h"
#include "terminal/OutputSettings.h"
#include "terminal/Pager.h"
#include "terminal/Progress.h"
#include "text/ByteSize.h"
#include "verbs/ApplyCommand.h"
#include "verbs/CheckCommand.h"
#include "verbs/DiffCommand.h"
#include "verbs/FormatCommand.h"
#include "verbs/LintCommand.h"
#include "verbs/MergeCommand.h"
#include "verbs/NewCommand.h"
#include "verbs/ObjectCommand.h"
#include "verbs/ObjectsCommand.h"
#include "verbs/OptionCommand.h"
#include "verbs/QueryCommand.h"
#include "verbs/RenumberCommand.h"
#include "verbs/RuleCommand.h"
#include "verbs/ScanCommands.h"
#include "verbs/ShowCommand.h"
#include "verbs/UnusedCommand.h"
#include "verbs/WhereUsedCommand.h"

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

// --color=auto|always|never.
void AddOutputOptions(CLI::App& app, bool* noPager) {
    static const std::map<std::string, fwpolicy::terminal::ColorChoice> choices = {
        {"auto", fwpolicy::terminal::ColorChoice::kAuto},
        {"always", fwpolicy::terminal::ColorChoice::kAlways},
        {"never", fwpolicy::terminal::ColorChoice::kNever}};
    app.add_option_function<std::string>(
           "--color",
           [](const std::string& choice) {
               fwpolicy::terminal::SetColorChoice(choices.at(choice));
           },
           "Colour the output: auto (on a terminal, unless NO_COLOR is set), always or never")
        ->check(CLI::IsMember({"auto", "always", "never"}))
        ->type_name("WHEN");
    app.add_flag_function(
        "--wide", [](std::int64_t) { fwpolicy::terminal::SetWide(true); },
        "Print table cells in full instead of fitting the terminal's width");
    app.add_flag("--no-pager", *noPager, "Do not page the output on a terminal");
    app.add_flag_function(
        "-q,--quiet", [](std::int64_t) { fwpolicy::BeQuiet(); },
        "Show no progress on a terminal while a verb works, nor what an edit did");
}

// The verbs whose output is for reading, paged on a terminal; edits and the
// verbs that write documents are not.
bool PagedVerb(const CLI::App& app) {
    static const std::set<std::string> paged = {"show", "objects", "where-used", "unused",
                                                "diff", "lint",    "domains",    "help"};
    static const std::set<std::string> pagedSecondWords = {"show", "list"};
    const auto verbs = app.get_subcommands();
    if (verbs.empty())
        return false;
    const CLI::App& verb = *verbs.front();
    if (paged.count(verb.get_name()) > 0)
        return true;
    const auto second = verb.get_subcommands();
    return !second.empty() && pagedSecondWords.count(second.front()->get_name()) > 0;
}

int Run(int argc, char** argv) {
    CLI::App app{"fwpolicy: check, show, compare and edit firewall policy files", "fwpolicy"};
    app.require_subcommand(1);
    app.fallthrough();  // -v is accepted after the verb too
    app.add_flag_function("-v,--verbose", AttachVerboseSink,
                          "Show the library's log lines on stderr");
    app.add_option_function<std::string>("--max-size", SetMaxSize,
                                         "Refuse policy files larger than SIZE (default 1G)")
        ->type_name("SIZE");
    bool noPager = false;
    AddOutputOptions(app, &noPager);
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
    fwpolicy::terminal::PageStandardOutput([&app, &noPager] { return !noPager && PagedVerb(app); });
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
        if (!app.get_subcommands().empty()) {
            // After a verb, --version is no option of the verb's: printing
            // the version would leave its work undone with status 0.
            std::cerr << fwpolicy::UsageError(fwpolicy::DeepestVerb(app),
                                              "--version is an option of fwpolicy itself, "
                                              "not of a verb: fwpolicy --version")
                      << '\n';
            return fwpolicy::kExitUsage;
        }
        return app.exit(e);
    } catch (const CLI::ExtrasError&) {
        std::cerr << fwpolicy::UnexpectedArguments(fwpolicy::DeepestVerb(app), app.remaining(true))
                  << '\n';
        return fwpolicy::kExitUsage;
    } catch (const CLI::ParseError& e) {
        // An argument the verb does not know (a slip in an option's name)
        // is the cause of most other errors, such as an option missing.
        if (!app.remaining(true).empty()) {
            std::cerr << fwpolicy::UnexpectedArguments(fwpolicy::DeepestVerb(app),
                                                       app.remaining(true))
                      << '\n';
            return fwpolicy::kExitUsage;
        }
        std::cerr << fwpolicy::UsageError(fwpolicy::DeepestVerb(app), e.what()) << '\n';
        return fwpolicy::kExitUsage;
    }
    return WithOutputChecked(status, fwpolicy::DeepestVerb(app));
}

}  // namespace

int main(int argc, char** argv) {
    fwpolicy::terminal::SetProgressShown(true);  // counts its seconds from here
    const int status = Run(argc, argv);
    fwpolicy::terminal::FinishProgress();
    fwpolicy::terminal::FinishPager();
    return status;
}
