// One-call strict comparison of two named objects of the same kind.

#include <fwcommon/XmlInterfaceObjectStrictComparator.h>
#include <fwcommon/XmlIpObjectStrictComparator.h>
#include <fwcommon/XmlNamedObjectsStrictCompare.h>
#include <fwcommon/XmlScheduleObjectStrictComparator.h>
#include <fwcommon/XmlServiceObjectStrictComparator.h>
#include <fwcommon/XmlVpnObjectStrictComparator.h>

namespace fwcommon {

bool XmlNamedObjectsStrictCompare(const std::shared_ptr<Sarvo::InterfaceObject>& first,
                                  const std::shared_ptr<Sarvo::InterfaceObject>& second) {
    return XmlInterfaceObjectStrictComparator(first, second).IsEqual();
}

bool XmlNamedObjectsStrictCompare(const std::shared_ptr<Sarvo::IpObject>& first,
                                  const std::shared_ptr<Sarvo::IpObject>& second) {
    return XmlIpObjectStrictComparator(first, second).IsEqual();
}

bool XmlNamedObjectsStrictCompare(const std::shared_ptr<Sarvo::VpnObject>& first,
                                  const std::shared_ptr<Sarvo::VpnObject>& second) {
    return XmlVpnObjectStrictComparator(first, second).IsEqual();
}

bool XmlNamedObjectsStrictCompare(const std::shared_ptr<Sarvo::ServiceObject>& first,
                                  const std::shared_ptr<Sarvo::ServiceObject>& second) {
    return XmlServiceObjectStrictComparator(first, second).IsEqual();
}

bool XmlNamedObjectsStrictCompare(const std::shared_ptr<Sarvo::ScheduleObject>& first,
                                  const std::shared_ptr<Sarvo::ScheduleObject>& second) {
    return XmlScheduleObjectStrictComparator(first, second).IsEqual();
}

}  // namespace fwcommon
