#include "document/NodeArena.h"

#include <cstring>

#include <xercesc/util/XMLString.hpp>

namespace fwcommon::document {
namespace {

// Large enough that a rule's nodes take a few blocks at most, small enough
// that the frame of a document does not hold much it never uses.
constexpr std::size_t kBlockSize = 64 * 1024;
// An allocation above this gets storage of its own instead of ending a
// block early.
constexpr std::size_t kLargeAllocation = kBlockSize / 4;

std::size_t AlignUp(std::size_t offset, std::size_t alignment) {
    return (offset + alignment - 1) / alignment * alignment;
}

}  // namespace

void* NodeArena::Allocate(std::size_t size, std::size_t alignment) {
    if (size > kLargeAllocation) {
        large_.push_back(std::make_unique<std::byte[]>(size));
        return large_.back().get();
    }
    std::size_t start = AlignUp(offset_, alignment);
    if (blocks_.empty() || start + size > kBlockSize) {
        if (!blocks_.empty()) {
            ++block_;
        }
        if (block_ == blocks_.size()) {
            blocks_.push_back(std::make_unique<std::byte[]>(kBlockSize));
        }
        start = 0;
    }
    offset_ = start + size;
    return blocks_[block_].get() + start;
}

const XMLCh* NodeArena::Copy(const XMLCh* text, std::size_t length) {
    auto* copy = static_cast<XMLCh*>(Allocate((length + 1) * sizeof(XMLCh), alignof(XMLCh)));
    std::memcpy(copy, text, length * sizeof(XMLCh));
    copy[length] = 0;
    return copy;
}

const XMLCh* NodeArena::Copy(const XMLCh* text) {
    return text ? Copy(text, xercesc::XMLString::stringLen(text)) : nullptr;
}

void NodeArena::RewindTo(const Mark& mark) {
    block_ = mark.block;
    offset_ = mark.offset;
    large_.resize(mark.large);
}

}  // namespace fwcommon::document
