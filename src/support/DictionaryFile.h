#pragma once

// The text format shared by the protocol, port and ICMP dictionaries.
//
// Fields are separated by two consecutive blanks (U+0020 U+0020); a single
// blank belongs to its field. An empty line, a line of blanks only and a
// line whose first non-blank character is "#" are comments.

#include <functional>
#include <optional>
#include <string>

namespace fwcommon::dictionary {

// The fields of one line that is not a comment.
struct Fields {
    std::wstring first;
    std::wstring second;      // empty when the line has one field
    std::wstring third;       // the rest after the second field, may hold pairs of blanks
    std::wstring afterFirst;  // everything from the second field to the end of the line
};

// Splits a line; nothing for a comment or an empty line.
std::optional<Fields> SplitLine(const std::wstring& line);

// A decimal number field. Throws boost::bad_lexical_cast ("bad lexical
// cast: source type value could not be interpreted as target") for text
// that is not one.
int ToNumber(const std::wstring& text);

// Calls onLine for every line of the file, in order. The path is converted
// to a narrow string under the user's default locale; the file is read as
// UTF-8 (a leading byte-order mark and a carriage return before each line
// feed are dropped, so are byte sequences that are not UTF-8). A file that
// cannot be opened gives no lines. Exceptions of onLine propagate; a
// boost::bad_lexical_cast becomes a DictionaryFormatError naming the file
// and the line.
void ReadLines(const std::wstring& path, const std::function<void(const std::wstring&)>& onLine);

}  // namespace fwcommon::dictionary
