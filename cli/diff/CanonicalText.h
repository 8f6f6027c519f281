#pragma once

#include <string>
#include <vector>

#include <fwcommon/rules.hxx>

#include "ProtocolNames.h"

namespace fwpolicy {

// A policy as lines of text, one per rule, named object and option, in
// the words `show` prints, for comparing two policies line by line:
//   rule local 200001 (policy) "Admin": active yes; action pass; source @"LAN"; ...
//   object ip 200101 (policy) "LAN": inclusions 10.1.0.0/24; exclusions (none)
//   option LogLevel (policy): value "2"
// Rules section by section in the order `show` lists them (a moved rule
// moves its line, its position is not written), objects kind by kind in
// document order, options in document order. Every field is written, so
// that a change shows on its line.
std::vector<std::string> CanonicalLines(const Sarvo::PolicyType& policy,
                                        const textforms::ProtocolNames& protocols);

}  // namespace fwpolicy
