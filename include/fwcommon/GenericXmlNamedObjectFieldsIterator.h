#pragma once

#include <memory>

#include <fwcommon/GenericXmlConditionDispatch.h>
#include <fwcommon/GenericXmlConditionFieldsVisitor.h>
#include <fwcommon/GenericXmlNamedObjectFieldsVisitor.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// The part of every named-object walk that does not depend on the kind:
// the object's own fields. The kind iterators (GenericXmlIpObjectFieldsIterator
// and the others, below) derive from it and walk one document named object
// each: OnBegin; VisitId; VisitName; VisitCreationType; the inclusions
// (purpose 4) when there are any; the exclusions (purpose 5) when there are
// any; OnEnd.
//
// The iterator keeps the visitor pointer given at construction and does
// not own it. One thread uses an iterator for one walk at a time.
template <class NamedObjectVisitor,
          class ConditionVisitor =
              GenericXmlConditionFieldsVisitor<typename NamedObjectVisitor::ListType>>
class GenericXmlNamedObjectFieldsIterator {
public:
    using List = typename NamedObjectVisitor::ListType;
    using Purpose = ConditionPurpose::Type;
    template <class T>
    using Element = typename List::template Element<T>;
    using Dispatch = GenericXmlConditionDispatch<List>;

    explicit GenericXmlNamedObjectFieldsIterator(NamedObjectVisitor* visitor) : visitor_(visitor) {}

protected:
    // OnBegin; the identifier, name and creation type; the inclusions and
    // the exclusions through the kind iterator's ProcessInclusion and
    // ProcessExclusion, each only when not empty; OnEnd.
    template <class KindIterator, class Object>
    void ProcessObject(KindIterator& kind, Object& object) {
        visitor_->OnBegin();
        visitor_->VisitId(object.Id());
        visitor_->VisitName(&object.Name());
        visitor_->VisitCreationType(object.CreationType());
        if (!object.Inclusion().empty()) {
            kind.ProcessInclusion(object.Inclusion());
        }
        if (!object.Exclusion().empty()) {
            kind.ProcessExclusion(object.Exclusion());
        }
        visitor_->OnEnd();
    }

    // Each member in order, with the callbacks of its condition type.
    template <class Members>
    void ProcessMembers(Members& members, Purpose purpose) {
        ConditionVisitor& conditions = *visitor_;
        for (auto& member : members) {
            Dispatch::Condition(conditions, member, purpose);
        }
    }

    NamedObjectVisitor* visitor_;
};

// The walk of IP-address objects: IP host conditions.
template <class Base>
class GenericXmlIpObjectFieldsIterator : public Base {
public:
    template <class T>
    using Element = typename Base::template Element<T>;
    using Base::Base;

    void ProcessIpObject(const std::shared_ptr<Element<Sarvo::IpObject>>& object) {
        this->ProcessObject(*this, *object);
    }
    void ProcessInclusion(Element<Sarvo::IpObject::Inclusion_sequence>& members) {
        this->ProcessMembers(members, ConditionPurpose::eInclusionPurpose);
    }
    void ProcessExclusion(Element<Sarvo::IpObject::Exclusion_sequence>& members) {
        this->ProcessMembers(members, ConditionPurpose::eExclusionPurpose);
    }
};

// The walk of interface objects: interface conditions.
template <class Base>
class GenericXmlInterfaceObjectFieldsIterator : public Base {
public:
    template <class T>
    using Element = typename Base::template Element<T>;
    using Base::Base;

    void ProcessInterfaceObject(const std::shared_ptr<Element<Sarvo::InterfaceObject>>& object) {
        this->ProcessObject(*this, *object);
    }
    void ProcessInclusion(Element<Sarvo::InterfaceObject::Inclusion_sequence>& members) {
        this->ProcessMembers(members, ConditionPurpose::eInclusionPurpose);
    }
    void ProcessExclusion(Element<Sarvo::InterfaceObject::Exclusion_sequence>& members) {
        this->ProcessMembers(members, ConditionPurpose::eExclusionPurpose);
    }
};

// The walk of VPN host groups: VPN host conditions.
template <class Base>
class GenericXmlVpnObjectFieldsIterator : public Base {
public:
    template <class T>
    using Element = typename Base::template Element<T>;
    using Base::Base;

    void ProcessVpnObject(const std::shared_ptr<Element<Sarvo::VpnObject>>& object) {
        this->ProcessObject(*this, *object);
    }
    void ProcessInclusion(Element<Sarvo::VpnObject::Inclusion_sequence>& members) {
        this->ProcessMembers(members, ConditionPurpose::eInclusionPurpose);
    }
    void ProcessExclusion(Element<Sarvo::VpnObject::Exclusion_sequence>& members) {
        this->ProcessMembers(members, ConditionPurpose::eExclusionPurpose);
    }
};

// The walk of service objects: service conditions.
template <class Base>
class GenericXmlServiceObjectFieldsIterator : public Base {
public:
    template <class T>
    using Element = typename Base::template Element<T>;
    using Base::Base;

