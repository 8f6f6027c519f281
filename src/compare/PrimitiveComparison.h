#pragma once

#include <string>

#include <fwcommon/rules.hxx>

// Comparisons of the parts conditions are made of. Same contract as the
// condition comparisons: the context name says where the values stand, a
// difference replaces the details and gives false.
namespace fwcommon::condition_comparator {

// IpMask, IpAddress or IpRange; never null.
bool CompareIpPrimitive(const Sarvo::IpPrimitive* first, const Sarvo::IpPrimitive* second,
                        const std::wstring& contextName, std::wstring& mismatchDetails);

// The port numbers; never null.
bool ComparePort(const Sarvo::Port* first, const Sarvo::Port* second,
                 const std::wstring& contextName, std::wstring& mismatchDetails);

// Two Port or two PortRange values. Null stands for a port that is absent:
// two absent ports are equal, one absent port is a difference. A difference
// of kind (or a base-kind port) gives false without a message of its own;
// the caller writes one.
bool ComparePortPrimitive(const Sarvo::PortPrimitive* first, const Sarvo::PortPrimitive* second,
                          const std::wstring& contextName, std::wstring& mismatchDetails);

// Two TcpCondition or two UdpCondition: source, then destination ports.
// Never null.
bool ComparePortRestrictionCondition(const Sarvo::PortRestrictionCondition* first,
                                     const Sarvo::PortRestrictionCondition* second,
                                     const std::wstring& contextName,
                                     std::wstring& mismatchDetails);

}  // namespace fwcommon::condition_comparator
