#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace fwpolicy {

// A line that cannot be split into words; the message names the fault.
class ScriptSyntaxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Splits one script line into words as a shell does: blanks separate
// words; '...' keeps everything literally; "..." keeps everything but
// \" and \\, which stand for " and \; outside quotes \ takes the next
// character literally; a # at the start of a word begins a comment that
// runs to the end of the line. Quotes may stand inside a word
// (@"Office LAN"). Throws ScriptSyntaxError for an unterminated quote or a
// \ at the end of the line.
std::vector<std::string> SplitScriptLine(const std::string& line);

}  // namespace fwpolicy
