#include "RuleLocator.h"

#include <map>
#include <optional>

#include <fwcommon/PolicyDocument.h>
#include "editor/PolicyEdit.h"
#include "fileio/FileIo.h"
#include "policy/RuleSection.h"
#include "render/RuleTable.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

// Per shared identifier, the message that refuses it.
std::map<long long, std::string>& SharedFileIds() {
    static std::map<long long, std::string> ids;
    return ids;
}

template <typename Matches>
std::optional<LocatedRule> Find(fwcommon::Context& context, const std::wstring& dataname,
                                const std::string& section, Matches matches) {
    const auto rules = context.GetRules(dataname, RuleTypeOfSection(section));
    for (std::size_t index = 0; index < rules->size(); ++index) {
        if (matches(*(*rules)[index]->GetXmlRule()))
            return LocatedRule{(*rules)[index], section, index};
    }
    return std::nullopt;
}

// Loading may give a rule whose id clashes with the id space of its
// creation type a new id; the file still shows the old one. Such a rule is
// found by the section and order id it has in the file.
std::optional<LocatedRule> ByFileId(fwcommon::Context& context, const std::wstring& dataname,
                                    long long id) {
    const auto policy = fwcommon::ParsePolicyDocument(ReadFile(ToUtf8(dataname)));
    for (const Sarvo::Rule& rule : policy->Rules().Rule()) {
        if (rule.RuleId() != id)
            continue;
        const long long order = rule.OrderId();
        return Find(context, dataname, SectionOfRule(rule),
                    [order](const Sarvo::Rule& loaded) { return loaded.OrderId() == order; });
    }
    return std::nullopt;
}

LocatedRule ById(fwcommon::Context& context, const std::wstring& dataname, long long id) {
    if (const auto shared = SharedFileIds().find(id); shared != SharedFileIds().end())
        throw EditError(shared->second);
    for (const std::string& section : SectionNames()) {
        const auto found = Find(context, dataname, section,
                                [id](const Sarvo::Rule& rule) { return rule.RuleId() == id; });
        if (found)
            return *found;
    }
    if (const auto found = ByFileId(context, dataname, id))
        return *found;
    throw EditError("no rule has id " + std::to_string(id));
}

LocatedRule ByIndex(fwcommon::Context& context, const std::wstring& dataname,
                    const RuleLocator& locator) {
    const auto rules = context.GetRules(dataname, RuleTypeOfSection(locator.section));
    if (locator.index >= rules->size()) {
        throw EditError("section " + locator.section + " has no rule at index " +
                        std::to_string(locator.index) + " (" + std::to_string(rules->size()) +
                        (rules->size() == 1 ? " rule)" : " rules)"));
    }
    return {(*rules)[locator.index], locator.section, locator.index};
}

}  // namespace

std::string SharedIdMessage(std::size_t holders, long long id, const std::string& section,
                            std::size_t index) {
    return std::to_string(holders) + " rules have id " + std::to_string(id) +
           "; name one with --section " + section + " --index " + std::to_string(index) +
           " or the like";
}

void RememberSharedFileIds(const Sarvo::PolicyType& file) {
    struct Holders {
        std::size_t count = 0;
        std::string section;
        std::size_t index = 0;
    };
    std::map<long long, Holders> byId;
    for (const std::string& section : SectionNames()) {
        const auto rules = SectionRules(file, section);
        for (std::size_t index = 0; index < rules.size(); ++index) {
            Holders& holders = byId[rules[index]->RuleId()];
            if (holders.count++ == 0) {
                holders.section = section;
                holders.index = index;
            }
        }
    }
    auto& shared = SharedFileIds();
    shared.clear();
    for (const auto& [id, holders] : byId) {
        if (holders.count > 1)
            shared[id] = SharedIdMessage(holders.count, id, holders.section, holders.index);
    }
}

void ForgetSharedFileIds() {
    SharedFileIds().clear();
}

void AddRuleLocatorOptions(CLI::App& verb, RuleLocator& locator) {
    locator.idOption = verb.add_option("--id", locator.id, "The rule's id, as `show` prints it");
    locator.sectionOption = verb.add_option("--section", locator.section, "Rule section")
                                ->check(CLI::IsMember(SectionNames()));
    locator.indexOption =
        verb.add_option("--index", locator.index, "0-based index of the rule in its section");
    locator.idOption->excludes(locator.sectionOption)->excludes(locator.indexOption);
    locator.sectionOption->needs(locator.indexOption);
    locator.indexOption->needs(locator.sectionOption);
    // Naming no rule is a usage error, found before the file is read.
    const CLI::Option* id = locator.idOption;
    const CLI::Option* section = locator.sectionOption;
    verb.parse_complete_callback([id, section] {
        if (id->count() == 0 && section->count() == 0)
            throw CLI::ValidationError("name the rule with --id ID or with --section S --index I");
    });
}

LocatedRule LocateRule(fwcommon::Context& context, const std::wstring& dataname,
                       const RuleLocator& locator) {
    if (locator.idOption->count() > 0)
        return ById(context, dataname, locator.id);
    return ByIndex(context, dataname, locator);
}

}  // namespace fwpolicy
