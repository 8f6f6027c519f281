#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

namespace fwcommon::lint {

// A list of plain values that holds one value in place and goes to the heap
// only from the second on. Most sets of a rule are full or hold one interval
// or box, so most of them never allocate, and copying or freeing one is
// cheap. Plain value type.
template <typename T>
class SmallList {
    static_assert(std::is_trivially_copyable_v<T>, "values are copied as bytes");

public:
    using value_type = T;
    using const_iterator = const T*;

    std::size_t size() const { return many_.empty() ? (hasOne_ ? 1 : 0) : many_.size(); }
    bool empty() const { return !hasOne_ && many_.empty(); }

    const T* begin() const { return many_.empty() ? &one_ : many_.data(); }
    const T* end() const { return begin() + size(); }
    T* begin() { return many_.empty() ? &one_ : many_.data(); }
    T* end() { return begin() + size(); }

    const T& operator[](std::size_t i) const { return begin()[i]; }
    T& operator[](std::size_t i) { return begin()[i]; }
    const T& front() const { return *begin(); }
    T& back() { return end()[-1]; }

    void push_back(const T& value) {
        if (many_.empty()) {
            if (!hasOne_) {
                one_ = value;
                hasOne_ = true;
                return;
            }
            many_.reserve(2);
            many_.push_back(one_);
            hasOne_ = false;
        }
        many_.push_back(value);
    }

    // Room for n values without reallocating (held in place when n is 1).
    void reserve(std::size_t n) {
        if (n > 1) {
            many_.reserve(n);
        }
    }

    // Replaces the values [first, last) by value.
    void Replace(std::size_t first, std::size_t last, const T& value) {
        if (many_.empty()) {
            if (size() - (last - first) == 0) {
                one_ = value;
                hasOne_ = true;
                return;
            }
            many_.reserve(2);
            many_.push_back(first == 0 ? value : one_);
            many_.push_back(first == 0 ? one_ : value);
            hasOne_ = false;
            return;
        }
        if (first == last) {
            many_.insert(many_.begin() + static_cast<std::ptrdiff_t>(first), value);
            return;
        }
        many_[first] = value;
        many_.erase(many_.begin() + static_cast<std::ptrdiff_t>(first + 1),
                    many_.begin() + static_cast<std::ptrdiff_t>(last));
    }

    void clear() {
        hasOne_ = false;
        many_.clear();
    }

    void swap(SmallList& other) noexcept {
        std::swap(one_, other.one_);
        std::swap(hasOne_, other.hasOne_);
        many_.swap(other.many_);
    }

private:
    // Either the one value in place (hasOne_) or every value in many_.
    T one_{};
    bool hasOne_ = false;
    std::vector<T> many_;
};

}  // namespace fwcommon::lint
