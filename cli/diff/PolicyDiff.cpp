#include "diff/PolicyDiff.h"

#include <map>
#include <memory>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include <fwcommon/RuleIdentifier.h>

#include "diff/ElementFields.h"
#include "diff/RuleMoves.h"
#include "fileio/DataFiles.h"
#include "policy/RuleSection.h"
#include "render/ConditionText.h"
#include "terminal/SafeText.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

using Key = std::pair<std::wstring, std::wstring>;
using RulePairs = std::map<const Sarvo::Rule*, const Sarvo::Rule*>;

// The words of one document's conditions, with its own object names.
struct DocumentWords {
    DocumentWords(const Sarvo::PolicyType& policy, const textforms::ProtocolNames& protocols)
        : words(names, protocols) {
        CollectKindedObjectNames(policy, names);
    }
    KindedObjectNames names;
    ConditionText words;
};

// A key and how many elements of the document hold it before this one: a
// document may repeat a key (two rules with one RuleId), and the k-th
// holder in one document is paired with the k-th in the other.
using OccurrenceKey = std::pair<Key, std::size_t>;

template <typename Sequence, typename KeyOf>
std::vector<OccurrenceKey> OccurrenceKeys(const Sequence& elements, KeyOf keyOf) {
    std::map<Key, std::size_t> held;
    std::vector<OccurrenceKey> keys;
    keys.reserve(elements.size());
    for (const auto& element : elements) {
        Key key = keyOf(element);
        const std::size_t before = held[key]++;
        keys.emplace_back(std::move(key), before);
    }
    return keys;
}

// The elements of a sequence by key.
template <typename Sequence>
std::map<OccurrenceKey, const typename Sequence::value_type*> ByKey(
    const Sequence& elements, const std::vector<OccurrenceKey>& keys) {
    std::map<OccurrenceKey, const typename Sequence::value_type*> found;
    std::size_t i = 0;
    for (const auto& element : elements)
        found.emplace(keys[i++], &element);
    return found;
}

// Pairs the elements of two sequences by key and reports removals and
// changes in the first's order, then additions in the second's. Describe
// fills kind, key, creation type and name; Fields lists what differs.
template <typename Sequence, typename KeyOf, typename Describe, typename Fields>
void Pair(const Sequence& first, const Sequence& second, const std::string& group, KeyOf keyOf,
          Describe describe, Fields fields, std::vector<Difference>& out) {
    const std::vector<OccurrenceKey> firstKeys = OccurrenceKeys(first, keyOf);
    const std::vector<OccurrenceKey> secondKeys = OccurrenceKeys(second, keyOf);
    const auto later = ByKey(second, secondKeys);
    const auto earlier = ByKey(first, firstKeys);
    std::size_t i = 0;
    for (const auto& element : first) {
        const auto match = later.find(firstKeys[i++]);
        Difference d = describe(match == later.end() ? element : *match->second);
        d.group = group;
        if (match == later.end()) {
            d.change = "removed";
        } else {
            d.change = "changed";
            d.fields = fields(element, *match->second);
            if (d.fields.empty())
                continue;
        }
        out.push_back(d);
    }
    i = 0;
    for (const auto& element : second) {
        if (earlier.count(secondKeys[i++]) == 0) {
            Difference d = describe(element);
            d.group = group;
            d.change = "added";
            out.push_back(d);
        }
    }
}

std::wstring RuleIdentifier(const Sarvo::Rule& rule) {
    return std::to_wstring(fwcommon::RuleIdentifierOf(rule.RuleId()));
}

Key RuleKey(const Sarvo::Rule& r) {
    return Key(RuleIdentifier(r), r.CreationType());
}

Difference DescribeRule(const Sarvo::Rule& r) {
    Difference d;
    d.group = "rule";
    d.kind = SectionOfRule(r);
    d.key = RuleIdentifier(r);
    d.creationType = CreationTypeWord(r.CreationType());
    d.name = r.Name();
    return d;
}

