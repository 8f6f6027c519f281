#include "context/DatanameCheck.h"

#include <algorithm>
#include <stdexcept>

#include <fwcommon/IRule.h>
#include <fwcommon/LogFacility.h>
#include <fwcommon/StringUtilities.h>
#include <fwcommon/rules.hxx>
#include "context/RegistryEntryParts.h"
#include "store/XmlReader.h"

namespace fwcommon {

namespace {

const RuleType kSectionsInLogOrder[] = {eVPNRules, eNATRules, eTunnelRules, eLocalRules,
                                        eTransitRules};

bool IsRegistered(const Context::Registry& registry, const std::wstring& dataname) {
    return std::any_of(registry.begin(), registry.end(), [&](const Context::RegistryEntry& entry) {
        return entry.first == dataname;
    });
}

std::wstring Widened(const std::string& text) {
    std::wstring wide;
    StringUtilities::MultiByteStringToWideString(text, wide);
    return wide;
}

void AppendSection(const std::wstring& dataname, RuleType type, const RuleList& rules,
                   std::wstring& record) {
    record += L"\t" + dataname + L"\n\t\t" + RuleTypeName(type) + L":\n";
    for (const auto& rule : rules) {
        const auto element = rule->GetXmlRule();
        record += L"\t\t'" + element->Name() + L"'(id=" + std::to_wstring(element->RuleId()) +
                  L",orderId=" + std::to_wstring(element->OrderId()) + L")\n";
    }
}

// Every registered dataname with the rules of its non-empty sections.
std::wstring RegistryListing(const Context::Registry& registry) {
    std::wstring listing = L"\nRegistred datanames: \n";
    for (const auto& entry : registry) {
        for (RuleType type : kSectionsInLogOrder) {
            const auto rules = SectionRules(DataOf(entry), type);
            if (!rules->empty()) {
                AppendSection(entry.first, type, *rules, listing);
            }
        }
    }
    return listing;
}

}  // namespace

std::shared_ptr<const RuleList> SectionRules(const Context::Data& data, RuleType type) {
    if (!data.reader) {
        return std::make_shared<const RuleList>();
    }
    return data.reader->GetRules(type);
}

bool CheckDataname(const char* function, const std::wstring& dataname,
                   const Context::Registry* registry, bool throwOnFailure) {
    if (!dataname.empty() && (registry == nullptr || IsRegistered(*registry, dataname))) {
        return true;
    }
    const std::string reason = dataname.empty() ? "Dataname is empty" : "Dataname not found";
    const std::string logged = dataname.empty() ? " " + reason : reason;
    std::wstring record = Widened(StringUtilities::GetErrorString(function, logged));
    if (!dataname.empty()) {
        record += L". Dataname - " + dataname;
    }
    if (registry != nullptr) {
        record += RegistryListing(*registry);
    }
    GetLibLogFacility().Log(record, kLogRefused);
    if (throwOnFailure) {
        throw std::runtime_error(StringUtilities::GetErrorString(function, reason));
    }
    return false;
}

}  // namespace fwcommon
