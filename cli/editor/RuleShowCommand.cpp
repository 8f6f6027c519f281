#include "RuleShowCommand.h"

#include <iostream>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <fwcommon/PolicyDocument.h>
#include "ExitStatus.h"
#include "RuleLocator.h"
#include "diff/ElementFields.h"
#include "fileio/DataFiles.h"
#include "fileio/PolicyFile.h"
#include "policy/PolicyIndex.h"
#include "render/ConditionJson.h"
#include "render/ConditionText.h"
#include "render/Diagnostics.h"
#include "render/ObjectJson.h"
#include "render/RuleTable.h"
#include "terminal/SafeText.h"
#include "text/Utf8.h"
#include "verbs/ObjectsCommand.h"

namespace fwpolicy {
namespace {

struct RuleShowArguments {
    std::string file;
    RuleLocator locator;
    bool json = false;
};

// One rule of the file and where `show` lists it.
struct ShownRule {
    std::string section;
    std::size_t index = 0;
    const Sarvo::Rule* rule = nullptr;
};

std::string Counted(std::size_t count, const std::string& what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// The rules are looked up as the file numbers them, as `show` prints them.
ShownRule ById(const Sarvo::PolicyType& policy, long long id) {
    std::vector<ShownRule> found;
    for (const std::string& section : SectionNames()) {
        const auto rules = SectionRules(policy, section);
        for (std::size_t index = 0; index < rules.size(); ++index) {
            if (rules[index]->RuleId() == id)
                found.push_back({section, index, rules[index]});
        }
    }
    if (found.empty())
        throw std::runtime_error("no rule has id " + std::to_string(id));
    if (found.size() > 1) {
        throw std::runtime_error(
            SharedIdMessage(found.size(), id, found.front().section, found.front().index));
    }
    return found.front();
}

ShownRule ByIndex(const Sarvo::PolicyType& policy, const RuleLocator& locator) {
    const auto rules = SectionRules(policy, locator.section);
    if (locator.index >= rules.size()) {
        throw std::runtime_error("section " + locator.section + " has no rule at index " +
                                 std::to_string(locator.index) + " (" +
                                 Counted(rules.size(), "rule") + ")");
    }
    return {locator.section, locator.index, rules[locator.index]};
}

ShownRule Locate(const Sarvo::PolicyType& policy, const RuleLocator& locator) {
    if (locator.idOption->count() > 0)
        return ById(policy, locator.id);
    return ByIndex(policy, locator);
}

const ObjectEntry* EntryOf(const PolicyIndex& index, const ObjectKey& key) {
    for (const ObjectEntry& entry : index.objects) {
        if (entry.key == key)
            return &entry;
    }
    return nullptr;
}

void AddWithIncluded(const PolicyIndex& index, const ObjectKey& key,
                     std::vector<const ObjectEntry*>& objects, std::set<ObjectKey>& seen) {
    if (!seen.insert(key).second)
        return;
    const ObjectEntry* entry = EntryOf(index, key);
    if (!entry)
        return;  // a reference to an object the file does not hold
    objects.push_back(entry);
    for (const ObjectKey& included : entry->refers)
        AddWithIncluded(index, included, objects, seen);
}

// The named objects the rule refers to, then those they include or
// exclude, each once, in the order they are first met.
std::vector<const ObjectEntry*> ObjectsOf(const PolicyIndex& index, const ShownRule& shown) {
    std::vector<const ObjectEntry*> objects;
    std::set<ObjectKey> seen;
    for (const RuleUse& use : index.uses) {
        if (use.section == shown.section && use.index == shown.index)
            AddWithIncluded(index, use.object, objects, seen);
    }
    return objects;
}

// Everything one rule shows, read once from the file.
struct RuleView {
    ShownRule shown;
    RuleRow row;
    PolicyIndex index;
    std::vector<const ObjectEntry*> objects;
};

constexpr std::size_t kValueColumn = 19;  // past "destination side:"

void PrintField(const std::string& label, const std::string& value) {
    const std::size_t padding = label.size() < kValueColumn ? kValueColumn - label.size() : 1;
    std::cout << label << std::string(padding, ' ') << terminal::Printable(value) << '\n';
}

std::string SideName(const Sarvo::NetworkCondition& side) {
    return dynamic_cast<const Sarvo::PrivateNetwork*>(&side) ? "private" : "public";
}

void PrintSide(const std::string& label, const Sarvo::NetworkCondition* side,
               const ConditionText& words) {
    if (!side) {
        PrintField(label + ":", "*");
        return;
    }
    PrintField(label + " side:", SideName(*side));
    const std::vector<std::string> entries = words.SideEntries(*side);
    if (entries.empty())
        PrintField(label + ":", "*");
    for (const std::string& entry : entries)
        PrintField(label + ":", entry);
}

template <typename Conditions, typename Text>
void PrintEach(const std::string& label, const Conditions& conditions, Text text) {
    if (conditions.empty())
        PrintField(label, "*");
    for (const auto& condition : conditions)
        PrintField(label, text(condition));
}

void PrintReserved(const Sarvo::Rule& rule) {
    if (rule.Reserved1())
        PrintField("reserved1:", *rule.Reserved1() ? "true" : "false");
    if (rule.Reserved2())
        PrintField("reserved2:", *rule.Reserved2() ? "true" : "false");
    if (rule.Reserved3())
        PrintField("reserved3:", ToUtf8(*rule.Reserved3()));
}

void PrintObjects(const RuleView& view) {
    if (view.objects.empty())
        return;
    std::cout << "objects:\n";
    for (const ObjectEntry* object : view.objects) {
        std::cout << "  "
                  << terminal::Printable(
                         KindName(object->key.kind) + " object " + std::to_string(object->key.id) +
                         " \"" + ToUtf8(object->name) + "\" (" + ToUtf8(object->creationType) +
                         ", used by " + Counted(RulesUsing(view.index, object->key), "rule") + ")")
                  << '\n';
        for (const auto& inclusion : object->inclusions)
            std::cout << "    include  " << terminal::Printable(ToUtf8(inclusion)) << '\n';
        for (const auto& exclusion : object->exclusions)
            std::cout << "    exclude  " << terminal::Printable(ToUtf8(exclusion)) << '\n';
    }
}

void PrintRule(const RuleView& view, const ConditionText& words) {
    const Sarvo::Rule& rule = *view.shown.rule;
    const Sarvo::ConditionSet& set = rule.ConditionSet();
    PrintField("section:", view.shown.section);
    PrintField("index:", std::to_string(view.shown.index));
    PrintField("id:", std::to_string(rule.RuleId()));
    PrintField("order id:", std::to_string(rule.OrderId()));
    PrintField("name:", ToUtf8(rule.Name()));
    PrintField("creation:", CreationTypeWord(rule.CreationType()));
    PrintField("active:", view.row.active ? "yes" : "no");
    PrintSide("source", set.Source() ? &*set.Source() : nullptr, words);
    PrintSide("destination", set.Destination() ? &*set.Destination() : nullptr, words);
    PrintEach("service:", set.ServiceCondition(),
              [&](const Sarvo::ServiceCondition& s) { return words.Service(s); });
    PrintEach("schedule:", set.ScheduleCondition(),
              [&](const Sarvo::ScheduleCondition& s) { return words.Schedule(s); });
    PrintField("action:", ToUtf8(view.row.action));
    PrintReserved(rule);
    PrintObjects(view);
}

// The rule as `show --json` prints it in its section's list, with what
// only one rule shows: its section, order id and creation type, and every
// named object it refers to directly or through others, each as `object
// show --json` prints it with its kind.
ConditionJson::Json RuleJson(const RuleView& view, const ConditionJson& json,
                             const ObjectJsonWriter& objectJson) {
    ConditionJson::Json rule = json.Rule(*view.shown.rule, view.shown.index);
    rule["section"] = view.shown.section;
    rule["orderId"] = view.shown.rule->OrderId();
    rule["creationType"] = CreationTypeWord(view.shown.rule->CreationType());
    ConditionJson::Json& objects = rule["objects"] = ConditionJson::Json::array();
    for (const ObjectEntry* object : view.objects)
        objects.push_back(objectJson.Object(*object, RulesUsing(view.index, object->key)));
    return rule;
}

int ShowRule(const RuleShowArguments& a) {
    const auto policy = LoadPolicyFile(a.file);
    if (!policy || !LoadDictionaries())
        return kExitFailure;
    try {
        RuleView view;
        view.shown = Locate(*policy, a.locator);
        KindedObjectNames names;
        CollectKindedObjectNames(*policy, names);
        const auto protocols = textforms::ProtocolNames::FromDictionary();
        const ConditionText words(names, protocols);
        view.row = SectionRowsInWords(*policy, view.shown.section, words).at(view.shown.index);
        view.index = IndexPolicy(*policy, *fwcommon::GetXmlWrapper());
        // The words come from the document itself: no second load of the file.
        UseEntryTexts(a.file, *policy, false, view.index);
        view.objects = ObjectsOf(view.index, view.shown);
        if (a.json)
            std::cout << RuleJson(view, ConditionJson(names, protocols, words),
                                  ObjectJsonWriter(*policy))
                             .dump(2)
                      << '\n';
        else
            PrintRule(view, words);
        return kExitOk;
    } catch (const std::exception& e) {
        PrintFileError(std::cerr, a.file, e.what());
    }
    return kExitFailure;
}

}  // namespace

void AddRuleShowVerb(CLI::App& rule, int* status) {
    auto a = std::make_shared<RuleShowArguments>();
    CLI::App* show = rule.add_subcommand(
        "show", "Show every field of one rule and the named objects it refers to");
    show->add_option("FILE", a->file, "Policy file")->required();
    AddRuleLocatorOptions(*show, a->locator);
    show->add_flag("--json", a->json,
                   "Print JSON: the rule as `show --json` prints it, with its objects as "
                   "`object show --json` prints them");
    show->callback([a, status] { *status = ShowRule(*a); });
}

}  // namespace fwpolicy
