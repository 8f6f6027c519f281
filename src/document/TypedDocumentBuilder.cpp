#include "document/TypedDocumentBuilder.h"

#include <typeinfo>
#include <utility>

#include <xercesc/sax2/Attributes.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xsd/cxx/tree/exceptions.hxx>
#include <xsd/cxx/tree/type-factory-map.hxx>
#include <xsd/cxx/xml/dom/elements.hxx>
#include <xsd/cxx/xml/string.hxx>

#include <fwcommon/DocumentNamespace.h>
#include "document/KeptValueCheck.h"
#include "document/NotDerivedError.h"

namespace fwcommon::document {
namespace {

using xercesc::XMLString;
using QualifiedName = xsd::cxx::xml::qualified_name<wchar_t>;

const XMLCh kPolicy[] = u"Policy";
const XMLCh kRules[] = u"Rules";
const XMLCh kNamedObjects[] = u"NamedObjects";
const XMLCh kEmpty[] = u"";

const XMLCh* DocumentNamespace() {
    static const xsd::cxx::xml::string text(kDocumentNamespace);
    return text.c_str();
}

// Where the element's name says which typed element it is.
struct ElementName {
    const wchar_t* name;
    const wchar_t* ns;  // empty for the unqualified children of a sequence
    bool global;        // a global element (the root), not a member of a type
};

// The element as the typed element its xsi:type names (or T itself), as
// the generated parser builds it; null when the element's name is not the
// expected one.
template <typename T>
std::unique_ptr<T> Convert(const xercesc::DOMElement& element, const QualifiedName& qualified,
                           const ElementName& expected) {
    std::unique_ptr<xsd::cxx::tree::type> built(
        xsd::cxx::tree::type_factory_map_instance<0, wchar_t>().create(
            expected.name, expected.ns, &xsd::cxx::tree::factory_impl<T>, expected.global,
            expected.global, element, qualified, xml_schema::flags::dont_initialize, nullptr));
    if (!built) {
        return nullptr;
    }
    std::unique_ptr<T> typed(dynamic_cast<T*>(built.get()));
    if (!typed) {
        ThrowNotDerived(element, typeid(T));
    }
    built.release();
    return typed;
}

template <typename T>
bool TakeAs(const xercesc::DOMElement& element, const QualifiedName& qualified, const wchar_t* name,
            std::vector<std::unique_ptr<T>>& into) {
    if (auto typed = Convert<T>(element, qualified, {name, L"", false})) {
        into.push_back(std::move(typed));
        return true;
    }
    return false;
}

QualifiedName NameOf(const xercesc::DOMElement& element) {
    return QualifiedName(xsd::cxx::xml::dom::name<wchar_t>(element));
}

template <typename Sequence, typename T>
void AppendAll(Sequence& sequence, std::vector<std::unique_ptr<T>>& taken) {
    for (auto& element : taken) {
        sequence.push_back(std::move(element));
    }
    taken.clear();
}

// The reader reports "no namespace" as the empty text; the DOM as null.
const XMLCh* UriOrNull(const XMLCh* uri) {
    return uri && *uri ? uri : nullptr;
}

}  // namespace

TypedDocumentBuilder::TypedDocumentBuilder(std::function<bool()> failed)
    : failed_(std::move(failed)) {}

void TypedDocumentBuilder::startPrefixMapping(const XMLCh* const prefix, const XMLCh* const uri) {
    // Kept outside the arena until the element they belong to is made, so
    // that dropping that element drops them too.
    pendingDeclarations_.emplace_back(prefix ? prefix : kEmpty, uri ? uri : kEmpty);
}

TypedDocumentBuilder::Names TypedDocumentBuilder::CopyNames(const XMLCh* localName,
                                                            const XMLCh* qualifiedName) {
    // An unprefixed name, nearly every one, is kept once.
    const XMLCh* local = arena_.Copy(localName);
    return {local,
            XMLString::equals(localName, qualifiedName) ? local : arena_.Copy(qualifiedName)};
}

LightElement* TypedDocumentBuilder::MakeElement(const XMLCh* uri, const XMLCh* localName,
                                                const XMLCh* qualifiedName,
                                                const xercesc::Attributes& attributes) {
    LightElement* parent = open_.empty() ? nullptr : open_.back().element;
    const Names names = CopyNames(localName, qualifiedName);
    auto* element = arena_.Make<LightElement>(parent, arena_.Copy(UriOrNull(uri)), names.local,
                                              names.qualified);
    AttachAttributes(*element, attributes);
    AttachPendingDeclarations(*element);
    return element;
}

void TypedDocumentBuilder::AttachAttributes(LightElement& element,
                                            const xercesc::Attributes& attributes) {
    const XMLSize_t count = attributes.getLength();
    if (count == 0) {
        return;
    }
    auto** items =
        static_cast<LightAttr**>(arena_.Allocate(count * sizeof(LightAttr*), alignof(LightAttr*)));
    for (XMLSize_t i = 0; i < count; ++i) {
        const Names names = CopyNames(attributes.getLocalName(i), attributes.getQName(i));
        items[i] = arena_.Make<LightAttr>(&element, arena_.Copy(UriOrNull(attributes.getURI(i))),
                                          names.local, names.qualified,
                                          arena_.Copy(attributes.getValue(i)));
    }
    element.SetAttributes(items, count);
}

void TypedDocumentBuilder::AttachPendingDeclarations(LightElement& element) {
    if (pendingDeclarations_.empty()) {
        return;
    }
    auto* declarations = static_cast<NamespaceDeclaration*>(arena_.Allocate(
        pendingDeclarations_.size() * sizeof(NamespaceDeclaration), alignof(NamespaceDeclaration)));
    for (std::size_t i = 0; i < pendingDeclarations_.size(); ++i) {
        const auto& [prefix, uri] = pendingDeclarations_[i];
        declarations[i] = {arena_.Copy(prefix.c_str(), prefix.size()),
                           arena_.Copy(uri.c_str(), uri.size())};
    }
    element.SetDeclarations(declarations, pendingDeclarations_.size());
    pendingDeclarations_.clear();
}

TypedDocumentBuilder::Role TypedDocumentBuilder::RoleOf(const LightElement& element) const {
    if (open_.empty()) {
        const bool policyRoot = XMLString::equals(element.getLocalName(), kPolicy) &&
                                XMLString::equals(element.getNamespaceURI(), DocumentNamespace());
        return policyRoot ? Role::kPolicyRoot : Role::kOther;
    }
    if (open_.back().role != Role::kPolicyRoot || element.getNamespaceURI() != nullptr) {
        return Role::kOther;
    }
    if (XMLString::equals(element.getLocalName(), kRules)) {
        return Role::kRules;
    }
    if (XMLString::equals(element.getLocalName(), kNamedObjects)) {
        return Role::kNamedObjects;
    }
    return Role::kOther;
}

void TypedDocumentBuilder::startElement(const XMLCh* const uri, const XMLCh* const localName,
                                        const XMLCh* const qualifiedName,
                                        const xercesc::Attributes& attributes) {
    EndText();
    const NodeArena::Mark start = arena_.Here();
    LightElement* element = MakeElement(uri, localName, qualifiedName, attributes);
    if (open_.empty()) {
        root_ = element;
    } else {
        open_.back().element->Append(element->Links());
    }
    open_.push_back({element, RoleOf(*element), start});
}

void TypedDocumentBuilder::characters(const XMLCh* const chars, const XMLSize_t length) {
    text_.append(chars, length);
}

void TypedDocumentBuilder::EndText() {
    if (text_.empty() || open_.empty()) {
        text_.clear();
        return;
    }
    LightElement* parent = open_.back().element;
    auto* text =
        arena_.Make<LightText>(parent, arena_.Copy(text_.data(), text_.size()), text_.size());
    parent->Append(text->Links());
    text_.clear();
}

void TypedDocumentBuilder::endElement(const XMLCh* const, const XMLCh* const localName,
                                      const XMLCh* const) {
    EndText();
    const OpenElement finished = open_.back();
    open_.pop_back();
    if (HoldsDateOrTime(localName)) {
        if (const XMLCh* text = finished.element->SimpleText()) {
            if (const auto unkept = FindUnkeptValue(localName, text)) {
                RecordUnkeptValue(*unkept);
            }
        }
    }
    if (open_.empty()) {
        return;
    }
    const Role parent = open_.back().role;
    if (parent == Role::kRules || parent == Role::kNamedObjects) {
        Finished(finished, parent);
    }
}

void TypedDocumentBuilder::Finished(const OpenElement& finished, Role parent) {
    if (!failure_ && !failed_()) {
        try {
            // An element of no known name stays for the conversion of the
            // frame to report.
            if (!Take(*finished.element, parent)) {
                return;
            }
        } catch (...) {
            failure_ = std::current_exception();
        }
    }
    open_.back().element->RemoveLastChild();
    arena_.RewindTo(finished.start);
}

bool TypedDocumentBuilder::Take(const xercesc::DOMElement& element, Role parent) {
    const QualifiedName qualified = NameOf(element);
    if (parent == Role::kRules) {
        return TakeAs(element, qualified, L"Rule", rules_);
    }
    return TakeNamedObject(element, qualified);
}

bool TypedDocumentBuilder::TakeNamedObject(const xercesc::DOMElement& element,
                                           const QualifiedName& qualified) {
    return TakeAs(element, qualified, L"ScheduleObject", schedules_) ||
           TakeAs(element, qualified, L"ServiceObject", services_) ||
           TakeAs(element, qualified, L"VpnObject", vpnObjects_) ||
           TakeAs(element, qualified, L"InterfaceObject", interfaces_) ||
           TakeAs(element, qualified, L"IpObject", ipObjects_);
}

void TypedDocumentBuilder::RecordUnkeptValue(const std::wstring& message) {
    if (failure_) {
        return;
    }
    xml_schema::diagnostics diagnostics;
    diagnostics.push_back(xml_schema::error(xml_schema::severity::error, L"policy", 0, 0, message));
    failure_ = std::make_exception_ptr(xml_schema::parsing(diagnostics));
}

void TypedDocumentBuilder::ThrowIfFailed() const {
    if (failure_) {
        std::rethrow_exception(failure_);
    }
}

std::unique_ptr<Sarvo::PolicyType> TypedDocumentBuilder::TakeDocument() {
    ThrowIfFailed();
    if (!root_) {
        throw xml_schema::parsing();
    }
    const QualifiedName qualified = NameOf(*root_);
    auto policy =
        Convert<Sarvo::PolicyType>(*root_, qualified, {L"Policy", kDocumentNamespace, true});
    if (!policy) {
        throw xsd::cxx::tree::unexpected_element<wchar_t>(qualified.name(), qualified.namespace_(),
                                                          L"Policy", kDocumentNamespace);
    }
    AppendAll(policy->Rules().Rule(), rules_);
    if (policy->NamedObjects()) {
        Sarvo::NamedObjects& objects = *policy->NamedObjects();
        AppendAll(objects.ScheduleObject(), schedules_);
        AppendAll(objects.ServiceObject(), services_);
        AppendAll(objects.VpnObject(), vpnObjects_);
        AppendAll(objects.InterfaceObject(), interfaces_);
        AppendAll(objects.IpObject(), ipObjects_);
    }
    return policy;
}

}  // namespace fwcommon::document
