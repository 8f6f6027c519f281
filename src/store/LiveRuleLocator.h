#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include <fwcommon/DomainTypes.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// Finds rule elements of the live document by RuleId without walking the
// Rules list: remembers where the first element of each RuleId stands, and
// the first of each RuleId and creation type. The reader invalidates it
// whenever elements are erased or the live document is replaced; the next
// lookup then rebuilds it.
class LiveRuleLocator {
public:
    using Sequence = Sarvo::Rules::Rule_sequence;
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // Index of the first element with this RuleId (any creation type), or
    // npos.
    std::size_t Find(const Sequence& rules, long long ruleId);
    // Index of the first element with this RuleId and creation type, or
    // npos.
    std::size_t Find(const Sequence& rules, long long ruleId, CreationType creationType);
    // The element at index was appended.
    void Appended(const Sequence& rules, std::size_t index);
    void Invalidate();

private:
    struct TypedKey {
        long long ruleId;
        std::int32_t creationType;
        bool operator==(const TypedKey& other) const {
            return ruleId == other.ruleId && creationType == other.creationType;
        }
    };
    struct TypedKeyHash {
        std::size_t operator()(const TypedKey& key) const {
            return std::hash<long long>()(key.ruleId) * 31 +
                   static_cast<std::size_t>(key.creationType);
        }
    };

    void Rebuild(const Sequence& rules);
    void Enter(const Sequence& rules, std::size_t index);

    std::unordered_map<long long, std::size_t> firstIndex_;
    std::unordered_map<TypedKey, std::size_t, TypedKeyHash> firstTypedIndex_;
    bool valid_ = false;
};

}  // namespace fwcommon
