// Conditions of the five families, IP and port primitives, schedules.
#include "document/DirectWriterParts.h"

namespace fwcommon::document {
namespace {

using Sarvo::AbstractCondition;

// Start tag of a condition element: its Reserved attribute, then xsi:type.
void OpenCondition(XmlTextOutput& out, XmlName name, const AbstractCondition& x, XmlName type,
                   bool xsi) {
    CheckNoDomContent(out, x);
    out.OpenElement(name);
    if (x.Reserved()) {
        out.StringAttribute("Reserved", *x.Reserved());
    }
    if (xsi) {
        out.XsiTypeAttribute(type);
    }
}

// A condition of a type that adds no content of its own.
void WriteBareCondition(XmlTextOutput& out, XmlName name, const AbstractCondition& x, XmlName type,
                        bool xsi) {
    OpenCondition(out, name, x, type, xsi);
    out.CloseElement(name);
}

// A condition whose only content is one text element.
template <typename T>
void WriteTextCondition(XmlTextOutput& out, XmlName name, const AbstractCondition& x, XmlName type,
                        bool xsi, XmlName child, const T& value) {
    OpenCondition(out, name, x, type, xsi);
    WriteTextElement(out, child, value);
    out.CloseElement(name);
}

// A condition whose only content is one number element.
void WriteNumberCondition(XmlTextOutput& out, XmlName name, const AbstractCondition& x,
                          XmlName type, bool xsi, XmlName child, long long value) {
    OpenCondition(out, name, x, type, xsi);
    out.LongElement(child, value);
    out.CloseElement(name);
}

void WriteIpPair(XmlTextOutput& out, XmlName name, const AbstractCondition& x, XmlName type,
                 bool xsi, XmlName first, const Sarvo::IpAddress& a, XmlName second,
                 const Sarvo::IpAddress& b) {
    OpenCondition(out, name, x, type, xsi);
    WriteIpHostElement(out, first, a, typeid(Sarvo::IpAddress));
    WriteIpHostElement(out, second, b, typeid(Sarvo::IpAddress));
    out.CloseElement(name);
}

template <typename T>
const T* As(const std::type_info& dynamic, const AbstractCondition& x) {
    return SameType(dynamic, typeid(T)) ? static_cast<const T*>(&x) : nullptr;
}

void WriteWeekDays(XmlTextOutput& out, const Sarvo::WeekDays& x) {
    CheckExactType(out, x);
    out.OpenElement("WeekDays");
    out.BoolElement("Monday", x.Monday());
    out.BoolElement("Tuesday", x.Tuesday());
    out.BoolElement("Wednesday", x.Wednesday());
    out.BoolElement("Thursday", x.Thursday());
    out.BoolElement("Friday", x.Friday());
    out.BoolElement("Saturday", x.Saturday());
    out.BoolElement("Sunday", x.Sunday());
    out.CloseElement("WeekDays");
}

// Start and end time of every schedule, then what its kind adds.
void WriteSchedule(XmlTextOutput& out, XmlName name, const Sarvo::Schedule& x, XmlName type,
                   bool xsi) {
    OpenCondition(out, name, x, type, xsi);
    WriteTimeElement(out, "StartTime", x.StartTime());
    WriteTimeElement(out, "EndTime", x.EndTime());
    const std::type_info& dynamic = typeid(x);
    if (const auto* weekly = As<Sarvo::Weekly>(dynamic, x)) {
        WriteWeekDays(out, weekly->WeekDays());
    } else if (const auto* calendar = As<Sarvo::Calendar>(dynamic, x)) {
        WriteDateElement(out, "StartDate", calendar->StartDate());
        WriteDateElement(out, "EndDate", calendar->EndDate());
    }
    out.CloseElement(name);
}

void WritePortRestriction(XmlTextOutput& out, XmlName name,
                          const Sarvo::PortRestrictionCondition& x, XmlName type, bool xsi,
                          const long long* protocol) {
    OpenCondition(out, name, x, type, xsi);
    if (x.SourcePort()) {
        WritePortElement(out, "SourcePort", *x.SourcePort(), typeid(Sarvo::PortPrimitive));
    }
    if (x.DestinationPort()) {
        WritePortElement(out, "DestinationPort", *x.DestinationPort(),
                         typeid(Sarvo::PortPrimitive));
    }
    if (protocol != nullptr) {
        out.LongElement("Protocol", *protocol);
    }
    out.CloseElement(name);
}

// Attributes in name order: Code, Reserved, Type.
void WriteIcmp(XmlTextOutput& out, XmlName name, const Sarvo::IcmpCondition& x, bool xsi) {
    CheckNoDomContent(out, x);
    out.OpenElement(name);
    if (x.Code()) {
        out.LongAttribute("Code", *x.Code());
    }
    if (x.Reserved()) {
        out.StringAttribute("Reserved", *x.Reserved());
    }
    if (x.Type()) {
        out.LongAttribute("Type", *x.Type());
    }
    if (xsi) {
        out.XsiTypeAttribute("IcmpCondition");
    }
    out.LongElement("Protocol", x.Protocol());
    out.CloseElement(name);
}

}  // namespace

void WriteIpHostElement(XmlTextOutput& out, XmlName name, const Sarvo::IpHostCondition& x,
                        const std::type_info& declared) {
    const std::type_info& t = typeid(x);
    const bool xsi = !SameType(t, declared);
    if (const auto* a = As<Sarvo::IpAddress>(t, x)) {
        WriteTextCondition(out, name, x, "IpAddress", xsi, "Value", a->Value());
    } else if (const auto* r = As<Sarvo::IpRange>(t, x)) {
        WriteIpPair(out, name, x, "IpRange", xsi, "Begin", r->Begin(), "End", r->End());
    } else if (const auto* m = As<Sarvo::IpMask>(t, x)) {
        WriteIpPair(out, name, x, "IpMask", xsi, "Net", m->Net(), "Mask", m->Mask());
    } else if (const auto* o = As<Sarvo::IpObjectRef>(t, x)) {
        WriteNumberCondition(out, name, x, "IpObjectRef", xsi, "Id", o->Id());
    } else if (const auto* s = As<Sarvo::IpSystemObjectRef>(t, x)) {
        WriteTextCondition(out, name, x, "IpSystemObjectRef", xsi, "Name", s->Name());
    } else if (const auto* d = As<Sarvo::DomainName>(t, x)) {
        WriteTextCondition(out, name, x, "DomainName", xsi, "Value", d->Value());
    } else if (As<Sarvo::IpPrimitive>(t, x)) {
        WriteBareCondition(out, name, x, "IpPrimitive", xsi);
    } else if (As<Sarvo::IpHostCondition>(t, x)) {
        WriteBareCondition(out, name, x, "IpHostCondition", xsi);
    } else {
        out.MarkUnsupported();
    }
}

void WriteVpnHostElement(XmlTextOutput& out, XmlName name, const Sarvo::VpnHostCondition& x) {
    const std::type_info& t = typeid(x);
    const bool xsi = !SameType(t, typeid(Sarvo::VpnHostCondition));
    if (const auto* o = As<Sarvo::VpnObjectRef>(t, x)) {
        WriteNumberCondition(out, name, x, "VpnObjectRef", xsi, "Id", o->Id());
    } else if (const auto* s = As<Sarvo::VpnSystemObjectRef>(t, x)) {
        WriteTextCondition(out, name, x, "VpnSystemObjectRef", xsi, "Name", s->Name());
    } else if (const auto* n = As<Sarvo::VpnNodeId>(t, x)) {
        WriteNumberCondition(out, name, x, "VpnNodeId", xsi, "Value", n->Value());
    } else if (const auto* w = As<Sarvo::VpnNetworkId>(t, x)) {
        WriteNumberCondition(out, name, x, "VpnNetworkId", xsi, "Value", w->Value());
    } else if (const auto* m = As<Sarvo::VpnNameTemplate>(t, x)) {
        WriteTextCondition(out, name, x, "VpnNameTemplate", xsi, "Template", m->Template());
    } else if (!xsi) {
        WriteBareCondition(out, name, x, "VpnHostCondition", xsi);
    } else {
        out.MarkUnsupported();
    }
}

void WriteInterfaceElement(XmlTextOutput& out, XmlName name, const Sarvo::InterfaceCondition& x) {
    const std::type_info& t = typeid(x);
    const bool xsi = !SameType(t, typeid(Sarvo::InterfaceCondition));
    if (const auto* s = As<Sarvo::SimpleInterface>(t, x)) {
        WriteTextCondition(out, name, x, "SimpleInterface", xsi, "Value", s->Value());
    } else if (const auto* o = As<Sarvo::InterfaceObjectRef>(t, x)) {
        WriteNumberCondition(out, name, x, "InterfaceObjectRef", xsi, "Id", o->Id());
    } else if (const auto* y = As<Sarvo::InterfaceSystemObjectRef>(t, x)) {
        WriteTextCondition(out, name, x, "InterfaceSystemObjectRef", xsi, "Name", y->Name());
    } else if (const auto* b = As<Sarvo::InterfaceByIp>(t, x)) {
        OpenCondition(out, name, x, "InterfaceByIp", xsi);
        WriteIpHostElement(out, "Condition", b->Condition(), typeid(Sarvo::IpPrimitive));
        out.CloseElement(name);
    } else if (!xsi) {
        WriteBareCondition(out, name, x, "InterfaceCondition", xsi);
    } else {
        out.MarkUnsupported();
    }
}

void WriteServiceElement(XmlTextOutput& out, XmlName name, const Sarvo::ServiceCondition& x) {
    const std::type_info& t = typeid(x);
    const bool xsi = !SameType(t, typeid(Sarvo::ServiceCondition));
    if (const auto* tcp = As<Sarvo::TcpCondition>(t, x)) {
        const long long protocol = tcp->Protocol();
        WritePortRestriction(out, name, *tcp, "TcpCondition", xsi, &protocol);
    } else if (const auto* udp = As<Sarvo::UdpCondition>(t, x)) {
        const long long protocol = udp->Protocol();
        WritePortRestriction(out, name, *udp, "UdpCondition", xsi, &protocol);
    } else if (const auto* o = As<Sarvo::ServiceObjectRef>(t, x)) {
        WriteNumberCondition(out, name, x, "ServiceObjectRef", xsi, "Id", o->Id());
    } else if (const auto* i = As<Sarvo::IcmpCondition>(t, x)) {
        WriteIcmp(out, name, *i, xsi);
    } else if (const auto* p = As<Sarvo::ProtocolCondition>(t, x)) {
        WriteNumberCondition(out, name, x, "ProtocolCondition", xsi, "Protocol", p->Protocol());
    } else if (const auto* s = As<Sarvo::ServiceSystemObjectRef>(t, x)) {
        WriteTextCondition(out, name, x, "ServiceSystemObjectRef", xsi, "Name", s->Name());
    } else if (const auto* r = As<Sarvo::PortRestrictionCondition>(t, x)) {
        WritePortRestriction(out, name, *r, "PortRestrictionCondition", xsi, nullptr);
    } else if (As<Sarvo::Service>(t, x)) {
        WriteBareCondition(out, name, x, "Service", xsi);
    } else if (!xsi) {
        WriteBareCondition(out, name, x, "ServiceCondition", xsi);
    } else {
        out.MarkUnsupported();
    }
}

void WriteScheduleElement(XmlTextOutput& out, XmlName name, const Sarvo::ScheduleCondition& x) {
    const std::type_info& t = typeid(x);
    const bool xsi = !SameType(t, typeid(Sarvo::ScheduleCondition));
    if (const auto* w = As<Sarvo::Weekly>(t, x)) {
        WriteSchedule(out, name, *w, "Weekly", xsi);
    } else if (const auto* d = As<Sarvo::Daily>(t, x)) {
        WriteSchedule(out, name, *d, "Daily", xsi);
    } else if (const auto* c = As<Sarvo::Calendar>(t, x)) {
        WriteSchedule(out, name, *c, "Calendar", xsi);
    } else if (const auto* o = As<Sarvo::ScheduleObjectRef>(t, x)) {
        WriteNumberCondition(out, name, x, "ScheduleObjectRef", xsi, "Id", o->Id());
    } else if (const auto* s = As<Sarvo::ScheduleSystemObjectRef>(t, x)) {
        WriteTextCondition(out, name, x, "ScheduleSystemObjectRef", xsi, "Name", s->Name());
    } else if (const auto* p = As<Sarvo::Schedule>(t, x)) {
        WriteSchedule(out, name, *p, "Schedule", xsi);
    } else if (!xsi) {
        WriteBareCondition(out, name, x, "ScheduleCondition", xsi);
    } else {
        out.MarkUnsupported();
    }
}

void WritePortElement(XmlTextOutput& out, XmlName name, const Sarvo::PortPrimitive& x,
                      const std::type_info& declared) {
    CheckNoDomContent(out, x);
    const std::type_info& t = typeid(x);
    const bool xsi = !SameType(t, declared);
    const auto open = [&](XmlName type) {
        out.OpenElement(name);
        if (xsi) {
            out.XsiTypeAttribute(type);
        }
    };
    if (SameType(t, typeid(Sarvo::Port))) {
        open("Port");
        out.LongElement("Value", static_cast<const Sarvo::Port&>(x).Value());
    } else if (SameType(t, typeid(Sarvo::PortRange))) {
        const auto& range = static_cast<const Sarvo::PortRange&>(x);
        open("PortRange");
        WritePortElement(out, "Begin", range.Begin(), typeid(Sarvo::Port));
        WritePortElement(out, "End", range.End(), typeid(Sarvo::Port));
    } else if (SameType(t, typeid(Sarvo::PortPrimitive))) {
        open("PortPrimitive");
    } else {
        out.MarkUnsupported();
        return;
    }
    out.CloseElement(name);
}

}  // namespace fwcommon::document
