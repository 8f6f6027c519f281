#include "ProtocolNames.h"

#include <fwcommon/ProtocolDictionary.h>
#include "TextScan.h"

namespace fwpolicy::textforms {
namespace {

// The dictionary's names are ASCII; anything else is left out.
std::optional<std::string> AsciiName(const std::wstring& name) {
    std::string ascii;
    for (const wchar_t c : name) {
        if (c <= 0x20 || c >= 0x7f)
            return std::nullopt;
        ascii.push_back(static_cast<char>(c));
    }
    if (ascii.empty())
        return std::nullopt;
    return ascii;
}

}  // namespace

ProtocolNames::ProtocolNames(const std::vector<std::pair<int, std::string>>& entries) {
    for (const auto& [number, name] : entries) {
        const std::string lower = AsciiLower(name);
        numbers_.emplace(lower, number);
        names_.emplace(number, lower);
    }
}

ProtocolNames ProtocolNames::FromDictionary() {
    const fwcommon::ProtocolDictionary& dictionary = fwcommon::ProtocolDictionary::Instance();
    std::vector<int> codes;
    dictionary.GetCodes(codes);
    std::vector<std::pair<int, std::string>> entries;
    for (const int code : codes) {
        if (const auto name = AsciiName(dictionary.GetName(code)))
            entries.emplace_back(code, *name);
    }
    return ProtocolNames(entries);
}

std::optional<int> ProtocolNames::NumberOf(const std::string& name) const {
    const auto found = numbers_.find(AsciiLower(name));
    if (found == numbers_.end())
        return std::nullopt;
    return found->second;
}

std::string ProtocolNames::NameOf(int number) const {
    const auto found = names_.find(number);
    return found == names_.end() ? std::string() : found->second;
}

}  // namespace fwpolicy::textforms
