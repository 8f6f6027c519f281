#include "document/KeyedDigest.h"

#include <random>

namespace fwcommon::document {
namespace {

constexpr int kCompressionRounds = 2;
constexpr int kFinalizationRounds = 4;
constexpr std::uint64_t kWideOutput = 0xee;
constexpr std::uint64_t kSecondHalf = 0xdd;
constexpr unsigned kWordBytes = 8;
constexpr unsigned kBitsPerByte = 8;
constexpr unsigned kLengthShift = 56;

std::uint64_t RotateLeft(std::uint64_t x, int bits) {
    return (x << bits) | (x >> (64 - bits));
}

void Round(std::uint64_t& v0, std::uint64_t& v1, std::uint64_t& v2, std::uint64_t& v3) {
    v0 += v1;
    v1 = RotateLeft(v1, 13);
    v1 ^= v0;
    v0 = RotateLeft(v0, 32);
    v2 += v3;
    v3 = RotateLeft(v3, 16);
    v3 ^= v2;
    v0 += v3;
    v3 = RotateLeft(v3, 21);
    v3 ^= v0;
    v2 += v1;
    v1 = RotateLeft(v1, 17);
    v1 ^= v2;
    v2 = RotateLeft(v2, 32);
}

std::uint64_t LittleEndianWord(const char* bytes) {
    std::uint64_t word = 0;
    for (unsigned i = 0; i < kWordBytes; ++i)
        word |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[i]))
                << (i * kBitsPerByte);
    return word;
}

DigestKey DrawKey() {
    std::random_device source;
    const auto word = [&source] { return (static_cast<std::uint64_t>(source()) << 32) ^ source(); };
    DigestKey key;
    key.k0 = word();
    key.k1 = word();
    return key;
}

}  // namespace

const DigestKey& ProcessDigestKey() {
    static const DigestKey key = DrawKey();
    return key;
}

KeyedDigest::KeyedDigest(const DigestKey& key)
    : v0_(0x736f6d6570736575ULL ^ key.k0),
      v1_(0x646f72616e646f6dULL ^ key.k1 ^ kWideOutput),
      v2_(0x6c7967656e657261ULL ^ key.k0),
      v3_(0x7465646279746573ULL ^ key.k1) {}

void KeyedDigest::Compress(std::uint64_t word) {
    v3_ ^= word;
    for (int i = 0; i < kCompressionRounds; ++i)
        Round(v0_, v1_, v2_, v3_);
    v0_ ^= word;
}

void KeyedDigest::Add(std::string_view bytes) {
    std::size_t at = 0;
    // Complete the word begun by an earlier call, one byte at a time.
    for (; at < bytes.size() && length_ % kWordBytes != 0; ++at)
        AddByte(static_cast<unsigned char>(bytes[at]));
    for (; at + kWordBytes <= bytes.size(); at += kWordBytes) {
        Compress(LittleEndianWord(bytes.data() + at));
        length_ += kWordBytes;
    }
    for (; at < bytes.size(); ++at)
        AddByte(static_cast<unsigned char>(bytes[at]));
}

void KeyedDigest::AddByte(unsigned char byte) {
    const unsigned at = length_ % kWordBytes;
    pending_ |= static_cast<std::uint64_t>(byte) << (at * kBitsPerByte);
    ++length_;
    if (at == kWordBytes - 1) {
        Compress(pending_);
        pending_ = 0;
    }
}

Digest128 KeyedDigest::Finish() {
    Compress(pending_ | (static_cast<std::uint64_t>(length_) << kLengthShift));
    v2_ ^= kWideOutput;
    for (int i = 0; i < kFinalizationRounds; ++i)
        Round(v0_, v1_, v2_, v3_);
    Digest128 digest;
    digest.low = v0_ ^ v1_ ^ v2_ ^ v3_;
    v1_ ^= kSecondHalf;
    for (int i = 0; i < kFinalizationRounds; ++i)
        Round(v0_, v1_, v2_, v3_);
    digest.high = v0_ ^ v1_ ^ v2_ ^ v3_;
    return digest;
}

}  // namespace fwcommon::document
