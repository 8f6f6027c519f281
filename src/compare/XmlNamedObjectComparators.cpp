// The strict comparators of the five named-object kinds.

#include <fwcommon/ConditionComparator.h>
#include <fwcommon/XmlInterfaceObjectStrictComparator.h>
#include <fwcommon/XmlIpObjectStrictComparator.h>
#include <fwcommon/XmlNamedObjectStrictComparator.h>
#include <fwcommon/XmlScheduleObjectStrictComparator.h>
#include <fwcommon/XmlServiceObjectStrictComparator.h>
#include <fwcommon/XmlVpnObjectStrictComparator.h>

#include "compare/NamedObjectComparison.h"

namespace fwcommon {

using tools::CompareNamedObjectFields;

XmlNamedObjectStrictComparator::~XmlNamedObjectStrictComparator() = default;

XmlInterfaceObjectStrictComparator::XmlInterfaceObjectStrictComparator(
    const std::shared_ptr<Sarvo::InterfaceObject>& first,
    const std::shared_ptr<Sarvo::InterfaceObject>& second)
    : first_(first), second_(second) {}

bool XmlInterfaceObjectStrictComparator::IsEqual() {
    MismatchDetails().clear();
    return CompareInterfaceObjects();
}

bool XmlInterfaceObjectStrictComparator::CompareInterfaceObjects() {
    return CompareNamedObjectFields(
        *first_, *second_, condition_comparator::CompareInterfaceCondition, MismatchDetails());
}

XmlIpObjectStrictComparator::XmlIpObjectStrictComparator(
    const std::shared_ptr<Sarvo::IpObject>& first, const std::shared_ptr<Sarvo::IpObject>& second)
    : first_(first), second_(second) {}

bool XmlIpObjectStrictComparator::IsEqual() {
    MismatchDetails().clear();
    return CompareIpObjects();
}

bool XmlIpObjectStrictComparator::CompareIpObjects() {
    return CompareNamedObjectFields(*first_, *second_, condition_comparator::CompareIpHostCondition,
                                    MismatchDetails());
}

XmlVpnObjectStrictComparator::XmlVpnObjectStrictComparator(
    const std::shared_ptr<Sarvo::VpnObject>& first, const std::shared_ptr<Sarvo::VpnObject>& second)
    : first_(first), second_(second) {}

bool XmlVpnObjectStrictComparator::IsEqual() {
    MismatchDetails().clear();
    return CompareVpnObjects();
}

bool XmlVpnObjectStrictComparator::CompareVpnObjects() {
    return CompareNamedObjectFields(
        *first_, *second_, condition_comparator::CompareVpnHostCondition, MismatchDetails());
}

XmlServiceObjectStrictComparator::XmlServiceObjectStrictComparator(
    const std::shared_ptr<Sarvo::ServiceObject>& first,
    const std::shared_ptr<Sarvo::ServiceObject>& second)
    : first_(first), second_(second) {}

bool XmlServiceObjectStrictComparator::IsEqual() {
    MismatchDetails().clear();
    return CompareServiceObjects();
}

bool XmlServiceObjectStrictComparator::CompareServiceObjects() {
    return CompareNamedObjectFields(
        *first_, *second_, condition_comparator::CompareServiceCondition, MismatchDetails());
}

XmlScheduleObjectStrictComparator::XmlScheduleObjectStrictComparator(
    const std::shared_ptr<Sarvo::ScheduleObject>& first,
    const std::shared_ptr<Sarvo::ScheduleObject>& second)
    : first_(first), second_(second) {}

bool XmlScheduleObjectStrictComparator::IsEqual() {
    MismatchDetails().clear();
    return CompareScheduleObjects();
}

bool XmlScheduleObjectStrictComparator::CompareScheduleObjects() {
    return CompareNamedObjectFields(
        *first_, *second_, condition_comparator::CompareScheduleCondition, MismatchDetails());
}

}  // namespace fwcommon
