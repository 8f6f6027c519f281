#include "verbs/RuleFilter.h"

#include <fnmatch.h>

#include <cctype>
#include <memory>
#include <stdexcept>

#include "policy/RuleSection.h"
#include "render/RuleTable.h"
#include "text/Utf8.h"
#include "verbs/QueryFlowText.h"

namespace fwpolicy {
namespace {

// The document with every rule active, so that the query, which asks
// active rules only, answers inactive ones too; positions stay the same.
std::unique_ptr<Sarvo::PolicyType> AllActive(const Sarvo::PolicyType& policy) {
    std::unique_ptr<Sarvo::PolicyType> copy(policy._clone());
    for (auto& rule : copy->Rules().Rule())
        rule.IsActive(true);
    return copy;
}

// An end as query reads it, except that a bare text that starts like an
// address ("10.0.0.300", "ab.cd") is refused instead
// of being taken as a VPN node's name: show asks for one address.
fwcommon::QueryEndpoint ParseEnd(const std::string& text) {
    fwcommon::QueryEndpoint end = ParseFlowEndpoint(text);
    const bool bareName =
        end.kind == fwcommon::QueryEndpoint::Kind::eNodeName && text.rfind("name:", 0) != 0;
    const bool addressLike =
        !text.empty() && (std::isxdigit(static_cast<unsigned char>(text[0])) != 0) &&
        text.find_first_not_of("0123456789abcdefABCDEF.:/") == std::string::npos &&
        text.find_first_of(".:") != std::string::npos;
    if (bareName && addressLike)
        throw std::invalid_argument("'" + text +
                                    "' is no address (one IPv4 or IPv6 address; a network or "
                                    "range is not a flow's end)");
    return end;
}

}  // namespace

RuleFilter::RuleFilter(const RuleFilterOptions& options) : options_(options) {
    if (options.source)
        flow_.from = OptionValue("--source", *options.source, ParseEnd);
    if (options.destination)
        flow_.to = OptionValue("--destination", *options.destination, ParseEnd);
    if (options.service)
        flow_.service = OptionValue("--service", *options.service, ParseFlowService);
}

bool RuleFilter::AsksFlow() const {
    return options_.source || options_.destination || options_.service;
}

bool RuleFilter::Narrows() const {
    return options_.id || options_.name || options_.active || AsksFlow();
}

bool RuleFilter::KeepsFields(const Sarvo::Rule& rule) const {
    if (options_.id && rule.RuleId() != *options_.id)
        return false;
    if (options_.active && rule.IsActive() != *options_.active)
        return false;
    return !options_.name || fnmatch(options_.name->c_str(), ToUtf8(rule.Name()).c_str(), 0) == 0;
}

std::map<std::string, std::set<std::size_t>> RuleFilter::FlowPositions(
    const Sarvo::PolicyType& policy, const Sarvo::PolicyType* namedObjects) const {
    fwcommon::QueryOptions query;
    query.all = true;
    const auto active = AllActive(policy);
    std::map<std::string, std::set<std::size_t>> positions;
    for (const auto& answer : fwcommon::QueryPolicy(*active, namedObjects, flow_, query)) {
        auto& kept = positions[SectionName(answer.section)];
        for (const auto& rule : answer.rules) {
            if (rule.answer != fwcommon::QueryAnswer::eDoesNotMatch && rule.position > 0)
                kept.insert(rule.position - 1);
        }
    }
    return positions;
}

std::map<std::string, std::set<std::size_t>> RuleFilter::KeptPositions(
    const Sarvo::PolicyType& policy, const Sarvo::PolicyType* namedObjects) const {
    std::map<std::string, std::set<std::size_t>> flow;
    if (AsksFlow())
        flow = FlowPositions(policy, namedObjects);
    std::map<std::string, std::set<std::size_t>> kept;
    for (const std::string& section : SectionNames()) {
        const std::vector<const Sarvo::Rule*> rules = SectionRules(policy, section);
        auto& positions = kept[section];
        for (std::size_t position = 0; position < rules.size(); ++position) {
            if (KeepsFields(*rules[position]) &&
                (!AsksFlow() || flow[section].count(position) != 0))
                positions.insert(position);
        }
    }
    return kept;
}

}  // namespace fwpolicy
