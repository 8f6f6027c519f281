#include "RuleCommand.h"

#include <climits>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include <fwcommon/IRule.h>
#include "CheckCommand.h"
#include "EditReport.h"
#include "PolicyEdit.h"
#include "RulePlacement.h"
#include "RuleSection.h"
#include "RuleTable.h"
#include "Utf8.h"
#include "editor/RuleContent.h"
#include "editor/RuleSetCommand.h"
#include "editor/RuleShowCommand.h"

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
    unsigned int index = 0;
    int by = 0;
    RuleContent content;
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

void CheckIndex(Context& context, const std::wstring& dataname, const RuleArguments& a) {
    const std::size_t count = SectionSize(context, dataname, RuleTypeOfSection(a.section));
    if (a.index >= count) {
        throw EditError("section " + a.section + " has no rule at index " +
                        std::to_string(a.index) + " (" + Counted(count) + ")");
    }
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
    const auto rule =
        context.CreateRule(dataname, type, fwcommon::User, FromUtf8(a.name), action, position);
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

void RemoveRule(Context& context, const std::wstring& dataname, const RuleArguments& a) {
    CheckIndex(context, dataname, a);
    const auto rule = context.GetRule(dataname, RuleTypeOfSection(a.section), a.index);
    const std::string phrase = RulePhrase(a.section, *rule->GetXmlRule());
    if (!context.RemoveRule(dataname, RuleTypeOfSection(a.section), a.index))
        throw EditError("the rule at index " + std::to_string(a.index) + " could not be removed");
    NoteEdit("removed " + phrase + " from " + std::to_string(a.index));
}

void SetActive(Context& context, const std::wstring& dataname, const RuleArguments& a,
               bool active) {
    CheckIndex(context, dataname, a);
    const auto rule = context.GetRule(dataname, RuleTypeOfSection(a.section), a.index);
    rule->SetActive(active);
    if (!context.UpdateRule(dataname, rule))
        throw EditError("the rule at index " + std::to_string(a.index) + " could not be stored");
    NoteEdit(std::string(active ? "enabled " : "disabled ") +
             RulePhrase(a.section, *rule->GetXmlRule()) + " at " + std::to_string(a.index));
}

void MoveRule(Context& context, const std::wstring& dataname, const RuleArguments& a) {
    CheckIndex(context, dataname, a);
    const std::size_t count = SectionSize(context, dataname, RuleTypeOfSection(a.section));
    const long long target = static_cast<long long>(a.index) + a.by;
    if (a.by == 0 || target < 0 || target >= static_cast<long long>(count)) {
        throw EditError("cannot move the rule at index " + std::to_string(a.index) + " by " +
                        std::to_string(a.by) + " in section " + a.section + " (" + Counted(count) +
                        ")");
    }
    const auto rule = context.GetRule(dataname, RuleTypeOfSection(a.section), a.index);
    const std::string phrase = RulePhrase(a.section, *rule->GetXmlRule());
    if (!context.ChangeRulePriority(dataname, RuleTypeOfSection(a.section), a.index, a.by))
        throw EditError("the rule at index " + std::to_string(a.index) + " could not be moved");
    NoteEdit("moved " + phrase + " from " + std::to_string(a.index) + " to " +
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

void AddIndex(CLI::App& verb, RuleArguments& arguments) {
    verb.add_option("--index", arguments.index, "0-based index of the rule in its section")
        ->required();
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
    add->add_flag("--match-all", a->matchAll,
                  "Allow a pass rule without conditions, which lets all traffic through");
    AddRuleContentOptions(*add, a->content, false);
    add->callback([a, action, status] {
        if (a->section == "nat" && action->count() > 0)
            throw CLI::ValidationError("--action", "nat rules translate; they have no action");
        *status = RunEditWithSource(
            a->target, [a](Context& c, const std::wstring& d, const std::vector<unsigned char>& s) {
                AddRule(c, d, *a, s);
            });
    });
}

template <typename Edit>
void AddIndexedVerb(CLI::App& rule, const std::string& name, const std::string& description,
                    int* status, Edit edit) {
    auto a = std::make_shared<RuleArguments>();
    CLI::App* verb = AddVerb(rule, name, description, *a);
    AddIndex(*verb, *a);
    verb->callback([a, status, edit] {
        *status =
            RunEdit(a->target, [a, edit](Context& c, const std::wstring& d) { edit(c, d, *a); });
    });
}

void AddMoveVerb(CLI::App& rule, int* status) {
    auto a = std::make_shared<RuleArguments>();
    CLI::App* move = AddVerb(rule, "move", "Move a rule within its section", *a);
    AddIndex(*move, *a);
    move->add_option("--by", a->by, "Places to move: negative moves up, positive down")->required();
    move->callback([a, status] {
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
                   [](Context& c, const std::wstring& d, const RuleArguments& a) {
                       SetActive(c, d, a, true);
                   });
    AddIndexedVerb(*rule, "disable", "Make a rule inactive", status,
                   [](Context& c, const std::wstring& d, const RuleArguments& a) {
                       SetActive(c, d, a, false);
                   });
    AddMoveVerb(*rule, status);
    AddRuleSetVerb(*rule, status);
    AddRuleShowVerb(*rule, status);
}

}  // namespace fwpolicy
