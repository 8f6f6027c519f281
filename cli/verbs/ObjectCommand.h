#pragma once

#include <CLI/App.hpp>

namespace fwpolicy {

// `fwpolicy object remove FILE --name N [--type KIND]`: removes a named
// object through the library's Context, which also takes every reference
// to it out of the rules, and replaces the file atomically. Refused while
// another named object includes or excludes it. After a removal, each
// rule that lost a reference is named on stderr ("note: SECTION rule ID
// "NAME" at INDEX no longer refers to KIND object ID "NAME" (WHERE)"):
// such a rule may now match more.
void AddObjectCommand(CLI::App& app, int* status);

}  // namespace fwpolicy
