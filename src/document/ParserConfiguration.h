#pragma once

#include <xercesc/dom/DOMLSParser.hpp>
#include <xercesc/dom/DOMLSResourceResolver.hpp>

namespace fwcommon::document {

// Settings shared by every DOM parser of the library: namespaces and schema
// validation on, no DOCTYPE, no external entity or DTD, no schema loaded on
// a document's request, the given resolver for everything else.
void ConfigureHardenedParser(xercesc::DOMLSParser& parser,
                             xercesc::DOMLSResourceResolver& resolver);

}  // namespace fwcommon::document
