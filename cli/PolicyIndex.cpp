#include "PolicyIndex.h"

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <tuple>

#include "RuleSection.h"
#include "RuleTable.h"

namespace fwpolicy {
namespace {

using fwcommon::IXmlWrapper;

// The key of the object a condition refers to, if it is a reference.
template <typename Ref, typename Condition>
bool RefersTo(const Condition& condition, ObjectKind kind, ObjectKey& key) {
    if (const auto* ref = dynamic_cast<const Ref*>(&condition)) {
        key = {kind, ref->Id()};
        return true;
    }
    return false;
}

bool Reference(const Sarvo::IpHostCondition& c, ObjectKey& key) {
    return RefersTo<Sarvo::IpObjectRef>(c, ObjectKind::kIp, key);
}
bool Reference(const Sarvo::InterfaceCondition& c, ObjectKey& key) {
    return RefersTo<Sarvo::InterfaceObjectRef>(c, ObjectKind::kInterface, key);
}
bool Reference(const Sarvo::VpnHostCondition& c, ObjectKey& key) {
    return RefersTo<Sarvo::VpnObjectRef>(c, ObjectKind::kVpn, key);
}
bool Reference(const Sarvo::ServiceCondition& c, ObjectKey& key) {
    return RefersTo<Sarvo::ServiceObjectRef>(c, ObjectKind::kService, key);
}
bool Reference(const Sarvo::ScheduleCondition& c, ObjectKey& key) {
    return RefersTo<Sarvo::ScheduleObjectRef>(c, ObjectKind::kSchedule, key);
}

std::wstring Text(const IXmlWrapper& w, const Sarvo::IpHostCondition& c) {
    return w.IpHostConditionText(c);
}
std::wstring Text(const IXmlWrapper& w, const Sarvo::InterfaceCondition& c) {
    return w.InterfaceConditionText(c);
}
std::wstring Text(const IXmlWrapper& w, const Sarvo::VpnHostCondition& c) {
    return w.VpnHostConditionText(c);
}
std::wstring Text(const IXmlWrapper& w, const Sarvo::ServiceCondition& c) {
    return w.ServiceConditionText(c);
}
std::wstring Text(const IXmlWrapper& w, const Sarvo::ScheduleCondition& c) {
    return w.ScheduleConditionText(c);
}

// Collects the references of a sequence of conditions into one rule's uses.
class RuleWalker {
public:
    RuleWalker(const RuleUse& rule, std::vector<RuleUse>& uses) : rule_(rule), uses_(uses) {}

    template <typename Sequence>
    void Conditions(const Sequence& conditions, Where where) {
        for (const auto& condition : conditions)
            One(condition, where);
    }

    void Side(const Sarvo::ConditionSet::Source_optional& side, Where where) {
        if (!side.present())
            return;
        if (const auto* pub = dynamic_cast<const Sarvo::PublicNetwork*>(&side.get())) {
            if (pub->InterfaceCondition())
                One(*pub->InterfaceCondition(), where);
            Conditions(pub->IpHostCondition(), where);
        } else if (const auto* priv = dynamic_cast<const Sarvo::PrivateNetwork*>(&side.get())) {
            Conditions(priv->VpnHostCondition(), where);
        }
    }

private:
    template <typename Condition>
    void One(const Condition& condition, Where where) {
        RuleUse use = rule_;
        if (Reference(condition, use.object)) {
            use.where = where;
            uses_.push_back(use);
        }
    }