// How many unpaired rules of the same section, creation type and name one
// rule is compared with to find its renumbered twin: twins stand in the
// same order in both documents, so the first few hold it, and files of
// thousands of rules of one name do not compare every pair.
constexpr std::size_t kTwinSearch = 64;

// Unpaired rules of the second document that share a twin key, in
// document order; taken ones become null, first counts those taken at the
// front.
struct TwinCandidates {
    std::vector<const Sarvo::Rule*> rules;
    std::size_t first = 0;
};

// The first candidate (of r's section, creation type and name, by its
// key) that is r with another RuleId: the same in everything but the order
// id, which a rule added or removed before it shifts (a move shows as
// such). The twin is taken; null when none of the first kTwinSearch is.
const Sarvo::Rule* TakeTwin(const Sarvo::Rule& r, TwinCandidates& candidates) {
    const std::unique_ptr<Sarvo::Rule> renamed(r._clone());
    std::size_t compared = 0;
    for (std::size_t i = candidates.first; i < candidates.rules.size() && compared < kTwinSearch;
         ++i) {
        const Sarvo::Rule* twin = candidates.rules[i];
        if (twin == nullptr)
            continue;
        ++compared;
        renamed->RuleId(twin->RuleId());
        renamed->OrderId(twin->OrderId());
        if (*renamed == *twin) {
            candidates.rules[i] = nullptr;
            while (candidates.first < candidates.rules.size() &&
                   candidates.rules[candidates.first] == nullptr)
                ++candidates.first;
            return twin;
        }
    }
    return nullptr;
}

// What a rule and its renumbered twin share, to find twins without
// comparing every pair: section, creation type and name.
using TwinKey = std::tuple<std::string, std::wstring, std::wstring>;

TwinKey TwinKeyOf(const Sarvo::Rule& r) {
    return TwinKey(SectionOfRule(r), r.CreationType(), r.Name());
}

// The partners of the rules known to be renumbered: the rule of the
// second document holding the new RuleId under the same creation type.
RulePairs KnownRenumberings(const Sarvo::Rules::Rule_sequence& first,
                            const Sarvo::Rules::Rule_sequence& second,
                            const std::vector<OccurrenceKey>& secondKeys,
                            const RuleRenumbering& renumbering) {
    RulePairs pairs;
    if (renumbering.empty())
        return pairs;
    const auto inSecond = ByKey(second, secondKeys);
    std::size_t i = 0;
    for (const auto& r : first) {
        const auto known = renumbering.find(i++);
        if (known == renumbering.end())
            continue;
        const Key key(std::to_wstring(fwcommon::RuleIdentifierOf(known->second)), r.CreationType());
        if (const auto partner = inSecond.find({key, 0}); partner != inSecond.end())
            pairs.emplace(&r, partner->second);
    }
    return pairs;
}

std::set<const Sarvo::Rule*> Partners(const RulePairs& pairs) {
    std::set<const Sarvo::Rule*> partners;
    for (const auto& [rule, partner] : pairs)
        partners.insert(partner);
    return partners;
}

// Rules of the first document without a partner of their key that have an
// unpaired twin in the second: renumbered rather than removed and added.
// Each twin is taken once, in document order. Rules known to be renumbered
// (known, with their partners) are no one's twins.
RulePairs RenumberedRules(const Sarvo::Rules::Rule_sequence& first,
                          const std::vector<OccurrenceKey>& firstKeys,
                          const Sarvo::Rules::Rule_sequence& second,
                          const std::vector<OccurrenceKey>& secondKeys,
                          const std::set<const Sarvo::Rule*>& known) {
    const auto inFirst = ByKey(first, firstKeys);
    const auto inSecond = ByKey(second, secondKeys);
    std::map<TwinKey, TwinCandidates> unpaired;
    std::size_t i = 0;
    for (const auto& r : second) {
        if (inFirst.count(secondKeys[i++]) == 0 && known.count(&r) == 0)
            unpaired[TwinKeyOf(r)].rules.push_back(&r);
    }
    RulePairs pairs;
    i = 0;
    for (const auto& r : first) {
        const auto candidates = unpaired.find(TwinKeyOf(r));
        if (inSecond.count(firstKeys[i++]) != 0 || candidates == unpaired.end() ||
            known.count(&r) != 0)
            continue;
        if (const Sarvo::Rule* twin = TakeTwin(r, candidates->second))
            pairs.emplace(&r, twin);
    }
    return pairs;
}

