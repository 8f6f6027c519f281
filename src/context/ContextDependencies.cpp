#include <fwcommon/Context.h>

#include <fwcommon/INamedObject.h>
#include <fwcommon/IRule.h>
#include "store/XmlReader.h"

namespace fwcommon {

namespace {

const RuleType kSections[] = {eVPNRules, eNATRules, eTunnelRules, eLocalRules, eTransitRules};

std::shared_ptr<IRule> FindRule(XmlReader& reader, RuleType section, const RuleInfo& record) {
    // The list is held while it is walked: a store may hand out a new one
    // per call.
    const auto rules = reader.GetRules(section);
    for (const auto& rule : *rules) {
        const IDomainObject& domainObject = *rule;
        if (domainObject.GetName() == record.ruleName &&
            rule->GetCreationType() == static_cast<CreationType>(record.creationType)) {
            return rule;
        }
    }
    return std::shared_ptr<IRule>();
}

// The rule of the document named by a dependency record: same name and
// creation type, looked for in the record's section first.
std::shared_ptr<IRule> RuleOfRecord(XmlReader& reader, const RuleInfo& record) {
    for (RuleType section : kSections) {
        if (RuleTypeName(section) == record.section) {
            if (auto rule = FindRule(reader, section, record)) {
                return rule;
            }
        }
    }
    for (RuleType section : kSections) {
        if (auto rule = FindRule(reader, section, record)) {
            return rule;
        }
    }
    return std::shared_ptr<IRule>();
}

}  // namespace

void Context::SearchRulesForNamedObject(const std::shared_ptr<INamedObject>& object,
                                        RuleDependencies& result, bool announce) {
    if (!object) {
        return;
    }
    for (auto& entry : registry_) {
        const auto& reader = entry.second.first.reader;
        if (!reader) {
            continue;
        }
        std::vector<RuleInfo> records;
        reader->UpdateRulesForNamedObject(object, records, announce);
        auto& listed = result[entry.first];
        listed.insert(listed.end(), records.begin(), records.end());
    }
    // Every rule of the result is announced, also those a caller's earlier
    // searches put there.
    if (announce) {
        AnnounceRuleDependencies(result);
    }
}

void Context::AnnounceRuleDependencies(const RuleDependencies& found) {
    for (const auto& [dataname, records] : found) {
        const auto entry = find(dataname);
        if (entry == registry_.end() || !entry->second.first.reader) {
            continue;
        }
        XmlReader& reader = *entry->second.first.reader;
        for (const auto& record : records) {
            if (const auto rule = RuleOfRecord(reader, record)) {
                MarkDomainObjectAsModified(dataname, eRule, rule->GetCreationType(),
                                           rule->GetIdentifier());
            }
        }
    }
}

void Context::DetermineRulesDependencies(const std::shared_ptr<INamedObject>& object,
                                         RuleDependencies& result) {
    SearchRulesForNamedObject(object, result, false);
}

}  // namespace fwcommon
