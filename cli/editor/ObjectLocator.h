#pragma once

#include <memory>
#include <string>

#include <fwcommon/Context.h>
#include <CLI/App.hpp>

#include "policy/PolicyIndex.h"

namespace fwpolicy {

// How a verb names one named object of a file: --name or --id, narrowed by
// --type and --creation-type (a copy of an object under another creation
// type keeps its kind, Id and name). The options point into the verb, which
// outlives the locator's use.
struct ObjectLocator {
    std::string name;
    long long id = 0;
    std::string type;
    std::string creationType;  // as CreationTypeNames gives it, or empty
    CLI::Option* nameOption = nullptr;
    CLI::Option* idOption = nullptr;
};

// Adds --name, --id, --type and --creation-type to verb; a command line that names no
// object is a usage error, found before any file is read.
void AddLocatorOptions(CLI::App& verb, ObjectLocator& locator);

// The one object of the document that locator names. Throws EditError
// "no named object ..." when none does, and "several named objects
// match ... (ip 101 "A", ip 101 "B"); choose one with ..." when several do
// (the matches name their creation types when those differ).
std::shared_ptr<fwcommon::INamedObject> FindObject(fwcommon::Context& context,
                                                   const std::wstring& dataname,
                                                   const ObjectLocator& locator);

// The entry of the file's index that locator names, by the file's own
// kinds, Ids and names; throws EditError as FindObject does.
const ObjectEntry& FindEntry(const PolicyIndex& index, const ObjectLocator& locator);

// "with id 101" or "\"Web\"", then " of type ip" and " of creation type
// user" when --type and --creation-type were given.
std::string Described(const ObjectLocator& locator);

// An object as messages name it: ip 300101 "Backup".
std::string NamedObjectText(const fwcommon::INamedObject& object);

}  // namespace fwpolicy
