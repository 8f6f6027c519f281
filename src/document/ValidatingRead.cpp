#include "document/ValidatingRead.h"

#include "document/BytePreChecks.h"
#include "document/SchemaGrammarCache.h"
#include "document/XmlPlatform.h"

namespace fwcommon::document {

xercesc::XMLGrammarPool& PrepareValidatingRead(const std::vector<unsigned char>& bytes,
                                               const std::wstring& schemaPath) {
    RefuseUnparsableBytes(bytes, kPolicyDocumentId);
    EnsureXmlPlatform();
    return GrammarPoolFor(schemaPath);
}

}  // namespace fwcommon::document
