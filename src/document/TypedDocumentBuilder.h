#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <xercesc/sax2/DefaultHandler.hpp>
#include <xsd/cxx/xml/qualified-name.hxx>

#include <fwcommon/rules.hxx>
#include "document/LightDom.h"
#include "document/NodeArena.h"

namespace fwcommon::document {

// Builds the typed document from the events of a validating SAX read. The
// elements go into a light DOM (LightDom.h) that the generated classes read;
// every rule and every named object is converted into its typed element as
// soon as the reader has finished (and validated) it, and its nodes are
// handed back to the arena for the next one. The light DOM so holds the
// document's frame and at most one rule or object at a time.
//
// Only the children of the Rules and NamedObjects elements of a Policy root
// in the rules namespace are taken. Once the read has failed (failed()
// returns true), elements are dropped without conversion: the document is
// discarded anyway. A conversion failure is kept and rethrown by
// TakeDocument, and so is a date or time value that the typed document
// cannot hold as written (KeptValueCheck.h).
//
// One read per builder, on the reading thread.
class TypedDocumentBuilder : public xercesc::DefaultHandler {
public:
    explicit TypedDocumentBuilder(std::function<bool()> failed);

    void startPrefixMapping(const XMLCh* const prefix, const XMLCh* const uri) override;
    void startElement(const XMLCh* const uri, const XMLCh* const localName,
                      const XMLCh* const qualifiedName,
                      const xercesc::Attributes& attributes) override;
    void characters(const XMLCh* const chars, const XMLSize_t length) override;
    void endElement(const XMLCh* const uri, const XMLCh* const localName,
                    const XMLCh* const qualifiedName) override;

    // Rethrows the first conversion failure, if any.
    void ThrowIfFailed() const;
    // The typed document: the frame converted, the taken elements appended
    // in document order. Call once, after a read without errors.
    std::unique_ptr<Sarvo::PolicyType> TakeDocument();

private:
    // What an open element is to the elements it holds.
    enum class Role { kOther, kPolicyRoot, kRules, kNamedObjects };
    struct OpenElement {
        LightElement* element;
        Role role;
        NodeArena::Mark start;  // the arena before the element was made
    };

    // A name as the light DOM keeps it: local and qualified in the arena,
    // the same text when they are equal.
    struct Names {
        const XMLCh* local;
        const XMLCh* qualified;
    };

    Role RoleOf(const LightElement& element) const;
    Names CopyNames(const XMLCh* localName, const XMLCh* qualifiedName);
    LightElement* MakeElement(const XMLCh* uri, const XMLCh* localName, const XMLCh* qualifiedName,
                              const xercesc::Attributes& attributes);
    void AttachAttributes(LightElement& element, const xercesc::Attributes& attributes);
    // The declarations reported for the element, now that it is made.
    void AttachPendingDeclarations(LightElement& element);
    // Ends the text collected for the open element as a text child of it.
    void EndText();
    // A child of Rules or NamedObjects is finished: convert it, or drop it
    // once the read has failed.
    void Finished(const OpenElement& finished, Role parent);
    // True when the element was converted and kept.
    bool Take(const xercesc::DOMElement& element, Role parent);
    bool TakeNamedObject(const xercesc::DOMElement& element,
                         const xsd::cxx::xml::qualified_name<wchar_t>& qualified);
    // A value the typed document would not keep as written fails the load
    // as xml_schema::parsing with the message.
    void RecordUnkeptValue(const std::wstring& message);

    std::function<bool()> failed_;
    std::exception_ptr failure_;
    NodeArena arena_;
    LightElement* root_ = nullptr;
    std::vector<OpenElement> open_;
    // Declarations reported for the element about to start.
    std::vector<std::pair<std::u16string, std::u16string>> pendingDeclarations_;
    std::u16string text_;  // of the open element
    std::vector<std::unique_ptr<Sarvo::Rule>> rules_;
    std::vector<std::unique_ptr<Sarvo::ScheduleObject>> schedules_;
    std::vector<std::unique_ptr<Sarvo::ServiceObject>> services_;
    std::vector<std::unique_ptr<Sarvo::VpnObject>> vpnObjects_;
    std::vector<std::unique_ptr<Sarvo::InterfaceObject>> interfaces_;
    std::vector<std::unique_ptr<Sarvo::IpObject>> ipObjects_;
};

}  // namespace fwcommon::document
