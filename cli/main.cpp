// fwpolicy: check, show, compare and edit firewall policy files.

#include <iostream>

#include <CLI/CLI.hpp>

#include "CheckCommand.h"
#include "ScanCommands.h"
#include "ShowCommand.h"

int main(int argc, char** argv) {
    CLI::App app{"fwpolicy: check, show, compare and edit firewall policy files", "fwpolicy"};
    app.require_subcommand(1);
    int status = fwpolicy::kExitOk;
    fwpolicy::AddCheckCommand(app, &status);
    fwpolicy::AddShowCommand(app, &status);
    fwpolicy::AddScanCommands(app, &status);

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