// Every rule of the first document with its partner in the second: by key,
// or as a renumbered rule. A rule known to be renumbered whose new RuleId
// is gone has none, and a partner is nobody else's.
RulePairs AllRulePairs(const Sarvo::Rules::Rule_sequence& first,
                       const std::vector<OccurrenceKey>& firstKeys,
                       const Sarvo::Rules::Rule_sequence& second,
                       const std::vector<OccurrenceKey>& secondKeys, const RulePairs& renumbered,
                       const std::set<const Sarvo::Rule*>& known) {
    RulePairs pairs = renumbered;
    const std::set<const Sarvo::Rule*> taken = Partners(renumbered);
    const auto later = ByKey(second, secondKeys);
    std::size_t i = 0;
    for (const auto& rule : first) {
        const auto match = later.find(firstKeys[i++]);
        if (match != later.end() && known.count(&rule) == 0 && taken.count(match->second) == 0)
            pairs.emplace(&rule, match->second);
    }
    return pairs;
}

void CompareRules(const Sarvo::PolicyType& first, const Sarvo::PolicyType& second,
                  const DocumentWords& before, const DocumentWords& after,
                  const RuleRenumbering& renumbering, std::vector<Difference>& out) {
    const auto& a = first.Rules().Rule();
    const auto& b = second.Rules().Rule();
    const std::vector<OccurrenceKey> aKeys = OccurrenceKeys(a, RuleKey);
    const std::vector<OccurrenceKey> bKeys = OccurrenceKeys(b, RuleKey);
    RulePairs renumbered = KnownRenumberings(a, b, bKeys, renumbering);
    std::set<const Sarvo::Rule*> known = Partners(renumbered);
    std::size_t index = 0;
    for (const auto& rule : a) {
        if (renumbering.count(index++) != 0)
            known.insert(&rule);
    }
    renumbered.merge(RenumberedRules(a, aKeys, b, bKeys, known));
    const RulePairs pairs = AllRulePairs(a, aKeys, b, bKeys, renumbered, known);
    const auto moves = RuleMoves(first, second, pairs);
    const auto changed = [&](const Sarvo::Rule& rule, const std::string& change) {
        const Sarvo::Rule& partner = *pairs.at(&rule);
        Difference d = DescribeRule(partner);
        d.change = change;
        d.fields = RuleFieldChanges(rule, partner, before.words, after.words);
        if (const auto move = moves.find(&rule); move != moves.end())
            d.fields.insert(d.fields.begin(), {"moved", std::to_string(move->second.before),
                                               std::to_string(move->second.after)});
        if (!d.fields.empty())
            out.push_back(d);
    };
    for (const auto& rule : a) {
        if (renumbered.count(&rule) != 0)
            continue;
        if (pairs.count(&rule) != 0) {
            changed(rule, "changed");
        } else {
            Difference d = DescribeRule(rule);
            d.change = "removed";
            out.push_back(d);
        }
    }
    const std::set<const Sarvo::Rule*> partners = Partners(pairs);
    for (const auto& rule : b) {
        if (partners.count(&rule) == 0) {
            Difference d = DescribeRule(rule);
            d.change = "added";
            out.push_back(d);
        }
    }
    for (const auto& rule : a) {
        if (renumbered.count(&rule) != 0)
            changed(rule, "renumbered");
    }
}

std::string KindWordOf(const Sarvo::IpObject&) {
    return "ip";
}
std::string KindWordOf(const Sarvo::InterfaceObject&) {
    return "interface";
}
std::string KindWordOf(const Sarvo::VpnObject&) {
    return "vpn";
}
std::string KindWordOf(const Sarvo::ServiceObject&) {
    return "service";
}
std::string KindWordOf(const Sarvo::ScheduleObject&) {
    return "schedule";
}

