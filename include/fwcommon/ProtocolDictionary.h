#pragma once

#include <memory>
#include <string>
#include <vector>

#include <fwcommon/export.h>

namespace fwcommon {

// Names and descriptions of IP protocol numbers, for display. A
// process-wide singleton, empty until the host calls Initialize with a
// dictionary file; the library never loads it itself.
//
// File format (UTF-8): one protocol per line, "number  name  description"
// with fields separated by two blanks (a single blank belongs to the
// field), the description optional; lines of blanks and lines whose first
// non-blank character is "#" are comments. For a number given twice the
// first line wins.
//
// Look-ups and Initialize may be called from any thread; returned
// references stay valid for the life of the process.
class FWCOMMON_EXPORT ProtocolDictionary {
public:
    // The singleton, created on first use and never destroyed.
    static const ProtocolDictionary& Instance();

    // Reads the file while the dictionary is empty; once it holds entries,
    // further calls do nothing. A file that cannot be opened leaves the
    // dictionary as it was. A number field that is not a decimal number
    // throws boost::bad_lexical_cast ("bad lexical cast: source type value
    // could not be interpreted as target"); the lines before it stay.
    void Initialize(const std::wstring& path) const;

    // The protocol's name or description; an empty string for a number the
    // dictionary does not hold.
    const std::wstring& GetName(int protocol) const;
    const std::wstring& GetDescription(int protocol) const;
    // Appends every known protocol number in ascending order.
    void GetCodes(std::vector<int>& codes) const;

    ~ProtocolDictionary();
    ProtocolDictionary(const ProtocolDictionary&) = delete;
    ProtocolDictionary& operator=(const ProtocolDictionary&) = delete;

private:
    struct Impl;

    ProtocolDictionary();
    std::shared_ptr<Impl> impl_;
};

}  // namespace fwcommon
