#pragma once

#include <cstdint>
#include <initializer_list>
#include <set>
#include <string>

namespace fwcommon {

// The process-wide item counter: each call returns the next item
// identifier, starting with 1. Safe from any thread.
std::uint32_t NextItemIdentifier();

// What every named-object item keeps besides its own fields: its item
// identifier (taken from the counter when the core is built) and the set of
// parameter ids that its GetParam answers.
struct ItemCore {
    explicit ItemCore(std::initializer_list<int> ids)
        : identifier(NextItemIdentifier()), paramIds(ids) {}

    void Add(std::initializer_list<int> ids) { paramIds.insert(ids); }
    bool Answers(int id) const { return paramIds.count(id) != 0; }
    // Throws std::logic_error "<function>. Invalid parameter name" unless
    // the id is in the set.
    void Require(int id, const char* function) const;

    std::uint32_t identifier;
    std::set<int> paramIds;
};

// Throws std::runtime_error "Application function: <className>::GetParam.
// Details: Incorrect parameter type." for an id in the set that the class
// has no answer for.
[[noreturn]] void ThrowUnansweredParam(const char* className);

// A 32-bit value in decimal, no grouping; -1 stays "-1".
std::wstring Decimal(std::int64_t value);

}  // namespace fwcommon
