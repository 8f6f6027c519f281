#include "scanners/SAXHandler.h"

#include <utility>

#include <boost/locale/encoding_utf.hpp>
#include <xercesc/sax/Locator.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/sax2/Attributes.hpp>
#include <xercesc/util/XMLString.hpp>

#include <fwcommon/LogFacility.h>

namespace fwcommon {
namespace {

using boost::locale::conv::utf_to_utf;

bool IsXmlSpace(XMLCh c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

std::basic_string<XMLCh> Trimmed(const std::basic_string<XMLCh>& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsXmlSpace(text[begin])) {
        ++begin;
    }
    while (end > begin && IsXmlSpace(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::basic_string<XMLCh> ToXml(const std::string& utf8) {
    return utf_to_utf<XMLCh>(utf8);
}

}  // namespace

ByteVectorSAXParser::SAXHandler::SAXHandler(const std::vector<Step>& path, Mode mode)
    : mode_(mode) {
    for (const Step& step : path) {
        steps_.push_back({ToXml(step.name), ToXml(step.attributeValue)});
    }
}

void ByteVectorSAXParser::SAXHandler::setDocumentLocator(const xercesc::Locator* locator) {
    locator_ = locator;
}

bool ByteVectorSAXParser::SAXHandler::Matches(const XmlStep& step, const XMLCh* localname,
                                              const xercesc::Attributes& attributes) const {
    if (!step.name.empty() && step.name != localname) {
        return false;
    }
    if (step.attributeValue.empty()) {
        return true;
    }
    for (XMLSize_t i = 0; i < attributes.getLength(); ++i) {
        if (step.attributeValue == attributes.getValue(i)) {
            return true;
        }
    }
    return false;
}

void ByteVectorSAXParser::SAXHandler::startElement(const XMLCh*, const XMLCh* localname,
                                                   const XMLCh*,
                                                   const xercesc::Attributes& attributes) {
    ++depth_;
    // Past these bounds the parser's own work grows with the square of the
    // input; see document/MarkupLimits.h.
    if (depth_ > document::kMaxElementDepth) {
        Refuse("elements are nested deeper than 256 levels");
    }
    if (attributes.getLength() > document::kMaxAttributes) {
        Refuse("an element carries more than 1024 attributes");
    }
    if (finished_ || AllMatched() || !Matches(steps_[next_], localname, attributes)) {
        return;
    }
    matchedDepths_.push_back(depth_);
    ++next_;
    text_.clear();
}

void ByteVectorSAXParser::SAXHandler::endElement(const XMLCh*, const XMLCh*, const XMLCh*) {
    if (!matchedDepths_.empty() && matchedDepths_.back() == depth_) {
        if (AllMatched()) {
            FinishMatch();
        }
        matchedDepths_.pop_back();
        --next_;
    }
    --depth_;
}

void ByteVectorSAXParser::SAXHandler::characters(const XMLCh* chars, XMLSize_t length) {
    if (!finished_ && AllMatched()) {
        text_.append(chars, length);
        if (text_.size() > document::kMaxTextLength) {
            Refuse("a text is longer than 1048576 characters");
        }
    }
}

void ByteVectorSAXParser::SAXHandler::FinishMatch() {
    const std::basic_string<XMLCh> text = Trimmed(text_);
    text_.clear();
    if (!text.empty()) {
        results_.push_back(utf_to_utf<char>(text));
    }
    if (mode_ == kStopAtFirstMatch) {
        finished_ = true;
    }
}

void ByteVectorSAXParser::SAXHandler::fatalError(const xercesc::SAXParseException& error) {
    GetLibLogFacility().Log(L"Fatal Error: " + utf_to_utf<wchar_t>(error.getMessage()) +
                                L" at line: " + std::to_wstring(error.getLineNumber()) + L"\n",
                            kLogRoutine);
    throw error;
}

void ByteVectorSAXParser::SAXHandler::RefuseDoctype(const XMLCh* publicId, const XMLCh* systemId) {
    Refuse("a DOCTYPE is not allowed in a policy document", publicId, systemId);
}

void ByteVectorSAXParser::SAXHandler::Refuse(const char* text, const XMLCh* publicId,
                                             const XMLCh* systemId) {
    const XmlString message = ToXml(text);
    const XMLFileLoc line = locator_ != nullptr ? locator_->getLineNumber() : 0;
    const XMLFileLoc column = locator_ != nullptr ? locator_->getColumnNumber() : 0;
    fatalError(xercesc::SAXParseException(message.c_str(), publicId, systemId, line, column));
}

xercesc::InputSource* ByteVectorSAXParser::SAXHandler::resolveEntity(const XMLCh*, const XMLCh*) {
    return nullptr;
}

}  // namespace fwcommon
