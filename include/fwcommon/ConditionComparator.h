#pragma once

#include <string>

#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

// Strict comparison of single conditions, shared by the rule and the
// named-object comparators.
//
// Every function takes the first and the second condition (never null; the
// conditions are only read), a context name that says where the two stand
// ("Source", "Services", "Inclusion", ...) and the caller's mismatch text.
// Equal conditions give true and leave the text alone. On the first
// difference the text is replaced by one message naming it and the result
// is false. Kinds must agree exactly; malformed content (a condition of a
// base kind, a reference where a schedule is expected) is reported as a
// difference, never thrown. Any thread may call them on conditions no other
// thread is changing.
namespace fwcommon::condition_comparator {

// IpAddress, IpMask, IpRange, DomainName, IpSystemObjectRef or IpObjectRef.
FWCOMMON_EXPORT bool CompareIpHostCondition(const Sarvo::IpHostCondition* first,
                                            const Sarvo::IpHostCondition* second,
                                            const std::wstring& contextName,
                                            std::wstring& mismatchDetails);

// VpnNodeId, VpnNetworkId, VpnNameTemplate, VpnSystemObjectRef or
// VpnObjectRef. These messages end with one blank.
FWCOMMON_EXPORT bool CompareVpnHostCondition(const Sarvo::VpnHostCondition* first,
                                             const Sarvo::VpnHostCondition* second,
                                             const std::wstring& contextName,
                                             std::wstring& mismatchDetails);

// SimpleInterface, InterfaceSystemObjectRef, InterfaceObjectRef or
// InterfaceByIp (whose addresses are reported under the context name
// followed by " 'InterfaceByIp'").
FWCOMMON_EXPORT bool CompareInterfaceCondition(const Sarvo::InterfaceCondition* first,
                                               const Sarvo::InterfaceCondition* second,
                                               const std::wstring& contextName,
                                               std::wstring& mismatchDetails);

// IcmpCondition (type and code; not the protocol), ProtocolCondition,
// TcpCondition / UdpCondition (ports; not the protocol) and
// ServiceObjectRef. Conditions of none of these kinds, such as two
// ServiceSystemObjectRef, are equal whatever they hold.
//
// A missing source or destination port equals only another missing port:
// two port restrictions that both leave a side open agree on that side.
FWCOMMON_EXPORT bool CompareServiceCondition(const Sarvo::ServiceCondition* first,
                                             const Sarvo::ServiceCondition* second,
                                             const std::wstring& contextName,
                                             std::wstring& mismatchDetails);

// Daily, Weekly, Calendar or plain Schedule: start and end time (with time
// zone), then week days or dates. Object and system references in a
// schedule list are malformed and never equal.
FWCOMMON_EXPORT bool CompareScheduleCondition(const Sarvo::ScheduleCondition* first,
                                              const Sarvo::ScheduleCondition* second,
                                              const std::wstring& contextName,
                                              std::wstring& mismatchDetails);

}  // namespace fwcommon::condition_comparator
