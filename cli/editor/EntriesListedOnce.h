#pragma once

// A rule's condition lists hold each entry once: an entry given twice, or
// one the rule holds already, is not appended again.

#include <memory>

#include <fwcommon/rules.hxx>

namespace fwpolicy {

// The lists of entries a rule's conditions hold.
inline Sarvo::PublicNetwork::IpHostCondition_sequence& IpHostsOf(Sarvo::PublicNetwork& side) {
    return side.IpHostCondition();
}
inline Sarvo::PrivateNetwork::VpnHostCondition_sequence& VpnHostsOf(Sarvo::PrivateNetwork& side) {
    return side.VpnHostCondition();
}
inline Sarvo::ConditionSet::ServiceCondition_sequence& ServicesOf(Sarvo::ConditionSet& set) {
    return set.ServiceCondition();
}
inline Sarvo::ConditionSet::ScheduleCondition_sequence& SchedulesOf(Sarvo::ConditionSet& set) {
    return set.ScheduleCondition();
}

// True when the list that listOf picks from holder holds an entry equal to
// entry, in kind and content. Each entry is compared as the only entry of
// a Holder of its own: the comparison of the document's types, which knows
// the kind of each entry, is the library's.
template <typename Holder, typename ListOf, typename Element>
bool HoldsEntry(Holder& holder, ListOf listOf, const Element& entry) {
    Holder probe;
    listOf(probe).push_back(entry);
    for (const auto& held : listOf(holder)) {
        Holder other;
        listOf(other).push_back(held);
        if (other == probe)
            return true;
    }
    return false;
}

// Appends entry to the list that listOf picks from holder unless it holds
// an equal entry.
template <typename Holder, typename ListOf, typename Element>
void AppendOnce(Holder& holder, ListOf listOf, std::unique_ptr<Element> entry) {
    if (!HoldsEntry(holder, listOf, *entry))
        listOf(holder).push_back(std::move(entry));
}

template <typename Holder, typename ListOf, typename Element>
void AppendOnce(Holder& holder, ListOf listOf, const Element& entry) {
    if (!HoldsEntry(holder, listOf, entry))
        listOf(holder).push_back(entry);
}

}  // namespace fwpolicy
