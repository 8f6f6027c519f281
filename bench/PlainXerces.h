#pragma once

#include <memory>
#include <vector>

#include <xercesc/dom/DOMDocument.hpp>
#include <xercesc/framework/XMLGrammarPool.hpp>

namespace fwbench {

// Plain Xerces-C, the yardstick of the document store: a validating DOM
// parse with the rules grammar read once and cached, configured as the
// library configures its own parser, and a pretty-printing UTF-8 DOM
// serialisation as the document binding performs it. No typed document is
// built. One thread at a time.
class PlainXerces {
public:
    PlainXerces();
    ~PlainXerces();
    PlainXerces(const PlainXerces&) = delete;
    PlainXerces& operator=(const PlainXerces&) = delete;

    // Parses and validates; throws std::runtime_error on the first error.
    // The caller owns the result (release() it).
    xercesc::DOMDocument* Parse(const std::vector<unsigned char>& bytes);

    // Writes the document as indented UTF-8 into out (replacing it).
    void Serialize(const xercesc::DOMDocument& document, std::vector<unsigned char>& out);

private:
    std::unique_ptr<xercesc::XMLGrammarPool> pool_;
};

// A DOM document that releases itself.
struct DomDocumentDeleter {
    void operator()(xercesc::DOMDocument* d) const { d->release(); }
};
using DomDocumentPtr = std::unique_ptr<xercesc::DOMDocument, DomDocumentDeleter>;

}  // namespace fwbench
