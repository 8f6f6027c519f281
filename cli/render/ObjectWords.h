#pragma once

#include <fwcommon/rules.hxx>

#include "policy/PolicyIndex.h"

namespace fwpolicy {

// Gives every object of index (indexed from policy) its entries in the
// text forms the editor reads (10.1.0.0/24, interface:eth0, tcp/22,
// weekly mon-fri 08:00-18:00, @"Other object") and its creation type as
// the tool names it ("policy"), as `objects` and `object show` print them.
// Call LoadDictionaries first for protocol names.
void UseWords(const Sarvo::PolicyType& policy, PolicyIndex& index);

// Only the creation types, for entries kept in the library's texts (--raw).
void UseCreationTypeWords(const Sarvo::PolicyType& policy, PolicyIndex& index);

}  // namespace fwpolicy
