#include "store/ObjectReferences.h"

namespace fwcommon {
namespace {

template <typename Ref, typename Condition>
void VisitIfReference(Condition& condition, NamedObjectType kind,
                      const ObjectReferenceVisitor& visit) {
    if (auto* ref = dynamic_cast<Ref*>(&condition)) {
        visit(kind, ref->Id());
    }
}

void VisitHost(Sarvo::IpHostCondition& c, const ObjectReferenceVisitor& visit) {
    VisitIfReference<Sarvo::IpObjectRef>(c, eIpAddressObject, visit);
}
void VisitInterface(Sarvo::InterfaceCondition& c, const ObjectReferenceVisitor& visit) {
    VisitIfReference<Sarvo::InterfaceObjectRef>(c, eInterfaceObject, visit);
}
void VisitVpn(Sarvo::VpnHostCondition& c, const ObjectReferenceVisitor& visit) {
    VisitIfReference<Sarvo::VpnObjectRef>(c, eSarvoGroupObject, visit);
}
void VisitService(Sarvo::ServiceCondition& c, const ObjectReferenceVisitor& visit) {
    VisitIfReference<Sarvo::ServiceObjectRef>(c, eServiceObject, visit);
}
void VisitSchedule(Sarvo::ScheduleCondition& c, const ObjectReferenceVisitor& visit) {
    VisitIfReference<Sarvo::ScheduleObjectRef>(c, eScheduleObject, visit);
}

template <typename Optional>
void VisitSide(Optional& side, const ObjectReferenceVisitor& visit) {
    if (!side) {
        return;
    }
    if (auto* pub = dynamic_cast<Sarvo::PublicNetwork*>(&*side)) {
        if (pub->InterfaceCondition()) {
            VisitInterface(*pub->InterfaceCondition(), visit);
        }
        for (auto& host : pub->IpHostCondition()) {
            VisitHost(host, visit);
        }
    } else if (auto* priv = dynamic_cast<Sarvo::PrivateNetwork*>(&*side)) {
        for (auto& host : priv->VpnHostCondition()) {
            VisitVpn(host, visit);
        }
    }
}

template <typename Object, typename VisitMember>
bool VisitMembers(Sarvo::NamedObject& object, VisitMember visitMember,
                  const ObjectReferenceVisitor& visit) {
    auto* typed = dynamic_cast<Object*>(&object);
    if (typed == nullptr) {
        return false;
    }
    for (auto& member : typed->Inclusion()) {
        visitMember(member, visit);
    }
    for (auto& member : typed->Exclusion()) {
        visitMember(member, visit);
    }
    return true;
}

}  // namespace

void ForEachObjectReference(Sarvo::ConditionSet& conditions, const ObjectReferenceVisitor& visit) {
    for (auto& c : conditions.ScheduleCondition()) {
        VisitSchedule(c, visit);
    }
    VisitSide(conditions.Source(), visit);
    for (auto& c : conditions.ServiceCondition()) {
        VisitService(c, visit);
    }
    VisitSide(conditions.Destination(), visit);
}

void ForEachObjectReference(Sarvo::NamedObject& object, const ObjectReferenceVisitor& visit) {
    VisitMembers<Sarvo::IpObject>(object, VisitHost, visit) ||
        VisitMembers<Sarvo::InterfaceObject>(object, VisitInterface, visit) ||
        VisitMembers<Sarvo::VpnObject>(object, VisitVpn, visit) ||
        VisitMembers<Sarvo::ServiceObject>(object, VisitService, visit) ||
        VisitMembers<Sarvo::ScheduleObject>(object, VisitSchedule, visit);
}

}  // namespace fwcommon
