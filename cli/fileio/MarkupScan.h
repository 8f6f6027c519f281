#pragma once

#include <string>
#include <vector>

namespace fwpolicy {

// True when the document holds an XML comment or a processing instruction
// other than its XML declaration: content the document binding does not
// keep, so rewriting the file would lose it. Looks at the bytes only (the
// text of CDATA sections is skipped); a document that is not well-formed
// gets an answer, not an error.
bool HoldsCommentsOrInstructions(const std::vector<unsigned char>& bytes);

// The local name of the document element ("Policy" for "<sv:Policy ...>"):
// the first tag after the prolog's declaration, comments, processing
// instructions and document type. Empty when the bytes hold no tag.
std::string DocumentElementName(const std::vector<unsigned char>& bytes);

// The values of the document's RuleId elements, sorted: a byte scan for
// "<RuleId>" (spaces allowed before the ">" and around the number) that
// does not tell comments or CDATA apart, so that two documents whose lists
// differ may still hold the same rules, and equal lists mean that no rule
// identifier changed between them. A value that is no number is left out.
std::vector<long long> RuleIdValues(const std::vector<unsigned char>& bytes);

// The values of the RuleId elements of a document the library wrote, in
// document order: one a rule, as the writer gives them (no comments, no
// CDATA, an integer between the tags). A value that does not read as a
// long long gives none, so the list is then shorter than the rules.
std::vector<long long> WrittenRuleIds(const std::vector<unsigned char>& bytes);

}  // namespace fwpolicy
