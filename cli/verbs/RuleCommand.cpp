#include "verbs/RuleCommand.h"

#include <climits>
#include <cstdint>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>

#include <fwcommon/IRule.h>
#include "ExitStatus.h"
#include "editor/PolicyEdit.h"
#include "editor/RuleContent.h"
#include "editor/RuleLocator.h"
#include "editor/RulePlacement.h"
#include "editor/RuleSetCommand.h"
#include "editor/RuleShowCommand.h"
#include "policy/IdentifierRoom.h"
#include "policy/RuleSection.h"
#include "render/EditReport.h"
#include "render/RuleTable.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

using fwcommon::Context;

struct RuleArguments {
    EditTarget target;
    std::string section;
    std::string name;
    std::string action = "pass";
    RulePlacement placement;
    bool matchAll = false;
    RuleContent content;
};

constexpr long long kNoIndex = -1;

// The verbs that act on one rule that is there: remove, enable, disable, move.
struct IndexedArguments {
    EditTarget target;
    RuleLocator locator;
    int by = 0;               // rule move --by
    long long to = kNoIndex;  // rule move --to
};

std::size_t SectionSize(Context& context, const std::wstring& dataname, fwcommon::RuleType type) {
    return context.GetRules(dataname, type)->size();
}

std::string Counted(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " rule" : " rules");
}

// The place of a rule in its section as the Context holds it now.
std::size_t PlaceOf(Context& context, const std::wstring& dataname, fwcommon::RuleType type,
                    const Sarvo::Rule& rule) {
    const auto rules = context.GetRules(dataname, type);
    for (std::size_t index = 0; index < rules->size(); ++index) {
        if ((*rules)[index]->GetXmlRule()->OrderId() == rule.OrderId())
            return index;
    }
    throw EditError("the rule is not in its section after the edit");
}

void AddRule(Context& context, const std::wstring& dataname, const RuleArguments& a,
             const std::vector<unsigned char>& source) {
    const fwcommon::RuleType type = RuleTypeOfSection(a.section);
    const int position = ResolvePlacement(a.placement, context, dataname, source, a.section);
    if (a.name.empty())
        throw EditError("a rule needs a non-empty name");
    CheckRuleContent(a.content, a.section == "nat");
    const bool passes = a.section != "nat" && a.action != "drop";
    if (passes && !a.matchAll && !GivesConditions(a.content)) {
        throw EditError(
            "a pass rule without conditions lets all traffic through; give "
            "--match-all if that is meant");
    }
    const auto action =
        a.action == "drop" ? Context::RuleActions::eDrop : Context::RuleActions::ePass;
    const fwcommon::CreationType creationType = a.target.creationType.value_or(fwcommon::User);
    std::shared_ptr<fwcommon::IRule> rule;
    try {
        rule = context.CreateRule(dataname, type, creationType, FromUtf8(a.name), action, position);
    } catch (const std::out_of_range&) {
        // What the identifier generator throws once its range is spent.
        throw EditError(NoIdentifierLeft(creationType) + "; give the rule another --creation-type");
    }
    if (!rule) {
        // Every section RuleTypeOfSection names exists: only the order ids
        // can have run out.
        throw EditError("the rule could not be created: no order id is left after " +
                        std::to_string(std::numeric_limits<std::int64_t>::max()) +
                        ", the largest one a rule can have");
    }
    FillNewRule(context, dataname, rule, a.content, a.section == "nat");
    const Sarvo::Rule& added = *rule->GetXmlRule();
    NoteEdit("added " + RulePhrase(a.section, added) + " at " +
             std::to_string(PlaceOf(context, dataname, type, added)));
}

void RemoveRule(Context& context, const std::wstring& dataname, const IndexedArguments& a) {
    const LocatedRule located = LocateRule(context, dataname, a.locator);
    const fwcommon::RuleType type = RuleTypeOfSection(located.section);
    const std::string phrase = RulePhrase(located.section, *located.rule->GetXmlRule());
    const auto index = static_cast<unsigned int>(located.index);
    if (!context.RemoveRule(dataname, type, index))
        throw EditError("the rule at index " + std::to_string(index) + " could not be removed");
    NoteEdit("removed " + phrase + " from " + std::to_string(index));
}

void SetActive(Context& context, const std::wstring& dataname, const IndexedArguments& a,
               bool active) {
    const LocatedRule located = LocateRule(context, dataname, a.locator);
    // Said so and left alone even where the load renumbered rules: that
    // alone is no reason to rewrite the file.
    if (located.rule->IsActive() == active)
        throw NothingToChange(RulePhrase(located.section, *located.rule->GetXmlRule()) +
                              (active ? " is already enabled" : " is already disabled"));
    located.rule->SetActive(active);
    if (!context.UpdateRule(dataname, located.rule))
        throw EditError("the rule at index " + std::to_string(located.index) +
                        " could not be stored");
    NoteEdit(std::string(active ? "enabled " : "disabled ") +
             RulePhrase(located.section, *located.rule->GetXmlRule()) + " at " +
             std::to_string(located.index));
}

// "by -1" or "to index 4", as a refusal names the move.
std::string MoveWords(const IndexedArguments& a) {
    return a.to != kNoIndex ? "to index " + std::to_string(a.to) : "by " + std::to_string(a.by);
}

