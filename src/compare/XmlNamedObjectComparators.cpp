// The strict comparators of the five named-object kinds: one template.

#include <string>
#include <tuple>

#include <fwcommon/ConditionComparator.h>
#include <fwcommon/XmlNamedObjectStrictComparator.h>
#include <fwcommon/XmlTypedObjectStrictComparator.h>

#include "compare/NamedObjectComparison.h"

namespace fwcommon {
namespace {

template <class Member>
using MemberComparison = bool (*)(const Member*, const Member*, const std::wstring&, std::wstring&);

// The condition comparisons of the members of the five kinds, looked up by
// the member's type.
constexpr std::tuple kMemberComparisons{
    &condition_comparator::CompareInterfaceCondition, &condition_comparator::CompareIpHostCondition,
    &condition_comparator::CompareVpnHostCondition, &condition_comparator::CompareServiceCondition,
    &condition_comparator::CompareScheduleCondition};

}  // namespace

XmlNamedObjectStrictComparator::~XmlNamedObjectStrictComparator() = default;

template <class Object>
XmlTypedObjectStrictComparator<Object>::XmlTypedObjectStrictComparator(
    const std::shared_ptr<Object>& first, const std::shared_ptr<Object>& second)
    : first_(first), second_(second) {}

template <class Object>
bool XmlTypedObjectStrictComparator<Object>::IsEqual() {
    MismatchDetails().clear();
    const auto compareMember =
        std::get<MemberComparison<typename Object::Inclusion_type>>(kMemberComparisons);
    return tools::CompareNamedObjectFields(*first_, *second_, compareMember, MismatchDetails());
}

template class XmlTypedObjectStrictComparator<Sarvo::InterfaceObject>;
template class XmlTypedObjectStrictComparator<Sarvo::IpObject>;
template class XmlTypedObjectStrictComparator<Sarvo::VpnObject>;
template class XmlTypedObjectStrictComparator<Sarvo::ServiceObject>;
template class XmlTypedObjectStrictComparator<Sarvo::ScheduleObject>;

}  // namespace fwcommon
