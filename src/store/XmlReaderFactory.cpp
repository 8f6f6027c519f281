#include <fwcommon/XmlReaderFactory.h>

#include "store/XmlReader.h"

namespace fwcommon {

IXmlReader::~IXmlReader() = default;

std::shared_ptr<IXmlReader> GetXmlReader(const std::vector<unsigned char>& bytes,
                                         const std::wstring& dataname, CreationType creationType,
                                         const std::wstring& schemaPath) {
    return std::make_shared<XmlReader>(bytes, creationType, dataname, schemaPath, nullptr);
}

std::shared_ptr<IXmlReader> GetXmlReader(const std::vector<unsigned char>& bytes,
                                         const std::wstring& dataname, CreationType creationType,
                                         std::shared_ptr<const NamedObjectList> objects,
                                         const std::wstring& schemaPath) {
    auto reader = std::make_shared<XmlReader>(bytes, creationType, dataname, schemaPath, nullptr);
    reader->ResolveNamedObjects(std::move(objects));
    return reader;
}

}  // namespace fwcommon
