#include "policy/PolicyIndex.h"

#include <map>
#include <set>
#include <stdexcept>
#include <tuple>

#include <fwcommon/GenericXmlConditionDispatch.h>

#include "policy/RuleSection.h"
#include "render/RuleTable.h"

namespace fwpolicy {
namespace {

using fwcommon::IXmlWrapper;

// The key of the object a condition refers to, if it is a reference.
template <typename Condition>
bool Reference(const Condition& condition, ObjectKey& key) {
    const auto* reference = fwcommon::AsObjectReference(condition);
    if (reference == nullptr)
        return false;
    key = {KindOf(fwcommon::kReferencedKind<Condition>), reference->Id()};
    return true;
}

Where WhereOf(fwcommon::ConditionPurpose::Type purpose) {
    switch (purpose) {
        case fwcommon::ConditionPurpose::eSourcePurpose:
            return Where::kSource;
        case fwcommon::ConditionPurpose::eDestinationPurpose:
            return Where::kDestination;
        case fwcommon::ConditionPurpose::eServicePurpose:
            return Where::kServices;
        case fwcommon::ConditionPurpose::eSchedulePurpose:
            return Where::kSchedules;
        default:
            throw std::logic_error("a rule has no conditions of purpose " +
                                   std::to_string(purpose));
    }
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

}  // namespace

void IndexRule(const Sarvo::Rule& rule, const std::string& section, std::size_t index,
               std::vector<RuleUse>& uses) {
    RuleUse base;
    base.section = section;
    base.index = index;
    base.ruleId = rule.RuleId();
    base.ruleName = rule.Name();
    fwcommon::ForEachCondition(rule.ConditionSet(), [&](const auto& condition, auto purpose) {
        RuleUse use = base;
        if (Reference(condition, use.object)) {
            use.where = WhereOf(purpose);
            uses.push_back(use);
        }
    });
}

namespace {

void IndexRules(const Sarvo::PolicyType& policy, std::vector<RuleUse>& uses) {
    for (const std::string& section : SectionNames()) {
        const std::vector<const Sarvo::Rule*> rules = SectionRules(policy, section);
        for (std::size_t i = 0; i < rules.size(); ++i)
            IndexRule(*rules[i], section, i, uses);
    }
}

// The references of entries, and with a wrapper their display texts too.
template <typename Sequence>
void ListEntries(const Sequence& entries, const IXmlWrapper* wrapper, const ObjectNames& names,
                 std::vector<std::wstring>& texts, std::vector<ObjectKey>& refers) {
    for (const auto& entry : entries) {
        if (wrapper)
            texts.push_back(WithObjectNames(Text(*wrapper, entry), names));
        ObjectKey key;
        if (Reference(entry, key))
            refers.push_back(key);
    }
}

template <typename Sequence>
void IndexObjects(const Sequence& objects, ObjectKind kind, const IXmlWrapper* wrapper,
                  const ObjectNames& names, std::vector<ObjectEntry>& out) {
    std::size_t place = 0;
    for (const auto& object : objects) {
        ObjectEntry entry;
        entry.place = place++;
        entry.key = {kind, object.Id()};
        entry.name = object.Name();
        entry.creationType = object.CreationType();
        ListEntries(object.Inclusion(), wrapper, names, entry.inclusions, entry.refers);
        ListEntries(object.Exclusion(), wrapper, names, entry.exclusions, entry.refers);
        out.push_back(std::move(entry));
    }
}

PolicyIndex Indexed(const Sarvo::PolicyType& policy, const IXmlWrapper* wrapper) {
    PolicyIndex index;
    IndexRules(policy, index.uses);
    if (!policy.NamedObjects())
        return index;
    ObjectNames names;
    if (wrapper)
        CollectObjectNames(policy, names);
    const Sarvo::NamedObjects& o = *policy.NamedObjects();
    IndexObjects(o.IpObject(), ObjectKind::kIp, wrapper, names, index.objects);
    IndexObjects(o.InterfaceObject(), ObjectKind::kInterface, wrapper, names, index.objects);
    IndexObjects(o.VpnObject(), ObjectKind::kVpn, wrapper, names, index.objects);
    IndexObjects(o.ServiceObject(), ObjectKind::kService, wrapper, names, index.objects);
    IndexObjects(o.ScheduleObject(), ObjectKind::kSchedule, wrapper, names, index.objects);
    return index;
}

}  // namespace

ObjectPlace PlaceOf(const ObjectEntry& object) {
    return {object.key.kind, object.place};
}

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
    return Indexed(policy, &wrapper);
}

PolicyIndex IndexReferences(const Sarvo::PolicyType& policy) {
    return Indexed(policy, nullptr);
}

ObjectResolver::ObjectResolver(const PolicyIndex& index, std::string sharedFile)
    : sharedFile_(std::move(sharedFile)) {
    for (const ObjectEntry& object : index.objects)
        objects_.emplace(std::make_pair(object.file, object.key), &object);
}

const ObjectEntry* ObjectResolver::Resolve(const std::string& file, const ObjectKey& key) const {
    auto found = objects_.find(std::make_pair(file, key));
    if (found == objects_.end())
        found = objects_.find(std::make_pair(sharedFile_, key));
    return found == objects_.end() ? nullptr : found->second;
}

std::vector<const ObjectEntry*> DependentObjects(const PolicyIndex& index,
                                                 const ObjectResolver& resolver,
                                                 const ObjectEntry& target) {
    // Who refers to whom, turned round: each object is then visited once,
    // however long the chains of references are.
    std::map<const ObjectEntry*, std::vector<const ObjectEntry*>> referredBy;
    for (const ObjectEntry& object : index.objects) {
        for (const ObjectKey& ref : object.refers) {
            if (const ObjectEntry* referred = resolver.Resolve(object.file, ref))
                referredBy[referred].push_back(&object);
        }
    }
    std::set<const ObjectEntry*> dependent = {&target};
    std::vector<const ObjectEntry*> toVisit = {&target};
    while (!toVisit.empty()) {
        const ObjectEntry* object = toVisit.back();
        toVisit.pop_back();
        const auto referrers = referredBy.find(object);
        if (referrers == referredBy.end())
            continue;
        for (const ObjectEntry* referrer : referrers->second) {
            if (dependent.insert(referrer).second)
                toVisit.push_back(referrer);
        }
    }
    std::vector<const ObjectEntry*> result;
    for (const ObjectEntry& object : index.objects) {
        if (&object != &target && dependent.count(&object) != 0)
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

RuleCountMap RuleCounts(const PolicyIndex& index) {
    std::set<std::tuple<ObjectKey, std::string, std::string, std::size_t>> uses;
    for (const RuleUse& use : index.uses)
        uses.emplace(use.object, use.file, use.section, use.index);
    RuleCountMap counts;
    for (const auto& use : uses)
        ++counts[std::get<0>(use)];
    return counts;
}

std::size_t RulesUsing(const RuleCountMap& counts, const ObjectKey& object) {
    const auto found = counts.find(object);
    return found == counts.end() ? 0 : found->second;
}

std::size_t RulesUsing(const PolicyIndex& index, const ObjectKey& object) {
    return RulesUsing(RuleCounts(index), object);
}

}  // namespace fwpolicy
