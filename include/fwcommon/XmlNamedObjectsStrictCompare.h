#pragma once

#include <memory>

#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// True when the two named objects are equal under the strict comparison of
// the matching comparator (XmlIpObjectStrictComparator and its siblings).
// Only the result is returned; callers who need the text of the difference
// use the comparator and its GetMismatchDetails. Neither pointer may be
// null; the objects are only read. Nothing is thrown for malformed content.
// Any thread may call it on objects no other thread is changing.
FWCOMMON_EXPORT bool XmlNamedObjectsStrictCompare(
    const std::shared_ptr<Sarvo::InterfaceObject>& first,
    const std::shared_ptr<Sarvo::InterfaceObject>& second);
FWCOMMON_EXPORT bool XmlNamedObjectsStrictCompare(const std::shared_ptr<Sarvo::IpObject>& first,
                                                  const std::shared_ptr<Sarvo::IpObject>& second);
FWCOMMON_EXPORT bool XmlNamedObjectsStrictCompare(const std::shared_ptr<Sarvo::VpnObject>& first,
                                                  const std::shared_ptr<Sarvo::VpnObject>& second);
FWCOMMON_EXPORT bool XmlNamedObjectsStrictCompare(
    const std::shared_ptr<Sarvo::ServiceObject>& first,
    const std::shared_ptr<Sarvo::ServiceObject>& second);
FWCOMMON_EXPORT bool XmlNamedObjectsStrictCompare(
    const std::shared_ptr<Sarvo::ScheduleObject>& first,
    const std::shared_ptr<Sarvo::ScheduleObject>& second);

}  // namespace fwcommon
