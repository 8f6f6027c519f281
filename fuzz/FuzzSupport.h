#pragma once

// Helpers shared by the fuzz targets.
//
// A target treats the errors that the library promises for bad input as a
// rejection and returns; anything else a target did not expect is a
// finding: Fail prints what went wrong and aborts, so libFuzzer records the
// input as a crash.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <fwcommon/rules.hxx>

namespace fwcommon::fuzz {

std::vector<unsigned char> ToBytes(const std::uint8_t* data, std::size_t size);

// Prints the message (and the mismatch text, when given) and aborts.
[[noreturn]] void Fail(const std::string& message, const std::wstring& details = std::wstring());

// Parses and validates the bytes into the typed document; empty when the
// document is refused with the binding's own exception.
std::unique_ptr<Sarvo::PolicyType> TryParse(const std::vector<unsigned char>& bytes);

// Deep copies of the members of a sequence, as shared pointers of the
// declared type, in document order.
template <class T, class Sequence>
std::vector<std::shared_ptr<T>> SharedCopies(const Sequence& sequence) {
    std::vector<std::shared_ptr<T>> copies;
    for (const auto& member : sequence) {
        copies.emplace_back(member._clone());
    }
    return copies;
}

}  // namespace fwcommon::fuzz
