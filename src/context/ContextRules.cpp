#include <fwcommon/Context.h>

#include <stdexcept>

#include <fwcommon/INamedObject.h>
#include <fwcommon/IRule.h>
#include <fwcommon/LogFacility.h>
#include <fwcommon/RuleIdentifier.h>
#include <fwcommon/StringUtilities.h>
#include <fwcommon/rules.hxx>
#include "context/DatanameCheck.h"
#include "context/DocumentTextCheck.h"
#include "context/PrivateObjectListener.h"
#include "context/RegistryEntryParts.h"
#include "store/XmlReader.h"
#include "support/ComposedLog.h"

namespace fwcommon {

namespace {

// The rule at an index of a section, found without building the section's
// list; the message is the one of the standard library's checked vector
// access.
std::shared_ptr<IRule> RuleAt(const Context::Data& data, RuleType type, unsigned int index) {
    auto rule = data.reader ? data.reader->GetRuleAt(type, index) : nullptr;
    if (!rule) {
        throw std::out_of_range("invalid vector<T> subscript");
    }
    return rule;
}

std::unique_ptr<Sarvo::Action> NewAction(RuleType type, Context::RuleActions::Enum action) {
    if (type == eNATRules) {
        return std::make_unique<Sarvo::Translation>();
    }
    return std::make_unique<Sarvo::Filter>(action == Context::RuleActions::ePass
                                               ? Sarvo::ActionTypes::Pass
                                               : Sarvo::ActionTypes::Drop);
}

std::wstring Prefix(const std::wstring& dataname) {
    return L"'" + dataname + L"': ";
}

void Log(const std::wstring& text, int level) {
    GetLibLogFacility().Log(text, level);
}

}  // namespace

std::shared_ptr<const RuleList> Context::GetRules(const std::wstring& dataname,
                                                  RuleType type) const {
    return SectionRules(DataOf(CheckedEntry("fwcommon::Context::GetRules", dataname)), type);
}

std::shared_ptr<IRule> Context::GetRule(const std::wstring& dataname, RuleType type,
                                        unsigned int index) {
    const Data& data = DataOf(CheckedEntry("fwcommon::Context::GetRule", dataname));
    const auto rule = RuleAt(data, type, index);
    return data.reader->GetRuleById(GetDomainObject(rule));
}

std::shared_ptr<IRule> Context::GetRuleById(const std::wstring& dataname, IdentifierWithType id) {
    const Data& data = DataOf(CheckedEntry("fwcommon::Context::GetRuleById", dataname));
    if (!data.reader) {
        return std::shared_ptr<IRule>();
    }
    return data.reader->GetRuleById(id);
}

std::shared_ptr<IRule> Context::CreateRule(const std::wstring& dataname, RuleType type,
                                           CreationType creationType, const std::wstring& name,
                                           RuleActions::Enum action, int priority) {
    const auto actionElement = NewAction(type, action);
    const Data& data = DataOf(CheckedEntry("fwcommon::Context::CreateRule", dataname));
    RequireDocumentText("fwcommon::Context::CreateRule", "name", name);
    if (!data.reader) {
        Log(Prefix(dataname) + L"Create rule '" + name + L"' - no document", kLogNotFound);
        return std::shared_ptr<IRule>();
    }
    auto rule = data.reader->CreateRule(type, creationType, name, *actionElement, priority);
    if (!rule) {
        const bool knownSection = type >= eVPNRules && type <= eTransitRules;
        Log(Prefix(dataname) + L"Create rule '" + name +
                (knownSection ? L"' - no order id left" : L"' - no section ") +
                (knownSection ? std::wstring() : std::to_wstring(type)),
            kLogNotFound);
        return rule;
    }
    data.reader->UpdateRule(type, rule->GetXmlRule());
    rule->AddListener(listener_->ListenerFor(*rule));
    MarkDomainObjectAsAdded(dataname, rule);
    Log(Prefix(dataname) + L"Create rule '" + name + L"'(" +
            std::to_wstring(rule->GetIdentifier()) + L")",
        kLogRoutine);
    SetRulesChange(type, eAdded, true);
    return rule;
}

std::shared_ptr<IRule> Context::CreateNatRule(const std::wstring& dataname,
                                              CreationType creationType, const std::wstring& name,
                                              int priority) {
    return CreateRule(dataname, eNATRules, creationType, name, RuleActions::eDrop, priority);
}

bool Context::UpdateRule(const std::wstring& dataname, const std::shared_ptr<Sarvo::Rule>& rule) {
    const char* function = "fwcommon::Context::UpdateRule";
    const RuleType type = GetRuleType(rule);
    RequireDocumentText(function, "name", rule->Name());
    LogComposed(kLogRoutine, [&] {
        return Prefix(dataname) + L"UpdateRule, id='" + std::to_wstring(rule->RuleId()) +
               L"', name='" + rule->Name() + L"', type='" + RuleTypeName(type) + L"'";
    });
    const Data& data = DataOf(CheckedEntry(function, dataname));
    if (!data.reader) {
        Log(Prefix(dataname) + L"UpdateRule - no document", kLogNotFound);
        return false;
    }
    data.reader->UpdateRule(type, rule);
    SetRulesChange(type, eModified, false);
    MarkDomainObjectAsModified(dataname, eRule, GetCreationType(rule),
                               RuleIdentifierOf(rule->RuleId()));
    return true;
}

bool Context::UpdateRule(const std::wstring& dataname, const std::shared_ptr<IRule>& rule) {
    if (!rule) {
        throw std::invalid_argument(
            StringUtilities::GetErrorString("fwcommon::Context::UpdateRule", "Empty rule"));
    }
    return UpdateRule(dataname, rule->GetXmlRule());
}

bool Context::RemoveRule(const std::wstring& dataname, RuleType type, unsigned int index) {
    const Data& data = DataOf(CheckedEntry("fwcommon::Context::RemoveRule", dataname));
    const IdentifierWithType id = GetDomainObject(RuleAt(data, type, index));
    Log(Prefix(dataname) + L"Remove rule, index=" + std::to_wstring(index) + L", id=" +
            std::to_wstring(id.identifier),
        kLogRoutine);
    const bool removed = data.reader->RemoveRule(type, id);
    if (removed) {
        SetRulesChange(type, eRemoved, false);
        MarkDomainObjectAsRemoved(dataname, eRule, id.creationType, id.identifier);
    }
    return removed;
}

bool Context::ChangeRulePriority(const std::wstring& dataname, RuleType type, unsigned int index,
                                 int priority) {
    const Data& data = DataOf(CheckedEntry("fwcommon::Context::ChangeRulePriority", dataname));
    const auto rule = RuleAt(data, type, index);
    const bool moved = data.reader->ChangeRulePriority(type, rule->GetIdentifier(), priority);
    if (moved) {
        SetRulesChange(type, eReordered, false);
        // Reordering concerns the section as a whole, not the moved rule.
        MarkDomainObjectAsModified(dataname, eRule, User, 0);
    }
    return moved;
}

bool Context::IsRulesEditable(const std::wstring& dataname, RuleType type) const {
    return HasEditableMode(dataname, static_cast<int>(type));
}

bool Context::HasEditableMode(const std::wstring& dataname, int key) const {
    const auto entry = find(dataname);
    if (entry == registry_.end()) {
        return false;
    }
    const ModesMap& modes = ModesOf(*entry);
    const auto mode = modes.find(key);
    return mode != modes.end() && mode->second == Modes::eEditable;
}

RuleType Context::GetRuleType(const std::shared_ptr<Sarvo::Rule>& rule) {
    const Sarvo::Rule* element = rule.get();
    if (dynamic_cast<const Sarvo::NatRule*>(element) != nullptr) {
        return eNATRules;
    }
    if (dynamic_cast<const Sarvo::VpnRule*>(element) != nullptr) {
        return eVPNRules;
    }
    if (dynamic_cast<const Sarvo::LocalRule*>(element) != nullptr) {
        return eLocalRules;
    }
    if (dynamic_cast<const Sarvo::TransitRule*>(element) != nullptr) {
        return eTransitRules;
    }
    if (dynamic_cast<const Sarvo::TunnelingRule*>(element) != nullptr) {
        return eTunnelRules;
    }
    throw std::runtime_error(
        StringUtilities::GetErrorString("fwcommon::Context::GetRuleType", ". Unsupported type"));
}

CreationType Context::GetCreationType(const std::shared_ptr<Sarvo::Rule>& rule) {
    if (!rule) {
        throw std::invalid_argument(StringUtilities::GetErrorString(
            "fwcommon::Context::GetCreationType", "Empty rule element"));
    }
    // The document enumeration is numbered like CreationType.
    return static_cast<CreationType>(static_cast<int>(rule->CreationType()));
}

IdentifierWithType Context::GetDomainObject(const std::shared_ptr<Sarvo::Rule>& rule) {
    if (!rule) {
        throw std::invalid_argument(StringUtilities::GetErrorString(
            "fwcommon::Context::GetDomainObject", "Empty rule element"));
    }
    return IdentifierWithType(RuleIdentifierOf(rule->RuleId()), GetCreationType(rule));
}

IdentifierWithType Context::GetDomainObject(const std::shared_ptr<IRule>& rule) {
    if (!rule) {
        throw std::invalid_argument(
            StringUtilities::GetErrorString("fwcommon::Context::GetDomainObject", "Empty rule"));
    }
    return IdentifierWithType(rule->GetIdentifier(), rule->GetCreationType());
}

IdentifierWithType Context::GetDomainObject(const std::shared_ptr<INamedObject>& object) {
    if (!object) {
        throw std::invalid_argument(StringUtilities::GetErrorString(
            "fwcommon::Context::GetDomainObject", "Empty named object"));
    }
    return IdentifierWithType(object->GetIdentifier(), object->GetCreationType());
}

}  // namespace fwcommon
