// fwpolicy: check, show, compare and edit firewall policy files.

#include <cstdint>
#include <iostream>

#include <CLI/CLI.hpp>

#include <fwcommon/LogFacility.h>
#include <fwcommon/StreamLogSink.h>
#include "CheckCommand.h"
#include "DiffCommand.h"
#include "FormatCommand.h"
#include "LintCommand.h"
#include "MergeCommand.h"
#include "ObjectCommand.h"
#include "ObjectsCommand.h"
#include "OptionCommand.h"
#include "QueryCommand.h"
#include "RuleCommand.h"
#include "ScanCommands.h"
#include "ShowCommand.h"
#include "UnusedCommand.h"
#include "WhereUsedCommand.h"

namespace {

// -v/--verbose: the library's log lines go to stderr. Attached while the
// command line is parsed, before any verb runs.
void AttachVerboseSink(std::int64_t) {
    static fwcommon::StreamLogSink sink(0, std::cerr);
    fwcommon::GetLibLogFacility().AttachSink(&sink);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"fwpolicy: check, show, compare and edit firewall policy files", "fwpolicy"};
    app.require_subcommand(1);
    app.fallthrough();  // -v is accepted after the verb too
    app.add_flag_function("-v,--verbose", AttachVerboseSink,
                          "Show the library's log lines on stderr");
    int status = fwpolicy::kExitOk;
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
    fwpolicy::AddFormatCommand(app, &status);
    fwpolicy::AddLintCommand(app, &status);
    fwpolicy::AddQueryCommand(app, &status);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return fwpolicy::kExitUsage;
    }
    return status;
}
