// Rules, their actions, condition sets and network sides.
#include "document/DirectWriterParts.h"

namespace fwcommon::document {
namespace {

void WriteFilter(XmlTextOutput& out, XmlName name, const Sarvo::Filter& x, bool xsi) {
    out.OpenElement(name);
    out.BoolAttribute("IsBidirectional", x.IsBidirectional());
    out.BoolAttribute("IsConnectionLoggingEnabled", x.IsConnectionLoggingEnabled());
    out.BoolAttribute("IsConnectionStateless", x.IsConnectionStateless());
    out.BoolAttribute("IsPacketLoggingEnabled", x.IsPacketLoggingEnabled());
    if (xsi) {
        out.XsiTypeAttribute("Filter");
    }
    WriteTextElement(out, "FilteringAction", x.FilteringAction());
    out.CloseElement(name);
}

void WriteTranslation(XmlTextOutput& out, XmlName name, const Sarvo::Translation& x, bool xsi) {
    out.OpenElement(name);
    out.BoolAttribute("IsTranslatedIntoOutboundInterface", x.IsTranslatedIntoOutboundInterface());
    if (xsi) {
        out.XsiTypeAttribute("Translation");
    }
    if (x.SourceIp()) {
        WriteIpHostElement(out, "SourceIp", *x.SourceIp(), typeid(Sarvo::IpAddress));
    }
    if (x.DestinationIp()) {
        WriteIpHostElement(out, "DestinationIp", *x.DestinationIp(), typeid(Sarvo::IpAddress));
    }
    if (x.DestinationPort()) {
        WritePortElement(out, "DestinationPort", *x.DestinationPort(), typeid(Sarvo::Port));
    }
    out.CloseElement(name);
}

void WriteAction(XmlTextOutput& out, const Sarvo::Action& x) {
    CheckNoDomContent(out, x);
    const std::type_info& t = typeid(x);
    if (SameType(t, typeid(Sarvo::Filter))) {
        WriteFilter(out, "Action", static_cast<const Sarvo::Filter&>(x), true);
    } else if (SameType(t, typeid(Sarvo::Translation))) {
        WriteTranslation(out, "Action", static_cast<const Sarvo::Translation&>(x), true);
    } else if (SameType(t, typeid(Sarvo::Action))) {
        out.OpenElement("Action");
        out.CloseElement("Action");
    } else {
        out.MarkUnsupported();
    }
}

void WriteNetwork(XmlTextOutput& out, XmlName name, const Sarvo::NetworkCondition& x) {
    CheckNoDomContent(out, x);
    const std::type_info& t = typeid(x);
    out.OpenElement(name);
    if (SameType(t, typeid(Sarvo::PublicNetwork))) {
        const auto& network = static_cast<const Sarvo::PublicNetwork&>(x);
        out.XsiTypeAttribute("PublicNetwork");
        if (network.InterfaceCondition()) {
            WriteInterfaceElement(out, "InterfaceCondition", *network.InterfaceCondition());
        }
        for (const auto& host : network.IpHostCondition()) {
            WriteIpHostElement(out, "IpHostCondition", host, typeid(Sarvo::IpHostCondition));
        }
    } else if (SameType(t, typeid(Sarvo::PrivateNetwork))) {
        out.XsiTypeAttribute("PrivateNetwork");
        for (const auto& host : static_cast<const Sarvo::PrivateNetwork&>(x).VpnHostCondition()) {
            WriteVpnHostElement(out, "VpnHostCondition", host);
        }
    } else if (!SameType(t, typeid(Sarvo::NetworkCondition))) {
        out.MarkUnsupported();
    }
    out.CloseElement(name);
}

void WriteConditionSet(XmlTextOutput& out, const Sarvo::ConditionSet& x) {
    CheckExactType(out, x);
    out.OpenElement("ConditionSet");
    for (const auto& schedule : x.ScheduleCondition()) {
        WriteScheduleElement(out, "ScheduleCondition", schedule);
    }
    if (x.Source()) {
        WriteNetwork(out, "Source", *x.Source());
    }
    for (const auto& service : x.ServiceCondition()) {
        WriteServiceElement(out, "ServiceCondition", service);
    }
    if (x.Destination()) {
        WriteNetwork(out, "Destination", *x.Destination());
    }
    out.CloseElement("ConditionSet");
}

// The rule's kind as its xsi:type and the type of its Section, or null for
// a plain Rule.
template <typename Kind>
const Sarvo::RuleSections* SectionOf(const std::type_info& t, const Sarvo::Rule& x) {
    return SameType(t, typeid(Kind)) ? &static_cast<const Kind&>(x).Section() : nullptr;
}

}  // namespace

void WriteRuleElement(XmlTextOutput& out, XmlName name, const Sarvo::Rule& x) {
    WriteRuleElement(out, name, x, x.RuleId(), x.OrderId());
}

void WriteRuleElement(XmlTextOutput& out, XmlName name, const Sarvo::Rule& x, long long ruleId,
                      long long orderId) {
    CheckNoDomContent(out, x);
    const std::type_info& t = typeid(x);
    const Sarvo::RuleSections* section = nullptr;
    XmlName kind("Rule");
    const auto pick = [&](const Sarvo::RuleSections* found, XmlName typeName) {
        if (section == nullptr && found != nullptr) {
            section = found;
            kind = typeName;
        }
    };
    pick(SectionOf<Sarvo::TransitRule>(t, x), "TransitRule");
    pick(SectionOf<Sarvo::VpnRule>(t, x), "VpnRule");
    pick(SectionOf<Sarvo::LocalRule>(t, x), "LocalRule");
    pick(SectionOf<Sarvo::NatRule>(t, x), "NatRule");
    pick(SectionOf<Sarvo::TunnelingRule>(t, x), "TunnelingRule");
    if (section == nullptr && !SameType(t, typeid(Sarvo::Rule))) {
        out.MarkUnsupported();
    }

    out.OpenElement(name);
    out.BoolAttribute("IsActive", x.IsActive());
    if (x.Reserved1()) {
        out.BoolAttribute("Reserved1", *x.Reserved1());
    }
    if (x.Reserved2()) {
        out.BoolAttribute("Reserved2", *x.Reserved2());
    }
    if (x.Reserved3()) {
        out.StringAttribute("Reserved3", *x.Reserved3());
    }
    if (section != nullptr) {
        out.XsiTypeAttribute(kind);
    }
    out.LongElement("RuleId", ruleId);
    out.LongElement("OrderId", orderId);
    WriteTextElement(out, "Name", x.Name());
    WriteTextElement(out, "CreationType", x.CreationType());
    WriteConditionSet(out, x.ConditionSet());
    WriteAction(out, x.Action());
    if (section != nullptr) {
        WriteTextElement(out, "Section", *section);
    }
    out.CloseElement(name);
}

}  // namespace fwcommon::document
