#pragma once

// The part of an edited policy document that a validating read has to see
// when the document it was edited from is known to be valid.
//
// The lists of a policy document (NamedObjects, Rules, Options) hold items
// that are each optional and repeat without bound, so a list's items are
// valid in any number as long as the order of their kinds holds. An item
// that the valid document holds, byte for byte or in another layout
// (SameMarkup), under a list whose start tag reads the same, below a root
// start tag that reads the same, has the same encoding and the same
// namespaces there, and is as valid as it was.
// What is left to prove is everything else: the document around the
// lists, the items that are new or changed, and one item of each run of
// items of one kind that holds none of those, which keeps the order of the
// kinds in view.

#include <optional>
#include <vector>

#include "document/AttributeDefaults.h"

namespace fwcommon::document {

// The edited bytes with the items the valid document holds left out, or
// nothing when the bytes do not allow it: the encoding or the XML version
// differ, the root start tags differ in more than their schema location, either document holds a
// DOCTYPE or is not well-formed as far as its tags go, or no item of the valid document is left in
// the edited one. The caller then reads all of the edited bytes. Comments, processing instructions
// and CDATA sections are passed over: one in an item makes it differ from an item without it.
// `defaults` are the schema's attribute defaults: an item may write an attribute that the valid one
// leaves out, or the other way round, when its value is the default of the element's type. `valid`
// must be bytes the validating read accepted: otherwise a fault in a left-out item goes unnoticed.
// Any thread may call it.
std::optional<std::vector<unsigned char>> ChangedPartOf(
    const std::vector<unsigned char>& valid, const std::vector<unsigned char>& edited,
    const std::vector<AttributeDefault>& defaults = {});

}  // namespace fwcommon::document
