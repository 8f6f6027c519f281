#include "policy/IdentifierRoom.h"

#include <fwcommon/IdentifierRanges.h>
#include <fwcommon/PolicyDocument.h>
#include "policy/CreationTypeNames.h"

namespace fwpolicy {
namespace {

std::string RangeText(const fwcommon::IdentifierRange& range) {
    return std::to_string(range.first) + " to " + std::to_string(range.last);
}

std::size_t SizeOf(const fwcommon::IdentifierRange& range) {
    return static_cast<std::size_t>(range.last - range.first) + 1;
}

}  // namespace

namespace {

fwcommon::CreationType CreationTypeOf(const Sarvo::CreationTypes& word) {
    return static_cast<fwcommon::CreationType>(static_cast<int>(word));
}

}  // namespace

void CountRulesByCreationType(const Sarvo::PolicyType& document, CreationTypeCounts& counts) {
    for (const Sarvo::Rule& rule : document.Rules().Rule())
        ++counts[CreationTypeOf(rule.CreationType())];
}

void CountRulesByCreationType(const std::vector<FileRule>& rules, CreationTypeCounts& counts) {
    for (const FileRule& rule : rules)
        ++counts[rule.creationType];
}

std::string RulesBeyondTheirIdentifiers(const CreationTypeCounts& counts) {
    for (const auto& [creationType, rules] : counts) {
        const fwcommon::IdentifierRange range = fwcommon::IdentifierRangeOf(creationType);
        if (rules > SizeOf(range)) {
            return std::to_string(rules) + " " + CreationTypeNames().at(creationType) +
                   " rules, more than the " + std::to_string(SizeOf(range)) +
                   " identifiers of their creation type (" + RangeText(range) + ")";
        }
    }
    return "";
}

std::string NoIdentifierLeft(fwcommon::CreationType creationType) {
    return "no identifier is left for a new " + CreationTypeNames().at(creationType) +
           " rule: " + RangeText(fwcommon::IdentifierRangeOf(creationType)) + " are all taken";
}

std::runtime_error IdentifierShortage(const std::vector<unsigned char>& bytes,
                                      const std::out_of_range& error) {
    CreationTypeCounts counts;
    try {
        CountRulesByCreationType(*fwcommon::ParsePolicyDocument(bytes), counts);
    } catch (const std::exception&) {
        // Bytes the library loaded parse; if they do not, its message is all
        // there is to tell.
        return std::runtime_error(error.what());
    }
    const std::string crowded = RulesBeyondTheirIdentifiers(counts);
    if (crowded.empty())
        return std::runtime_error(error.what());
    return std::runtime_error("holds " + crowded +
                              "; remove some or give them another creation type");
}

}  // namespace fwpolicy
