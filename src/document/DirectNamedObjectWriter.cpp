// Named objects: the five kinds and their inclusion and exclusion lists.
#include "document/DirectWriterParts.h"

namespace fwcommon::document {
namespace {

// Start tag and the members every named object has. The schema's own
// object types have no derived types, so any other dynamic type is one
// this writer does not know.
template <typename Kind>
void OpenNamedObject(XmlTextOutput& out, XmlName name, const Kind& x) {
    CheckExactType(out, x);
    out.OpenElement(name);
    if (x.Reserved()) {
        out.StringAttribute("Reserved", *x.Reserved());
    }
    WriteTextElement(out, "Name", x.Name());
    out.LongElement("Id", x.Id());
    WriteTextElement(out, "CreationType", x.CreationType());
}

template <typename List, typename WriteOne>
void WriteEach(const List& list, WriteOne writeOne) {
    for (const auto& item : list) {
        writeOne(item);
    }
}

void WriteIpObject(XmlTextOutput& out, const Sarvo::IpObject& x) {
    OpenNamedObject(out, "IpObject", x);
    const auto& declared = typeid(Sarvo::IpHostCondition);
    WriteEach(x.Inclusion(),
              [&](const auto& c) { WriteIpHostElement(out, "Inclusion", c, declared); });
    WriteEach(x.Exclusion(),
              [&](const auto& c) { WriteIpHostElement(out, "Exclusion", c, declared); });
    out.CloseElement("IpObject");
}

void WriteInterfaceObject(XmlTextOutput& out, const Sarvo::InterfaceObject& x) {
    OpenNamedObject(out, "InterfaceObject", x);
    WriteEach(x.Exclusion(), [&](const auto& c) { WriteInterfaceElement(out, "Exclusion", c); });
    WriteEach(x.Inclusion(), [&](const auto& c) { WriteInterfaceElement(out, "Inclusion", c); });
    out.CloseElement("InterfaceObject");
}

void WriteVpnObject(XmlTextOutput& out, const Sarvo::VpnObject& x) {
    OpenNamedObject(out, "VpnObject", x);
    WriteEach(x.Exclusion(), [&](const auto& c) { WriteVpnHostElement(out, "Exclusion", c); });
    WriteEach(x.Inclusion(), [&](const auto& c) { WriteVpnHostElement(out, "Inclusion", c); });
    out.CloseElement("VpnObject");
}

void WriteServiceObject(XmlTextOutput& out, const Sarvo::ServiceObject& x) {
    OpenNamedObject(out, "ServiceObject", x);
    WriteEach(x.Inclusion(), [&](const auto& c) { WriteServiceElement(out, "Inclusion", c); });
    WriteEach(x.Exclusion(), [&](const auto& c) { WriteServiceElement(out, "Exclusion", c); });
    out.CloseElement("ServiceObject");
}

void WriteScheduleObject(XmlTextOutput& out, const Sarvo::ScheduleObject& x) {
    OpenNamedObject(out, "ScheduleObject", x);
    WriteEach(x.Exclusion(), [&](const auto& c) { WriteScheduleElement(out, "Exclusion", c); });
    WriteEach(x.Inclusion(), [&](const auto& c) { WriteScheduleElement(out, "Inclusion", c); });
    out.CloseElement("ScheduleObject");
}

}  // namespace

void WriteNamedObjectsElement(XmlTextOutput& out, const Sarvo::NamedObjects& x) {
    CheckExactType(out, x);
    out.OpenElement("NamedObjects");
    WriteEach(x.ScheduleObject(), [&](const auto& o) { WriteScheduleObject(out, o); });
    WriteEach(x.ServiceObject(), [&](const auto& o) { WriteServiceObject(out, o); });
    WriteEach(x.VpnObject(), [&](const auto& o) { WriteVpnObject(out, o); });
    WriteEach(x.InterfaceObject(), [&](const auto& o) { WriteInterfaceObject(out, o); });
    WriteEach(x.IpObject(), [&](const auto& o) { WriteIpObject(out, o); });
    out.CloseElement("NamedObjects");
}

}  // namespace fwcommon::document