void MoveRule(Context& context, const std::wstring& dataname, const IndexedArguments& a) {
    const LocatedRule located = LocateRule(context, dataname, a.locator);
    const fwcommon::RuleType type = RuleTypeOfSection(located.section);
    const std::size_t count = SectionSize(context, dataname, type);
    const std::string phrase = RulePhrase(located.section, *located.rule->GetXmlRule());
    const auto from = static_cast<long long>(located.index);
    const long long target = a.to != kNoIndex ? a.to : from + a.by;
    if (a.to != kNoIndex && target == from)
        throw NothingToChange(phrase + " is already at index " + std::to_string(from));
    if (target == from || target < 0 || target >= static_cast<long long>(count)) {
        throw EditError("cannot move the rule at index " + std::to_string(from) + " " +
                        MoveWords(a) + " in section " + located.section + " (" + Counted(count) +
                        ")");
    }
    const auto index = static_cast<unsigned int>(located.index);
    if (!context.ChangeRulePriority(dataname, type, index, static_cast<int>(target - from)))
        throw EditError("the rule at index " + std::to_string(index) + " could not be moved");
    NoteEdit("moved " + phrase + " from " + std::to_string(index) + " to " +
             std::to_string(target));
}

CLI::App* AddVerb(CLI::App& rule, const std::string& name, const std::string& description,
                  RuleArguments& arguments) {
    CLI::App* verb = rule.add_subcommand(name, description);
    AddEditTarget(*verb, arguments.target);
    verb->add_option("--section", arguments.section, "Rule section")
        ->required()
        ->check(CLI::IsMember(SectionNames()));
    return verb;
}

void AddCreateVerb(CLI::App& rule, int* status) {
    auto a = std::make_shared<RuleArguments>();
    CLI::App* add = AddVerb(rule, "add", "Add a rule to a section", *a);
    add->add_option("--name", a->name, "Name of the new rule")->required();
    CLI::Option* action = add->add_option("--action", a->action,
                                          "What the rule does (filter "
                                          "sections only; default pass)")
                              ->check(CLI::IsMember({"pass", "drop"}));
    AddRulePlacement(*add, a->placement);
    AddCreationTypeOption(*add, a->target,
                          "Creation type of the new rule, which also chooses the range of its "
                          "identifier: generated, policy, user (the default) or post");
    add->add_flag("--match-all", a->matchAll,
                  "Allow a pass rule without conditions, which lets all traffic through");
    AddRuleContentOptions(*add, a->content, false);
    add->callback([a, action, status] {
        if (a->section == "nat" && action->count() > 0)
            throw CLI::ValidationError("--action", "nat rules translate; they have no action");
        CheckRuleContentArguments(a->content, a->section == "nat");
        *status = RunEditWithSource(
            a->target, [a](Context& c, const std::wstring& d, const std::vector<unsigned char>& s) {
                AddRule(c, d, *a, s);
            });
    });
}

// A verb that names one existing rule by --id or by --section and --index.
CLI::App* AddLocatingVerb(CLI::App& rule, const std::string& name, const std::string& description,
                          IndexedArguments& arguments) {
    CLI::App* verb = rule.add_subcommand(name, description);
    AddEditTarget(*verb, arguments.target);
    AddRuleLocatorOptions(*verb, arguments.locator);
    return verb;
}

template <typename Edit>
void AddIndexedVerb(CLI::App& rule, const std::string& name, const std::string& description,
                    int* status, Edit edit) {
    auto a = std::make_shared<IndexedArguments>();
    AddLocatingVerb(rule, name, description, *a)->callback([a, status, edit] {
        *status =
            RunEdit(a->target, [a, edit](Context& c, const std::wstring& d) { edit(c, d, *a); });
    });
}

void AddMoveVerb(CLI::App& rule, int* status) {
    auto a = std::make_shared<IndexedArguments>();
    CLI::App* move = AddLocatingVerb(rule, "move", "Move a rule within its section", *a);
    CLI::Option* by =
        move->add_option("--by", a->by, "Places to move: negative moves up, positive down");
    CLI::Option* to = move->add_option("--to", a->to, "0-based index the rule moves to")
                          ->check(CLI::Range(0LL, static_cast<long long>(INT_MAX)));
    by->excludes(to);
    move->callback([a, status, by, to] {
        if (by->count() == 0 && to->count() == 0)
            throw CLI::RequiredError("--by or --to");
        *status =
            RunEdit(a->target, [a](Context& c, const std::wstring& d) { MoveRule(c, d, *a); });
    });
}

}  // namespace

void AddRuleCommand(CLI::App& app, int* status) {
    CLI::App* rule =
        app.add_subcommand("rule", "Add, change, show, remove, enable, disable or move a rule");
    rule->require_subcommand(1);
    AddCreateVerb(*rule, status);
    AddIndexedVerb(*rule, "remove", "Remove a rule", status, RemoveRule);
    AddIndexedVerb(*rule, "enable", "Make a rule active", status,
                   [](Context& c, const std::wstring& d, const IndexedArguments& a) {
                       SetActive(c, d, a, true);
                   });
    AddIndexedVerb(*rule, "disable", "Make a rule inactive", status,
                   [](Context& c, const std::wstring& d, const IndexedArguments& a) {
                       SetActive(c, d, a, false);
                   });
    AddMoveVerb(*rule, status);
    AddRuleSetVerb(*rule, status);
    AddRuleShowVerb(*rule, status);
}

}  // namespace fwpolicy
