#pragma once

// The part of an edited policy document that a validating read has to see
// when the document it was edited from is known to be valid.
//
// The lists of a policy document (NamedObjects, Rules, Options) hold items
// that are each optional and repeat without bound, so a list's items are
// valid in any number as long as the order of their kinds holds. An item
// that the valid document holds byte for byte, under a list whose start tag
// is byte for byte the same, below the same root start tag, has the same
// declaration and the same namespaces there, and is as valid as it was.
// What is left to prove is everything else: the document around the
// lists, the items that are new or changed, and the first item of each run
// of items of one kind, which keeps the order of the kinds in view.

#include <optional>
#include <vector>

namespace fwcommon::document {

// The edited bytes with the items the valid document holds left out, or
// nothing when the bytes do not allow it: the XML declaration or the root
// start tag differ, or either document holds a comment, a CDATA section, a
// DOCTYPE or a processing instruction after its start, or is not
// well-formed as far as its tags go, or no item of the valid document is
// left in the edited one. The caller then reads all of the edited bytes. `valid` must be bytes the
// validating read accepted: otherwise a fault in a left-out item goes unnoticed. Any thread may
// call it.
std::optional<std::vector<unsigned char>> ChangedPartOf(const std::vector<unsigned char>& valid,
                                                        const std::vector<unsigned char>& edited);

}  // namespace fwcommon::document
