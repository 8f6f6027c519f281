#pragma once

#include <cstddef>
#include <string>

namespace fwpolicy::terminal {

// How many terminal cells the UTF-8 text takes: East Asian wide and
// full-width characters and emoji take two, combining marks and zero-width
// characters none, everything else one. Text meant for the terminal has
// been through Printable first. Any thread.
std::size_t DisplayWidth(const std::string& utf8);

// The longest start of the text, cut between characters, that takes at
// most the given number of cells.
std::string FitToWidth(const std::string& utf8, std::size_t cells);

}  // namespace fwpolicy::terminal
