#pragma once

#include <cstddef>
#include <string>

#include <CLI/App.hpp>

#include <fwcommon/rules.hxx>

namespace fwpolicy {

// The line an edit verb prints on standard output once its change is
// written, saying what it did (`added transit rule 300012 "SSH from
// admins" at 3`), so that nobody needs a second `show` to see the effect.
// An edit notes its line while it works; the verb prints it only after the
// file is replaced, and drops it when nothing was written (a failure, a
// dry run, nothing to change). Main thread only, as the verbs are.

// Adds -q/--quiet, which silences the line (and the progress line).
void AddQuietFlag(CLI::App& verb);

// What -q does, given before the verb.
void BeQuiet();

// Records the line of the edit under way (UTF-8; text from the policy is
// made printable when the line is printed).
void NoteEdit(const std::string& line);

// How many lines are noted and not yet printed or dropped.
std::size_t NotedEdits();

// Prints the noted lines, one each, unless -q was given; then forgets them.
void ReportEdits();

// Prints one line now, unless -q was given.
void ReportEdit(const std::string& line);

// Forgets the noted lines without printing them.
void ForgetEdits();

// A name from the policy in double quotes, as the edit lines write names.
std::string QuotedName(const std::wstring& name);
std::string QuotedName(const std::string& utf8);

// `transit rule 300012 "SSH from admins"`: a rule as the edit lines name it.
std::string RulePhrase(const std::string& section, const Sarvo::Rule& rule);

}  // namespace fwpolicy
