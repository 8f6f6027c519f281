#pragma once

#include <optional>
#include <string>
#include <vector>

#include <CLI/App.hpp>

namespace fwpolicy {

// The candidate closest to word by edit distance (a swap of two neighbours
// counts as one edit), when it is close enough to be a likely slip; none
// otherwise.
std::optional<std::string> ClosestMatch(const std::string& word,
                                        const std::vector<std::string>& candidates);

// Checks that the verbs on the command line name verbs of the tool before
// CLI11 parses it (CLI11 would report a missing verb instead). Returns the
// message for the first word that is no verb ("'shwo' is not a fwpolicy
// verb; did you mean 'show'?"), or for an option before the first verb
// that is none of the tool's own; none when all are known.
std::optional<std::string> UnknownVerb(const CLI::App& app, const std::vector<std::string>& args);

// The message for arguments that CLI11 could not place after a parse of
// the verb chain ended in verb: an unknown option with the closest one
// ("fwpolicy show: unknown option '--jsn'; did you mean '--json'?") or an
// argument too many.
std::string UnexpectedArguments(const CLI::App& verb, const std::vector<std::string>& extras);
// The same without the verb's name and help hint, for a line of a script
// ("unexpected argument 'x'").
std::string UnexpectedArgumentsInWords(const CLI::App& verb,
                                       const std::vector<std::string>& extras);

// The last verb of the chain a command line selected.
const CLI::App& DeepestVerb(const CLI::App& app);

// A CLI11 message about a bad value reworded as the tool says it
// ("--by: 'x' is not a number"); any other message as it is.
std::string InToolWords(const std::string& what);

// The message for any other error of the command line that CLI11 found
// in verb ("fwpolicy show: FILE is required (see 'fwpolicy help show')").
std::string UsageError(const CLI::App& verb, const std::string& what);

// "fwpolicy rule add": the verb chain's names.
std::string VerbPath(const CLI::App& verb);

// The help text of a verb (or of the tool), as --help prints it.
std::string HelpOf(const CLI::App& verb);

// Adds "help [VERB...]", which prints the help of the tool or of a verb on
// standard output; an unknown verb is a usage error.
void AddHelpCommand(CLI::App& app, int* status);

// Adds --version: the tool's, the library's and the policy schema's
// versions.
void AddVersionFlag(CLI::App& app);

}  // namespace fwpolicy
