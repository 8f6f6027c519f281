#pragma once

#include <string>

#include <xercesc/framework/XMLGrammarPool.hpp>

namespace fwcommon::document {

// The schema location that a parse with this schema path announces:
// "rules.xsd" for the built-in schema, otherwise "file:///" followed by the
// path with every space written as "%20".
std::wstring SchemaLocationFor(const std::wstring& schemaPath);

// Returns the locked grammar pool holding the rules grammar read from the
// built-in schema (empty path) or from the file at schemaPath. The grammar
// is read on the first request for a path and kept for the life of the
// process. Xerces builds parts of a grammar on first use without a lock; they
// are all built before the pool is returned, so the locked pool may be
// shared by parsers on several threads.
// Throws xml_schema::parsing when the schema cannot be read.
xercesc::XMLGrammarPool& GrammarPoolFor(const std::wstring& schemaPath);

}  // namespace fwcommon::document
