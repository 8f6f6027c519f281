#include "RenumberCommand.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <fwcommon/PolicyDocument.h>
#include <fwcommon/RuleIdentifier.h>
#include "CheckCommand.h"
#include "PolicyEdit.h"
#include "RuleSection.h"
#include "Utf8.h"
#include "diff/ElementFields.h"
#include "terminal/SafeText.h"

namespace fwpolicy {
namespace {

constexpr fwcommon::RuleType kAllSections[] = {fwcommon::eLocalRules, fwcommon::eVPNRules,
                                               fwcommon::eTransitRules, fwcommon::eTunnelRules,
                                               fwcommon::eNATRules};

// "local 1 → 200001 (policy) "Administration from the LAN"", the arrow
// as diff prints a change.
std::string RenumberedLine(const Sarvo::Rule& before, const Sarvo::Rule& after) {
    return SectionOfRule(after) + ' ' + std::to_string(before.RuleId()) + " \u2192 " +
           std::to_string(after.RuleId()) + " (" + CreationTypeWord(after.CreationType()) + ") \"" +
           terminal::Printable(ToUtf8(after.Name())) + '"';
}

// The rules whose identifier the load changed; the store rewrites the
// identifiers in place, so the rules keep their document order.
std::vector<std::string> Renumbered(const std::vector<unsigned char>& source,
                                    const std::vector<unsigned char>& result) {
    const auto before = fwcommon::ParsePolicyDocument(source);
    const auto after = fwcommon::ParsePolicyDocument(result);
    const auto& old = before->Rules().Rule();
    const auto& now = after->Rules().Rule();
    if (old.size() != now.size())
        throw EditError("the rules changed while they were renumbered; nothing was written");
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < old.size(); ++i) {
        if (old[i].RuleId() != now[i].RuleId())
            lines.push_back(RenumberedLine(old[i], now[i]));
    }
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
    verb->callback([target, status] {
        auto lines = std::make_shared<std::vector<std::string>>();
        *status = RunEditWithSource(
            *target, [lines](fwcommon::Context& context, const std::wstring& dataname,
                             const std::vector<unsigned char>& source) {
                // Reading the rules numbers them.
                for (const fwcommon::RuleType section : kAllSections)
                    context.GetRules(dataname, section);
                std::vector<unsigned char> live;
                context.GetXmlData(dataname, live);
                *lines = Renumbered(source, live);
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
