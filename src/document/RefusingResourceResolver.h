#pragma once

#include <xercesc/dom/DOMLSResourceResolver.hpp>

namespace fwcommon::document {

// Answers every request for an external resource (entity, DTD, schema,
// import) with nothing, so that a document can never make the parser open a
// file or a URL.
class RefusingResourceResolver final : public xercesc::DOMLSResourceResolver {
public:
    xercesc::DOMLSInput* resolveResource(const XMLCh*, const XMLCh*, const XMLCh*, const XMLCh*,
                                         const XMLCh*) override {
        return nullptr;
    }
};

}  // namespace fwcommon::document
