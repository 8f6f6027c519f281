#include "document/LightDom.h"

#include <xercesc/dom/DOMException.hpp>
#include <xercesc/util/XMLString.hpp>

namespace fwcommon::document {
namespace {

using xercesc::DOMException;
using xercesc::XMLString;

// The tree is read only, and answers only what its readers ask.
[[noreturn]] void Unsupported() {
    throw DOMException(DOMException::NOT_SUPPORTED_ERR);
}

const XMLCh kTextNodeName[] = u"#text";
const XMLCh kEmptyText[] = u"";  // also the prefix of the default namespace

// The URI a declared prefix stands for: null for an undeclared prefix and
// for an undeclaration (xmlns="").
const XMLCh* DeclaredUri(const XMLCh* uri) {
    return uri && *uri ? uri : nullptr;
}

bool NamespaceIs(const XMLCh* uri, const XMLCh* wanted) {
    const bool none = !uri || !*uri;
    const bool wantedNone = !wanted || !*wanted;
    return none || wantedNone ? none == wantedNone : XMLString::equals(uri, wanted);
}

}  // namespace

// ---- every node -----------------------------------------------------------

template <typename Interface>
xercesc::DOMNode* LightNode<Interface>::getParentNode() const {
    return links_.parent;
}

template <typename Interface>
const XMLCh* LightNode<Interface>::lookupNamespaceURI(const XMLCh* prefix) const {
    return links_.parent ? links_.parent->lookupNamespaceURI(prefix) : nullptr;
}

template <typename Interface>
xercesc::DOMNodeList* LightNode<Interface>::getChildNodes() const {
    Unsupported();
}
template <typename Interface>
xercesc::DOMNode* LightNode<Interface>::cloneNode(bool) const {
    Unsupported();
}
template <typename Interface>
xercesc::DOMNode* LightNode<Interface>::insertBefore(xercesc::DOMNode*, xercesc::DOMNode*) {
    Unsupported();
}
template <typename Interface>
xercesc::DOMNode* LightNode<Interface>::replaceChild(xercesc::DOMNode*, xercesc::DOMNode*) {
    Unsupported();
}
template <typename Interface>
xercesc::DOMNode* LightNode<Interface>::removeChild(xercesc::DOMNode*) {
    Unsupported();
}
template <typename Interface>
xercesc::DOMNode* LightNode<Interface>::appendChild(xercesc::DOMNode*) {
    Unsupported();
}
template <typename Interface>
void LightNode<Interface>::setNodeValue(const XMLCh*) {
    Unsupported();
}
template <typename Interface>
void LightNode<Interface>::normalize() {
    Unsupported();
}
template <typename Interface>
void LightNode<Interface>::setPrefix(const XMLCh*) {
    Unsupported();
}
template <typename Interface>
bool LightNode<Interface>::isEqualNode(const xercesc::DOMNode*) const {
    Unsupported();
}
template <typename Interface>
void* LightNode<Interface>::setUserData(const XMLCh*, void*, xercesc::DOMUserDataHandler*) {
    Unsupported();
}
template <typename Interface>
short LightNode<Interface>::compareDocumentPosition(const xercesc::DOMNode*) const {
    Unsupported();
}
template <typename Interface>
void LightNode<Interface>::setTextContent(const XMLCh*) {
    Unsupported();
}
template <typename Interface>
const XMLCh* LightNode<Interface>::lookupPrefix(const XMLCh*) const {
    Unsupported();
}
template <typename Interface>
bool LightNode<Interface>::isDefaultNamespace(const XMLCh*) const {
    Unsupported();
}
template <typename Interface>
void LightNode<Interface>::release() {
    Unsupported();  // the arena owns every node
}

template class LightNode<xercesc::DOMText>;
template class LightNode<xercesc::DOMAttr>;
template class LightNode<xercesc::DOMElement>;

// ---- texts ----------------------------------------------------------------

const XMLCh* LightText::getNodeName() const {
    return kTextNodeName;
}

const XMLCh* LightText::substringData(XMLSize_t, XMLSize_t) const {
    Unsupported();
}
void LightText::appendData(const XMLCh*) {
    Unsupported();
}
void LightText::insertData(XMLSize_t, const XMLCh*) {
    Unsupported();
}
void LightText::deleteData(XMLSize_t, XMLSize_t) {
    Unsupported();
}
void LightText::replaceData(XMLSize_t, XMLSize_t, const XMLCh*) {
    Unsupported();
}
void LightText::setData(const XMLCh*) {
    Unsupported();
}
xercesc::DOMText* LightText::splitText(XMLSize_t) {
    Unsupported();
}
const XMLCh* LightText::getWholeText() const {
    Unsupported();
}
xercesc::DOMText* LightText::replaceWholeText(const XMLCh*) {
    Unsupported();
}

// ---- attributes -----------------------------------------------------------

const XMLCh* LightAttr::lookupNamespaceURI(const XMLCh* prefix) const {
    return owner_ ? owner_->lookupNamespaceURI(prefix) : nullptr;
}

xercesc::DOMElement* LightAttr::getOwnerElement() const {
    return owner_;
}

void LightAttr::setValue(const XMLCh*) {
    Unsupported();
}
const xercesc::DOMTypeInfo* LightAttr::getSchemaTypeInfo() const {
    Unsupported();
}

xercesc::DOMNode* LightAttributes::item(XMLSize_t index) const {
    return index < count_ ? items_[index] : nullptr;
}

xercesc::DOMNode* LightAttributes::getNamedItem(const XMLCh* qualifiedName) const {
    for (std::size_t i = 0; i < count_; ++i) {
        if (XMLString::equals(items_[i]->getName(), qualifiedName)) {
            return items_[i];
        }
    }
    return nullptr;
}

xercesc::DOMNode* LightAttributes::getNamedItemNS(const XMLCh* uri, const XMLCh* localName) const {
    for (std::size_t i = 0; i < count_; ++i) {
        if (XMLString::equals(items_[i]->getLocalName(), localName) &&
            NamespaceIs(items_[i]->getNamespaceURI(), uri)) {
            return items_[i];
        }
    }
    return nullptr;
}

xercesc::DOMNode* LightAttributes::setNamedItem(xercesc::DOMNode*) {
    Unsupported();
}
xercesc::DOMNode* LightAttributes::removeNamedItem(const XMLCh*) {
    Unsupported();
}
xercesc::DOMNode* LightAttributes::setNamedItemNS(xercesc::DOMNode*) {
    Unsupported();
}
xercesc::DOMNode* LightAttributes::removeNamedItemNS(const XMLCh*, const XMLCh*) {
    Unsupported();
}

// ---- elements -------------------------------------------------------------

void LightElement::Append(LightLinks& child) {
    child.previous = last_;
    child.next = nullptr;
    if (last_) {
        last_->next = &child;
    } else {
        first_ = &child;
    }
    last_ = &child;
}

void LightElement::RemoveLastChild() {
    if (!last_) {
        return;
    }
    last_ = last_->previous;
    if (last_) {
        last_->next = nullptr;
    } else {
        first_ = nullptr;
    }
}

xercesc::DOMNamedNodeMap* LightElement::getAttributes() const {
    return &attributes_;
}

const XMLCh* LightElement::lookupNamespaceURI(const XMLCh* prefix) const {
    const XMLCh* wanted = prefix ? prefix : kEmptyText;
    for (const LightElement* element = this; element; element = element->links_.parent) {
        for (std::size_t i = 0; i < element->declarationCount_; ++i) {
            if (XMLString::equals(element->declarations_[i].prefix, wanted)) {
                return DeclaredUri(element->declarations_[i].uri);
            }
        }
    }
    return nullptr;
}

const XMLCh* LightElement::SimpleText() const {
    if (!first_) {
        return kEmptyText;
    }
    if (first_ == last_ && first_->self->getNodeType() == TEXT_NODE) {
        return static_cast<const LightText*>(first_->self)->getData();
    }
    return nullptr;
}

const XMLCh* LightElement::getTextContent() const {
    if (const XMLCh* text = SimpleText()) {
        return text;
    }
    Unsupported();
}

const XMLCh* LightElement::getAttribute(const XMLCh* qualifiedName) const {
    const xercesc::DOMNode* attribute = attributes_.getNamedItem(qualifiedName);
    return attribute ? attribute->getNodeValue() : kEmptyText;
}

xercesc::DOMAttr* LightElement::getAttributeNode(const XMLCh* qualifiedName) const {
    return static_cast<xercesc::DOMAttr*>(attributes_.getNamedItem(qualifiedName));
}

const XMLCh* LightElement::getAttributeNS(const XMLCh* uri, const XMLCh* localName) const {
    const xercesc::DOMNode* attribute = attributes_.getNamedItemNS(uri, localName);
    return attribute ? attribute->getNodeValue() : kEmptyText;
}

xercesc::DOMAttr* LightElement::getAttributeNodeNS(const XMLCh* uri, const XMLCh* localName) const {
    return static_cast<xercesc::DOMAttr*>(attributes_.getNamedItemNS(uri, localName));
}

bool LightElement::hasAttribute(const XMLCh* qualifiedName) const {
    return attributes_.getNamedItem(qualifiedName) != nullptr;
}

bool LightElement::hasAttributeNS(const XMLCh* uri, const XMLCh* localName) const {
    return attributes_.getNamedItemNS(uri, localName) != nullptr;
}

namespace {

xercesc::DOMElement* ElementFrom(const LightLinks* links, bool forward) {
    for (; links; links = forward ? links->next : links->previous) {
        if (links->self->getNodeType() == xercesc::DOMNode::ELEMENT_NODE) {
            return static_cast<xercesc::DOMElement*>(links->self);
        }
    }
    return nullptr;
}

}  // namespace

xercesc::DOMElement* LightElement::getFirstElementChild() const {
    return ElementFrom(first_, true);
}
xercesc::DOMElement* LightElement::getLastElementChild() const {
    return ElementFrom(last_, false);
}
xercesc::DOMElement* LightElement::getPreviousElementSibling() const {
    return ElementFrom(links_.previous, false);
}
xercesc::DOMElement* LightElement::getNextElementSibling() const {
    return ElementFrom(links_.next, true);
}

XMLSize_t LightElement::getChildElementCount() const {
    XMLSize_t count = 0;
    for (const LightLinks* child = first_; child; child = child->next) {
        count += child->self->getNodeType() == ELEMENT_NODE ? 1 : 0;
    }
    return count;
}

xercesc::DOMNodeList* LightElement::getElementsByTagName(const XMLCh*) const {
    Unsupported();
}
void LightElement::setAttribute(const XMLCh*, const XMLCh*) {
    Unsupported();
}
xercesc::DOMAttr* LightElement::setAttributeNode(xercesc::DOMAttr*) {
    Unsupported();
}
xercesc::DOMAttr* LightElement::removeAttributeNode(xercesc::DOMAttr*) {
    Unsupported();
}
void LightElement::removeAttribute(const XMLCh*) {
    Unsupported();
}
void LightElement::setAttributeNS(const XMLCh*, const XMLCh*, const XMLCh*) {
    Unsupported();
}
void LightElement::removeAttributeNS(const XMLCh*, const XMLCh*) {
    Unsupported();
}
xercesc::DOMAttr* LightElement::setAttributeNodeNS(xercesc::DOMAttr*) {
    Unsupported();
}
xercesc::DOMNodeList* LightElement::getElementsByTagNameNS(const XMLCh*, const XMLCh*) const {
    Unsupported();
}
void LightElement::setIdAttribute(const XMLCh*, bool) {
    Unsupported();
}
void LightElement::setIdAttributeNS(const XMLCh*, const XMLCh*, bool) {
    Unsupported();
}
void LightElement::setIdAttributeNode(const xercesc::DOMAttr*, bool) {
    Unsupported();
}
const xercesc::DOMTypeInfo* LightElement::getSchemaTypeInfo() const {
    Unsupported();
}

}  // namespace fwcommon::document
