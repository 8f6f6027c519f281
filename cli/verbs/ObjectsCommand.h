#pragma once

#include <string>

#include <CLI/App.hpp>
#include <nlohmann/json.hpp>

#include "policy/PolicyIndex.h"

namespace fwpolicy {

// Replaces each object's entries in index (indexed from policy, read from
// file) by the library's item names, as `objects` shows them. Throws
// std::runtime_error when the library does not hold an object of the index.
void UseItemNames(const std::string& file, const Sarvo::PolicyType& policy, PolicyIndex& index);

// Gives the objects of index (indexed from policy, read from file) their
// entries in the tool's words, or with raw by the library's item names
// (UseItemNames); creation types as the tool names them either way.
void UseEntryTexts(const std::string& file, const Sarvo::PolicyType& policy, bool raw,
                   PolicyIndex& index);

// `fwpolicy objects FILE [--type KIND...] [--json] [--raw]`: the named
// objects of a policy file, kind by kind, with their inclusions and
// exclusions in the tool's words (--raw: the library's item names) and how
// many rules of the file refer to each directly.
void AddObjectsCommand(CLI::App& app, int* status);

}  // namespace fwpolicy
