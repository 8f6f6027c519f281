#pragma once

#include <optional>
#include <string>
#include <vector>

namespace fwpolicy::textforms {

// Small helpers shared by the parsers; all are pure functions of their
// arguments.

// The decimal number written by text (digits only, no sign, no blanks),
// when it is at most max; nothing otherwise.
std::optional<unsigned long> DecimalNumber(const std::string& text, unsigned long max);

// text split at every separator; "a,,b" gives three parts, one empty.
std::vector<std::string> SplitAll(const std::string& text, char separator);

// text lower-cased (ASCII letters only).
std::string AsciiLower(std::string text);

// True for "*" and "any" (in any case): what an administrator writes for a
// condition that matches everything, which a rule expresses by listing no
// entry.
bool MeansAnything(const std::string& text);

// The text in single quotes, as the messages quote a refused part.
std::string Quoted(const std::string& text);

}  // namespace fwpolicy::textforms
