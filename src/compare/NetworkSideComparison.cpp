// Strict comparison of the network sides and condition lists of two rules.

#include <string>

#include <fwcommon/ConditionComparator.h>

#include "compare/MismatchText.h"
#include "compare/PairwiseComparison.h"
#include "compare/RuleComparison.h"

namespace fwcommon::tools {

namespace {

template <typename Sequence>
bool CompareSizes(const Sequence& a, const Sequence& b, const wchar_t* pattern,
                  const std::wstring& sideName, std::wstring& details) {
    return a.size() == b.size() || Mismatch(details, pattern, sideName, a.size(), b.size());
}

bool ComparePublicNetworks(const Sarvo::PublicNetwork& a, const Sarvo::PublicNetwork& b,
                           const std::wstring& sideName, std::wstring& details) {
    const auto& firstInterface = a.InterfaceCondition();
    const auto& secondInterface = b.InterfaceCondition();
    if (firstInterface.present() != secondInterface.present()) {
        return Mismatch(details,
                        L"In %1% option 'InterfaceCondition_optional' presence differ: '%2%', "
                        L"'%3%'",
                        sideName, firstInterface.present(), secondInterface.present());
    }
    if (firstInterface.present() &&
        !condition_comparator::CompareInterfaceCondition(
            &firstInterface.get(), &secondInterface.get(), sideName, details)) {
        return false;
    }
    return CompareSizes(a.IpHostCondition(), b.IpHostCondition(),
                        L"In %1% size of 'IpHostConditions' mismatch: '%2%', '%3%'", sideName,
                        details) &&
           ComparePairwise(a.IpHostCondition(), b.IpHostCondition(), sideName, details,
                           condition_comparator::CompareIpHostCondition);
}

bool ComparePrivateNetworks(const Sarvo::PrivateNetwork& a, const Sarvo::PrivateNetwork& b,
                            const std::wstring& sideName, std::wstring& details) {
    return CompareSizes(a.VpnHostCondition(), b.VpnHostCondition(),
                        L"In %1% size of 'VpnHostCondition' mismatch: '%2%', '%3%'", sideName,
                        details) &&
           ComparePairwise(a.VpnHostCondition(), b.VpnHostCondition(), sideName, details,
                           condition_comparator::CompareVpnHostCondition);
}

bool ComparePresentSides(const Sarvo::NetworkCondition& a, const Sarvo::NetworkCondition& b,
                         const std::wstring& sideName, std::wstring& details) {
    const auto* firstPublic = dynamic_cast<const Sarvo::PublicNetwork*>(&a);
    const auto* secondPublic = dynamic_cast<const Sarvo::PublicNetwork*>(&b);
    const auto* firstPrivate = dynamic_cast<const Sarvo::PrivateNetwork*>(&a);
    const auto* secondPrivate = dynamic_cast<const Sarvo::PrivateNetwork*>(&b);
    if (firstPublic != nullptr && secondPublic != nullptr) {
        return ComparePublicNetworks(*firstPublic, *secondPublic, sideName, details);
    }
    if (firstPrivate != nullptr && secondPrivate != nullptr) {
        return ComparePrivateNetworks(*firstPrivate, *secondPrivate, sideName, details);
    }
    if ((firstPublic != nullptr && secondPrivate != nullptr) ||
        (firstPrivate != nullptr && secondPublic != nullptr)) {
        return Mismatch(details, L"%1% network condition type mismatch", sideName);
    }
    // A side of neither network kind: unequal, with no text of its own.
    return false;
}

}  // namespace

bool CompareNetworkSides(const Sarvo::ConditionSet::Source_optional& first,
                         const Sarvo::ConditionSet::Source_optional& second,
                         const std::wstring& sideName, std::wstring& details) {
    if (first.present() != second.present()) {
        return Mismatch(details, L"'%1%' presence differ: '%2%', '%3%'", sideName, first.present(),
                        second.present());
    }
    return !first.present() || ComparePresentSides(first.get(), second.get(), sideName, details);
}

bool CompareServiceLists(const Sarvo::ConditionSet& first, const Sarvo::ConditionSet& second,
                         std::wstring& details) {
    const auto& a = first.ServiceCondition();
    const auto& b = second.ServiceCondition();
    if (a.size() != b.size()) {
        return Mismatch(details, L"Size of 'Service Condition' mismatch: '%1%' and '%2%'", a.size(),
                        b.size());
    }
    return ComparePairwise(a, b, L"Services", details,
                           condition_comparator::CompareServiceCondition);
}

bool CompareScheduleLists(const Sarvo::ConditionSet& first, const Sarvo::ConditionSet& second,
                          std::wstring& details) {
    const auto& a = first.ScheduleCondition();
    const auto& b = second.ScheduleCondition();
    if (a.size() != b.size()) {
        return Mismatch(details, L"Size of Schedule conditions mismatch: '%1%' and '%2%'.",
                        a.size(), b.size());
    }
    return ComparePairwise(a, b, L"Schedules", details,
                           condition_comparator::CompareScheduleCondition);
}

}  // namespace fwcommon::tools
