#include <fwcommon/RuleType.h>

namespace fwcommon {

std::wstring RuleTypeName(RuleType type) {
    switch (type) {
        case eVPNRules:
            return L"eVPNRules";
        case eNATRules:
            return L"eNATRules";
        case eTunnelRules:
            return L"eTunnelRules";
        case eLocalRules:
            return L"eLocalRules";
        case eTransitRules:
            return L"eTransitRules";
    }
    return std::wstring();
}

std::wstring RuleSectionWord(RuleType type) {
    switch (type) {
        case eVPNRules:
            return L"vpn";
        case eNATRules:
            return L"nat";
        case eTunnelRules:
            return L"tunnel";
        case eLocalRules:
            return L"local";
        case eTransitRules:
            return L"transit";
    }
    return std::wstring();
}

}  // namespace fwcommon
