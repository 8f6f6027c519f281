#include <fwcommon/Context.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <fwcommon/INamedObject.h>
#include <fwcommon/IRule.h>
#include "context/RegistryEntryParts.h"
#include "store/XmlReader.h"

namespace fwcommon {

namespace {

const RuleType kSections[] = {eVPNRules, eNATRules, eTunnelRules, eLocalRules, eTransitRules};

// The rules of one document by name and creation type, built once for all
// the records of a search: a record names its rule by these, and looking
// each one up in the rule lists made the announcement of n records cost n
// walks of the rules.
class RuleDirectory {
public:
    explicit RuleDirectory(XmlReader& reader) {
        for (RuleType section : kSections) {
            // The list is held while it is walked: a store may hand out a
            // new one per call.
            const auto rules = reader.GetRules(section);
            const std::wstring sectionName = RuleTypeName(section);
            for (const auto& rule : *rules) {
                const IDomainObject& domainObject = *rule;
                const Key key{domainObject.GetName(), static_cast<int>(rule->GetCreationType())};
                // The first rule of a name wins, in the section and overall.
                inSection_.emplace(std::make_pair(sectionName, key), rule);
                anywhere_.emplace(key, rule);
            }
        }
    }

    // The rule of a dependency record: same name and creation type, looked
    // for in the record's section first; null when there is none.
    std::shared_ptr<IRule> Find(const RuleInfo& record) const {
        const Key key{record.ruleName, record.creationType};
        const auto same = inSection_.find(std::make_pair(record.section, key));
        if (same != inSection_.end()) {
            return same->second;
        }
        const auto any = anywhere_.find(key);
        return any == anywhere_.end() ? std::shared_ptr<IRule>() : any->second;
    }

private:
    using Key = std::pair<std::wstring, int>;
    std::map<std::pair<std::wstring, Key>, std::shared_ptr<IRule>> inSection_;
    std::map<Key, std::shared_ptr<IRule>> anywhere_;
};

}  // namespace

void Context::SearchRulesForNamedObject(const std::shared_ptr<INamedObject>& object,
                                        RuleDependencies& result, bool announce) {
    if (!object) {
        return;
    }
    for (auto& entry : registry_) {
        const auto& reader = DataOf(entry).reader;
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
        if (records.empty() || entry == registry_.end() || !DataOf(*entry).reader) {
            continue;
        }
        // Every rule is found before the first announcement: the host's
        // slots may change the document.
        const RuleDirectory rules(*DataOf(*entry).reader);
        std::vector<std::shared_ptr<IRule>> modified;
        for (const auto& record : records) {
            if (auto rule = rules.Find(record)) {
                modified.push_back(std::move(rule));
            }
        }
        for (const auto& rule : modified) {
            MarkDomainObjectAsModified(dataname, eRule, rule->GetCreationType(),
                                       rule->GetIdentifier());
        }
    }
}

void Context::DetermineRulesDependencies(const std::shared_ptr<INamedObject>& object,
                                         RuleDependencies& result) {
    SearchRulesForNamedObject(object, result, false);
}

}  // namespace fwcommon
