#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>

#include <fwcommon/PolicyDocument.h>

namespace fwcommon::fuzz {

std::vector<unsigned char> ToBytes(const std::uint8_t* data, std::size_t size) {
    return std::vector<unsigned char>(data, data + size);
}

void Fail(const std::string& message, const std::wstring& details) {
    std::fprintf(stderr, "fuzz finding: %s\n", message.c_str());
    if (!details.empty()) {
        std::fprintf(stderr, "details: %ls\n", details.c_str());
    }
    std::abort();
}

std::unique_ptr<Sarvo::PolicyType> TryParse(const std::vector<unsigned char>& bytes) {
    try {
        return ParsePolicyDocument(bytes);
    } catch (const xml_schema::exception&) {
        return nullptr;
    }
}

}  // namespace fwcommon::fuzz
