#pragma once

#include <cstddef>
#include <functional>

namespace fwcommon {

// An item that tells cheaply which items it may equal: two items that
// IsEqual calls equal give the same EqualityHash (items that differ may
// too). A load of an object of many members finds the ones it already
// holds among those of the same hash instead of comparing every pair.
class HashedNamedItem {
public:
    virtual std::size_t EqualityHash() const = 0;

protected:
    HashedNamedItem() = default;
    HashedNamedItem(const HashedNamedItem&) = default;
    HashedNamedItem& operator=(const HashedNamedItem&) = default;
    ~HashedNamedItem() = default;
};

// Mixes the hash of value into seed.
template <typename T>
void HashInto(std::size_t& seed, const T& value) {
    constexpr std::size_t kGoldenRatio = 0x9e3779b97f4a7c15ULL;
    seed ^= std::hash<T>()(value) + kGoldenRatio + (seed << 6) + (seed >> 2);
}

}  // namespace fwcommon
