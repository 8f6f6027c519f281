#include "support/DictionaryFile.h"

#include <fstream>

#include <boost/lexical_cast.hpp>
#include <boost/locale/encoding_utf.hpp>

#include <fwcommon/DictionaryFormatError.h>
#include <fwcommon/StringUtilities.h>

namespace fwcommon::dictionary {
namespace {

const std::wstring kSeparator = L"  ";

// The field starting at start, up to the next pair of blanks; end is set
// to where the field stops (npos at the end of the line).
std::wstring FieldAt(const std::wstring& line, std::size_t start, std::size_t& end) {
    end = line.find(kSeparator, start);
    return line.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

std::size_t NextNonBlank(const std::wstring& line, std::size_t from) {
    return from == std::wstring::npos ? from : line.find_first_not_of(L' ', from);
}

}  // namespace

std::optional<Fields> SplitLine(const std::wstring& line) {
    const std::size_t start = line.find_first_not_of(L' ');
    if (start == std::wstring::npos || line[start] == L'#') {
        return std::nullopt;
    }
    Fields fields;
    std::size_t end = 0;
    fields.first = FieldAt(line, start, end);
    const std::size_t secondStart = NextNonBlank(line, end);
    if (secondStart == std::wstring::npos) {
        return fields;
    }
    fields.afterFirst = line.substr(secondStart);
    fields.second = FieldAt(line, secondStart, end);
    const std::size_t thirdStart = NextNonBlank(line, end);
    if (thirdStart != std::wstring::npos) {
        fields.third = line.substr(thirdStart);
    }
    return fields;
}

int ToNumber(const std::wstring& text) {
    return boost::lexical_cast<int>(text);
}

void ReadLines(const std::wstring& path, const std::function<void(const std::wstring&)>& onLine) {
    std::string narrowPath;
    StringUtilities::WideStringToMultiByteString(path, narrowPath);
    std::ifstream file(narrowPath, std::ios::binary);
    std::string line;
    unsigned long lineNumber = 0;
    bool first = true;
    while (std::getline(file, line)) {
        ++lineNumber;
        if (first && line.compare(0, 3, "\xEF\xBB\xBF") == 0) {
            line.erase(0, 3);
        }
        first = false;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        try {
            onLine(boost::locale::conv::utf_to_utf<wchar_t>(line));
        } catch (const boost::bad_lexical_cast& cause) {
            throw DictionaryFormatError(cause, narrowPath, lineNumber);
        }
    }
}

}  // namespace fwcommon::dictionary