template <typename Sequence>
void CompareObjects(const Sequence& first, const Sequence& second, const DocumentWords& before,
                    const DocumentWords& after, std::vector<Difference>& out) {
    using Object = typename Sequence::value_type;
    Pair(
        first, second, "object", [](const Object& o) { return Key(std::to_wstring(o.Id()), L""); },
        [](const Object& o) {
            Difference d;
            d.kind = KindWordOf(o);
            d.key = std::to_wstring(o.Id());
            d.creationType = CreationTypeWord(o.CreationType());
            d.name = o.Name();
            return d;
        },
        [&](const Object& a, const Object& b) {
            if (a == b)
                return FieldChanges();
            return ObjectFieldChanges(a, b, before.words, after.words);
        },
        out);
}

void CompareAllObjects(const Sarvo::PolicyType& first, const Sarvo::PolicyType& second,
                       const DocumentWords& before, const DocumentWords& after,
                       std::vector<Difference>& out) {
    const Sarvo::NamedObjects none;
    const Sarvo::NamedObjects& a = first.NamedObjects() ? *first.NamedObjects() : none;
    const Sarvo::NamedObjects& b = second.NamedObjects() ? *second.NamedObjects() : none;
    CompareObjects(a.IpObject(), b.IpObject(), before, after, out);
    CompareObjects(a.InterfaceObject(), b.InterfaceObject(), before, after, out);
    CompareObjects(a.VpnObject(), b.VpnObject(), before, after, out);
    CompareObjects(a.ServiceObject(), b.ServiceObject(), before, after, out);
    CompareObjects(a.ScheduleObject(), b.ScheduleObject(), before, after, out);
}

void CompareOptions(const Sarvo::PolicyType& first, const Sarvo::PolicyType& second,
                    std::vector<Difference>& out) {
    const Sarvo::Options none;
    const Sarvo::Options& a = first.Options() ? *first.Options() : none;
    const Sarvo::Options& b = second.Options() ? *second.Options() : none;
    Pair(
        a.Option(), b.Option(), "option",
        [](const Sarvo::Option& o) { return Key(o.Name(), o.CreationType()); },
        [](const Sarvo::Option& o) {
            Difference d;
            d.key = o.Name();
            d.creationType = CreationTypeWord(o.CreationType());
            return d;
        },
        OptionFieldChanges, out);
}

}  // namespace

std::vector<Difference> ComparePolicies(const Sarvo::PolicyType& first,
                                        const Sarvo::PolicyType& second,
                                        const textforms::ProtocolNames& protocols,
                                        const RuleRenumbering& renumbering) {
    const DocumentWords before(first, protocols);
    const DocumentWords after(second, protocols);
    std::vector<Difference> out;
    CompareRules(first, second, before, after, renumbering, out);
    CompareAllObjects(first, second, before, after, out);
    CompareOptions(first, second, out);
    return out;
}

std::string DifferenceHeading(const Difference& d) {
    std::string line = d.group + ' ' + d.change + ": ";
    if (!d.kind.empty())
        line += d.kind + ' ';
    // An option's key is its name, which may hold spaces: quoted, as the
    // edits quote it.
    const std::string key = ToUtf8(d.key);
    line += (d.group == "option" ? "\"" + key + "\"" : key) + " (" + d.creationType + ")";
    if (!d.name.empty())
        line += " \"" + ToUtf8(d.name) + "\"";
    return line;
}

std::string DifferenceText(const Difference& d) {
    std::string text = terminal::Printable(DifferenceHeading(d)) + '\n';
    for (const FieldChange& field : d.fields)
        text += "  " + terminal::Printable(FieldChangeText(field)) + '\n';
    return text;
}

std::string DifferencesText(const Sarvo::PolicyType& first, const Sarvo::PolicyType& second,
                            const RuleRenumbering& renumbering) {
    LoadDictionaries();
    std::string text;
    for (const Difference& d :
         ComparePolicies(first, second, textforms::ProtocolNames::FromDictionary(), renumbering))
        text += DifferenceText(d);
    return text;
}

}  // namespace fwpolicy
