#pragma once

#include <memory>

#include <fwcommon/XmlNamedObjectStrictComparator.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// The strict comparator of two named objects of one kind: IsEqual compares
// as XmlNamedObjectStrictComparator tells, the members with the kind's
// condition comparison (condition_comparator::CompareIpHostCondition for
// Sarvo::IpObject, and so on). Object is one of Sarvo::InterfaceObject,
// IpObject, VpnObject, ServiceObject and ScheduleObject; the library holds
// the five instantiations, and the five classes below give them their
// names. The comparator shares ownership of both objects (neither may be
// null) and only reads them. Copyable.
template <class Object>
class XmlTypedObjectStrictComparator : public XmlNamedObjectStrictComparator {
public:
    XmlTypedObjectStrictComparator(const std::shared_ptr<Object>& first,
                                   const std::shared_ptr<Object>& second);

    bool IsEqual() override;

private:
    std::shared_ptr<Object> first_;
    std::shared_ptr<Object> second_;
};

extern template class FWCOMMON_EXPORT XmlTypedObjectStrictComparator<Sarvo::InterfaceObject>;
extern template class FWCOMMON_EXPORT XmlTypedObjectStrictComparator<Sarvo::IpObject>;
extern template class FWCOMMON_EXPORT XmlTypedObjectStrictComparator<Sarvo::VpnObject>;
extern template class FWCOMMON_EXPORT XmlTypedObjectStrictComparator<Sarvo::ServiceObject>;
extern template class FWCOMMON_EXPORT XmlTypedObjectStrictComparator<Sarvo::ScheduleObject>;

// Interface objects; members compared with CompareInterfaceCondition.
class FWCOMMON_EXPORT XmlInterfaceObjectStrictComparator
    : public XmlTypedObjectStrictComparator<Sarvo::InterfaceObject> {
public:
    using XmlTypedObjectStrictComparator::XmlTypedObjectStrictComparator;
};

// IP-address objects; members compared with CompareIpHostCondition.
class FWCOMMON_EXPORT XmlIpObjectStrictComparator
    : public XmlTypedObjectStrictComparator<Sarvo::IpObject> {
public:
    using XmlTypedObjectStrictComparator::XmlTypedObjectStrictComparator;
};

// VPN host groups; members compared with CompareVpnHostCondition.
class FWCOMMON_EXPORT XmlVpnObjectStrictComparator
    : public XmlTypedObjectStrictComparator<Sarvo::VpnObject> {
public:
    using XmlTypedObjectStrictComparator::XmlTypedObjectStrictComparator;
};

// Service objects; members compared with CompareServiceCondition.
class FWCOMMON_EXPORT XmlServiceObjectStrictComparator
    : public XmlTypedObjectStrictComparator<Sarvo::ServiceObject> {
public:
    using XmlTypedObjectStrictComparator::XmlTypedObjectStrictComparator;
};

// Schedule objects; members compared with CompareScheduleCondition.
class FWCOMMON_EXPORT XmlScheduleObjectStrictComparator
    : public XmlTypedObjectStrictComparator<Sarvo::ScheduleObject> {
public:
    using XmlTypedObjectStrictComparator::XmlTypedObjectStrictComparator;
};

}  // namespace fwcommon
