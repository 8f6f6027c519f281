#pragma once

#include <string>
#include <vector>

#include <fwcommon/Context.h>
#include <fwcommon/rules.hxx>

namespace fwpolicy {

// A rule as its file gives it, before the library may correct its
// identifier: what ties it to the same rule in the library's index.
struct FileRule {
    std::string section;  // "local", ..., "" for a plain Rule
    std::wstring creationType;
    long long orderId = 0;
    std::wstring name;
    long long id = 0;
};

// The rules of a document in document order.
std::vector<FileRule> RulesOf(const Sarvo::PolicyType& document);

// A rule whose identifier the index holds differently from its file.
struct IdentifierChange {
    std::size_t index = 0;  // of the rule in the file's rules
    long long to = 0;
};

// The rules of the file, registered under dataname in the context, whose
// indexed identifier differs from the file's, in document order. Builds
// the index of every section when it is not built (which corrects the
// identifiers). Errors of the context pass through.
std::vector<IdentifierChange> IndexedIdentifierChanges(const std::vector<FileRule>& rules,
                                                       const fwcommon::Context& context,
                                                       const std::wstring& dataname);

// Why the library renumbered a rule of identifier id when it loaded its
// file alone, holders being how many rules of the file have that id and
// the rule's creation type: "another rule of the file holds 300001" or
// "7 is outside the range of its creation type".
std::string WhyRenumberedInFile(std::size_t holders, long long id);

}  // namespace fwpolicy
