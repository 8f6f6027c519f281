#include "verbs/RenumberCommand.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <fwcommon/PolicyDocument.h>
#include "ExitStatus.h"
#include "editor/PolicyEdit.h"
#include "policy/CreationTypeNames.h"
#include "policy/RuleIdentifiers.h"
#include "terminal/SafeText.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

// "local 1 → 200001 (policy) "Administration from the LAN"", the arrow
// as diff prints a change.
std::string RenumberedLine(const FileRule& rule, long long to) {
    return rule.section + ' ' + std::to_string(rule.id) + " \u2192 " + std::to_string(to) + " (" +
           CreationTypeNames().at(rule.creationType) + ") \"" +
           terminal::Printable(ToUtf8(rule.name)) + '"';
}

// The rules whose identifier the index gives differently from the file,
// in document order; reading the rules numbers them.
std::vector<std::string> Renumbered(fwcommon::Context& context, const std::wstring& dataname,
                                    const std::vector<unsigned char>& source) {
    std::vector<unsigned char> loaded;
    context.GetXmlData(dataname, loaded);
    if (!LoadMayHaveRenumbered(loaded, source))
        return {};
    const std::vector<FileRule> rules = RulesOf(*fwcommon::ParsePolicyDocument(source));
    std::vector<std::string> lines;
    for (const IdentifierChange& change : IdentifierChangesOnLoad(rules, loaded))
        lines.push_back(RenumberedLine(rules[change.index], change.to));
    return lines;
}

}  // namespace

void AddRenumberCommand(CLI::App& app, int* status) {
    auto target = std::make_shared<EditTarget>();
    CLI::App* verb = app.add_subcommand(
        "renumber",
        "Give every rule an identifier inside its creation type's range, once, and print the "
        "old and new identifiers");
    AddEditTarget(*verb, *target);
    target->reportsRenumbering = true;
    verb->callback([target, status] {
        auto lines = std::make_shared<std::vector<std::string>>();
        *status = RunEditWithSource(
            *target, [lines](fwcommon::Context& context, const std::wstring& dataname,
                             const std::vector<unsigned char>& source) {
                *lines = Renumbered(context, dataname, source);
                // A file that needs no renumbering is left alone, whatever
                // its layout: no need to compare documents to know it, with
                // or without a dry run.
                if (lines->empty())
                    throw NothingToChange("no rule needs a new identifier");
            });
        // With --dry-run the document goes to stdout, so the map goes to stderr.
        std::ostream& report = target->dryRun ? std::cerr : std::cout;
        if (*status == kExitOk) {
            for (const std::string& line : *lines)
                report << line << '\n';
        }
    });
}

}  // namespace fwpolicy
