#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include <xercesc/util/XercesDefs.hpp>

namespace fwcommon::document {

// Bump-pointer storage for the nodes and texts of one parse. Objects made
// here are never destroyed one by one: they must own nothing (their
// destructors are never run). RewindTo hands back, for reuse, everything
// made since a mark, so that a parse that drops each element once it is
// converted keeps at most one element's worth of storage beyond the frame
// of the document.
//
// One parse, one thread.
class NodeArena {
public:
    // A point to rewind to: everything made after it goes back at once.
    struct Mark {
        std::size_t block = 0;
        std::size_t offset = 0;
        std::size_t large = 0;
    };

    NodeArena() = default;
    NodeArena(const NodeArena&) = delete;
    NodeArena& operator=(const NodeArena&) = delete;

    template <typename T, typename... Args>
    T* Make(Args&&... args) {
        return new (Allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
    }

    // A copy of the first length characters of text, terminated by a NUL.
    const XMLCh* Copy(const XMLCh* text, std::size_t length);
    // A copy of the NUL-terminated text; null stays null.
    const XMLCh* Copy(const XMLCh* text);

    Mark Here() const { return {block_, offset_, large_.size()}; }
    void RewindTo(const Mark& mark);

    void* Allocate(std::size_t size, std::size_t alignment);

private:
    using Block = std::unique_ptr<std::byte[]>;

    std::vector<Block> blocks_;
    std::size_t block_ = 0;     // the block being filled
    std::size_t offset_ = 0;    // the first free byte of it
    std::vector<Block> large_;  // allocations too large for a block
};

}  // namespace fwcommon::document
