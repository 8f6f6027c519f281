#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <xercesc/sax2/DefaultHandler.hpp>

#include "document/MarkupLimits.h"
#include "scanners/ByteVectorSAXParser.h"

namespace fwcommon {

// Content, error and entity handler of one ByteVectorSAXParser
// scan: matches the path, gathers the text of each full match, refuses a
// document type declaration and every external entity. A fatal error is
// logged and thrown on, so that the scan ends as a parse failure.
class ByteVectorSAXParser::SAXHandler : public xercesc::DefaultHandler {
public:
    SAXHandler(const std::vector<Step>& path, Mode mode);

    // Reports a document type declaration as a fatal error (logged and
    // thrown as xercesc::SAXParseException).
    void RefuseDoctype(const XMLCh* publicId, const XMLCh* systemId);
    // The same for any other refusal: elements nested deeper than
    // document::kMaxElementDepth, an element with more attributes than
    // document::kMaxAttributes.
    void Refuse(const char* message, const XMLCh* publicId = nullptr,
                const XMLCh* systemId = nullptr);

    // True once the first match has been taken in the first-match mode.
    bool Finished() const { return finished_; }
    std::vector<std::string> TakeResults() { return std::move(results_); }

    void setDocumentLocator(const xercesc::Locator* locator) override;
    void startElement(const XMLCh* uri, const XMLCh* localname, const XMLCh* qname,
                      const xercesc::Attributes& attributes) override;
    void endElement(const XMLCh* uri, const XMLCh* localname, const XMLCh* qname) override;
    void characters(const XMLCh* chars, XMLSize_t length) override;
    void fatalError(const xercesc::SAXParseException& error) override;
    xercesc::InputSource* resolveEntity(const XMLCh* publicId, const XMLCh* systemId) override;

private:
    using XmlString = std::basic_string<XMLCh>;
    struct XmlStep {
        XmlString name;
        XmlString attributeValue;
    };

    bool Matches(const XmlStep& step, const XMLCh* localname,
                 const xercesc::Attributes& attributes) const;
    bool AllMatched() const { return next_ == steps_.size(); }
    void FinishMatch();

    std::vector<XmlStep> steps_;
    Mode mode_;
    std::size_t next_ = 0;                    // index of the next step to match
    std::vector<std::size_t> matchedDepths_;  // element depth of each matched step
    std::size_t depth_ = 0;
    XmlString text_;
    bool finished_ = false;
    const xercesc::Locator* locator_ = nullptr;
    std::vector<std::string> results_;
};

}  // namespace fwcommon
