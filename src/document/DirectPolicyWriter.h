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

// A rule to be written with an identifier and an order id in place of its
// own. Refers to the rule, which must outlive the write.
struct RuleWithIds {
    const Sarvo::Rule* rule = nullptr;
    long long ruleId = 0;
    long long orderId = 0;
};

// WritePolicyDirect for a policy whose rules are held apart: `rules`, in
// their order and with their identifiers, are written in place of the
// policy's own. The bytes are those the binding's serializer gives for the
// policy holding copies of those rules with those identifiers.
bool WritePolicyDirect(const Sarvo::PolicyType& policy, const std::vector<RuleWithIds>& rules,
                       std::vector<unsigned char>& out);

}  // namespace fwcommon::document
