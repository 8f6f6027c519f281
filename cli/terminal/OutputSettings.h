#pragma once

#include <cstddef>
#include <optional>

namespace fwpolicy::terminal {

// How the tool writes to standard output for people: in colour or not, and
// how wide its tables may be. Set from the command line before a verb runs
// and read by the renderers afterwards; main thread only.

// --color=auto|always|never.
enum class ColorChoice { kAuto, kAlways, kNever };

void SetColorChoice(ColorChoice choice);

// --wide: tables print their cells in full whatever the terminal's width.
void SetWide(bool wide);

// Whether standard output is a terminal.
bool StandardOutputIsTerminal();

// Colour is used when asked for, or with "auto" on a terminal unless the
// NO_COLOR variable is set and not empty or TERM is "dumb".
bool ColorWanted();

// The width in cells that tables must fit: the terminal's (its window size,
// else COLUMNS) when standard output is one and --wide was not given;
// nothing when tables print in full.
std::optional<std::size_t> TableWidth();

}  // namespace fwpolicy::terminal
