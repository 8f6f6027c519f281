#pragma once

#include <cstddef>

#include <xercesc/dom/DOMAttr.hpp>
#include <xercesc/dom/DOMElement.hpp>
#include <xercesc/dom/DOMNamedNodeMap.hpp>
#include <xercesc/dom/DOMText.hpp>

namespace fwcommon::document {

// A read-only DOM of elements, attributes and texts, built by a SAX reader
// into a NodeArena, that the generated document classes read as they read
// a Xerces DOM: children, attributes, names, texts, namespace lookups. It
// costs a fraction of Xerces' own DOM: no document, no node lists, no user
// data, and an element is dropped by rewinding the arena.
//
// Everything that would change a node, and the queries the generated
// classes never make, throw xercesc::DOMException NOT_SUPPORTED_ERR. Nodes
// have no owner document. One thread.

class LightElement;

// A namespace declaration of an element: prefix (empty for the default
// namespace) and URI (empty for an undeclaration).
struct NamespaceDeclaration {
    const XMLCh* prefix;
    const XMLCh* uri;
};

// Where a node stands in the tree. Every node holds one; self is the node.
struct LightLinks {
    xercesc::DOMNode* self = nullptr;
    LightElement* parent = nullptr;
    LightLinks* previous = nullptr;
    LightLinks* next = nullptr;
};

// What every node kind shares. Interface is the Xerces interface the node
// implements.
template <typename Interface>
class LightNode : public Interface {
public:
    using NodeType = xercesc::DOMNode::NodeType;

    xercesc::DOMNode* getParentNode() const override;
    xercesc::DOMNode* getPreviousSibling() const override {
        return links_.previous ? links_.previous->self : nullptr;
    }
    xercesc::DOMNode* getNextSibling() const override {
        return links_.next ? links_.next->self : nullptr;
    }
    xercesc::DOMDocument* getOwnerDocument() const override { return nullptr; }
    const XMLCh* getNamespaceURI() const override { return nullptr; }
    const XMLCh* getPrefix() const override { return nullptr; }
    const XMLCh* getLocalName() const override { return nullptr; }
    xercesc::DOMNode* getFirstChild() const override { return nullptr; }
    xercesc::DOMNode* getLastChild() const override { return nullptr; }
    bool hasChildNodes() const override { return getFirstChild() != nullptr; }
    xercesc::DOMNamedNodeMap* getAttributes() const override { return nullptr; }
    bool hasAttributes() const override { return false; }
    bool isSameNode(const xercesc::DOMNode* other) const override { return other == this; }
    const XMLCh* lookupNamespaceURI(const XMLCh* prefix) const override;
    bool isSupported(const XMLCh*, const XMLCh*) const override { return false; }
    void* getFeature(const XMLCh*, const XMLCh*) const override { return nullptr; }
    void* getUserData(const XMLCh*) const override { return nullptr; }
    const XMLCh* getBaseURI() const override { return nullptr; }

    xercesc::DOMNodeList* getChildNodes() const override;
    xercesc::DOMNode* cloneNode(bool) const override;
    xercesc::DOMNode* insertBefore(xercesc::DOMNode*, xercesc::DOMNode*) override;
    xercesc::DOMNode* replaceChild(xercesc::DOMNode*, xercesc::DOMNode*) override;
    xercesc::DOMNode* removeChild(xercesc::DOMNode*) override;
    xercesc::DOMNode* appendChild(xercesc::DOMNode*) override;
    void setNodeValue(const XMLCh*) override;
    void normalize() override;
    void setPrefix(const XMLCh*) override;
    bool isEqualNode(const xercesc::DOMNode*) const override;
    void* setUserData(const XMLCh*, void*, xercesc::DOMUserDataHandler*) override;
    short compareDocumentPosition(const xercesc::DOMNode*) const override;
    void setTextContent(const XMLCh*) override;
    const XMLCh* lookupPrefix(const XMLCh*) const override;
    bool isDefaultNamespace(const XMLCh*) const override;
    void release() override;

    LightLinks& Links() { return links_; }

protected:
    explicit LightNode(LightElement* parent) {
        links_.self = this;
        links_.parent = parent;
    }

