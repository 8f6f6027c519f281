#include "document/StreamedElements.h"

#include <typeinfo>
#include <utility>

#include <xercesc/dom/DOMAttr.hpp>
#include <xercesc/dom/DOMElement.hpp>
#include <xercesc/dom/DOMNamedNodeMap.hpp>
#include <xercesc/dom/DOMNode.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xsd/cxx/tree/type-factory-map.hxx>
#include <xsd/cxx/xml/dom/elements.hxx>
#include <xsd/cxx/xml/string.hxx>

#include <fwcommon/DocumentNamespace.h>
#include "document/KeptValueCheck.h"
#include "document/NotDerivedError.h"

namespace fwcommon::document {
namespace {

using xercesc::XMLString;

const XMLCh kPolicy[] = u"Policy";
const XMLCh kRules[] = u"Rules";
const XMLCh kNamedObjects[] = u"NamedObjects";

const XMLCh* DocumentNamespace() {
    static const xsd::cxx::xml::string text(kDocumentNamespace);
    return text.c_str();
}

// The element (unqualified, as the schema declares its children) if node is
// one, else null.
const xercesc::DOMElement* UnqualifiedElement(const xercesc::DOMNode* node, const XMLCh* name) {
    if (!node || node->getNodeType() != xercesc::DOMNode::ELEMENT_NODE ||
        node->getNamespaceURI() != nullptr || !XMLString::equals(node->getLocalName(), name)) {
        return nullptr;
    }
    return static_cast<const xercesc::DOMElement*>(node);
}

bool IsPolicyRoot(const xercesc::DOMNode* node) {
    return node && node->getNodeType() == xercesc::DOMNode::ELEMENT_NODE && node->getParentNode() &&
           node->getParentNode()->getNodeType() == xercesc::DOMNode::DOCUMENT_NODE &&
           XMLString::equals(node->getLocalName(), kPolicy) &&
           XMLString::equals(node->getNamespaceURI(), DocumentNamespace());
}

using QualifiedName = xsd::cxx::xml::qualified_name<wchar_t>;

// The element as the typed element its xsi:type names (or T itself), as
// the generated parser builds the children of a sequence; null when the
// element's name is not name.
template <typename T>
std::unique_ptr<T> Convert(const xercesc::DOMElement& element, const QualifiedName& qualified,
                           const wchar_t* name) {
    std::unique_ptr<xsd::cxx::tree::type> built(
        xsd::cxx::tree::type_factory_map_instance<0, wchar_t>().create(
            name, L"", &xsd::cxx::tree::factory_impl<T>, false, false, element, qualified,
            xml_schema::flags::dont_initialize, nullptr));
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
    if (auto typed = Convert<T>(element, qualified, name)) {
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

// Hands the attributes of element and of every element inside it back to
// the document for reuse. Releasing an element releases its children but
// not its attributes: without this, the attribute nodes, their text nodes
// and text buffers of every rule stayed in the document's heap to the end
// of the parse.
void ReleaseAttributes(xercesc::DOMElement& element) {
    xercesc::DOMNamedNodeMap* attributes = element.getAttributes();
    for (XMLSize_t count = attributes->getLength(); count > 0; --count) {
        auto* attribute = static_cast<xercesc::DOMAttr*>(attributes->item(count - 1));
        element.removeAttributeNode(attribute)->release();
    }
    for (xercesc::DOMNode* child = element.getFirstChild(); child;
         child = child->getNextSibling()) {
        if (child->getNodeType() == xercesc::DOMNode::ELEMENT_NODE) {
            ReleaseAttributes(*static_cast<xercesc::DOMElement*>(child));
        }
    }
}

}  // namespace

StreamedElements::StreamedElements(std::function<bool()> failed) : failed_(std::move(failed)) {}

xercesc::DOMNodeFilter::ShowType StreamedElements::getWhatToShow() const {
    return xercesc::DOMNodeFilter::SHOW_ELEMENT;
}

StreamedElements::Role StreamedElements::RoleOf(const xercesc::DOMElement& element) const {
    if (open_.empty()) {
        return IsPolicyRoot(&element) ? Role::kPolicyRoot : Role::kOther;
    }
    if (open_.back().role != Role::kPolicyRoot) {
        return Role::kOther;
    }
    if (UnqualifiedElement(&element, kRules)) {
        return Role::kRules;
    }
    if (UnqualifiedElement(&element, kNamedObjects)) {
        return Role::kNamedObjects;
    }
    return Role::kOther;
}

xercesc::DOMLSParserFilter::FilterAction StreamedElements::startElement(
    xercesc::DOMElement* element) {
    open_.push_back({element, RoleOf(*element)});
    return FILTER_ACCEPT;
}

StreamedElements::Parent StreamedElements::ParentOfFinished(const xercesc::DOMElement& element) {
    if (open_.empty() || open_.back().element != &element) {
        // Not the element opened last: ask the DOM.
        return ParentOf(element);
    }
    open_.pop_back();
    if (open_.empty()) {
        return Parent::kNone;
    }
    switch (open_.back().role) {
        case Role::kRules:
            return Parent::kRules;
        case Role::kNamedObjects:
            return Parent::kNamedObjects;
        default:
            return Parent::kNone;
    }
}

StreamedElements::Parent StreamedElements::ParentOf(const xercesc::DOMElement& element) const {
    const xercesc::DOMNode* parent = element.getParentNode();
    if (!parent || !IsPolicyRoot(parent->getParentNode())) {
        return Parent::kNone;
    }
    if (UnqualifiedElement(parent, kRules)) {
        return Parent::kRules;
    }
    if (UnqualifiedElement(parent, kNamedObjects)) {
        return Parent::kNamedObjects;
    }
    return Parent::kNone;
}

xercesc::DOMLSParserFilter::FilterAction StreamedElements::acceptNode(xercesc::DOMNode* node) {
    if (node->getNodeType() != xercesc::DOMNode::ELEMENT_NODE) {
        return FILTER_ACCEPT;
    }
    const auto& element = *static_cast<const xercesc::DOMElement*>(node);
    if (const auto unkept = FindUnkeptValue(element)) {
        RecordUnkeptValue(*unkept);
    }
    const Parent parent = ParentOfFinished(element);
    if (parent == Parent::kNone) {
        return FILTER_ACCEPT;
    }
    if (failure_ || failed_()) {
        return FILTER_REJECT;  // the document is discarded anyway
    }
    try {
        // An element of no known name stays for the parse of the rest to
        // report.
        if (!Take(element, parent)) {
            return FILTER_ACCEPT;
        }
        ReleaseAttributes(*static_cast<xercesc::DOMElement*>(node));
        return FILTER_REJECT;
    } catch (...) {
        failure_ = std::current_exception();
        return FILTER_REJECT;
    }
}

bool StreamedElements::Take(const xercesc::DOMElement& element, Parent parent) {
    const QualifiedName qualified = NameOf(element);
    if (parent == Parent::kRules) {
        return TakeAs(element, qualified, L"Rule", rules_);
    }
    return TakeNamedObject(element, qualified);
}

bool StreamedElements::TakeNamedObject(const xercesc::DOMElement& element,
                                       const QualifiedName& qualified) {
    return TakeAs(element, qualified, L"ScheduleObject", schedules_) ||
           TakeAs(element, qualified, L"ServiceObject", services_) ||
           TakeAs(element, qualified, L"VpnObject", vpnObjects_) ||
           TakeAs(element, qualified, L"InterfaceObject", interfaces_) ||
           TakeAs(element, qualified, L"IpObject", ipObjects_);
}

void StreamedElements::RecordUnkeptValue(const std::wstring& message) {
    if (failure_) {
        return;
    }
    xml_schema::diagnostics diagnostics;
    diagnostics.push_back(xml_schema::error(xml_schema::severity::error, L"policy", 0, 0, message));
    failure_ = std::make_exception_ptr(xml_schema::parsing(diagnostics));
}

void StreamedElements::ThrowIfFailed() const {
    if (failure_) {
        std::rethrow_exception(failure_);
    }
}

void StreamedElements::MoveInto(Sarvo::PolicyType& policy) {
    ThrowIfFailed();
    AppendAll(policy.Rules().Rule(), rules_);
    if (policy.NamedObjects()) {
        Sarvo::NamedObjects& objects = *policy.NamedObjects();
        AppendAll(objects.ScheduleObject(), schedules_);
        AppendAll(objects.ServiceObject(), services_);
        AppendAll(objects.VpnObject(), vpnObjects_);
        AppendAll(objects.InterfaceObject(), interfaces_);
        AppendAll(objects.IpObject(), ipObjects_);
    }
}

}  // namespace fwcommon::document
