#pragma once

#include <typeinfo>

#include <fwcommon/rules.hxx>
#include "document/XmlTextOutput.h"

// The pieces of the direct document writer, one per area of the schema.
// Each Write...Element function writes one element named `name` that
// holds x; the element carries xsi:type exactly when x's dynamic type is
// not `declared`, the type the schema gives that element. Anything the
// writer does not know marks the output unsupported.
namespace fwcommon::document {

inline bool SameType(const std::type_info& a, const std::type_info& b) {
    return &a == &b || a == b;
}

// A complex value whose content comes only from its members: no DOM
// content was attached to it. (Asking for the DOM content of a value that
// has none would create an empty DOM document for it, so the empty case
// is told apart first.)
inline void CheckNoDomContent(XmlTextOutput& out, const xml_schema::type& x) {
    if (!x.null_content() && x.dom_content().present()) {
        out.MarkUnsupported();
    }
}

// A value of a complex type that has no derived types in the schema.
template <typename T>
void CheckExactType(XmlTextOutput& out, const T& x) {
    if (!SameType(typeid(x), typeid(T))) {
        out.MarkUnsupported();
    }
    CheckNoDomContent(out, x);
}

// Elements of simple types, which may in principle hold a derived type.
template <typename T>
void WriteTextElement(XmlTextOutput& out, XmlName name, const T& x) {
    if (!SameType(typeid(x), typeid(T))) {
        out.MarkUnsupported();
    }
    out.StringElement(name, x);
}

inline void WriteTimeElement(XmlTextOutput& out, XmlName name, const xml_schema::time& x) {
    if (!SameType(typeid(x), typeid(xml_schema::time))) {
        out.MarkUnsupported();
    }
    out.TimeElement(name, x);
}

inline void WriteDateElement(XmlTextOutput& out, XmlName name, const xml_schema::date& x) {
    if (!SameType(typeid(x), typeid(xml_schema::date))) {
        out.MarkUnsupported();
    }
    out.DateElement(name, x);
}

inline void WriteDateTimeElement(XmlTextOutput& out, XmlName name, const xml_schema::date_time& x) {
    if (!SameType(typeid(x), typeid(xml_schema::date_time))) {
        out.MarkUnsupported();
    }
    out.DateTimeElement(name, x);
}

// Rules, actions, condition sets and network sides; the second form
// writes ruleId and orderId in place of the rule's own.
void WriteRuleElement(XmlTextOutput& out, XmlName name, const Sarvo::Rule& x);
void WriteRuleElement(XmlTextOutput& out, XmlName name, const Sarvo::Rule& x, long long ruleId,
                      long long orderId);

// The condition families and their primitives.
void WriteIpHostElement(XmlTextOutput& out, XmlName name, const Sarvo::IpHostCondition& x,
                        const std::type_info& declared);
void WriteVpnHostElement(XmlTextOutput& out, XmlName name, const Sarvo::VpnHostCondition& x);
void WriteInterfaceElement(XmlTextOutput& out, XmlName name, const Sarvo::InterfaceCondition& x);
void WriteServiceElement(XmlTextOutput& out, XmlName name, const Sarvo::ServiceCondition& x);
void WriteScheduleElement(XmlTextOutput& out, XmlName name, const Sarvo::ScheduleCondition& x);
void WritePortElement(XmlTextOutput& out, XmlName name, const Sarvo::PortPrimitive& x,
                      const std::type_info& declared);

// Named objects.
void WriteNamedObjectsElement(XmlTextOutput& out, const Sarvo::NamedObjects& x);

}  // namespace fwcommon::document
