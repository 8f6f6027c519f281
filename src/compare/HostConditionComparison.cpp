// Comparison of the IP host, VPN host and interface condition families.

#include <string>

#include <fwcommon/ConditionComparator.h>

#include "compare/KindDispatch.h"
#include "compare/MismatchText.h"
#include "compare/PrimitiveComparison.h"

namespace fwcommon::condition_comparator {

using tools::CompareIfKind;
using tools::Mismatch;

namespace {

// Compares one value of two conditions of the same kind.
template <typename Value>
bool CompareValue(const Value& a, const Value& b, std::wstring& details, const wchar_t* pattern,
                  const std::wstring& context) {
    if (a == b) {
        return true;
    }
    return Mismatch(details, pattern, context, a, b);
}

// The wide text of a string element, for formatting.
std::wstring Text(const std::wstring& value) {
    return value;
}

}  // namespace

bool CompareIpPrimitive(const Sarvo::IpPrimitive* first, const Sarvo::IpPrimitive* second,
                        const std::wstring& contextName, std::wstring& mismatchDetails) {
    const wchar_t* kindMismatch = L"In %1% one of 'IpPrimitive' type mismatch";
    if (auto result = CompareIfKind<Sarvo::IpMask>(
            first, second, kindMismatch, contextName, mismatchDetails,
            [&](const Sarvo::IpMask& a, const Sarvo::IpMask& b) {
                if (a.Net().Value() == b.Net().Value() && a.Mask().Value() == b.Mask().Value()) {
                    return true;
                }
                return Mismatch(mismatchDetails,
                                L"In %1%  one of 'IpHostCondition' with type 'IpMask' mismatch: "
                                L"'%2%/%3%', '%4%/%5%'",
                                contextName, Text(a.Net().Value()), Text(a.Mask().Value()),
                                Text(b.Net().Value()), Text(b.Mask().Value()));
            })) {
        return *result;
    }
    if (auto result = CompareIfKind<Sarvo::IpAddress>(
            first, second, kindMismatch, contextName, mismatchDetails,
            [&](const Sarvo::IpAddress& a, const Sarvo::IpAddress& b) {
                return CompareValue(
                    Text(a.Value()), Text(b.Value()), mismatchDetails,
                    L"In %1% one of 'IpHostCondition' with type 'IpAddress' mismatch: '%2%', '%3%'",
                    contextName);
            })) {
        return *result;
    }
    if (auto result = CompareIfKind<Sarvo::IpRange>(
            first, second, kindMismatch, contextName, mismatchDetails,
            [&](const Sarvo::IpRange& a, const Sarvo::IpRange& b) {
                if (a.Begin().Value() == b.Begin().Value() && a.End().Value() == b.End().Value()) {
                    return true;
                }
                return Mismatch(mismatchDetails,
                                L"In %1%  one of 'IpHostCondition' with type 'IpMask' mismatch: "
                                L"'%2%-%3%', '%4%-%5%'",
                                contextName, Text(a.Begin().Value()), Text(a.End().Value()),
                                Text(b.Begin().Value()), Text(b.End().Value()));
            })) {
        return *result;
    }
    return Mismatch(mismatchDetails,
                    L"Incorrect XmlRules. IpHostCondition must be one of the types IpMask, "
                    L"IpAddress or IpRange");
}

bool CompareIpHostCondition(const Sarvo::IpHostCondition* first,
                            const Sarvo::IpHostCondition* second, const std::wstring& contextName,
                            std::wstring& mismatchDetails) {
    const wchar_t* kindMismatch = L"In %1% one of 'IpHostCondition' type mismatch";
    if (auto result = CompareIfKind<Sarvo::IpPrimitive>(
            first, second, kindMismatch, contextName, mismatchDetails,
            [&](const Sarvo::IpPrimitive& a, const Sarvo::IpPrimitive& b) {
                return CompareIpPrimitive(&a, &b, contextName, mismatchDetails);
            })) {
        return *result;
    }
    if (auto result = CompareIfKind<Sarvo::DomainName>(
            first, second, kindMismatch, contextName, mismatchDetails,
            [&](const Sarvo::DomainName& a, const Sarvo::DomainName& b) {
                return CompareValue(Text(a.Value()), Text(b.Value()), mismatchDetails,
                                    L"In %1% one of 'IpHostCondition' with type DomainName "
                                    L"mismatch: '%2%', '%3%'",
                                    contextName);
            })) {
        return *result;
    }
    if (auto result = CompareIfKind<Sarvo::IpSystemObjectRef>(
            first, second, kindMismatch, contextName, mismatchDetails,
            [&](const Sarvo::IpSystemObjectRef& a, const Sarvo::IpSystemObjectRef& b) {
                return CompareValue(Text(a.Name()), Text(b.Name()), mismatchDetails,
                                    L"In %1% one of 'IpHostCondition' with type IpSystemObjectRef "
                                    L"mismatch: '%2%', '%3%'",
                                    contextName);
            })) {
        return *result;
    }
    if (auto result = CompareIfKind<Sarvo::IpObjectRef>(
            first, second, kindMismatch, contextName, mismatchDetails,
            [&](const Sarvo::IpObjectRef& a, const Sarvo::IpObjectRef& b) {
                return CompareValue(a.Id(), b.Id(), mismatchDetails,
                                    L"In %1% one of 'IpHostCondition' with type IpObjectRef "
                                    L"mismatch: '%2%', '%3%'",
                                    contextName);
            })) {
        return *result;
    }
    return Mismatch(mismatchDetails,
                    L"Incorrect XmlRules. IpHostCondition must be one of the types IpPrimitive "
                    L"DomainName, IpSystemObjectRef or IpObjectRef");
}

bool CompareVpnHostCondition(const Sarvo::VpnHostCondition* first,
                             const Sarvo::VpnHostCondition* second, const std::wstring& contextName,
                             std::wstring& mismatchDetails) {
    const wchar_t* kindMismatch = L"In %1% one of 'VpnHostCondition' type mismatch";
    if (auto result = CompareIfKind<Sarvo::VpnNodeId>(
            first, second, kindMismatch, contextName, mismatchDetails,
            [&](const Sarvo::VpnNodeId& a, const Sarvo::VpnNodeId& b) {
                return CompareValue(a.Value(), b.Value(), mismatchDetails,
                                    L"In %1% one of 'VpnHostCondition' with type 'VpnNodeId' "
                                    L"mismatch: '%2%', '%3%' ",
                                    contextName);
            })) {
        return *result;
    }
    if (auto result = CompareIfKind<Sarvo::VpnNetworkId>(
            first, second, kindMismatch, contextName, mismatchDetails,
            [&](const Sarvo::VpnNetworkId& a, const Sarvo::VpnNetworkId& b) {
                return CompareValue(a.Value(), b.Value(), mismatchDetails,
                                    L"In %1% one of 'VpnHostCondition' with type 'VpnNetworkId' "
                                    L"mismatch: '%2%', '%3%' ",
                                    contextName);
            })) {
        return *result;
    }
    if (auto result = CompareIfKind<Sarvo::VpnNameTemplate>(
            first, second, kindMismatch, contextName, mismatchDetails,
            [&](const Sarvo::VpnNameTemplate& a, const Sarvo::VpnNameTemplate& b) {
                return CompareValue(Text(a.Template()), Text(b.Template()), mismatchDetails,
                                    L"In %1% one of 'VpnHostCondition' with type "
                                    L"'VpnNameTemplate' mismatch: '%2%', '%3%' ",
                                    contextName);
            })) {
        return *result;
    }
    if (auto result = CompareIfKind<Sarvo::VpnSystemObjectRef>(
            first, second, kindMismatch, contextName, mismatchDetails,
            [&](const Sarvo::VpnSystemObjectRef& a, const Sarvo::VpnSystemObjectRef& b) {
                return CompareValue(Text(a.Name()), Text(b.Name()), mismatchDetails,
                                    L"In %1% one of 'VpnHostCondition' with type "
                                    L"'VpnSystemObjectRef' mismatch: '%2%', '%3%' ",
                                    contextName);
            })) {
        return *result;
    }
    if (auto result = CompareIfKind<Sarvo::VpnObjectRef>(
            first, second, kindMismatch, contextName, mismatchDetails,
            [&](const Sarvo::VpnObjectRef& a, const Sarvo::VpnObjectRef& b) {
                return CompareValue(a.Id(), b.Id(), mismatchDetails,
                                    L"In %1% one of 'VpnHostCondition' with type 'VpnObjectRef' "
                                    L"mismatch: '%2%', '%3%' ",
                                    contextName);
            })) {
        return *result;
    }
    return Mismatch(mismatchDetails,
                    L"Incorrect XmlRules. IpHostCondition must be one of the types VpnNodeId, "
                    L"VpnNetworkId, VpnNameTemplate, VpnSystemObjectRef or VpnSystemObjectRef");
}

bool CompareInterfaceCondition(const Sarvo::InterfaceCondition* first,
                               const Sarvo::InterfaceCondition* second,
                               const std::wstring& contextName, std::wstring& mismatchDetails) {
    const wchar_t* kindMismatch = L"In %1% one of 'InterfaceCondition' type mismatch";
    if (auto result = CompareIfKind<Sarvo::SimpleInterface>(
            first, second, kindMismatch, contextName, mismatchDetails,
            [&](const Sarvo::SimpleInterface& a, const Sarvo::SimpleInterface& b) {
                return CompareValue(Text(a.Value()), Text(b.Value()), mismatchDetails,
                                    L"In %1% one of 'InterfaceCondition' with type SimpleInterface "
                                    L"mismatch: '%2%', '%3%'",
                                    contextName);
            })) {
        return *result;
    }
    if (auto result = CompareIfKind<Sarvo::InterfaceSystemObjectRef>(
            first, second, kindMismatch, contextName, mismatchDetails,
            [&](const Sarvo::InterfaceSystemObjectRef& a,
                const Sarvo::InterfaceSystemObjectRef& b) {
                return CompareValue(Text(a.Name()), Text(b.Name()), mismatchDetails,
                                    L"In %1% one of 'InterfaceCondition' with type "
                                    L"InterfaceSystemObjectRef mismatch: '%2%', '%3%'",
                                    contextName);
            })) {
        return *result;
    }
    if (auto result = CompareIfKind<Sarvo::InterfaceObjectRef>(
            first, second, kindMismatch, contextName, mismatchDetails,
            [&](const Sarvo::InterfaceObjectRef& a, const Sarvo::InterfaceObjectRef& b) {
                return CompareValue(a.Id(), b.Id(), mismatchDetails,
                                    L"In %1% one of 'InterfaceCondition' with type "
                                    L"InterfaceObjectRef mismatch: '%2%', '%3%'",
                                    contextName);
            })) {
        return *result;
    }
    if (auto result = CompareIfKind<Sarvo::InterfaceByIp>(
            first, second, kindMismatch, contextName, mismatchDetails,
            [&](const Sarvo::InterfaceByIp& a, const Sarvo::InterfaceByIp& b) {
                return CompareIpPrimitive(&a.Condition(), &b.Condition(),
                                          contextName + L" 'InterfaceByIp'", mismatchDetails);
            })) {
        return *result;
    }
    return Mismatch(mismatchDetails,
                    L"Incorrect XmlRules. InterfaceCondition must be one of the types "
                    L"SimpleInterfaceInterfaceSystemObjectRef, InterfaceObjectRef or "
                    L"InterfaceByIp");
}

}  // namespace fwcommon::condition_comparator