    void ProcessServiceObject(const std::shared_ptr<Element<Sarvo::ServiceObject>>& object) {
        this->ProcessObject(*this, *object);
    }
    void ProcessInclusion(Element<Sarvo::ServiceObject::Inclusion_sequence>& members) {
        this->ProcessMembers(members, ConditionPurpose::eInclusionPurpose);
    }
    void ProcessExclusion(Element<Sarvo::ServiceObject::Exclusion_sequence>& members) {
        this->ProcessMembers(members, ConditionPurpose::eExclusionPurpose);
    }
};

// The walk of schedule objects: schedule conditions.
template <class Base>
class GenericXmlScheduleObjectFieldsIterator : public Base {
public:
    template <class T>
    using Element = typename Base::template Element<T>;
    using Base::Base;

    void ProcessScheduleObject(const std::shared_ptr<Element<Sarvo::ScheduleObject>>& object) {
        this->ProcessObject(*this, *object);
    }
    void ProcessInclusion(Element<Sarvo::ScheduleObject::Inclusion_sequence>& members) {
        this->ProcessMembers(members, ConditionPurpose::eInclusionPurpose);
    }
    void ProcessExclusion(Element<Sarvo::ScheduleObject::Exclusion_sequence>& members) {
        this->ProcessMembers(members, ConditionPurpose::eExclusionPurpose);
    }
};

using XmlNamedObjectFieldsIterator =
    GenericXmlNamedObjectFieldsIterator<XmlNamedObjectFieldsVisitor>;
using ConstXmlNamedObjectFieldsIterator =
    GenericXmlNamedObjectFieldsIterator<ConstXmlNamedObjectFieldsVisitor>;

extern template class FWCOMMON_EXPORT
    GenericXmlNamedObjectFieldsIterator<XmlNamedObjectFieldsVisitor>;
extern template class FWCOMMON_EXPORT
    GenericXmlNamedObjectFieldsIterator<ConstXmlNamedObjectFieldsVisitor>;

extern template class FWCOMMON_EXPORT
    GenericXmlIpObjectFieldsIterator<XmlNamedObjectFieldsIterator>;
extern template class FWCOMMON_EXPORT
    GenericXmlIpObjectFieldsIterator<ConstXmlNamedObjectFieldsIterator>;
extern template class FWCOMMON_EXPORT
    GenericXmlInterfaceObjectFieldsIterator<XmlNamedObjectFieldsIterator>;
extern template class FWCOMMON_EXPORT
    GenericXmlInterfaceObjectFieldsIterator<ConstXmlNamedObjectFieldsIterator>;
extern template class FWCOMMON_EXPORT
    GenericXmlVpnObjectFieldsIterator<XmlNamedObjectFieldsIterator>;
extern template class FWCOMMON_EXPORT
    GenericXmlVpnObjectFieldsIterator<ConstXmlNamedObjectFieldsIterator>;
extern template class FWCOMMON_EXPORT
    GenericXmlServiceObjectFieldsIterator<XmlNamedObjectFieldsIterator>;
extern template class FWCOMMON_EXPORT
    GenericXmlServiceObjectFieldsIterator<ConstXmlNamedObjectFieldsIterator>;
extern template class FWCOMMON_EXPORT
    GenericXmlScheduleObjectFieldsIterator<XmlNamedObjectFieldsIterator>;
extern template class FWCOMMON_EXPORT
    GenericXmlScheduleObjectFieldsIterator<ConstXmlNamedObjectFieldsIterator>;

using XmlIpObjectFieldsIterator = GenericXmlIpObjectFieldsIterator<XmlNamedObjectFieldsIterator>;
using ConstXmlIpObjectFieldsIterator =
    GenericXmlIpObjectFieldsIterator<ConstXmlNamedObjectFieldsIterator>;
using XmlInterfaceObjectFieldsIterator =
    GenericXmlInterfaceObjectFieldsIterator<XmlNamedObjectFieldsIterator>;
using ConstXmlInterfaceObjectFieldsIterator =
    GenericXmlInterfaceObjectFieldsIterator<ConstXmlNamedObjectFieldsIterator>;
using XmlVpnObjectFieldsIterator = GenericXmlVpnObjectFieldsIterator<XmlNamedObjectFieldsIterator>;
using ConstXmlVpnObjectFieldsIterator =
    GenericXmlVpnObjectFieldsIterator<ConstXmlNamedObjectFieldsIterator>;
using XmlServiceObjectFieldsIterator =
    GenericXmlServiceObjectFieldsIterator<XmlNamedObjectFieldsIterator>;
using ConstXmlServiceObjectFieldsIterator =
    GenericXmlServiceObjectFieldsIterator<ConstXmlNamedObjectFieldsIterator>;
using XmlScheduleObjectFieldsIterator =
    GenericXmlScheduleObjectFieldsIterator<XmlNamedObjectFieldsIterator>;
using ConstXmlScheduleObjectFieldsIterator =
    GenericXmlScheduleObjectFieldsIterator<ConstXmlNamedObjectFieldsIterator>;

}  // namespace fwcommon
