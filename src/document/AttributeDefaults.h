#pragma once

// The values that attributes of the rules schema's types take when an
// element leaves them out: a validating read of
// <Rule xsi:type="sv:TransitRule"> sees IsActive="true".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/SameMarkup.h"

namespace fwcommon::document {

inline constexpr std::string_view kSchemaInstanceNamespace =
    "http://www.w3.org/2001/XMLSchema-instance";

// An unqualified attribute of a type in the document namespace that has a
// default or a fixed value.
struct AttributeDefault {
    std::string type;       // the type's local name, "TransitRule"
    std::string attribute;  // "IsActive"
    std::string value;      // "true", UTF-8
};

// Every such attribute of the grammar read from schemaPath (the built-in
// schema when empty), also the ones a type has from its base types. Read on
// the first request for a path and kept for the life of the process; any
// thread may call it. Throws xml_schema::parsing when the schema cannot be
// read.
const std::vector<AttributeDefault>& AttributeDefaultsOf(const std::wstring& schemaPath);

// The attributes that elements below a root start tag may leave out, in the
// prefixes the tag binds to the schema instance and the document
// namespaces; nothing when it binds either to none. Any thread may call it.
std::optional<OmittableAttributes> OmittableBelow(std::string_view rootTag,
                                                  const std::vector<AttributeDefault>& defaults);

}  // namespace fwcommon::document
