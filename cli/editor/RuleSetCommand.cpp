#include "RuleSetCommand.h"

#include <memory>

#include "RuleContent.h"
#include "RuleLocator.h"
#include "editor/PolicyEdit.h"
#include "fileio/DataFiles.h"
#include "render/EditReport.h"

namespace fwpolicy {
namespace {

struct RuleSetArguments {
    EditTarget target;
    RuleLocator locator;
    RuleContent content;
};

void SetRule(fwcommon::Context& context, const std::wstring& dataname, const RuleSetArguments& a) {
    const LocatedRule located = LocateRule(context, dataname, a.locator);
    if (!GivesChanges(a.content))
        throw EditError(
            "nothing to change: give --name, a condition (--source, --service, ...), "
            "--clear-..., or an action option");
    LoadDictionaries();
    ApplyRuleContent(*located.rule->GetXmlRule(), a.content, located.section == "nat",
                     ObjectDirectory(context, dataname),
                     textforms::ProtocolNames::FromDictionary());
    if (!context.UpdateRule(dataname, located.rule))
        throw EditError("the rule could not be stored");
    NoteEdit("changed " + RulePhrase(located.section, *located.rule->GetXmlRule()) + " at " +
             std::to_string(located.index) + ": " + ChangedParts(a.content));
}

}  // namespace

void AddRuleSetVerb(CLI::App& rule, int* status) {
    auto a = std::make_shared<RuleSetArguments>();
    CLI::App* set = rule.add_subcommand("set", "Change the name, conditions or action of a rule");
    AddEditTarget(*set, a->target);
    AddRuleLocatorOptions(*set, a->locator);
    AddRuleContentOptions(*set, a->content, true);
    set->callback([a, status] {
        CheckRuleContentArguments(a->content, std::nullopt);
        *status = RunEdit(a->target,
                          [a](fwcommon::Context& c, const std::wstring& d) { SetRule(c, d, *a); });
    });
}

}  // namespace fwpolicy
