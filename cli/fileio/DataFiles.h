#pragma once

namespace fwpolicy {

// Loads the protocol, port and ICMP dictionaries that display texts use,
// once per process. They are read from $FWPOLICY_DATA_DIR when it is set;
// otherwise from the data directory next to the tool (share/fwcommon of the
// prefix it runs from, wherever that prefix was moved), then from the data
// directory of the prefix it was configured for. When no dictionary can be
// read, says so once on stderr and texts show numbers only. False, after
// saying on stderr which file and line, when a dictionary file is malformed.
bool LoadDictionaries();

}  // namespace fwpolicy
