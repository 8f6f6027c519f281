#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <fwcommon/export.h>

namespace fwcommon {

// ICMP types and their codes, for display. A process-wide singleton, empty
// until the host calls Initialize with a dictionary file.
//
// File format (UTF-8) with two sections: a line containing
// "== ICMP Type ==" switches to type lines, one containing
// "== ICMP Code ==" to code lines; reading starts with type lines. A type
// line is "type  name" (the name is the rest of the line), a code line
// "type  code  name" (the name may be empty). Fields are separated by two
// blanks; comments as in ProtocolDictionary. Types and codes keep file
// order; nothing checks that a code's type is among the types.
//
// Look-ups may be called from any thread. Returned lists stay valid for the
// life of the process, but Initialize must not run while a caller reads a
// returned list (it may grow it).
class FWCOMMON_EXPORT IcmpDictionary {
public:
    using Entry = std::pair<int, std::wstring>;  // number, name
    using Entries = std::vector<Entry>;

    // The singleton, created on first use and never destroyed.
    static const IcmpDictionary& Instance();

    // Adds the lines of the file to what the dictionary holds. A file that
    // cannot be opened changes nothing. A number that is not decimal throws
    // boost::bad_lexical_cast; the lines before it stay.
    void Initialize(const std::wstring& path) const;

    // The types in file order.
    const Entries& GetTypes() const;
    // The codes of a type in file order; a type without codes gets an
    // empty list, which is kept.
    const Entries& GetCodes(int type) const;

    ~IcmpDictionary();
    IcmpDictionary(const IcmpDictionary&) = delete;
    IcmpDictionary& operator=(const IcmpDictionary&) = delete;

private:
    struct Impl;

    IcmpDictionary();
    std::shared_ptr<Impl> impl_;
};

}  // namespace fwcommon
