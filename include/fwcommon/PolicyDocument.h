#pragma once

#include <memory>
#include <string>
#include <vector>

#include <fwcommon/DocumentNamespace.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// Parses UTF-8 policy bytes into the typed document, validating them
// against the rules schema.
//
// schemaPath empty: the copy of rules.xsd compiled into the library is
// used, so the result never depends on the current directory. Otherwise
// the schema is read once from "file:///" + schemaPath (spaces as "%20")
// and cached for later calls with the same path.
//
// Only UTF-8 XML 1.0 is read: a document declaring another encoding or
// version, or starting with another encoding's byte-order mark, is refused
// before any parser sees it.
//
// Whatever the document says, nothing else is ever loaded: a DOCTYPE is
// refused, and no external entity, DTD or other schema is opened.
//
// Throws xml_schema::parsing ("instance document parsing failed", with
// line and column per diagnostic) for bytes that are not well-formed or
// not valid, and the binding's other exceptions (xml_schema::exception)
// for content the binding rejects. The caller owns the result.
// Any thread may call it.
FWCOMMON_EXPORT std::unique_ptr<Sarvo::PolicyType> ParsePolicyDocument(
    const std::vector<unsigned char>& bytes, const std::wstring& schemaPath = std::wstring());

// Checks that UTF-8 policy bytes are a document ParsePolicyDocument
// accepts, without building the document: the same refusals before any
// parser sees the bytes, the same validating parse against the rules schema
// (as a stream of events, no DOM) and the same check of date and time
// values the typed document could not keep as written. Returns when they
// pass; throws xml_schema::parsing with the diagnostics ParsePolicyDocument
// would give otherwise. schemaPath as for ParsePolicyDocument. Any thread
// may call it.
FWCOMMON_EXPORT void ValidatePolicyDocument(const std::vector<unsigned char>& bytes,
                                            const std::wstring& schemaPath = std::wstring());

// ValidatePolicyDocument for bytes edited from a document it accepted
// (`valid`, which the caller vouches for): the same verdict and the same
// diagnostics, at the cost of reading only what the edit changed. The
// items of the document's lists (named objects, rules, options) that read
// as they did in `valid`, under the same list, are not read again, also when
// `valid` lays them out otherwise (attribute order, quotes, white space
// between tags, <A/> for <A></A>); everything else is. Throws as ValidatePolicyDocument does. Any
// thread may call it.
FWCOMMON_EXPORT void ValidateEditedPolicyDocument(const std::vector<unsigned char>& valid,
                                                  const std::vector<unsigned char>& edited,
                                                  const std::wstring& schemaPath = std::wstring());

// What the check of a merged document keeps of one document it was merged
// from, in place of its bytes: the frame around the document's lists and a
// keyed 128-bit digest of each item in them (two documents' different items
// share a digest with a chance of about 2^-128). Made from bytes that
// ValidatePolicyDocument accepted with the same schemaPath, which the
// caller vouches for: a fault in an item it holds would go unnoticed in
// the merged document. A value; copies share the digests. Any thread may
// make one, and use it once made.
class FWCOMMON_EXPORT PolicyDocumentDigest {
public:
    explicit PolicyDocumentDigest(const std::vector<unsigned char>& valid,
                                  const std::wstring& schemaPath = std::wstring());

    struct Parts;

private:
    friend void ValidateMergedPolicyDocument(const std::vector<PolicyDocumentDigest>&,
                                             const std::vector<unsigned char>&,
                                             const std::wstring&);
    std::shared_ptr<const Parts> parts_;
};

// ValidatePolicyDocument for bytes merged from documents it accepted, given
// by their digests: the same verdict and the same diagnostics, at the cost
// of reading only what the merge changed. An item of the merged lists is
// not read again when a source holds one that reads the same (in any
// layout, as for ValidateEditedPolicyDocument) under a list whose start tag
// reads the same, below the same prologue and root start tag but for the
// schema location; with the built-in schema, a rule also when it differs
// from one only in the whole numbers of its RuleId and OrderId (xs:long).
// One item of each run of items of one kind is read, and everything
// else. Digests made with another schemaPath are not used. Throws as
// ValidatePolicyDocument does. Any thread may call it.
FWCOMMON_EXPORT void ValidateMergedPolicyDocument(const std::vector<PolicyDocumentDigest>& sources,
                                                  const std::vector<unsigned char>& merged,
                                                  const std::wstring& schemaPath = std::wstring());

// Writes a typed document as indented UTF-8 with an XML declaration, the
// document namespace under prefix "sv" and xsi:schemaLocation naming
// "rules.xsd". Throws xml_schema::serialization when writing fails.
// Any thread may call it.
FWCOMMON_EXPORT std::vector<unsigned char> WritePolicyDocument(const Sarvo::PolicyType& policy);

}  // namespace fwcommon
