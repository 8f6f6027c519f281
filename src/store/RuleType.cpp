#include <fwcommon/RuleType.h>

namespace fwcommon {
namespace {

struct SectionNames {
    RuleType type;
    const wchar_t* enumerator;
    const wchar_t* word;
};

constexpr SectionNames kSections[] = {
    {eVPNRules, L"eVPNRules", L"vpn"},
    {eNATRules, L"eNATRules", L"nat"},
    {eTunnelRules, L"eTunnelRules", L"tunnel"},
    {eLocalRules, L"eLocalRules", L"local"},
    {eTransitRules, L"eTransitRules", L"transit"},
};

const SectionNames* Find(RuleType type) {
    for (const SectionNames& section : kSections) {
        if (section.type == type)
            return &section;
    }
    return nullptr;
}

}  // namespace

std::wstring RuleTypeName(RuleType type) {
    const SectionNames* section = Find(type);
    return section ? section->enumerator : std::wstring();
}

std::wstring RuleSectionWord(RuleType type) {
    const SectionNames* section = Find(type);
    return section ? section->word : std::wstring();
}

}  // namespace fwcommon
