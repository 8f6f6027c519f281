#include "document/TextPosition.h"

#include <algorithm>

namespace fwcommon::document {

TextPosition PositionOf(const std::vector<unsigned char>& bytes, std::size_t at, Columns columns) {
    const unsigned char* begin = bytes.data();
    const unsigned char* stop = begin + at;
    const auto lines = static_cast<unsigned long>(std::count(begin, stop, '\n'));
    const unsigned char* lineStart = stop;
    while (lineStart != begin && lineStart[-1] != '\n')
        --lineStart;
    const auto startsCharacter = [](unsigned char b) { return (b & 0xC0) != 0x80; };
    const auto column = static_cast<unsigned long>(
        columns == Columns::kBytes ? stop - lineStart
                                   : std::count_if(lineStart, stop, startsCharacter));
    return TextPosition{lines + 1, column + 1};
}

}  // namespace fwcommon::document