    const RuleUse& rule_;
    std::vector<RuleUse>& uses_;
};

void IndexRule(const Sarvo::Rule& rule, const std::string& section, std::size_t index,
               std::vector<RuleUse>& uses) {
    RuleUse base;
    base.section = section;
    base.index = index;
    base.ruleId = rule.RuleId();
    base.ruleName = rule.Name();
    RuleWalker walker(base, uses);
    const Sarvo::ConditionSet& set = rule.ConditionSet();
    walker.Conditions(set.ScheduleCondition(), Where::kSchedules);
    walker.Side(set.Source(), Where::kSource);
    walker.Conditions(set.ServiceCondition(), Where::kServices);
    walker.Side(set.Destination(), Where::kDestination);
}

void IndexRules(const Sarvo::PolicyType& policy, std::vector<RuleUse>& uses) {
    for (const std::string& section : SectionNames()) {
        std::vector<const Sarvo::Rule*> rules;
        for (const auto& rule : policy.Rules().Rule()) {
            if (SectionOfRule(rule) == section)
                rules.push_back(&rule);
        }
        std::stable_sort(rules.begin(), rules.end(),
                         [](const auto* a, const auto* b) { return a->OrderId() < b->OrderId(); });
        for (std::size_t i = 0; i < rules.size(); ++i)
            IndexRule(*rules[i], section, i, uses);
    }
}

template <typename Sequence>
void ListEntries(const Sequence& entries, const IXmlWrapper& wrapper, const ObjectNames& names,
                 std::vector<std::wstring>& texts, std::vector<ObjectKey>& refers) {
    for (const auto& entry : entries) {
        texts.push_back(WithObjectNames(Text(wrapper, entry), names));
        ObjectKey key;
        if (Reference(entry, key))
            refers.push_back(key);
    }
}

template <typename Sequence>
void IndexObjects(const Sequence& objects, ObjectKind kind, const IXmlWrapper& wrapper,
                  const ObjectNames& names, std::vector<ObjectEntry>& out) {
    for (const auto& object : objects) {
        ObjectEntry entry;
        entry.key = {kind, object.Id()};
        entry.name = object.Name();
        entry.creationType = object.CreationType();
        ListEntries(object.Inclusion(), wrapper, names, entry.inclusions, entry.refers);
        ListEntries(object.Exclusion(), wrapper, names, entry.exclusions, entry.refers);
        out.push_back(std::move(entry));
    }
}

}  // namespace

std::string KindName(ObjectKind kind) {
    return KindNames()[static_cast<std::size_t>(kind)];
}

ObjectKind KindOf(fwcommon::NamedObjectType type) {
    switch (type) {
        case fwcommon::eInterfaceObject:
            return ObjectKind::kInterface;
        case fwcommon::eIpAddressObject:
            return ObjectKind::kIp;
        case fwcommon::eServiceObject:
            return ObjectKind::kService;
        case fwcommon::eScheduleObject:
            return ObjectKind::kSchedule;
        case fwcommon::eSarvoGroupObject:
            return ObjectKind::kVpn;
    }
    throw std::invalid_argument("named object of unknown type " + std::to_string(type));
}

const std::vector<std::string>& KindNames() {
    static const std::vector<std::string> names = {"ip", "interface", "vpn", "service", "schedule"};
    return names;
}

bool operator<(const ObjectKey& a, const ObjectKey& b) {
    return std::tie(a.kind, a.id) < std::tie(b.kind, b.id);
}

bool operator==(const ObjectKey& a, const ObjectKey& b) {
    return a.kind == b.kind && a.id == b.id;
}

std::string WhereName(Where where) {
    switch (where) {
        case Where::kSource:
            return "source";
        case Where::kDestination:
            return "destination";
        case Where::kServices:
            return "services";
        case Where::kSchedules:
            return "schedules";
    }
    return "";
}

PolicyIndex IndexPolicy(const Sarvo::PolicyType& policy, const IXmlWrapper& wrapper) {
    PolicyIndex index;
    IndexRules(policy, index.uses);
    if (!policy.NamedObjects())
        return index;
    ObjectNames names;
    CollectObjectNames(policy, names);
    const Sarvo::NamedObjects& o = *policy.NamedObjects();
    IndexObjects(o.IpObject(), ObjectKind::kIp, wrapper, names, index.objects);
    IndexObjects(o.InterfaceObject(), ObjectKind::kInterface, wrapper, names, index.objects);
    IndexObjects(o.VpnObject(), ObjectKind::kVpn, wrapper, names, index.objects);
    IndexObjects(o.ServiceObject(), ObjectKind::kService, wrapper, names, index.objects);
    IndexObjects(o.ScheduleObject(), ObjectKind::kSchedule, wrapper, names, index.objects);
    return index;
}

std::vector<const ObjectEntry*> DependentObjects(const PolicyIndex& index,
                                                 const ObjectKey& target) {
    // Who refers to whom, turned round: each object is then visited once,
    // however long the chains of references are.
    std::map<ObjectKey, std::vector<ObjectKey>> referredBy;
    for (const ObjectEntry& object : index.objects) {
        for (const ObjectKey& ref : object.refers) {
            referredBy[ref].push_back(object.key);
        }
    }
    std::set<ObjectKey> dependent = {target};
    std::vector<ObjectKey> toVisit = {target};
    while (!toVisit.empty()) {
        const ObjectKey key = toVisit.back();
        toVisit.pop_back();
        const auto referrers = referredBy.find(key);
        if (referrers == referredBy.end())
            continue;
        for (const ObjectKey& referrer : referrers->second) {
            if (dependent.insert(referrer).second)
                toVisit.push_back(referrer);
        }
    }
    std::vector<const ObjectEntry*> result;
    for (const ObjectEntry& object : index.objects) {
        if (!(object.key == target) && dependent.count(object.key) != 0)
            result.push_back(&object);
    }
    return result;
}

void AppendIndex(PolicyIndex& combined, PolicyIndex index, const std::string& file) {
    for (ObjectEntry& object : index.objects) {
        object.file = file;
        combined.objects.push_back(std::move(object));
    }
    for (RuleUse& use : index.uses) {
        use.file = file;
        combined.uses.push_back(std::move(use));
    }
}

std::size_t RulesUsing(const PolicyIndex& index, const ObjectKey& object) {
    std::set<std::tuple<std::string, std::string, std::size_t>> rules;
    for (const RuleUse& use : index.uses) {
        if (use.object == object)
            rules.emplace(use.file, use.section, use.index);
    }
    return rules.size();
}

}  // namespace fwpolicy