    LightLinks links_;
};

// A run of character data, the whole text between two tags.
class LightText final : public LightNode<xercesc::DOMText> {
public:
    LightText(LightElement* parent, const XMLCh* data, std::size_t length)
        : LightNode(parent), data_(data), length_(length) {}

    NodeType getNodeType() const override { return TEXT_NODE; }
    const XMLCh* getNodeName() const override;
    const XMLCh* getNodeValue() const override { return data_; }
    const XMLCh* getTextContent() const override { return data_; }
    const XMLCh* getData() const override { return data_; }
    XMLSize_t getLength() const override { return length_; }
    bool getIsElementContentWhitespace() const override { return false; }
    bool isIgnorableWhitespace() const override { return false; }

    const XMLCh* substringData(XMLSize_t, XMLSize_t) const override;
    void appendData(const XMLCh*) override;
    void insertData(XMLSize_t, const XMLCh*) override;
    void deleteData(XMLSize_t, XMLSize_t) override;
    void replaceData(XMLSize_t, XMLSize_t, const XMLCh*) override;
    void setData(const XMLCh*) override;
    xercesc::DOMText* splitText(XMLSize_t) override;
    const XMLCh* getWholeText() const override;
    xercesc::DOMText* replaceWholeText(const XMLCh*) override;

private:
    const XMLCh* data_;
    std::size_t length_;
};

// An attribute as the reader reported it, defaults of the schema included.
class LightAttr final : public LightNode<xercesc::DOMAttr> {
public:
    LightAttr(LightElement* owner, const XMLCh* uri, const XMLCh* localName,
              const XMLCh* qualifiedName, const XMLCh* value)
        : LightNode(nullptr),
          owner_(owner),
          uri_(uri),
          localName_(localName),
          qualifiedName_(qualifiedName),
          value_(value) {}

    NodeType getNodeType() const override { return ATTRIBUTE_NODE; }
    const XMLCh* getNodeName() const override { return qualifiedName_; }
    const XMLCh* getNodeValue() const override { return value_; }
    const XMLCh* getTextContent() const override { return value_; }
    const XMLCh* getNamespaceURI() const override { return uri_; }
    const XMLCh* getLocalName() const override { return localName_; }
    const XMLCh* lookupNamespaceURI(const XMLCh* prefix) const override;
    const XMLCh* getName() const override { return qualifiedName_; }
    // The reader does not tell a default of the schema from a written value.
    bool getSpecified() const override { return true; }
    const XMLCh* getValue() const override { return value_; }
    xercesc::DOMElement* getOwnerElement() const override;
    bool isId() const override { return false; }

    void setValue(const XMLCh*) override;
    const xercesc::DOMTypeInfo* getSchemaTypeInfo() const override;

private:
    LightElement* owner_;
    const XMLCh* uri_;  // null for none
    const XMLCh* localName_;
    const XMLCh* qualifiedName_;
    const XMLCh* value_;
};

// The attributes of an element, in the order the reader reported them.
class LightAttributes final : public xercesc::DOMNamedNodeMap {
public:
    void Set(LightAttr* const* items, std::size_t count) {
        items_ = items;
        count_ = count;
    }

    xercesc::DOMNode* item(XMLSize_t index) const override;
    XMLSize_t getLength() const override { return count_; }
    xercesc::DOMNode* getNamedItem(const XMLCh* qualifiedName) const override;
    xercesc::DOMNode* getNamedItemNS(const XMLCh* uri, const XMLCh* localName) const override;

    xercesc::DOMNode* setNamedItem(xercesc::DOMNode*) override;
    xercesc::DOMNode* removeNamedItem(const XMLCh*) override;
    xercesc::DOMNode* setNamedItemNS(xercesc::DOMNode*) override;
    xercesc::DOMNode* removeNamedItemNS(const XMLCh*, const XMLCh*) override;

private:
    LightAttr* const* items_ = nullptr;
    std::size_t count_ = 0;
};

class LightElement final : public LightNode<xercesc::DOMElement> {
public:
    // Names as the reader reports them: uri null for none; qualifiedName
    // may be the same text as localName.
    LightElement(LightElement* parent, const XMLCh* uri, const XMLCh* localName,
                 const XMLCh* qualifiedName)
        : LightNode(parent), uri_(uri), localName_(localName), qualifiedName_(qualifiedName) {}

