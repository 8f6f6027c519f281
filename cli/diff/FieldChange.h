#pragma once

#include <string>
#include <vector>

namespace fwpolicy {

// One field of a rule, named object or option that differs between two
// documents, in the words the tool prints and the editor reads: field
// "action", before "pass", after "drop". A move has field "moved" and the
// two 0-based positions in the section. Plain values.
struct FieldChange {
    std::string field;
    std::string before;
    std::string after;
    bool quoted = false;  // free text (a name, a value): printed in double quotes
};

using FieldChanges = std::vector<FieldChange>;

// "field: before → after", or "moved 5 → 505" for a move; free text as
// "name: \"Web\" → \"WWW\"".
std::string FieldChangeText(const FieldChange& change);

// The word for a missing value ("(none)") and for a flag.
extern const char* const kNoValue;
std::string YesNo(bool value);

}  // namespace fwpolicy
