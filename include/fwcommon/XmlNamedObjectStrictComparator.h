#pragma once

#include <string>

#include <fwcommon/export.h>

namespace fwcommon {

// Base of the strict comparators of two named objects of one kind.
//
// IsEqual runs the comparison afresh: Id, Name, the Inclusion members
// (count, then pairwise in document order) and the Exclusion members
// (count, then pairwise); CreationType and Reserved are ignored. Exclusion
// lists of different lengths are reported like Inclusion lists, as
// "Exclusion sizes mismatch: '<first count>', '<second count>'.", before
// any member is compared. After a false result GetMismatchDetails names
// the first difference; after true it is empty. Nothing is thrown for
// malformed content.
//
// A comparator is used by one thread at a time; it only reads the objects.
class FWCOMMON_EXPORT XmlNamedObjectStrictComparator {
public:
    XmlNamedObjectStrictComparator(const XmlNamedObjectStrictComparator&) = default;
    XmlNamedObjectStrictComparator& operator=(const XmlNamedObjectStrictComparator&) = default;
    virtual ~XmlNamedObjectStrictComparator();

    virtual bool IsEqual() = 0;

    const std::wstring& GetMismatchDetails() const { return mismatchDetails_; }

protected:
    XmlNamedObjectStrictComparator() = default;

    // The text the derived comparison writes its message into.
    std::wstring& MismatchDetails() { return mismatchDetails_; }

private:
    std::wstring mismatchDetails_;
};

}  // namespace fwcommon
