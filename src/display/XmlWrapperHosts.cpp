#include "display/XmlWrapper.h"

#include <string>

namespace fwcommon {
namespace {

std::wstring ReferenceText(int id) {
    return L"#" + std::to_wstring(id);
}

// Where an interface condition stands: the label of the side of a rule's
// condition set that holds it, or nothing outside a rule.
std::wstring InterfaceLabel(const Sarvo::InterfaceCondition& condition) {
    const auto* network = dynamic_cast<const Sarvo::PublicNetwork*>(condition._container());
    if (network == nullptr) {
        return std::wstring();
    }
    const auto* set = dynamic_cast<const Sarvo::ConditionSet*>(network->_container());
    if (set == nullptr) {
        return std::wstring();
    }
    if (set->Source() && &*set->Source() == network) {
        return L"Source";
    }
    if (set->Destination() && &*set->Destination() == network) {
        const bool isNat = dynamic_cast<const Sarvo::NatRule*>(set->_container()) != nullptr;
        return isNat ? L"OutgoingInterface" : L"Target";
    }
    return std::wstring();
}

}  // namespace

std::wstring XmlWrapper::VpnSystemObjectRefText(const Sarvo::VpnSystemObjectRef& ref) const {
    return ref.Name();
}

std::wstring XmlWrapper::VpnNodeIdText(const Sarvo::VpnNodeId& node) const {
    return std::to_wstring(node.Value());
}

std::wstring XmlWrapper::VpnNetworkIdText(const Sarvo::VpnNetworkId& network) const {
    return std::to_wstring(network.Value());
}

std::wstring XmlWrapper::VpnNameTemplateText(const Sarvo::VpnNameTemplate& nameTemplate) const {
    return nameTemplate.Template();
}

std::wstring XmlWrapper::VpnHostConditionText(const Sarvo::VpnHostCondition& condition) const {
    if (const auto* name = dynamic_cast<const Sarvo::VpnNameTemplate*>(&condition)) {
        return VpnNameTemplateText(*name);
    }
    if (const auto* node = dynamic_cast<const Sarvo::VpnNodeId*>(&condition)) {
        return VpnNodeIdText(*node);
    }
    if (const auto* network = dynamic_cast<const Sarvo::VpnNetworkId*>(&condition)) {
        return VpnNetworkIdText(*network);
    }
    if (const auto* system = dynamic_cast<const Sarvo::VpnSystemObjectRef*>(&condition)) {
        return VpnSystemObjectRefText(*system);
    }
    if (const auto* ref = dynamic_cast<const Sarvo::VpnObjectRef*>(&condition)) {
        return ReferenceText(ref->Id());
    }
    return std::wstring();
}

std::wstring XmlWrapper::InterfaceConditionText(const Sarvo::InterfaceCondition& condition) const {
    std::wstring text;
    if (const auto* simple = dynamic_cast<const Sarvo::SimpleInterface*>(&condition)) {
        text = simple->Value().empty() ? L"*" : simple->Value();
    } else if (const auto* byIp = dynamic_cast<const Sarvo::InterfaceByIp*>(&condition)) {
        const std::wstring address = IpPrimitiveText(byIp->Condition());
        text = L"IP:" + (address.empty() ? L"*" : address);
    } else if (const auto* ref = dynamic_cast<const Sarvo::InterfaceObjectRef*>(&condition)) {
        text = ReferenceText(ref->Id());
    } else if (const auto* system =
                   dynamic_cast<const Sarvo::InterfaceSystemObjectRef*>(&condition)) {
        text = system->Name();
    } else {
        return std::wstring();
    }
    const std::wstring label = InterfaceLabel(condition);
    return label.empty() ? text : label + L" (" + text + L")";
}

std::wstring XmlWrapper::IpSystemObjectRefText(const Sarvo::IpSystemObjectRef& ref) const {
    return ref.Name();
}

std::wstring XmlWrapper::IpPrimitiveText(const Sarvo::IpPrimitive& primitive) const {
    if (const auto* address = dynamic_cast<const Sarvo::IpAddress*>(&primitive)) {
        return address->Value();
    }
    if (const auto* mask = dynamic_cast<const Sarvo::IpMask*>(&primitive)) {
        return mask->Net().Value() + L"/" + mask->Mask().Value();
    }
    if (const auto* range = dynamic_cast<const Sarvo::IpRange*>(&primitive)) {
        return range->Begin().Value() + L"-" + range->End().Value();
    }
    return std::wstring();
}

std::wstring XmlWrapper::DomainNameText(const Sarvo::DomainName& name) const {
    return name.Value();
}

std::wstring XmlWrapper::IpHostConditionText(const Sarvo::IpHostCondition& condition) const {
    if (const auto* primitive = dynamic_cast<const Sarvo::IpPrimitive*>(&condition)) {
        return IpPrimitiveText(*primitive);
    }
    if (const auto* name = dynamic_cast<const Sarvo::DomainName*>(&condition)) {
        return DomainNameText(*name);
    }
    if (const auto* system = dynamic_cast<const Sarvo::IpSystemObjectRef*>(&condition)) {
        return IpSystemObjectRefText(*system);
    }
    if (const auto* ref = dynamic_cast<const Sarvo::IpObjectRef*>(&condition)) {
        return ReferenceText(ref->Id());
    }
    return std::wstring();
}

}  // namespace fwcommon
