#pragma once

#include <cstddef>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/rules.hxx>
#include "policy/RuleIdentifiers.h"

namespace fwpolicy {

// How many rules of each creation type one or more documents hold: what
// decides whether the library can give them all identifiers of their
// creation type's range.
using CreationTypeCounts = std::map<fwcommon::CreationType, std::size_t>;

// Adds the rules of a document, or of a file as RulesOf read it, to the
// counts.
void CountRulesByCreationType(const Sarvo::PolicyType& document, CreationTypeCounts& counts);
void CountRulesByCreationType(const std::vector<FileRule>& rules, CreationTypeCounts& counts);

// For the first creation type whose rules outnumber the identifiers of its
// range: "100001 policy rules, more than the 100000 identifiers of their
// creation type (200001 to 300000)". "" when every creation type has room.
std::string RulesBeyondTheirIdentifiers(const CreationTypeCounts& counts);

// Why a new rule of a creation type got no identifier: "no identifier is
// left for a new policy rule: 200001 to 300000 are all taken".
std::string NoIdentifierLeft(fwcommon::CreationType creationType);

// The error to report for an out_of_range that the library threw while it
// loaded or edited the document of these bytes: it names the rules that
// outnumber their identifiers ("holds 100001 policy rules, more than ...")
// or, when none do, is the library's own message.
std::runtime_error IdentifierShortage(const std::vector<unsigned char>& bytes,
                                      const std::out_of_range& error);

}  // namespace fwpolicy
