#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/IdentifierGenerator.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>
#include "context/RsopObjectMerge.h"

namespace fwcommon {

// Merges policy documents, one after another, into one resultant document.
//
// Rules of every document are kept; a rule whose identifier (low word of
// RuleId, with its creation type) an earlier rule holds gets a free one from
// a copy of the generator of its creation type (the caller's generators
// are not changed), logged at level 2. Named objects of every document are
// kept (RsopObjectMerge): an object that is the same as one already merged
// is kept once, a different one with a taken Id is renumbered and the
// references of its document's rules follow it. Options are kept once per
// name and creation type, the first one met wins. Finish and Write put the
// rules in section order (VPN, NAT, tunnelling, local, transit), by order
// id within a section, documents' order among equal order ids, and give a
// rule whose order id its section already holds the next free one above
// (logged at level 2); when that would pass the largest order id, they
// throw std::overflow_error naming the rule. Keeps copies of the named
// objects and options; refers to the rules of the documents given, which
// must outlive Finish or Write, and copies a rule only when its references
// follow a renumbered object. Used on one thread.
class RsopMerge {
public:
    using Generators = std::map<CreationType, std::shared_ptr<IdentifierGenerator>>;

    // base supplies the envelope (properties) of the result; its own
    // content is merged first. generators may be empty.
    RsopMerge(std::unique_ptr<Sarvo::PolicyType> base,
              std::shared_ptr<const Generators> generators);

    void Add(const Sarvo::PolicyType& document);
    // The merged document, holding copies of the rules; the merge is spent
    // afterwards.
    std::unique_ptr<Sarvo::PolicyType> Finish();
    // The bytes WritePolicyDocument gives for the document Finish returns,
    // written from the documents' own rules where the writer allows it,
    // without copying them; the merge is spent afterwards.
    std::vector<unsigned char> Write();

private:
    using RuleKey = std::pair<std::uint32_t, CreationType>;

    // A rule of the result: a document's own rule, or a copy of it whose
    // references follow renumbered objects; with its place and identifiers
    // in the result.
    struct MergedRule {
        const Sarvo::Rule* rule = nullptr;
        std::unique_ptr<Sarvo::Rule> rewritten;  // owns rule when set
        int section = 0;                         // SectionRank of the rule
        std::int64_t ruleId = 0;
        std::int64_t orderId = 0;
    };

    void AddRule(MergedRule merged);
    bool NoteRuleKey(const RuleKey& key);
    void AddOption(const Sarvo::Option& option);
    std::uint32_t FreeIdentifier(CreationType creationType);
    void PlaceRules();
    void MakeOrderIdsUnique();
    std::unique_ptr<Sarvo::PolicyType> TypedResult();

    std::unique_ptr<Sarvo::PolicyType> base_;  // its rules are referred to
    std::unique_ptr<Sarvo::PolicyType> result_;
    std::shared_ptr<const Generators> generators_;
    std::map<CreationType, IdentifierGenerator> spare_;
    std::vector<MergedRule> rules_;
    std::set<RuleKey> ruleKeys_;
    RsopObjectMerge objects_;
    std::set<std::pair<std::wstring, int>> optionKeys_;
};

}  // namespace fwcommon
