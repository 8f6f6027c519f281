#include "policy/RuleIdentifiers.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <unordered_set>

#include <fwcommon/IRule.h>
#include <fwcommon/IdentifierRanges.h>
#include "fileio/MarkupScan.h"
#include "policy/RuleSection.h"

namespace fwpolicy {

std::vector<FileRule> RulesOf(const Sarvo::PolicyType& document) {
    std::vector<FileRule> rules;
    rules.reserve(document.Rules().Rule().size());
    for (const Sarvo::Rule& rule : document.Rules().Rule()) {
        const auto creationType =
            static_cast<fwcommon::CreationType>(static_cast<int>(rule.CreationType()));
        rules.push_back(FileRule{SectionOfRule(rule), creationType, rule.Name(), rule.RuleId(),
                                 rule.OrderId()});
    }
    return rules;
}

std::vector<IdentifierChange> IdentifierChangesOnLoad(const std::vector<FileRule>& rules,
                                                      const std::vector<unsigned char>& written) {
    const std::vector<long long> ids = WrittenRuleIds(written);
    if (ids.size() != rules.size()) {
        throw std::logic_error("the written document holds " + std::to_string(ids.size()) +
                               " rule identifiers for " + std::to_string(rules.size()) + " rules");
    }
    std::vector<IdentifierChange> changes;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (rules[i].id != ids[i]) {
            changes.push_back(IdentifierChange{i, ids[i]});
        }
    }
    return changes;
}

namespace {

constexpr fwcommon::RuleType kSections[] = {fwcommon::eVPNRules, fwcommon::eNATRules,
                                            fwcommon::eTunnelRules, fwcommon::eLocalRules,
                                            fwcommon::eTransitRules};

using SectionRules = std::map<fwcommon::RuleType, std::vector<std::size_t>>;

// The indexes of the file's rules by section, each in ascending order id;
// empty when two rules of one section share an order id. A rule of no
// section is in none.
std::optional<SectionRules> InOrderIdOrder(const std::vector<FileRule>& rules) {
    SectionRules sections;
    for (const fwcommon::RuleType section : kSections)
        sections[section];
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (!rules[i].section.empty())
            sections.at(RuleTypeOfSection(rules[i].section)).push_back(i);
    }
    const auto byOrderId = [&rules](std::size_t a, std::size_t b) {
        return rules[a].orderId < rules[b].orderId;
    };
    const auto sameOrderId = [&rules](std::size_t a, std::size_t b) {
        return rules[a].orderId == rules[b].orderId;
    };
    for (auto& [section, indexes] : sections) {
        std::sort(indexes.begin(), indexes.end(), byOrderId);
        if (std::adjacent_find(indexes.begin(), indexes.end(), sameOrderId) != indexes.end())
            return std::nullopt;
    }
    return sections;
}

[[noreturn]] void ThrowNotTheFilesRules(fwcommon::RuleType section) {
    throw std::logic_error("the index of the " + SectionName(section) +
                           " section does not hold the file's rules");
}

}  // namespace

std::optional<std::vector<IdentifierChange>> IndexedIdentifierChanges(
    const std::vector<FileRule>& rules, const fwcommon::Context& context,
    const std::wstring& dataname) {
    const std::optional<SectionRules> sections = InOrderIdOrder(rules);
    if (!sections)
        return std::nullopt;
    std::vector<long long> ids(rules.size());
    for (const auto& [section, order] : *sections) {
        const std::shared_ptr<const fwcommon::RuleList> indexed =
            context.GetRules(dataname, section);
        if (indexed->size() != order.size())
            ThrowNotTheFilesRules(section);
        for (std::size_t k = 0; k < order.size(); ++k) {
            const fwcommon::IRule& rule = *(*indexed)[k];
            const FileRule& file = rules[order[k]];
            if (rule.GetName() != file.name)
                ThrowNotTheFilesRules(section);
            ids[order[k]] = rule.GetIdentifier();
        }
    }
    std::vector<IdentifierChange> changes;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        // A rule of no section is in no index, and nothing corrects it.
        if (!rules[i].section.empty() && rules[i].id != ids[i])
            changes.push_back(IdentifierChange{i, ids[i]});
    }
    return changes;
}

std::vector<std::string> WhyRenumberedInFile(const std::vector<FileRule>& rules,
                                             const std::vector<IdentifierChange>& changes) {
    // The load takes the rules in document order: a rule keeps its
    // identifier while it lies in its creation type's range and no earlier
    // rule of that creation type holds it, as the file gives it or as the
    // load gave it.
    if (changes.empty())
        return {};
    using Keys = std::unordered_set<RuleIdentifierKey, RuleIdentifierKeyHash>;
    Keys held;
    Keys given;
    held.reserve(rules.size());
    given.reserve(changes.size());
    std::vector<std::string> reasons;
    std::size_t next = 0;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        const FileRule& rule = rules[i];
        const RuleIdentifierKey key{rule.creationType, rule.id};
        if (next < changes.size() && changes[next].index == i) {
            const std::string id = std::to_string(rule.id);
            const fwcommon::IdentifierRange range = fwcommon::IdentifierRangeOf(rule.creationType);
            if (rule.id < range.first || rule.id > range.last)
                reasons.push_back(id + " is outside the range of its creation type");
            else if (held.count(key) > 0)
                reasons.push_back("another rule of the file holds " + id);
            else if (given.count(key) > 0)
                reasons.push_back("an earlier rule of the file is now " + id);
            else
                reasons.push_back("another rule holds " + id);
            given.insert(RuleIdentifierKey{rule.creationType, changes[next].to});
            ++next;
        }
        held.insert(key);
    }
    return reasons;
}

}  // namespace fwpolicy
