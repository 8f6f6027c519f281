#pragma once

namespace fwpolicy {

// Loads the protocol, port and ICMP dictionaries that display texts use,
// from $FWPOLICY_DATA_DIR, the installed data directory, or the source
// tree's data/ (for a tool run from its build tree), the first that holds
// them. Without any, texts show numbers only. False, after saying on
// stderr which file and line, when a dictionary file is malformed.
bool LoadDictionaries();

}  // namespace fwpolicy
