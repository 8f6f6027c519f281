#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include <fwcommon/export.h>

namespace fwcommon {

// Hands out free 32-bit identifiers from a range and takes them back.
//
// The free identifiers are kept as closed segments (first, last), in
// ascending order and disjoint, so a range of four billion identifiers
// costs one entry and every busy mark or free adds at most one more. Two
// segments may touch (last + 1 == next first) without being joined.
//
// Finding an identifier's segment is a binary search; marking one busy or
// free may shift the segments after it; generating from the first segment
// is constant time. No locks: a generator belongs to the
// thread that uses its Context.
class FWCOMMON_EXPORT IdentifierGenerator {
public:
    using Segment = std::pair<std::uint32_t, std::uint32_t>;

    // The whole range 1 .. 4294967295.
    IdentifierGenerator();
    // One segment (first, last); the arguments are not checked against
    // each other.
    IdentifierGenerator(std::uint32_t first, std::uint32_t last);
    IdentifierGenerator(const IdentifierGenerator&) = default;
    IdentifierGenerator& operator=(const IdentifierGenerator&) = default;
    virtual ~IdentifierGenerator();

    // The smallest identifier of the first free segment, which is then no
    // longer free. Throws std::out_of_range "invalid vector<T> subscript"
    // when no identifier is free; the generator stays empty.
    std::uint32_t GenerateIdentifier();
    // Removes the identifier from the free segments (shrinking or splitting
    // its segment); an identifier that is not free is ignored.
    void MarkIdentifierAsBusy(std::uint32_t id);
    // Returns the identifier to the free segments: it extends the first
    // segment above it when it touches its start, else the segment below
    // it when it touches its end, else becomes a segment of its own. An
    // identifier at or above the start of the last segment is not taken
    // back, nor any identifier once no segment is left; an identifier that
    // is already free changes nothing.
    void MarkIdentifierAsFree(std::uint32_t id);
    // True when the identifier lies in a free segment.
    bool checkAvailability(std::uint32_t id) const;

    // The free segments, for inspection.
    const std::vector<Segment>& Segments() const { return AvailableIdentifierSegments(); }

private:
    const std::vector<Segment>& AvailableIdentifierSegments() const { return segments_; }

    std::vector<Segment> segments_;
};

}  // namespace fwcommon
