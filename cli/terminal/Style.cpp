#include "terminal/Style.h"

#include "terminal/OutputSettings.h"

namespace fwpolicy::terminal {
namespace {

// ECMA-48 select graphic rendition sequences.
constexpr const char* kBold = "\x1b[1m";
constexpr const char* kBoldRed = "\x1b[1;31m";
constexpr const char* kYellow = "\x1b[33m";
constexpr const char* kReset = "\x1b[0m";

const char* Sequence(Style style) {
    switch (style) {
        case Style::kHeading:
            return kBold;
        case Style::kError:
            return kBoldRed;
        case Style::kWarning:
            return kYellow;
    }
    return kBold;
}

}  // namespace

std::string Styled(const std::string& text, Style style) {
    if (!ColorWanted() || text.empty())
        return text;
    return Sequence(style) + text + kReset;
}

}  // namespace fwpolicy::terminal
