// Rules revised because named objects or VPN nodes went away.

#include <functional>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>

#include <fwcommon/GenericXmlConditionDispatch.h>
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

// Where a rule refers to an object, and how to take the reference out.
struct Reference {
    std::int32_t location = 0;
    std::function<void()> erase;
};

std::int32_t LocationOf(ConditionPurpose::Type purpose) {
    switch (purpose) {
        case ConditionPurpose::eSourcePurpose:
            return RuleInfo::eSource;
        case ConditionPurpose::eDestinationPurpose:
            return RuleInfo::eDestination;
        case ConditionPurpose::eServicePurpose:
            return RuleInfo::eServices;
        case ConditionPurpose::eSchedulePurpose:
            return RuleInfo::eSchedules;
        default:
            throw std::logic_error("a rule has no conditions of purpose " +
                                   std::to_string(purpose));
    }
}

template <typename List>
bool ListRefersTo(List& conditions, NamedObjectType type, int id) {
    bool found = false;
    ForEachElement(conditions,
                   [&](const auto& condition) { found = found || RefersTo(condition, type, id); });
    return found;
}

// Erases every reference to the object from one list of conditions.
template <typename Sequence>
void EraseReferences(Sequence& conditions, NamedObjectType type, int id) {
    for (auto it = conditions.begin(); it != conditions.end();) {
        it = RefersTo(*it, type, id) ? conditions.erase(it) : std::next(it);
    }
}

void EraseReferences(Sarvo::PublicNetwork::InterfaceCondition_optional& condition,
                     NamedObjectType type, int id) {
    if (condition.present() && RefersTo(condition.get(), type, id)) {
        condition.reset();
    }
}

// The first place of the rule that refers to the object, in document
// order; the removal takes out every reference of the rule, so that one
// record stands for the rule.
bool FindReferenceInRule(Sarvo::Rule& rule, NamedObjectType type, int id, Reference& found) {
    auto& conditions = rule.ConditionSet();
    bool any = false;
    ForEachConditionList(conditions, [&](auto& list, ConditionPurpose::Type purpose) {
        if (!any && ListRefersTo(list, type, id)) {
            found.location = LocationOf(purpose);
            any = true;
        }
    });
    if (!any) {
        return false;
    }
    found.erase = [&conditions, type, id] {
        ForEachConditionList(conditions, [type, id](auto& list, ConditionPurpose::Type) {
            EraseReferences(list, type, id);
        });
    };
    return true;
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
