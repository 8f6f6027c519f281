#include "PolicyDiff.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <tuple>
#include <utility>

#include <fwcommon/RuleIdentifier.h>
#include <fwcommon/XmlInterfaceObjectStrictComparator.h>
#include <fwcommon/XmlIpObjectStrictComparator.h>
#include <fwcommon/XmlRulesStrictCompare.h>
#include <fwcommon/XmlScheduleObjectStrictComparator.h>
#include <fwcommon/XmlServiceObjectStrictComparator.h>
#include <fwcommon/XmlVpnObjectStrictComparator.h>
#include "RuleSection.h"
#include "Utf8.h"

namespace fwpolicy {
namespace {

using Key = std::pair<std::wstring, std::wstring>;

// Two elements that differ only where the strict comparators do not look
// (Reserved attributes, an object's creation type).
const wchar_t* const kOutsideComparison = L"fields the strict comparison leaves out differ";

// Pairs the elements of two sequences by key and reports removals and
// changes in the first's order, then additions in the second's. Describe
// fills kind, key, creation type and name; Compare returns the mismatch
// text, empty when equal.
template <typename Sequence, typename KeyOf, typename Describe, typename Compare>
void Pair(const Sequence& first, const Sequence& second, const std::string& group, KeyOf keyOf,
          Describe describe, Compare compare, std::vector<Difference>& out) {
    using Element = typename Sequence::value_type;
    std::map<Key, const Element*> later;
    for (const auto& element : second)
        later.emplace(keyOf(element), &element);
    std::map<Key, bool> earlier;
    for (const auto& element : first) {
        const Key key = keyOf(element);
        earlier.emplace(key, true);
        const auto match = later.find(key);
        Difference d = describe(element);
        d.group = group;
        if (match == later.end()) {
            d.change = "removed";
            out.push_back(d);
        } else if (const std::wstring detail = compare(element, *match->second); !detail.empty()) {
            d = describe(*match->second);
            d.group = group;
            d.change = "changed";
            d.detail = detail;
            out.push_back(d);
        }
    }
    for (const auto& element : second) {
        if (earlier.count(keyOf(element)) == 0) {
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

// Whether b is a with another RuleId: same section, creation type and
// everything else.
bool SameButIdentifier(const Sarvo::Rule& a, const Sarvo::Rule& b) {
    if (SectionOfRule(a) != SectionOfRule(b) || a.CreationType() != b.CreationType())
        return false;
    const std::unique_ptr<Sarvo::Rule> renamed(b._clone());
    renamed->RuleId(a.RuleId());
    return *renamed == a;
}

// What a rule and its renumbered twin share, to find twins without
// comparing every pair: section, creation type, order id and name.
using TwinKey = std::tuple<std::string, std::wstring, long long, std::wstring>;

TwinKey TwinKeyOf(const Sarvo::Rule& r) {
    return TwinKey(SectionOfRule(r), r.CreationType(), r.OrderId(), r.Name());
}

// Rules of the first document without a partner of their key that have an
// unpaired twin in the second: renumbered rather than removed and added.
// Each twin is taken once, in document order.
std::vector<std::pair<const Sarvo::Rule*, const Sarvo::Rule*>> RenumberedRules(
    const Sarvo::Rules::Rule_sequence& first, const Sarvo::Rules::Rule_sequence& second) {
    std::set<Key> inFirst;
    std::set<Key> inSecond;
    for (const auto& r : first)
        inFirst.insert(RuleKey(r));
    for (const auto& r : second)
        inSecond.insert(RuleKey(r));
    std::map<TwinKey, std::vector<const Sarvo::Rule*>> unpaired;
    for (const auto& r : second) {
        if (inFirst.count(RuleKey(r)) == 0)
            unpaired[TwinKeyOf(r)].push_back(&r);
    }
    std::vector<std::pair<const Sarvo::Rule*, const Sarvo::Rule*>> pairs;
    for (const auto& r : first) {
        const auto candidates = unpaired.find(TwinKeyOf(r));
        if (inSecond.count(RuleKey(r)) != 0 || candidates == unpaired.end())
            continue;
        for (const Sarvo::Rule*& twin : candidates->second) {
            if (twin != nullptr && SameButIdentifier(r, *twin)) {
                pairs.emplace_back(&r, twin);
                twin = nullptr;
                break;
            }
        }
    }
    return pairs;
}

// Takes the removal and the addition of each renumbered rule out of the
// differences and reports the rule as renumbered instead.
void ReportRenumbered(
    const std::vector<std::pair<const Sarvo::Rule*, const Sarvo::Rule*>>& renumbered,
    std::vector<Difference>& rules) {
    std::set<Key> removed;
    std::set<Key> added;
    for (const auto& [before, after] : renumbered) {
        removed.insert(RuleKey(*before));
        added.insert(RuleKey(*after));
    }
    std::vector<Difference> kept;
    for (const Difference& d : rules) {
        const Key key(d.key, d.creationType);
        if ((d.change == "removed" && removed.count(key) != 0) ||
            (d.change == "added" && added.count(key) != 0))
            continue;
        kept.push_back(d);
    }
    for (const auto& [before, after] : renumbered) {
        Difference d;
        d.group = "rule";
        d.change = "renumbered";
        d.kind = SectionOfRule(*after);
        d.key = RuleIdentifier(*after);
        d.creationType = after->CreationType();
        d.name = after->Name();
        d.detail = L"RuleId " + RuleIdentifier(*before) + L" -> " + RuleIdentifier(*after);
        kept.push_back(d);
    }
    rules = kept;
}

void CompareRules(const Sarvo::PolicyType& first, const Sarvo::PolicyType& second,
                  std::vector<Difference>& out) {
    std::vector<Difference> rules;
    Pair(
        first.Rules().Rule(), second.Rules().Rule(), "rule", RuleKey,
        [](const Sarvo::Rule& r) {
            Difference d;
            d.kind = SectionOfRule(r);
            d.key = RuleIdentifier(r);
            d.creationType = r.CreationType();
            d.name = r.Name();
            return d;
        },
        [](const Sarvo::Rule& a, const Sarvo::Rule& b) {
            if (a == b)
                return std::wstring();
            std::wstring mismatch;
            const std::shared_ptr<Sarvo::Rule> left(a._clone());
            const std::shared_ptr<Sarvo::Rule> right(b._clone());
            if (fwcommon::XmlRulesStrictCompare(left, right, mismatch) || mismatch.empty())
                return std::wstring(kOutsideComparison);
            return mismatch;
        },
        rules);
    ReportRenumbered(RenumberedRules(first.Rules().Rule(), second.Rules().Rule()), rules);
    out.insert(out.end(), rules.begin(), rules.end());
}

template <typename Comparator, typename Sequence>
void CompareObjects(const Sequence& first, const Sequence& second, const std::string& kind,
                    std::vector<Difference>& out) {
    using Object = typename Sequence::value_type;
    Pair(
        first, second, "object", [](const Object& o) { return Key(std::to_wstring(o.Id()), L""); },
        [&kind](const Object& o) {
            Difference d;
            d.kind = kind;
            d.key = std::to_wstring(o.Id());
            d.creationType = o.CreationType();
            d.name = o.Name();
            return d;
        },
        [](const Object& a, const Object& b) {
            if (a == b)
                return std::wstring();
            Comparator comparator(std::make_shared<Object>(a), std::make_shared<Object>(b));
            if (comparator.IsEqual() || comparator.GetMismatchDetails().empty())
                return std::wstring(kOutsideComparison);
            return comparator.GetMismatchDetails();
        },
        out);
}

void CompareAllObjects(const Sarvo::PolicyType& first, const Sarvo::PolicyType& second,
                       std::vector<Difference>& out) {
    const Sarvo::NamedObjects none;
    const Sarvo::NamedObjects& a = first.NamedObjects() ? *first.NamedObjects() : none;
    const Sarvo::NamedObjects& b = second.NamedObjects() ? *second.NamedObjects() : none;
    CompareObjects<fwcommon::XmlIpObjectStrictComparator>(a.IpObject(), b.IpObject(), "ip", out);
    CompareObjects<fwcommon::XmlInterfaceObjectStrictComparator>(
        a.InterfaceObject(), b.InterfaceObject(), "interface", out);
    CompareObjects<fwcommon::XmlVpnObjectStrictComparator>(a.VpnObject(), b.VpnObject(), "vpn",
                                                           out);
    CompareObjects<fwcommon::XmlServiceObjectStrictComparator>(a.ServiceObject(), b.ServiceObject(),
                                                               "service", out);
    CompareObjects<fwcommon::XmlScheduleObjectStrictComparator>(
        a.ScheduleObject(), b.ScheduleObject(), "schedule", out);
}

template <typename Optional>
std::wstring AttributeValue(const Optional& value) {
    return value ? L"'" + std::wstring(*value) + L"'" : L"(none)";
}

// Each part of two options of one name and creation type that differs:
// the value and each attribute, "; "-separated.
std::wstring OptionMismatch(const Sarvo::Option& a, const Sarvo::Option& b) {
    std::wstring text;
    const auto add = [&text](const std::wstring& part) {
        text += (text.empty() ? L"" : L"; ") + part;
    };
    const auto compare = [&add](const wchar_t* name, const auto& before, const auto& after) {
        if (before != after)
            add(std::wstring(name) + L" " + AttributeValue(before) + L" -> " +
                AttributeValue(after));
    };
    if (a.Value() != b.Value())
        add(L"value '" + a.Value() + L"' -> '" + b.Value() + L"'");
    compare(L"TargetApplication", a.TargetApplication(), b.TargetApplication());
    compare(L"TargetPlatform", a.TargetPlatform(), b.TargetPlatform());
    compare(L"Reserved", a.Reserved(), b.Reserved());
    if (text.empty() && a != b)
        return L"attributes differ";
    return text;
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
            d.creationType = o.CreationType();
            return d;
        },
        OptionMismatch, out);
}

}  // namespace

std::vector<Difference> ComparePolicies(const Sarvo::PolicyType& first,
                                        const Sarvo::PolicyType& second) {
    std::vector<Difference> out;
    CompareRules(first, second, out);
    CompareAllObjects(first, second, out);
    CompareOptions(first, second, out);
    return out;
}

std::string DifferenceLine(const Difference& d) {
    std::string line = d.group + ' ' + d.change + ": ";
    if (!d.kind.empty())
        line += d.kind + ' ';
    line += ToUtf8(d.key) + " (" + ToUtf8(d.creationType) + ")";
    if (!d.name.empty())
        line += " \"" + ToUtf8(d.name) + "\"";
    if (!d.detail.empty())
        line += ": " + ToUtf8(d.detail);
    return line;
}

}  // namespace fwpolicy
