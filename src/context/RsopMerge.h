#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/IdentifierGenerator.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// Merges policy documents, one after another, into one resultant document.
//
// Rules of every document are kept; a rule whose identifier (low word of
// RuleId, with its creation type) an earlier rule holds gets a free one from
// a copy of the generator of its creation type (the caller's generators
// are not changed). Named objects are kept once per kind, identifier and
// creation type, options once per name and creation type: the first one
// met wins; a later object of a taken identity is logged at level 3 when
// its name differs, a renumbered rule at level 2. Finish puts the rules in
// section order (VPN, NAT, tunnelling, local, transit), by order id within
// a section, documents' order among equal order ids. Copies everything it
// keeps; used on one thread. Exported only so that tests can reach it.
class FWCOMMON_EXPORT RsopMerge {
public:
    using Generators = std::map<CreationType, std::shared_ptr<IdentifierGenerator>>;

    // base supplies the envelope (properties) of the result; its own
    // content is merged first. generators may be empty.
    RsopMerge(std::unique_ptr<Sarvo::PolicyType> base,
              std::shared_ptr<const Generators> generators);

    void Add(const Sarvo::PolicyType& document);
    // The merged document; the merge is spent afterwards.
    std::unique_ptr<Sarvo::PolicyType> Finish();

private:
    using RuleKey = std::pair<std::uint32_t, CreationType>;
    using ObjectKey = std::tuple<int, long long, int>;

    void AddRule(const Sarvo::Rule& rule);
    bool NoteRuleKey(const RuleKey& key);
    void AddNamedObjects(const Sarvo::NamedObjects& objects);
    template <typename Sequence>
    void AddObjectsOfKind(int kind, const Sequence& source, Sequence& target);
    void AddOption(const Sarvo::Option& option);
    std::uint32_t FreeIdentifier(CreationType creationType);

    std::unique_ptr<Sarvo::PolicyType> result_;
    std::shared_ptr<const Generators> generators_;
    std::map<CreationType, IdentifierGenerator> spare_;
    std::vector<std::unique_ptr<Sarvo::Rule>> rules_;
    std::set<RuleKey> ruleKeys_;
    std::map<ObjectKey, std::wstring> objectNames_;
    std::set<std::pair<std::wstring, int>> optionKeys_;
};

}  // namespace fwcommon
