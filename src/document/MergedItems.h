#pragma once

// The part of a merged policy document that a validating read has to see
// when the documents it was merged from are known to be valid.
//
// A merge writes the items of its sources' lists again, nearly all of them
// as they were but for the identifiers and order ids it gives the rules.
// An item that reads as an item of a valid source does, under a list whose
// start tag reads the same, below the same prologue and root start tag (but
// for the schema location), is as valid as it was there; so is a rule that
// differs from one only in the whole numbers of its RuleId and OrderId,
// when the schema types them xs:long. The sources are kept as digests of
// their items, not as bytes: a merge holds its sources' documents already,
// and their bytes would add as much again.

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "document/AttributeDefaults.h"
#include "document/KeyedDigest.h"
#include "document/SameMarkup.h"

namespace fwcommon::document {

// The children of a rule whose numbers a merge gives anew, for the schema
// read from schemaPath: RuleId and OrderId, xs:long in the built-in schema
// (empty path); nothing for another schema, which may type them otherwise.
// Any thread may call it.
const NumberTexts* RuleNumbersOf(const std::wstring& schemaPath);

// What the check of a merged document keeps of one valid source.
struct SourceDigests {
    struct List {
        std::string tag;  // the list's start tag
        std::unordered_set<Digest128, Digest128Hash> items;
    };
    std::string prologue;  // the bytes before the root element
    std::string rootTag;
    std::vector<List> lists;
};

// The digests of the items of `valid`, bytes that the validating read
// accepted (otherwise a fault in an item left out goes unnoticed), or
// nothing when its layout cannot be read. `defaults` are the schema's
// attribute defaults; with `ruleNumbers`, the digest of a rule leaves out
// the numbers of those children. Any thread may call it.
std::optional<SourceDigests> DigestSource(const std::vector<unsigned char>& valid,
                                          const std::vector<AttributeDefault>& defaults,
                                          const NumberTexts* ruleNumbers);

// The merged bytes with the items that one of the sources holds left out
// (but one of each run of items of one kind within a list), or
// nothing when no item can be left out; the caller then reads all of the
// merged bytes. `defaults` and `ruleNumbers` as the sources were digested
// with. Any thread may call it.
std::optional<std::vector<unsigned char>> MergedPartOf(
    const std::vector<const SourceDigests*>& sources, const std::vector<unsigned char>& merged,
    const std::vector<AttributeDefault>& defaults, const NumberTexts* ruleNumbers);

}  // namespace fwcommon::document
