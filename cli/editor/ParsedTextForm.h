#pragma once

#include "TextFormError.h"
#include "editor/PolicyEdit.h"

namespace fwpolicy {

// The result of parse(), a reading of one of the tool's text forms; a text
// form it refuses (textforms::TextFormError) becomes an EditError with the
// same message, so that the edit verbs report it as any other edit error.
template <typename Parse>
auto Parsed(Parse parse) {
    try {
        return parse();
    } catch (const textforms::TextFormError& e) {
        throw EditError(e.what());
    }
}

}  // namespace fwpolicy
