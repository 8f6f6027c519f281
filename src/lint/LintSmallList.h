#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

namespace fwcommon::lint {

// A list of plain values that holds one value in place and goes to the heap
// only from the second on. Most sets of a rule are full or hold one interval
// or box, so most of them never allocate, and copying or freeing one is
// cheap. Plain value type.
template <typename T>
class SmallList {
    static_assert(std::is_trivially_copyable_v<T>, "values are copied as bytes");
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "operator new aligns them");

public:
    using value_type = T;
    using const_iterator = const T*;

    SmallList() : one_() {}
    SmallList(const SmallList& other) : one_() { CopyFrom(other); }
    SmallList(SmallList&& other) noexcept : one_() { TakeFrom(other); }
    SmallList& operator=(const SmallList& other) {
        if (this != &other) {
            if (other.size_ <= capacity_ && OnHeap()) {
                std::memcpy(heap_, other.begin(), other.size_ * sizeof(T));
                size_ = other.size_;
            } else {
                Release();
                CopyFrom(other);
            }
        }
        return *this;
    }
    SmallList& operator=(SmallList&& other) noexcept {
        if (this != &other) {
            Release();
            TakeFrom(other);
        }
        return *this;
    }
    ~SmallList() { Release(); }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    const T* begin() const { return OnHeap() ? heap_ : &one_; }
    const T* end() const { return begin() + size_; }
    T* begin() { return OnHeap() ? heap_ : &one_; }
    T* end() { return begin() + size_; }

    const T& operator[](std::size_t i) const { return begin()[i]; }
    T& operator[](std::size_t i) { return begin()[i]; }
    const T& front() const { return *begin(); }
    T& back() { return begin()[size_ - 1]; }

    // Room for n values without reallocating.
    void reserve(std::size_t n) {
        if (n > capacity_) {
            Grow(n);
        }
    }

    void push_back(const T& value) {
        if (size_ == capacity_) {
            Grow(2 * static_cast<std::size_t>(capacity_));
        }
        begin()[size_++] = value;
    }

    // Replaces the values [first, last) by value.
    void Replace(std::size_t first, std::size_t last, const T& value) {
        if (first == last) {
            if (size_ == capacity_) {
                Grow(2 * static_cast<std::size_t>(capacity_));
            }
            T* at = begin() + first;
            std::memmove(at + 1, at, (size_ - first) * sizeof(T));
            *at = value;
            ++size_;
            return;
        }
        T* at = begin() + first;
        *at = value;
        std::memmove(at + 1, begin() + last, (size_ - last) * sizeof(T));
        size_ -= static_cast<std::uint32_t>(last - first - 1);
    }

    void clear() { size_ = 0; }

    void swap(SmallList& other) noexcept {
        SmallList held(static_cast<SmallList&&>(other));
        other = static_cast<SmallList&&>(*this);
        *this = static_cast<SmallList&&>(held);
    }

private:
    bool OnHeap() const { return capacity_ > 1; }

    void Grow(std::size_t capacity) {
        T* grown = static_cast<T*>(::operator new(capacity * sizeof(T)));
        std::memcpy(grown, begin(), size_ * sizeof(T));
        Release();
        heap_ = grown;
        capacity_ = static_cast<std::uint32_t>(capacity);
    }

    void Release() {
        if (OnHeap()) {
            ::operator delete(heap_);
            capacity_ = 1;
        }
    }

    // Into a list that holds nothing on the heap (its values are dropped,
    // not carried into the room it grows).
    void CopyFrom(const SmallList& other) {
        size_ = 0;
        if (other.size_ > 1) {
            Grow(other.size_);
        }
        std::memcpy(begin(), other.begin(), other.size_ * sizeof(T));
        size_ = other.size_;
    }

    // Into a list that holds nothing on the heap; other is left empty.
    void TakeFrom(SmallList& other) {
        if (other.OnHeap()) {
            heap_ = other.heap_;
            capacity_ = other.capacity_;
            other.capacity_ = 1;
        } else {
            one_ = other.one_;
        }
        size_ = other.size_;
        other.size_ = 0;
    }

    // The one value in place while capacity_ is 1; else the values on the
    // heap, with room for capacity_.
    union {
        T one_;
        T* heap_;
    };
    std::uint32_t size_ = 0;
    std::uint32_t capacity_ = 1;
};

}  // namespace fwcommon::lint
