#include "document/ParserConfiguration.h"

#include <xercesc/dom/DOMConfiguration.hpp>
#include <xercesc/util/XMLUni.hpp>

namespace fwcommon::document {

using xercesc::XMLUni;

void ConfigureHardenedParser(xercesc::DOMLSParser& parser,
                             xercesc::DOMLSResourceResolver& resolver) {
    xercesc::DOMConfiguration* conf = parser.getDomConfig();

    conf->setParameter(XMLUni::fgDOMComments, false);
    conf->setParameter(XMLUni::fgDOMDatatypeNormalization, true);
    conf->setParameter(XMLUni::fgDOMElementContentWhitespace, false);
    conf->setParameter(XMLUni::fgDOMNamespaces, true);
    conf->setParameter(XMLUni::fgDOMValidate, true);
    conf->setParameter(XMLUni::fgXercesSchema, true);
    conf->setParameter(XMLUni::fgXercesSchemaFullChecking, false);

    // Hostile input: a DOCTYPE is refused outright. Turning off external
    // DTD loading alone is not enough, since validation re-enables it.
    conf->setParameter(XMLUni::fgDOMDisallowDoctype, true);
    conf->setParameter(XMLUni::fgDOMEntities, false);
    conf->setParameter(XMLUni::fgXercesLoadExternalDTD, false);
    conf->setParameter(XMLUni::fgXercesDisableDefaultEntityResolution, true);
    conf->setParameter(XMLUni::fgDOMResourceResolver, &resolver);

    // Only the cached rules grammar validates; xsi:schemaLocation in a
    // document never loads anything.
    conf->setParameter(XMLUni::fgXercesUseCachedGrammarInParse, true);
    conf->setParameter(XMLUni::fgXercesCacheGrammarFromParse, false);
    conf->setParameter(XMLUni::fgXercesLoadSchema, false);
    conf->setParameter(XMLUni::fgXercesHandleMultipleImports, false);

    conf->setParameter(XMLUni::fgXercesUserAdoptsDOMDocument, true);
}

}  // namespace fwcommon::document
