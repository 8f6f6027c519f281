// Strict comparison of the actions of two rules.

#include <string>

#include "compare/MismatchText.h"
#include "compare/RuleComparison.h"

namespace fwcommon::tools {

namespace {

// Compares one flag or number and names it in the message.
template <typename Value>
bool CompareField(const Value& a, const Value& b, const wchar_t* pattern, std::wstring& details) {
    return a == b || Mismatch(details, pattern, a, b);
}

bool CompareFilters(const Sarvo::Filter& a, const Sarvo::Filter& b, std::wstring& details) {
    const std::wstring firstAction = a.FilteringAction();
    const std::wstring secondAction = b.FilteringAction();
    return CompareField(firstAction, secondAction, L"Filtering action mismatch: '%1%' and '%2%'",
                        details) &&
           CompareField(a.IsBidirectional(), b.IsBidirectional(),
                        L"Filtering option 'IsBidirectional' mismatch: '%1%' and '%2%'", details) &&
           CompareField(a.IsConnectionLoggingEnabled(), b.IsConnectionLoggingEnabled(),
                        L"Filtering option 'IsConnectionLoggingEnabled' mismatch: '%1%' and '%2%'",
                        details) &&
           CompareField(a.IsPacketLoggingEnabled(), b.IsPacketLoggingEnabled(),
                        L"Filtering option 'IsPacketLoggingEnabled' mismatch: '%1%' and '%2%'",
                        details) &&
           CompareField(a.IsConnectionStateless(), b.IsConnectionStateless(),
                        L"Filtering option 'IsConnectionStateless' mismatch: '%1%' and '%2%'",
                        details);
}

// An optional translated value: presence first, then the text of the value.
template <typename Optional, typename TextOf>
bool CompareOptionalValue(const Optional& a, const Optional& b, const wchar_t* presencePattern,
                          const wchar_t* valuePattern, TextOf textOf, std::wstring& details) {
    if (a.present() != b.present()) {
        return Mismatch(details, presencePattern, a.present(), b.present());
    }
    if (!a.present()) {
        return true;
    }
    return CompareField(textOf(a.get()), textOf(b.get()), valuePattern, details);
}

std::wstring AddressText(const Sarvo::IpAddress& address) {
    return address.Value();
}

long long PortNumber(const Sarvo::Port& port) {
    return port.Value();
}

bool CompareTranslations(const Sarvo::Translation& a, const Sarvo::Translation& b,
                         std::wstring& details) {
    return CompareOptionalValue(a.SourceIp(), b.SourceIp(),
                                L"Translation option 'SourceIp'  presence differ: '%1%', '%2%'",
                                L"Translation option 'SourceIp' mismatch: '%1%' and '%2%'",
                                AddressText, details) &&
           CompareOptionalValue(a.DestinationIp(), b.DestinationIp(),
                                L"Translation option 'DestinationIp' presence differ: '%1%', '%2%'",
                                L"Translation option 'DestinationIp' mismatch: '%1%' and '%2%'",
                                AddressText, details) &&
           CompareOptionalValue(
               a.DestinationPort(), b.DestinationPort(),
               L"Translation option 'DestinationPort' presence differ: '%1%', '%2%'",
               L"Translation option 'DestinationPort' mismatch: '%1%' and '%2%'", PortNumber,
               details) &&
           CompareField(
               a.IsTranslatedIntoOutboundInterface(), b.IsTranslatedIntoOutboundInterface(),
               L"Translation option 'IsTranslatedIntoOutboundInterface' mismatch: '%1%' and '%2%'",
               details);
}

}  // namespace

bool CompareRuleActions(const Sarvo::Action& first, const Sarvo::Action& second,
                        std::wstring& details) {
    const auto* firstFilter = dynamic_cast<const Sarvo::Filter*>(&first);
    const auto* secondFilter = dynamic_cast<const Sarvo::Filter*>(&second);
    if (firstFilter != nullptr && secondFilter != nullptr) {
        return CompareFilters(*firstFilter, *secondFilter, details);
    }
    const auto* firstTranslation = dynamic_cast<const Sarvo::Translation*>(&first);
    const auto* secondTranslation = dynamic_cast<const Sarvo::Translation*>(&second);
    if (firstTranslation != nullptr && secondTranslation != nullptr) {
        return CompareTranslations(*firstTranslation, *secondTranslation, details);
    }
    if (firstFilter != nullptr || secondFilter != nullptr || firstTranslation != nullptr ||
        secondTranslation != nullptr) {
        return Mismatch(details, L"Action type mismatch");
    }
    return Mismatch(details,
                    L"Incorrect XmlRules. Action field must to be set as Filter or Translation");
}

}  // namespace fwcommon::tools
