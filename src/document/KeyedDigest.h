#pragma once

// A keyed 128-bit digest of a stream of bytes (SipHash-2-4 with its
// 128-bit output), so that pieces of documents can be told apart without
// keeping their bytes.
//
// The key is drawn at random once per process: two different inputs get
// the same digest with a chance of about 2^-128, and no input can be made
// on purpose to meet another's digest without the key.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace fwcommon::document {

struct Digest128 {
    std::uint64_t low = 0;
    std::uint64_t high = 0;

    bool operator==(const Digest128& other) const { return low == other.low && high == other.high; }
};

struct Digest128Hash {
    std::size_t operator()(const Digest128& d) const { return static_cast<std::size_t>(d.low); }
};

struct DigestKey {
    std::uint64_t k0 = 0;
    std::uint64_t k1 = 0;
};

// The process's key, drawn on first use; any thread may call it.
const DigestKey& ProcessDigestKey();

// Digests the bytes given to Add, in order, under one key. Not for use
// from several threads at once.
class KeyedDigest {
public:
    explicit KeyedDigest(const DigestKey& key = ProcessDigestKey());

    void Add(std::string_view bytes);
    Digest128 Finish();

private:
    void AddByte(unsigned char byte);
    void Compress(std::uint64_t word);

    std::uint64_t v0_;
    std::uint64_t v1_;
    std::uint64_t v2_;
    std::uint64_t v3_;
    std::uint64_t pending_ = 0;  // bytes of a word not yet complete, low first
    std::size_t length_ = 0;
};

}  // namespace fwcommon::document