    void SetAttributes(LightAttr* const* items, std::size_t count) {
        attributes_.Set(items, count);
    }
    void SetDeclarations(const NamespaceDeclaration* declarations, std::size_t count) {
        declarations_ = declarations;
        declarationCount_ = count;
    }
    // Adds child, a node whose parent is this element, after the last child.
    void Append(LightLinks& child);
    // Takes the last child out again (the element just converted).
    void RemoveLastChild();

    NodeType getNodeType() const override { return ELEMENT_NODE; }
    const XMLCh* getNodeName() const override { return qualifiedName_; }
    const XMLCh* getNodeValue() const override { return nullptr; }
    const XMLCh* getNamespaceURI() const override { return uri_; }
    const XMLCh* getLocalName() const override { return localName_; }
    xercesc::DOMNode* getFirstChild() const override { return first_ ? first_->self : nullptr; }
    xercesc::DOMNode* getLastChild() const override { return last_ ? last_->self : nullptr; }
    xercesc::DOMNamedNodeMap* getAttributes() const override;
    bool hasAttributes() const override { return attributes_.getLength() > 0; }
    const XMLCh* lookupNamespaceURI(const XMLCh* prefix) const override;
    // The text of an element of simple content: its one text child, the
    // empty text when it has no child; null when it holds elements.
    const XMLCh* SimpleText() const;
    // SimpleText, the one case the readers of this tree ask for; an element
    // of other content is not supported.
    const XMLCh* getTextContent() const override;

    const XMLCh* getTagName() const override { return qualifiedName_; }
    const XMLCh* getAttribute(const XMLCh* qualifiedName) const override;
    xercesc::DOMAttr* getAttributeNode(const XMLCh* qualifiedName) const override;
    const XMLCh* getAttributeNS(const XMLCh* uri, const XMLCh* localName) const override;
    xercesc::DOMAttr* getAttributeNodeNS(const XMLCh* uri, const XMLCh* localName) const override;
    bool hasAttribute(const XMLCh* qualifiedName) const override;
    bool hasAttributeNS(const XMLCh* uri, const XMLCh* localName) const override;
    xercesc::DOMElement* getFirstElementChild() const override;
    xercesc::DOMElement* getLastElementChild() const override;
    xercesc::DOMElement* getPreviousElementSibling() const override;
    xercesc::DOMElement* getNextElementSibling() const override;
    XMLSize_t getChildElementCount() const override;

    xercesc::DOMNodeList* getElementsByTagName(const XMLCh*) const override;
    void setAttribute(const XMLCh*, const XMLCh*) override;
    xercesc::DOMAttr* setAttributeNode(xercesc::DOMAttr*) override;
    xercesc::DOMAttr* removeAttributeNode(xercesc::DOMAttr*) override;
    void removeAttribute(const XMLCh*) override;
    void setAttributeNS(const XMLCh*, const XMLCh*, const XMLCh*) override;
    void removeAttributeNS(const XMLCh*, const XMLCh*) override;
    xercesc::DOMAttr* setAttributeNodeNS(xercesc::DOMAttr*) override;
    xercesc::DOMNodeList* getElementsByTagNameNS(const XMLCh*, const XMLCh*) const override;
    void setIdAttribute(const XMLCh*, bool) override;
    void setIdAttributeNS(const XMLCh*, const XMLCh*, bool) override;
    void setIdAttributeNode(const xercesc::DOMAttr*, bool) override;
    const xercesc::DOMTypeInfo* getSchemaTypeInfo() const override;

private:
    const XMLCh* uri_;  // null for none
    const XMLCh* localName_;
    const XMLCh* qualifiedName_;
    mutable LightAttributes attributes_;
    const NamespaceDeclaration* declarations_ = nullptr;
    std::size_t declarationCount_ = 0;
    LightLinks* first_ = nullptr;
    LightLinks* last_ = nullptr;
};

}  // namespace fwcommon::document
