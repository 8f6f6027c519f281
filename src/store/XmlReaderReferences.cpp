// Rules revised because named objects or VPN nodes went away.

#include <algorithm>
#include <functional>
#include <set>

#include <fwcommon/INamedObject.h>
#include <fwcommon/IVpnNode.h>
#include "store/ReaderListeners.h"
#include "store/RuleElements.h"
#include "store/XmlReader.h"

namespace fwcommon {
namespace {

using VpnHosts = Sarvo::PrivateNetwork::VpnHostCondition_sequence;

// The VPN host lists of a rule's private-network sides, source first.
std::vector<VpnHosts*> PrivateHostLists(Sarvo::Rule& rule) {
    std::vector<VpnHosts*> lists;
    auto& conditions = rule.ConditionSet();
    for (auto* side : {&conditions.Source(), &conditions.Destination()}) {
        if (side->present()) {
            if (auto* network = dynamic_cast<Sarvo::PrivateNetwork*>(&side->get())) {
                lists.push_back(&network->VpnHostCondition());
            }
        }
    }
    return lists;
}

const Sarvo::VpnNodeId* AsNode(const Sarvo::VpnHostCondition& condition) {
    return dynamic_cast<const Sarvo::VpnNodeId*>(&condition);
}

// Finds the first reference condition of type Ref with this Id in a list.
template <typename Ref, typename Sequence>
typename Sequence::iterator FindReference(Sequence& conditions, int id) {
    return std::find_if(conditions.begin(), conditions.end(), [id](const auto& condition) {
        const auto* ref = dynamic_cast<const Ref*>(&condition);
        return ref != nullptr && ref->Id() == id;
    });
}

// Where a rule refers to an object, and how to take the reference out.
struct Reference {
    std::int32_t location = 0;
    std::function<void()> erase;
};

// Erases every reference condition of type Ref with this Id from a list.
template <typename Ref, typename Sequence>
void EraseAll(Sequence& conditions, int id) {
    for (auto it = conditions.begin(); it != conditions.end();) {
        const auto* ref = dynamic_cast<const Ref*>(&*it);
        it = ref != nullptr && ref->Id() == id ? conditions.erase(it) : std::next(it);
    }
}

template <typename Ref, typename Sequence>
bool FindIn(Sequence& conditions, int id, std::int32_t location, Reference& found) {
    if (FindReference<Ref>(conditions, id) == conditions.end()) {
        return false;
    }
    found = {location, [&conditions, id] { EraseAll<Ref>(conditions, id); }};
    return true;
}

// Erases every reference to the object from one network side.
void EraseOnSide(Sarvo::ConditionSet::Source_optional& side, NamedObjectType type, int id) {
    if (!side.present()) {
        return;
    }
    if (auto* vpn = dynamic_cast<Sarvo::PrivateNetwork*>(&side.get())) {
        if (type == eSarvoGroupObject) {
            EraseAll<Sarvo::VpnObjectRef>(vpn->VpnHostCondition(), id);
        }
        return;
    }
    auto* network = dynamic_cast<Sarvo::PublicNetwork*>(&side.get());
    if (!network) {
        return;
    }
    if (type == eIpAddressObject) {
        EraseAll<Sarvo::IpObjectRef>(network->IpHostCondition(), id);
        return;
    }
    auto& interfaceCondition = network->InterfaceCondition();
    const auto* ref =
        interfaceCondition.present()
            ? dynamic_cast<const Sarvo::InterfaceObjectRef*>(&interfaceCondition.get())
            : nullptr;
    if (type == eInterfaceObject && ref != nullptr && ref->Id() == id) {
        interfaceCondition.reset();
    }
}

// Looks for a reference to the object on one network side of the rule.
bool FindOnSide(Sarvo::ConditionSet::Source_optional& side, NamedObjectType type, int id,
                std::int32_t location, Reference& found) {
    if (!side.present()) {
        return false;
    }
    if (type == eSarvoGroupObject) {
        auto* network = dynamic_cast<Sarvo::PrivateNetwork*>(&side.get());
        return network &&
               FindIn<Sarvo::VpnObjectRef>(network->VpnHostCondition(), id, location, found);
    }
    auto* network = dynamic_cast<Sarvo::PublicNetwork*>(&side.get());
    if (!network) {
        return false;
    }
    if (type == eIpAddressObject) {
        return FindIn<Sarvo::IpObjectRef>(network->IpHostCondition(), id, location, found);
    }
    auto& interfaceCondition = network->InterfaceCondition();
    const auto* ref =
        interfaceCondition.present()
            ? dynamic_cast<const Sarvo::InterfaceObjectRef*>(&interfaceCondition.get())
            : nullptr;
    if (ref == nullptr || ref->Id() != id) {
        return false;
    }
    found = {location, [&interfaceCondition] { interfaceCondition.reset(); }};
    return true;
}

bool FindReferenceInRule(Sarvo::Rule& rule, NamedObjectType type, int id, Reference& found) {
    auto& conditions = rule.ConditionSet();
    switch (type) {
        case eInterfaceObject:
        case eIpAddressObject:
        case eSarvoGroupObject:
            if (!FindOnSide(conditions.Source(), type, id, RuleInfo::eSource, found) &&
                !FindOnSide(conditions.Destination(), type, id, RuleInfo::eDestination, found)) {
                return false;
            }
            // One record for the rule; the removal leaves no reference on
            // either side.
            found.erase = [&conditions, type, id] {
                EraseOnSide(conditions.Source(), type, id);
                EraseOnSide(conditions.Destination(), type, id);
            };
            return true;
        case eServiceObject:
            return FindIn<Sarvo::ServiceObjectRef>(conditions.ServiceCondition(), id,
                                                   RuleInfo::eServices, found);
        case eScheduleObject:
            return FindIn<Sarvo::ScheduleObjectRef>(conditions.ScheduleCondition(), id,
                                                    RuleInfo::eSchedules, found);
    }
    return false;
}

}  // namespace

bool XmlReader::UpdateVpnNodeConditions(std::shared_ptr<const VpnNodeList> nodes,
                                        std::vector<std::uint32_t>& removed) {
    std::set<long long> known;
    if (nodes) {
        for (const auto& node : *nodes) {
            known.insert(node->GetIdentifier());
        }
    }
    std::set<long long> unknown;
    for (Sarvo::Rule& rule : live_->Rules().Rule()) {
        for (VpnHosts* hosts : PrivateHostLists(rule)) {
            for (const auto& condition : *hosts) {
                const auto* node = AsNode(condition);
                if (node && !known.count(node->Value()) && unknown.insert(node->Value()).second) {
                    removed.push_back(static_cast<std::uint32_t>(node->Value()));
                }
            }
        }
    }
    if (unknown.empty()) {
        return false;
    }
    EnsureRulesParsed();
    for (Sarvo::Rule& rule : MutableLive().Rules().Rule()) {
        bool touched = false;
        for (VpnHosts* hosts : PrivateHostLists(rule)) {
            for (auto it = hosts->begin(); it != hosts->end();) {
                const auto* node = AsNode(*it);
                if (node && unknown.count(node->Value())) {
                    it = hosts->erase(it);
                    touched = true;
                } else {
                    ++it;
                }
            }
        }
        if (touched) {
            ReplaceIndexedRule(SectionOf(rule), rule);
            ruleListener_->ObjectModified(eRule, IdentifierOf(rule));
        }
    }
    return true;
}

void XmlReader::UpdateRulesForNamedObject(std::shared_ptr<INamedObject> object,
                                          std::vector<RuleInfo>& records, bool removeReferences) {
    if (removeReferences) {
        EnsureRulesParsed();
    }
    const NamedObjectType type = object->GetNamedObjectType();
    const int id = static_cast<int>(object->GetIdentifier());
    // The references found, kept with their rules so that removal does not
    // search again; taking the snapshot copies the tree and leaves the live
    // elements where they are.
    std::vector<std::pair<Sarvo::Rule*, Reference>> touched;
    for (Sarvo::Rule& rule : live_->Rules().Rule()) {
        Reference found;
        if (!FindReferenceInRule(rule, type, id, found)) {
            continue;
        }
        records.push_back(
            {rule.Name(), RuleTypeName(SectionOf(rule)), CreationTypeOf(rule), found.location});
        if (removeReferences) {
            touched.emplace_back(&rule, std::move(found));
        }
    }
    if (touched.empty()) {
        return;
    }
    MutableLive();
    for (auto& [rule, reference] : touched) {
        reference.erase();
        ReplaceIndexedRule(SectionOf(*rule), *rule);
        ruleListener_->ObjectModified(eRule, IdentifierOf(*rule));
    }
}

}  // namespace fwcommon
