#pragma once

#include <vector>

#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon::document {

// Writes a typed policy document straight to UTF-8 bytes, without building
// a DOM, giving exactly the bytes that the binding's serializer gives with
// the namespace map {"sv": document namespace, "rules.xsd"}, encoding
// "UTF-8" and pretty printing.
//
// Returns false when the document holds something this writer does not
// reproduce byte for byte: a class derived from a document class outside
// the schema's own types, a value held as a type derived from its
// element's type, DOM content kept by an element, a character that XML 1.0
// does not allow (the binding's serializer fails on it), or a process
// locale that groups digits. out is then unspecified and the caller must
// write the document with the binding. Throws xml_schema::serialization
// for a text holding NUL (which the binding would silently cut short),
// otherwise only std::bad_alloc.
// Any thread may call it; the document must not change meanwhile.
bool WritePolicyDirect(const Sarvo::PolicyType& policy, std::vector<unsigned char>& out);

}  // namespace fwcommon::document
