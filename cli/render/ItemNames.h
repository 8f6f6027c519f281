#pragma once

#include <map>
#include <string>
#include <vector>

#include <fwcommon/rules.hxx>

#include "policy/PolicyIndex.h"

namespace fwpolicy {

// The entries of one named object by the names the library's named-object
// items give them (INamedItem::GetName: "6 */80", "ID 1301", a system
// object's or an included object's name), with the Id and name the library
// holds the object by.
struct ItemNames {
    ObjectKey key;
    std::wstring name;
    std::vector<std::wstring> inclusions;
    std::vector<std::wstring> exclusions;
};

// The item names of every named object of a document already loaded, by
// kind and place among the objects of that kind (the library lists each
// kind in document order), as the library's Context holds them once it has
// the document (a copy of it: no second parse).
std::map<ObjectPlace, ItemNames> LibraryItemNames(const Sarvo::PolicyType& policy,
                                                  const std::wstring& dataname);

}  // namespace fwpolicy
