#pragma once

#include <memory>
#include <string>
#include <vector>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/IXmlReader.h>
#include <fwcommon/export.h>

namespace fwcommon {

// Makes the document store of one policy document.
//
// bytes: the whole document as UTF-8 XML, or nothing for a new empty
// document (Version "1.0", issued now, rollback period 900).
// creationType: who the document's own rules and objects belong to; it
// selects the range of new identifiers.
// dataname: the name the document goes by in log lines.
// schemaPath: empty for the rules schema built into the library, else the
// schema file to validate against.
//
// Throws xml_schema::exception (for example xml_schema::parsing with the
// positioned diagnostics) when the bytes are not a valid policy document.
// The reader is not synchronised: one thread at a time.
FWCOMMON_EXPORT std::shared_ptr<IXmlReader> GetXmlReader(
    const std::vector<unsigned char>& bytes, const std::wstring& dataname,
    CreationType creationType, const std::wstring& schemaPath = std::wstring());

// As above, for a document whose named objects refer to objects kept in
// another document: the references are resolved against objects before
// the reader is returned. Throws std::runtime_error naming the missing
// object when one cannot be resolved.
FWCOMMON_EXPORT std::shared_ptr<IXmlReader> GetXmlReader(
    const std::vector<unsigned char>& bytes, const std::wstring& dataname,
    CreationType creationType, std::shared_ptr<const NamedObjectList> objects,
    const std::wstring& schemaPath = std::wstring());

}  // namespace fwcommon
