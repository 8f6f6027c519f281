// Rule edits of the document store, and commit and rollback.

#include <iterator>
#include <sstream>
#include <stdexcept>

#include <fwcommon/IRule.h>
#include <fwcommon/LogFacility.h>
#include "domain/Rule.h"
#include "store/ReaderListeners.h"
#include "store/RuleElements.h"
#include "store/XmlReader.h"
#include "support/ComposedLog.h"

namespace fwcommon {

std::shared_ptr<IRule> XmlReader::UpdateRule(RuleType type, std::shared_ptr<Sarvo::Rule> element) {
    LogComposed(kLogRoutine, [&] {
        std::wostringstream line;
        line << LogPrefix() << L"UpdateRule \n"
             << L"DomainObjectIdentifier=" << IdentifierOf(*element) << L",xmlId="
             << element->RuleId() << L",orderId=" << element->OrderId() << L",name="
             << element->Name();
        return line.str();
    });

    // The index is built before the change: a build afterwards would be
    // refused for the pending change.
    EnsureRulesParsed();
    // The rule keeps its handle, so that callers keeping it keep the
    // store's rule.
    if (auto held = HandleTakingOver(type, *element)) {
        return StoreRule(type, held);
    }
    return StoreRule(type, std::make_shared<Rule>(std::shared_ptr<Sarvo::Rule>(element->_clone())));
}

// The handle of the section's rule of the element's identifier and creation
// type, holding the element's content (its own element or a copy); empty
// when there is none or the element is of another kind.
std::shared_ptr<IRule> XmlReader::HandleTakingOver(RuleType type, const Sarvo::Rule& element) {
    SectionIndex* section = Section(type);
    auto held = section ? section->Find(IdentifierOf(element), CreationTypeOf(element)) : nullptr;
    if (held &&
        (held->GetXmlRule().get() == &element || AssignRuleElement(*held->GetXmlRule(), element))) {
        return held;
    }
    return nullptr;
}

// Puts a rule's element into the live document and the section index: in
// place of the element with the same RuleId and creation type, keeping
// that element's order id and place, or at the end. The replaced rule
// leaves the index of its own section, which differs from type when the
// element is of another kind.
std::shared_ptr<IRule> XmlReader::StoreRule(RuleType type, std::shared_ptr<IRule> rule) {
    const std::shared_ptr<Sarvo::Rule> element = rule->GetXmlRule();
    SectionIndex& section = SectionForEdit(type);
    Sarvo::Rules::Rule_sequence& stored = MutableLive().Rules().Rule();

    const std::size_t at = locator_.Find(stored, element->RuleId(), CreationTypeOf(*element));
    if (at == LiveRuleLocator::npos) {
        stored.push_back(*element);
        locator_.Appended(stored, stored.size() - 1);
    } else {
        Sarvo::Rule& old = stored[at];
        EraseIndexedRule(old);
        element->OrderId(old.OrderId());
        if (!AssignRuleElement(old, *element)) {
            stored.insert(stored.erase(stored.begin() + at), *element);
        }
    }
    section.Insert(element->OrderId(), rule);
    ruleListener_->ObjectModified(rule->GetDomainObjectType(), rule->GetIdentifier());
    return rule;
}

// Takes the rule of a live element out of the index of its section.
void XmlReader::EraseIndexedRule(const Sarvo::Rule& liveElement) {
    SectionIndex* section = Section(SectionOf(liveElement));
    if (!section) {
        return;
    }
    auto entry = section->ByOrder().find(liveElement.OrderId());
    if (entry != section->ByOrder().end() &&
        entry->second->GetIdentifier() == IdentifierOf(liveElement) &&
        entry->second->GetCreationType() == CreationTypeOf(liveElement)) {
        section->Erase(liveElement.OrderId());
    }
}

// The next order id of the creation type's counter that no rule of the
// section holds: the counter only knows the order ids of its own creation
// type, and a rule of another type moved earlier may hold the next one.
std::optional<std::int64_t> XmlReader::FreeOrderId(RuleType type, CreationType creationType) {
    const SectionIndex::Map& byOrder = SectionForEdit(type).ByOrder();
    try {
        std::int64_t orderId = createOrderId(creationType);
        while (byOrder.count(orderId) != 0) {
            orderId = createOrderId(creationType);
        }
        return orderId;
    } catch (const std::overflow_error&) {
        GetLibLogFacility().Log(LogPrefix() + L"CreateRule, no order id is left after " +
                                    std::to_wstring(kLargestOrderId),
                                kLogNotFound);
        return std::nullopt;
    }
}

// The new rule sorts under its own order id, which need not be the
// section's largest (rules of another creation type may be numbered above
// the counter it came from): the shift is taken from where it actually is.
void XmlReader::PlaceNewRule(RuleType type, std::int64_t orderId, std::int32_t position) {
    SectionIndex& section = SectionForEdit(type);
    const SectionIndex::Map& byOrder = section.ByOrder();
    const auto place =
        static_cast<std::int32_t>(std::distance(byOrder.begin(), byOrder.find(orderId)));
    const auto last = static_cast<std::int32_t>(byOrder.size()) - 1;
    const std::int32_t wanted = position == -1 ? last : position;
    if (wanted != place) {
        MoveRuleAt(section, orderId, wanted - place);
    }
}

std::shared_ptr<IRule> XmlReader::CreateRule(RuleType type, CreationType creationType,
                                             const std::wstring& name, const Sarvo::Action& action,
                                             std::int32_t position) {
    EnsureRulesParsed();
    if (type < eVPNRules || type > eTransitRules) {
        return nullptr;
    }
    const std::optional<std::int64_t> orderId = FreeOrderId(type, creationType);
    if (!orderId) {
        return nullptr;
    }
    const std::uint32_t ruleId = GeneratorFor(creationType_)->GenerateIdentifier();
    std::shared_ptr<Sarvo::Rule> element =
        MakeRuleElement(type, ruleId, *orderId, name, creationType, action);

    std::shared_ptr<IRule> rule = UpdateRule(type, element);
    PlaceNewRule(type, *orderId, position);
    rule->AddListener(ruleListener_);
    ruleListener_->ObjectAdded(rule);
    return rule;
}

bool XmlReader::RemoveRule(RuleType type, IdentifierWithType id) {
    EnsureRulesParsed();
    SectionIndex* section = Section(type);
    const auto rule = section ? section->Find(id.identifier, id.creationType) : nullptr;
    if (!rule) {
        // Another section may hold the rule: the document stays as it is.
        return false;
    }
    const std::size_t at = locator_.Find(Live().Rules().Rule(), Rule::ElementOf(*rule).RuleId(),
                                         rule->GetCreationType());
    if (at != LiveRuleLocator::npos) {
        auto& stored = MutableLive().Rules().Rule();
        stored.erase(stored.begin() + at);
        locator_.Invalidate();
    }
    ruleListener_->ObjectRemoved(eRule, id.identifier);
    section->Erase(Rule::ElementOf(*rule).OrderId());
    removedRules_.push_back(rule);
    rulesChanged_ = true;
    return true;
}

bool XmlReader::ChangeRulePriority(RuleType type, std::uint32_t identifier, std::int32_t shift) {
    EnsureRulesParsed();
    SectionIndex* section = Section(type);
    if (shift == 0 || !section) {
        return false;
    }
    const auto orderId = section->FirstOrderIdOf(identifier);
    return orderId && MoveRuleAt(*section, *orderId, shift);
}

// Moves the rule under orderId by shift places, renumbering its own element
// and the live document's elements of every rule whose order id changes.
bool XmlReader::MoveRuleAt(SectionIndex& section, std::int64_t orderId, std::int32_t shift) {
    const bool moved = section.Move(orderId, shift, [this](IRule& rule, std::int64_t newOrderId) {
        Sarvo::Rule& own = *rule.GetXmlRule();
        auto& stored = MutableLive().Rules().Rule();
        const std::size_t at = locator_.Find(stored, own.RuleId(), CreationTypeOf(own));
        if (at != LiveRuleLocator::npos) {
            stored[at].OrderId(newOrderId);
        }
        own.OrderId(newOrderId);
    });
    if (moved) {
        rulesChanged_ = true;
    }
    return moved;
}

void XmlReader::CommitChanges() {
    // The handles share the committed document again, so that the copy
    // kept for rollback goes now rather than with the last handle.
    if (snapshot_ && !rulesChanged_ && !namedObjectsChanged_) {
        boundRules_.ReturnToSamePlaces(*snapshot_, live_);
    } else if (snapshot_) {
        const Sarvo::Rules::Rule_sequence& rules = live_->Rules().Rule();
        boundRules_.ReturnTo(*snapshot_, live_, [this, &rules](const Sarvo::Rule& element) {
            return locator_.Find(rules, element.RuleId(), CreationTypeOf(element));
        });
    }
    snapshot_.reset();
    addedNamedObjects_.clear();
    removedNamedObjects_.clear();
    removedRules_.clear();
    optionsChanged_ = rulesChanged_ = namedObjectsChanged_ = false;
}

void XmlReader::RollbackChanges() {
    if (snapshot_) {
        live_ = std::move(snapshot_);
        snapshot_.reset();
    }
    locator_.Invalidate();
    if (namedObjectsParsed_) {
        // Objects held by callers stand for their elements again.
        NamedObjectList previous = *namedObjects_;
        previous.insert(previous.end(), removedNamedObjects_.begin(), removedNamedObjects_.end());
        ParseNamedObjects(previous);
    }
    addedNamedObjects_.clear();
    removedNamedObjects_.clear();
    // The rebuild gives the handles of the rules back to the elements of
    // their identity, removed rules included.
    rulesBeforeRollback_ = TakeIndexedRules();
    for (const auto& rule : removedRules_) {
        rulesBeforeRollback_.emplace(KeyOf(*rule), rule);
    }
    removedRules_.clear();
    rulesById_.Clear();
    optionsParsed_ = rulesParsed_ = false;
    optionsChanged_ = rulesChanged_ = namedObjectsChanged_ = false;
}

// After a rule's conditions were changed in the live document, gives the
// indexed handle the changed element, so that reads see the change without
// a rebuild.
void XmlReader::ReplaceIndexedRule(RuleType type, const Sarvo::Rule& liveElement) {
    SectionIndex* section = Section(type);
    if (!section) {
        return;
    }
    auto entry = section->ByOrder().find(liveElement.OrderId());
    if (entry == section->ByOrder().end() ||
        Rule::ElementOf(*entry->second).RuleId() != liveElement.RuleId()) {
        return;
    }
    // The handle takes the changed content: callers keeping it must not
    // hand back what the change took out.
    if (!AssignRuleElement(*entry->second->GetXmlRule(), liveElement)) {
        section->Insert(liveElement.OrderId(),
                        std::make_shared<Rule>(std::shared_ptr<Sarvo::Rule>(liveElement._clone())));
    }
}

}  // namespace fwcommon
