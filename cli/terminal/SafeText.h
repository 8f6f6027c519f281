#pragma once

#include <string>

namespace fwpolicy::terminal {

// Text from a policy (names, values, messages that quote them) made safe to
// print on a terminal: C0 and C1 control characters, DEL and the
// bidirectional embedding, override and isolate marks are written as
// visible escapes ("\x1b", "\u202e"), bytes that are no UTF-8 as "\xff";
// everything else is kept. Only the text a verb prints for people goes
// through it; JSON and documents are written as they are. Any thread.
std::string Printable(const std::string& utf8);

// Printable, and a line feed or a tab kept as it is: for whole messages
// whose own line breaks are wanted.
std::string PrintableLines(const std::string& utf8);

}  // namespace fwpolicy::terminal
