#include "policy/RuleIdentifiers.h"

#include <algorithm>
#include <deque>
#include <map>
#include <set>
#include <tuple>

#include <fwcommon/IRule.h>
#include <fwcommon/IdentifierRanges.h>
#include "policy/RuleSection.h"

namespace fwpolicy {
namespace {

const char* const kSections[] = {"local", "vpn", "transit", "tunnel", "nat"};

using RuleKey = std::tuple<std::string, std::wstring, long long, std::wstring>;

RuleKey KeyOf(const FileRule& rule) {
    return RuleKey(rule.section, rule.creationType, rule.orderId, rule.name);
}

RuleKey KeyOf(const std::string& section, const Sarvo::Rule& rule) {
    return RuleKey(section, std::wstring(rule.CreationType()), rule.OrderId(), rule.Name());
}

}  // namespace

std::vector<FileRule> RulesOf(const Sarvo::PolicyType& document) {
    std::vector<FileRule> rules;
    rules.reserve(document.Rules().Rule().size());
    for (const Sarvo::Rule& rule : document.Rules().Rule()) {
        rules.push_back(FileRule{SectionOfRule(rule), std::wstring(rule.CreationType()),
                                 rule.OrderId(), rule.Name(), rule.RuleId()});
    }
    return rules;
}

std::vector<IdentifierChange> IndexedIdentifierChanges(const std::vector<FileRule>& rules,
                                                       const fwcommon::Context& context,
                                                       const std::wstring& dataname) {
    // Rules of equal keys are matched in the order the index lists them.
    std::map<RuleKey, std::deque<std::size_t>> byKey;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        byKey[KeyOf(rules[i])].push_back(i);
    }
    std::vector<IdentifierChange> changes;
    for (const char* section : kSections) {
        const auto indexed = context.GetRules(dataname, RuleTypeOfSection(section));
        for (const auto& handle : indexed ? *indexed : fwcommon::RuleList()) {
            const Sarvo::Rule& rule = *handle->GetXmlRule();
            const auto found = byKey.find(KeyOf(section, rule));
            if (found == byKey.end() || found->second.empty()) {
                continue;
            }
            const std::size_t index = found->second.front();
            found->second.pop_front();
            if (rules[index].id != rule.RuleId()) {
                changes.push_back(IdentifierChange{index, rule.RuleId()});
            }
        }
    }
    std::sort(
        changes.begin(), changes.end(),
        [](const IdentifierChange& a, const IdentifierChange& b) { return a.index < b.index; });
    return changes;
}

std::vector<std::string> WhyRenumberedInFile(const std::vector<FileRule>& rules,
                                             const std::vector<IdentifierChange>& changes) {
    // The load takes the rules in document order: a rule keeps its
    // identifier while it lies in its creation type's range and no earlier
    // rule of that creation type holds it, as the file gives it or as the
    // load gave it.
    using Key = std::pair<std::wstring, long long>;
    std::set<Key> held;
    std::set<Key> given;
    std::vector<std::string> reasons;
    std::size_t next = 0;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        const FileRule& rule = rules[i];
        const Key key(rule.creationType, rule.id);
        if (next < changes.size() && changes[next].index == i) {
            const std::string id = std::to_string(rule.id);
            const fwcommon::IdentifierRange range =
                fwcommon::IdentifierRangeOf(static_cast<fwcommon::CreationType>(
                    static_cast<int>(Sarvo::CreationTypes(rule.creationType))));
            if (rule.id < range.first || rule.id > range.last)
                reasons.push_back(id + " is outside the range of its creation type");
            else if (held.count(key) > 0)
                reasons.push_back("another rule of the file holds " + id);
            else if (given.count(key) > 0)
                reasons.push_back("an earlier rule of the file is now " + id);
            else
                reasons.push_back("another rule holds " + id);
            given.emplace(rule.creationType, changes[next].to);
            ++next;
        }
        held.insert(key);
    }
    return reasons;
}

}  // namespace fwpolicy
