// Display texts and strict comparators over whatever a valid document
// holds: every condition of every rule and named object is shown through
// the display texts, and every rule and object is compared strictly with
// itself, with a deep copy and with its neighbour. Neither may throw for a
// valid document; an element compares with its copy exactly as with itself
// (some content is unequal even to itself by design), and a false
// comparison names the difference.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <fwcommon/IXmlWrapper.h>
#include <fwcommon/XmlInterfaceObjectStrictComparator.h>
#include <fwcommon/XmlIpObjectStrictComparator.h>
#include <fwcommon/XmlRulesStrictCompare.h>
#include <fwcommon/XmlScheduleObjectStrictComparator.h>
#include <fwcommon/XmlServiceObjectStrictComparator.h>
#include <fwcommon/XmlVpnObjectStrictComparator.h>

#include "FuzzSupport.h"

namespace {

using namespace fwcommon;
using fwcommon::fuzz::Fail;

const IXmlWrapper& Wrapper() {
    static const std::shared_ptr<IXmlWrapper> wrapper = GetXmlWrapper();
    return *wrapper;
}

// Every text of the wrapper for a network side.
void ShowNetwork(const Sarvo::NetworkCondition& side) {
    const IXmlWrapper& wrapper = Wrapper();
    if (const auto* pub = dynamic_cast<const Sarvo::PublicNetwork*>(&side)) {
        if (pub->InterfaceCondition()) {
            wrapper.InterfaceConditionText(*pub->InterfaceCondition());
        }
        for (const auto& host : pub->IpHostCondition()) {
            wrapper.IpHostConditionText(host);
        }
    } else if (const auto* priv = dynamic_cast<const Sarvo::PrivateNetwork*>(&side)) {
        for (const auto& host : priv->VpnHostCondition()) {
            wrapper.VpnHostConditionText(host);
        }
    }
}

void ShowRule(const Sarvo::Rule& rule) {
    const IXmlWrapper& wrapper = Wrapper();
    const auto& conditions = rule.ConditionSet();
    for (const auto& schedule : conditions.ScheduleCondition()) {
        wrapper.ScheduleConditionText(schedule);
    }
    for (const auto& service : conditions.ServiceCondition()) {
        wrapper.ServiceConditionText(service);
    }
    if (conditions.Source()) {
        ShowNetwork(*conditions.Source());
    }
    if (conditions.Destination()) {
        ShowNetwork(*conditions.Destination());
    }
}

template <class Sequence, class Show>
void ShowMembers(const Sequence& objects, Show show) {
    for (const auto& object : objects) {
        for (const auto& member : object.Inclusion()) {
            show(member);
        }
        for (const auto& member : object.Exclusion()) {
            show(member);
        }
    }
}

void ShowObjects(const Sarvo::NamedObjects& objects) {
    const IXmlWrapper& w = Wrapper();
    ShowMembers(objects.ScheduleObject(), [&](const auto& m) { w.ScheduleConditionText(m); });
    ShowMembers(objects.ServiceObject(), [&](const auto& m) { w.ServiceConditionText(m); });
    ShowMembers(objects.VpnObject(), [&](const auto& m) { w.VpnHostConditionText(m); });
    ShowMembers(objects.InterfaceObject(), [&](const auto& m) { w.InterfaceConditionText(m); });
    ShowMembers(objects.IpObject(), [&](const auto& m) { w.IpHostConditionText(m); });
}

void CompareRules(const Sarvo::Rules::Rule_sequence& rules) {
    const auto copies = fuzz::SharedCopies<Sarvo::Rule>(rules);
    for (std::size_t i = 0; i < copies.size(); ++i) {
        // Some content is unequal even to itself (an action that is
        // neither Filter nor Translation, schedule references, bare base
        // kinds); a deep copy must compare exactly as the rule itself.
        std::wstring itself;
        std::wstring details;
        const bool reflexive = XmlRulesStrictCompare(copies[i], copies[i], itself);
        if (reflexive != itself.empty()) {
            Fail("a rule comparison's result and its mismatch text disagree", itself);
        }
        std::shared_ptr<Sarvo::Rule> copy(copies[i]->_clone());
        if (XmlRulesStrictCompare(copies[i], copy, details) != reflexive || details != itself) {
            Fail("a rule compares with its copy unlike with itself", details);
        }
        if (i + 1 < copies.size()) {
            const bool equal = XmlRulesStrictCompare(copies[i], copies[i + 1], details);
            if (equal != details.empty()) {
                Fail("a rule comparison's result and its mismatch text disagree", details);
            }
            if (equal != XmlRulesStrictCompare(copies[i + 1], copies[i])) {
                Fail("rule comparison is not symmetric", details);
            }
        }
    }
}

template <class Comparator, class Sequence>
void CompareObjects(const Sequence& objects) {
    using Object = typename Sequence::value_type;
    const auto copies = fuzz::SharedCopies<Object>(objects);
    for (std::size_t i = 0; i < copies.size(); ++i) {
        std::shared_ptr<Object> copy(copies[i]->_clone());
        Comparator withItself(copies[i], copies[i]);
        Comparator withCopy(copies[i], copy);
        if (withCopy.IsEqual() != withItself.IsEqual() ||
            withCopy.GetMismatchDetails() != withItself.GetMismatchDetails()) {
            Fail("a named object compares with its copy unlike with itself",
                 withCopy.GetMismatchDetails());
        }
        if (i + 1 < copies.size()) {
            Comparator withNext(copies[i], copies[i + 1]);
            Comparator backwards(copies[i + 1], copies[i]);
            const bool equal = withNext.IsEqual();
            if (equal != withNext.GetMismatchDetails().empty()) {
                Fail("an object comparison's result and its mismatch text disagree",
                     withNext.GetMismatchDetails());
            }
            if (equal != backwards.IsEqual()) {
                Fail("object comparison is not symmetric", withNext.GetMismatchDetails());
            }
        }
    }
}

void CompareAllObjects(const Sarvo::NamedObjects& objects) {
    CompareObjects<XmlScheduleObjectStrictComparator>(objects.ScheduleObject());
    CompareObjects<XmlServiceObjectStrictComparator>(objects.ServiceObject());
    CompareObjects<XmlVpnObjectStrictComparator>(objects.VpnObject());
    CompareObjects<XmlInterfaceObjectStrictComparator>(objects.InterfaceObject());
    CompareObjects<XmlIpObjectStrictComparator>(objects.IpObject());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto policy = fuzz::TryParse(fuzz::ToBytes(data, size));
    if (!policy) {
        return 0;
    }
    for (const auto& rule : policy->Rules().Rule()) {
        ShowRule(rule);
    }
    CompareRules(policy->Rules().Rule());
    if (policy->NamedObjects()) {
        ShowObjects(*policy->NamedObjects());
        CompareAllObjects(*policy->NamedObjects());
    }
    return 0;
}
