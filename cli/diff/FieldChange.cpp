#include "FieldChange.h"

namespace fwpolicy {

const char* const kNoValue = "(none)";

namespace {
const char* const kArrow = " \u2192 ";
const char* const kMoved = "moved";
}  // namespace

std::string FieldChangeText(const FieldChange& change) {
    const std::string head = change.field == kMoved ? change.field + " " : change.field + ": ";
    if (change.quoted)
        return head + '"' + change.before + '"' + kArrow + '"' + change.after + '"';
    return head + change.before + kArrow + change.after;
}

std::string YesNo(bool value) {
    return value ? "yes" : "no";
}

}  // namespace fwpolicy
