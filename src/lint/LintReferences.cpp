#include "lint/LintReferences.h"

#include <set>

#include <fwcommon/StringUtilities.h>

namespace fwcommon::lint {
namespace {

// Adds the reference of one condition when it is a reference of kind Ref
// (to an object) or System (to a system object).
template <typename Ref, typename System, typename Condition>
void Collect(const Condition& c, NamedObjectType type, References& out) {
    if (const auto* ref = dynamic_cast<const Ref*>(&c)) {
        out.objects.push_back(Reference{type, ref->Id()});
    } else if (const auto* system = dynamic_cast<const System*>(&c)) {
        out.systemNames.push_back(system->Name());
    }
}

void CollectHost(const Sarvo::IpHostCondition& c, References& out) {
    Collect<Sarvo::IpObjectRef, Sarvo::IpSystemObjectRef>(c, eIpAddressObject, out);
}
void CollectInterface(const Sarvo::InterfaceCondition& c, References& out) {
    Collect<Sarvo::InterfaceObjectRef, Sarvo::InterfaceSystemObjectRef>(c, eInterfaceObject, out);
}
void CollectVpn(const Sarvo::VpnHostCondition& c, References& out) {
    Collect<Sarvo::VpnObjectRef, Sarvo::VpnSystemObjectRef>(c, eSarvoGroupObject, out);
}
void CollectService(const Sarvo::ServiceCondition& c, References& out) {
    Collect<Sarvo::ServiceObjectRef, Sarvo::ServiceSystemObjectRef>(c, eServiceObject, out);
}
void CollectSchedule(const Sarvo::ScheduleCondition& c, References& out) {
    Collect<Sarvo::ScheduleObjectRef, Sarvo::ScheduleSystemObjectRef>(c, eScheduleObject, out);
}

template <typename Optional>
void CollectSide(const Optional& side, References& out) {
    if (!side) {
        return;
    }
    if (const auto* pub = dynamic_cast<const Sarvo::PublicNetwork*>(&*side)) {
        if (pub->InterfaceCondition()) {
            CollectInterface(*pub->InterfaceCondition(), out);
        }
        for (const auto& host : pub->IpHostCondition()) {
            CollectHost(host, out);
        }
    } else if (const auto* priv = dynamic_cast<const Sarvo::PrivateNetwork*>(&*side)) {
        for (const auto& host : priv->VpnHostCondition()) {
            CollectVpn(host, out);
        }
    }
}

template <typename Object, typename CollectFn>
bool CollectEntries(const Sarvo::NamedObject& object, CollectFn collect, References& out) {
    const auto* typed = dynamic_cast<const Object*>(&object);
    if (typed == nullptr) {
        return false;
    }
    for (const auto& c : typed->Inclusion()) {
        collect(c, out);
    }
    for (const auto& c : typed->Exclusion()) {
        collect(c, out);
    }
    return true;
}

}  // namespace

References ReferencesOfRule(const Sarvo::ConditionSet& conditions) {
    References out;
    for (const auto& c : conditions.ScheduleCondition()) {
        CollectSchedule(c, out);
    }
    CollectSide(conditions.Source(), out);
    for (const auto& c : conditions.ServiceCondition()) {
        CollectService(c, out);
    }
    CollectSide(conditions.Destination(), out);
    return out;
}

References ReferencesOfObject(const Sarvo::NamedObject& object) {
    References out;
    CollectEntries<Sarvo::IpObject>(object, CollectHost, out) ||
        CollectEntries<Sarvo::InterfaceObject>(object, CollectInterface, out) ||
        CollectEntries<Sarvo::VpnObject>(object, CollectVpn, out) ||
        CollectEntries<Sarvo::ServiceObject>(object, CollectService, out) ||
        CollectEntries<Sarvo::ScheduleObject>(object, CollectSchedule, out);
    return out;
}

bool IsSystemObjectName(const std::wstring& name) {
    static const std::set<std::wstring> names = [] {
        std::set<std::wstring> all;
        for (std::int32_t type = 0; type < kSystemObjectTypeCount; ++type) {
            all.insert(StringUtilities::GetSystemType(static_cast<SystemObjectTypes>(type)));
        }
        return all;
    }();
    return names.count(name) != 0;
}

}  // namespace fwcommon::lint
