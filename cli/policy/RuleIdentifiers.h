#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <fwcommon/Context.h>
#include <fwcommon/rules.hxx>

namespace fwpolicy {

// A rule as its file gives it, before the library may correct its
// identifier: what the notes on a renumbered rule name.
struct FileRule {
    std::string section;  // "local", ..., "" for a plain Rule
    fwcommon::CreationType creationType = fwcommon::User;
    std::wstring name;
    long long id = 0;
    long long orderId = 0;
};

// A rule identifier within its creation type's range, the unit in which
// the library keeps identifiers apart; hashed for the sets of a file's
// identifiers, which hold one entry a rule.
struct RuleIdentifierKey {
    fwcommon::CreationType creationType = fwcommon::User;
    long long id = 0;

    bool operator==(const RuleIdentifierKey& other) const {
        return creationType == other.creationType && id == other.id;
    }
};
struct RuleIdentifierKeyHash {
    std::size_t operator()(const RuleIdentifierKey& key) const {
        constexpr unsigned kTypeShift = 56;  // identifiers stay far below 2^56
        return std::hash<long long>()(key.id ^
                                      (static_cast<long long>(key.creationType) << kTypeShift));
    }
};

// The rules of a document in document order.
std::vector<FileRule> RulesOf(const Sarvo::PolicyType& document);

// A rule the load gave another identifier than its file gives it.
struct IdentifierChange {
    std::size_t index = 0;  // of the rule in the file's rules
    long long to = 0;
};

// The rules of the file whose identifier differs in written, the document
// as the library wrote it after loading the file (the load corrects the
// identifiers and keeps the rules in document order), in document order.
// Throws std::logic_error when written does not hold one RuleId a rule.
std::vector<IdentifierChange> IdentifierChangesOnLoad(const std::vector<FileRule>& rules,
                                                      const std::vector<unsigned char>& written);

// The same changes as IdentifierChangesOnLoad, read off the context's
// index of the file registered under dataname instead of a copy the
// library writes: each section lists its rules in ascending order id, which
// the load keeps as the file gives it. The first call builds the file's
// index. Empty when a section of the file holds two rules of one order id
// (its index keeps one of them); throws std::logic_error when a section's
// rules are not the file's.
std::optional<std::vector<IdentifierChange>> IndexedIdentifierChanges(
    const std::vector<FileRule>& rules, const fwcommon::Context& context,
    const std::wstring& dataname);

// Why the library renumbered each rule of changes (in document order, as
// IdentifierChangesOnLoad gives them) when it loaded their file alone,
// one reason a change: "7 is outside the range of its creation type",
// "another rule of the file holds 300001" (an earlier rule of its creation
// type, as the file gives it) or "an earlier rule of the file is now
// 300001" (the load gave that identifier to an earlier rule).
std::vector<std::string> WhyRenumberedInFile(const std::vector<FileRule>& rules,
                                             const std::vector<IdentifierChange>& changes);

}  // namespace fwpolicy
