#include "terminal/OutputSettings.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace fwpolicy::terminal {
namespace {

ColorChoice colorChoice = ColorChoice::kAuto;
bool wideTables = false;

bool EnvironmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

std::optional<std::size_t> ColumnsVariable() {
    const char* value = std::getenv("COLUMNS");
    if (value == nullptr)
        return std::nullopt;
    char* end = nullptr;
    const unsigned long columns = std::strtoul(value, &end, 10);
    if (end == value || *end != '\0' || columns == 0)
        return std::nullopt;
    return static_cast<std::size_t>(columns);
}

// What standard output was when first asked: a pager started later
// replaces it with a pipe.
struct TerminalFacts {
    bool isTerminal = false;
    std::optional<std::size_t> width;
};

TerminalFacts Measure() {
    TerminalFacts facts;
    facts.isTerminal = isatty(STDOUT_FILENO) == 1;
    if (!facts.isTerminal)
        return facts;
    winsize size{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        facts.width = static_cast<std::size_t>(size.ws_col);
    else
        facts.width = ColumnsVariable();
    return facts;
}

const TerminalFacts& Terminal() {
    static const TerminalFacts facts = Measure();
    return facts;
}

}  // namespace

void SetColorChoice(ColorChoice choice) {
    colorChoice = choice;
}

void SetWide(bool wide) {
    wideTables = wide;
}

bool StandardOutputIsTerminal() {
    return Terminal().isTerminal;
}

bool ColorWanted() {
    switch (colorChoice) {
        case ColorChoice::kAlways:
            return true;
        case ColorChoice::kNever:
            return false;
        case ColorChoice::kAuto:
            break;
    }
    const char* term = std::getenv("TERM");
    const bool dumb = term != nullptr && std::string(term) == "dumb";
    return StandardOutputIsTerminal() && !EnvironmentSet("NO_COLOR") && !dumb;
}

std::optional<std::size_t> TableWidth() {
    if (wideTables)
        return std::nullopt;
    return Terminal().width;
}

}  // namespace fwpolicy::terminal
