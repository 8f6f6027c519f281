// Arbitrary bytes as a dictionary file for the protocol, port and ICMP
// dictionaries, followed by look-ups of the numbers the file mentions.
//
// The dictionaries are process-wide and, by design, keep what they read:
// the protocol dictionary fills once, the port and ICMP dictionaries add
// every file's lines. fuzz/run therefore runs this target in short
// sessions, and the target stops feeding files once the dictionaries hold
// kEntryLimit entries, so memory stays bounded; the look-ups go on.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <boost/lexical_cast.hpp>

#include <fwcommon/IcmpDictionary.h>
#include <fwcommon/PortDictionary.h>
#include <fwcommon/ProtocolDictionary.h>

#include "FuzzSupport.h"

namespace {

using fwcommon::IcmpDictionary;
using fwcommon::PortDictionary;
using fwcommon::ProtocolDictionary;
using fwcommon::fuzz::Fail;

constexpr std::size_t kEntryLimit = 200000;
constexpr std::size_t kMaxLookups = 64;

const std::string& FilePath() {
    static const std::string path =
        "/tmp/fwcommon-dictionary-fuzz-" + std::to_string(::getpid()) + ".txt";
    return path;
}

void WriteFile(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(FilePath().c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        Fail("cannot write " + FilePath());
    }
}

// Decimal numbers written in the input (with an optional minus sign), as
// candidates for look-ups.
std::vector<int> NumbersIn(const std::uint8_t* data, std::size_t size) {
    std::vector<int> numbers;
    std::string digits;
    for (std::size_t i = 0; i <= size && numbers.size() < kMaxLookups; ++i) {
        const char c = i < size ? static_cast<char>(data[i]) : ' ';
        if ((c >= '0' && c <= '9') || (c == '-' && digits.empty())) {
            digits += c;
            continue;
        }
        if (!digits.empty() && digits != "-" && digits.size() < 10) {
            numbers.push_back(std::stoi(digits));
        }
        digits.clear();
    }
    return numbers;
}

std::size_t IcmpEntries() {
    const auto& icmp = IcmpDictionary::Instance();
    std::size_t entries = 0;
    for (const auto& type : icmp.GetTypes()) {
        entries += 1 + icmp.GetCodes(type.first).size();
    }
    return entries;
}

std::size_t PortEntries() {
    std::vector<int> ports;
    PortDictionary::Instance().GetCodes(PortDictionary::Tcp, ports);
    PortDictionary::Instance().GetCodes(PortDictionary::Udp, ports);
    return ports.size();
}

// Each Initialize may refuse a number field with boost::bad_lexical_cast;
// that is its contract, and the lines before the bad one stay.
template <class Dictionary>
void Initialize(const Dictionary& dictionary) {
    try {
        dictionary.Initialize(std::wstring(FilePath().begin(), FilePath().end()));
    } catch (const boost::bad_lexical_cast&) {
    }
}

void LookUp(const std::vector<int>& numbers) {
    const auto& protocols = ProtocolDictionary::Instance();
    const auto& ports = PortDictionary::Instance();
    const auto& icmp = IcmpDictionary::Instance();
    for (int number : numbers) {
        if (protocols.GetName(number).empty() && !protocols.GetDescription(number).empty()) {
            Fail("a protocol without a name has a description");
        }
        if (ports.GetName(PortDictionary::Tcp, number) !=
            ports.GetDescription(PortDictionary::Tcp, number)) {
            Fail("a TCP service's description differs from its name");
        }
        if (ports.GetName(PortDictionary::Udp, number) !=
            ports.GetDescription(PortDictionary::Udp, number)) {
            Fail("a UDP service's description differs from its name");
        }
    }
    const auto& types = icmp.GetTypes();
    for (std::size_t i = 0; i < types.size() && i < kMaxLookups; ++i) {
        // The newest types, which the last file added; GetCodes keeps an
        // empty list for a type without codes, so only known types are asked.
        icmp.GetCodes(types[types.size() - 1 - i].first);
    }
    std::vector<int> codes;
    protocols.GetCodes(codes);
    for (std::size_t i = 1; i < codes.size(); ++i) {
        if (codes[i - 1] >= codes[i]) {
            Fail("protocol numbers are not ascending");
        }
    }
}

// Counting the entries walks every dictionary, so it is done once per
// kCountEvery inputs.
bool BelowLimit() {
    constexpr unsigned kCountEvery = 512;
    static unsigned sinceCount = 0;
    static bool below = true;
    if (below && sinceCount++ % kCountEvery == 0) {
        below = IcmpEntries() + PortEntries() < kEntryLimit;
    }
    return below;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (BelowLimit()) {
        WriteFile(data, size);
        Initialize(ProtocolDictionary::Instance());
        Initialize(PortDictionary::Instance());
        Initialize(IcmpDictionary::Instance());
    }
    LookUp(NumbersIn(data, size));
    return 0;
}
