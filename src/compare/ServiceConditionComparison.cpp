// Comparison of service conditions and of the ports they restrict.

#include <string>

#include <fwcommon/ConditionComparator.h>

#include "compare/KindDispatch.h"
#include "compare/MismatchText.h"
#include "compare/PrimitiveComparison.h"

namespace fwcommon::condition_comparator {

using tools::CompareIfKind;
using tools::Mismatch;
using tools::OptionalText;

namespace {

// Equal when both are absent or both hold the same number.
template <typename Optional>
bool SameOptional(const Optional& a, const Optional& b) {
    if (a.present() != b.present()) {
        return false;
    }
    return !a.present() || a.get() == b.get();
}

// The port element of a restriction side as a pointer, null when absent.
template <typename Optional>
const Sarvo::PortPrimitive* PortOrNull(const Optional& port) {
    return port.present() ? &port.get() : nullptr;
}

bool CompareIcmp(const Sarvo::IcmpCondition& a, const Sarvo::IcmpCondition& b,
                 const std::wstring& context, std::wstring& details) {
    if (!SameOptional(a.Type(), b.Type())) {
        return Mismatch(details, L"In '%1%' Icmp types are different: '%2%', '%3%'", context,
                        OptionalText(a.Type()), OptionalText(b.Type()));
    }
    if (!SameOptional(a.Code(), b.Code())) {
        return Mismatch(details, L"In '%1%' Icmp codes are different: '%2%', '%3%'", context,
                        OptionalText(a.Code()), OptionalText(b.Code()));
    }
    return true;
}

// Source then destination ports of two restrictions of the same protocol;
// the patterns name that protocol.
bool ComparePortSides(const Sarvo::PortRestrictionCondition& a,
                      const Sarvo::PortRestrictionCondition& b, const std::wstring& context,
                      std::wstring& details, const wchar_t* sourcePattern,
                      const wchar_t* destinationPattern) {
    if (!ComparePortPrimitive(PortOrNull(a.SourcePort()), PortOrNull(b.SourcePort()), context,
                              details)) {
        return Mismatch(details, sourcePattern, context);
    }
    if (!ComparePortPrimitive(PortOrNull(a.DestinationPort()), PortOrNull(b.DestinationPort()),
                              context, details)) {
        return Mismatch(details, destinationPattern, context);
    }
    return true;
}

}  // namespace

bool ComparePort(const Sarvo::Port* first, const Sarvo::Port* second,
                 const std::wstring& contextName, std::wstring& mismatchDetails) {
    if (first->Value() == second->Value()) {
        return true;
    }
    return Mismatch(mismatchDetails, L"In '%1%' ports are different: '%2%', '%3%'", contextName,
                    first->Value(), second->Value());
}

bool ComparePortPrimitive(const Sarvo::PortPrimitive* first, const Sarvo::PortPrimitive* second,
                          const std::wstring& contextName, std::wstring& mismatchDetails) {
    if (first == nullptr || second == nullptr) {
        return first == second;
    }
    const auto* firstRange = dynamic_cast<const Sarvo::PortRange*>(first);
    const auto* secondRange = dynamic_cast<const Sarvo::PortRange*>(second);
    if (firstRange != nullptr && secondRange != nullptr) {
        return ComparePort(&firstRange->Begin(), &secondRange->Begin(), contextName,
                           mismatchDetails) &&
               ComparePort(&firstRange->End(), &secondRange->End(), contextName, mismatchDetails);
    }
    const auto* firstPort = dynamic_cast<const Sarvo::Port*>(first);
    const auto* secondPort = dynamic_cast<const Sarvo::Port*>(second);
    if (firstPort != nullptr && secondPort != nullptr) {
        return ComparePort(firstPort, secondPort, contextName, mismatchDetails);
    }
    return false;
}

bool ComparePortRestrictionCondition(const Sarvo::PortRestrictionCondition* first,
                                     const Sarvo::PortRestrictionCondition* second,
                                     const std::wstring& contextName,
                                     std::wstring& mismatchDetails) {
    if (dynamic_cast<const Sarvo::TcpCondition*>(first) != nullptr &&
        dynamic_cast<const Sarvo::TcpCondition*>(second) != nullptr) {
        return ComparePortSides(*first, *second, contextName, mismatchDetails,
                                L"In '%1%' Tcp conditions source ports are different",
                                L"In '%1%' Tcp conditions destination ports are different");
    }
    if (dynamic_cast<const Sarvo::UdpCondition*>(first) != nullptr &&
        dynamic_cast<const Sarvo::UdpCondition*>(second) != nullptr) {
        return ComparePortSides(*first, *second, contextName, mismatchDetails,
                                L"In '%1%' Udp conditions source ports are different",
                                L"In '%1%' Udp conditions destination ports are different");
    }
    return Mismatch(mismatchDetails,
                    L"In '%1%' the port restriction conditions have different protocol",
                    contextName);
}

bool CompareServiceCondition(const Sarvo::ServiceCondition* first,
                             const Sarvo::ServiceCondition* second, const std::wstring& contextName,
                             std::wstring& mismatchDetails) {
    if (auto result = CompareIfKind<Sarvo::IcmpCondition>(
            first, second, L"In '%1%' One of service condition is icmp condition", contextName,
            mismatchDetails, [&](const Sarvo::IcmpCondition& a, const Sarvo::IcmpCondition& b) {
                return CompareIcmp(a, b, contextName, mismatchDetails);
            })) {
        return *result;
    }
    if (auto result = CompareIfKind<Sarvo::ProtocolCondition>(
            first, second, L"In '%1%' one of service condition is protocol condition", contextName,
            mismatchDetails,
            [&](const Sarvo::ProtocolCondition& a, const Sarvo::ProtocolCondition& b) {
                if (a.Protocol() == b.Protocol()) {
                    return true;
                }
                return Mismatch(mismatchDetails, L"In '%1%' protocols are different: '%2%', '%3%'",
                                contextName, a.Protocol(), b.Protocol());
            })) {
        return *result;
    }
    if (auto result = CompareIfKind<Sarvo::PortRestrictionCondition>(
            first, second, L"In '%1%' one of service condition is not port restriction condition",
            contextName, mismatchDetails,
            [&](const Sarvo::PortRestrictionCondition& a,
                const Sarvo::PortRestrictionCondition& b) {
                return ComparePortRestrictionCondition(&a, &b, contextName, mismatchDetails);
            })) {
        return *result;
    }
    if (auto result = CompareIfKind<Sarvo::ServiceObjectRef>(
            first, second, L"In '%1%' one of service condition is contain object ref", contextName,
            mismatchDetails,
            [&](const Sarvo::ServiceObjectRef& a, const Sarvo::ServiceObjectRef& b) {
                if (a.Id() == b.Id()) {
                    return true;
                }
                return Mismatch(mismatchDetails,
                                L"In '%1%' id of service object are different: '%2%', '%3%'",
                                contextName, a.Id(), b.Id());
            })) {
        return *result;
    }
    // System references and plain services carry nothing compared here.
    return true;
}

}  // namespace fwcommon::condition_comparator
