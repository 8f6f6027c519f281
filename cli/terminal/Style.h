#pragma once

#include <string>

namespace fwpolicy::terminal {

// What a piece of output is, for colouring it.
enum class Style { kHeading, kError, kWarning };

// The text with the colour of its style when colour is wanted
// (OutputSettings), else unchanged. The text has been through Printable.
// Main thread only, as the settings.
std::string Styled(const std::string& text, Style style);

}  // namespace fwpolicy::terminal
