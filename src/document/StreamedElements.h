#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include <xercesc/dom/DOMLSParserFilter.hpp>
#include <xsd/cxx/xml/qualified-name.hxx>

#include <fwcommon/rules.hxx>

namespace fwcommon::document {

// A parser filter that takes every rule and every named object out of the
// DOM as soon as the parser has finished (and validated) it, turning it
// into its typed element at once. The DOM so holds the document's frame
// and at most one rule or object at a time, and the parser reuses the
// freed nodes for the next one: loading a large policy never holds a DOM
// of the whole document beside its typed elements.
//
// Only the children of the Rules and NamedObjects elements of a Policy root
// in the rules namespace are taken. Once the parse has failed (failed()
// returns true), elements are dropped without conversion: the document is
// discarded anyway. A conversion failure is kept and rethrown by MoveInto,
// and so is a date or time value that the typed document cannot hold as
// written (KeptValueCheck.h).
//
// One parse per filter, on the parsing thread.
class StreamedElements : public xercesc::DOMLSParserFilter {
public:
    explicit StreamedElements(std::function<bool()> failed);

    FilterAction acceptNode(xercesc::DOMNode* node) override;
    FilterAction startElement(xercesc::DOMElement* element) override;
    xercesc::DOMNodeFilter::ShowType getWhatToShow() const override;

    // Rethrows the first conversion failure, if any.
    void ThrowIfFailed() const;
    // Appends the taken elements, in document order, to the document built
    // from the rest of the DOM.
    void MoveInto(Sarvo::PolicyType& policy);

private:
    enum class Parent { kNone, kRules, kNamedObjects };
    // What an open element is to the elements it holds.
    enum class Role { kOther, kPolicyRoot, kRules, kNamedObjects };
    struct OpenElement {
        const xercesc::DOMElement* element;
        Role role;
    };

    Role RoleOf(const xercesc::DOMElement& element) const;
    // The parent of an element the parser has just finished, from the
    // elements open around it (asking the DOM for the parent costs a
    // dynamic_cast per call inside Xerces).
    Parent ParentOfFinished(const xercesc::DOMElement& element);
    Parent ParentOf(const xercesc::DOMElement& element) const;
    // True when the element was converted and kept.
    bool Take(const xercesc::DOMElement& element, Parent parent);
    bool TakeNamedObject(const xercesc::DOMElement& element,
                         const xsd::cxx::xml::qualified_name<wchar_t>& qualified);
    // A value the typed document would not keep as written fails the load
    // as xml_schema::parsing with the message.
    void RecordUnkeptValue(const std::wstring& message);

    std::function<bool()> failed_;
    std::exception_ptr failure_;
    std::vector<OpenElement> open_;
    std::vector<std::unique_ptr<Sarvo::Rule>> rules_;
    std::vector<std::unique_ptr<Sarvo::ScheduleObject>> schedules_;
    std::vector<std::unique_ptr<Sarvo::ServiceObject>> services_;
    std::vector<std::unique_ptr<Sarvo::VpnObject>> vpnObjects_;
    std::vector<std::unique_ptr<Sarvo::InterfaceObject>> interfaces_;
    std::vector<std::unique_ptr<Sarvo::IpObject>> ipObjects_;
};

}  // namespace fwcommon::document
