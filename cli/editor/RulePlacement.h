#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <CLI/App.hpp>

#include <fwcommon/Context.h>

namespace fwpolicy {

// Where `rule add` puts the new rule: at a 0-based place in the order
// `show` lists the section, before or after the rule with a given ID, or
// (none given) at the end.
struct RulePlacement {
    long long position = -1;
    long long before = 0;
    long long after = 0;
    CLI::Option* beforeOption = nullptr;
    CLI::Option* afterOption = nullptr;
};

// Adds --position, --before and --after (at most one of them).
void AddRulePlacement(CLI::App& verb, RulePlacement& placement);

// The place the new rule takes in the section as the Context holds it now
// (earlier edits of a script included), or -1 for the end. An ID is the
// rule's in the Context or, for a rule the load renumbered, its ID in the
// loaded bytes. Throws EditError when the position lies past the end or no
// single rule of the section has the ID named.
int ResolvePlacement(const RulePlacement& placement, fwcommon::Context& context,
                     const std::wstring& dataname, const std::vector<unsigned char>& source,
                     const std::string& section);

}  // namespace fwpolicy
