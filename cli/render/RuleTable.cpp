#include "render/RuleTable.h"

#include <algorithm>
#include <cwctype>

#include "policy/RuleSection.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

using fwcommon::IXmlWrapper;

std::wstring Joined(const std::vector<std::wstring>& parts) {
    if (parts.empty())
        return L"*";
    std::wstring text;
    for (const auto& part : parts) {
        text += (text.empty() ? L"" : L", ") + part;
    }
    return text;
}

std::wstring SideText(const Sarvo::ConditionSet::Source_optional& side, const IXmlWrapper& w) {
    std::vector<std::wstring> parts;
    if (!side.present())
        return L"*";
    if (const auto* pub = dynamic_cast<const Sarvo::PublicNetwork*>(&side.get())) {
        if (pub->InterfaceCondition())
            parts.push_back(w.InterfaceConditionText(*pub->InterfaceCondition()));
        for (const auto& host : pub->IpHostCondition())
            parts.push_back(w.IpHostConditionText(host));
    } else if (const auto* priv = dynamic_cast<const Sarvo::PrivateNetwork*>(&side.get())) {
        for (const auto& host : priv->VpnHostCondition())
            parts.push_back(w.VpnHostConditionText(host));
    }
    return Joined(parts);
}

}  // namespace

std::wstring ActionWords(const Sarvo::Action& action) {
    if (const auto* filter = dynamic_cast<const Sarvo::Filter*>(&action)) {
        std::wstring text =
            filter->FilteringAction() == Sarvo::ActionTypes::Pass ? L"pass" : L"drop";
        if (filter->IsConnectionStateless())
            text += L" stateless";
        if (filter->IsBidirectional())
            text += L" both-ways";
        if (!filter->IsPacketLoggingEnabled())
            text += L" no-packet-log";
        if (!filter->IsConnectionLoggingEnabled())
            text += L" no-connection-log";
        return text;
    }
    if (const auto* nat = dynamic_cast<const Sarvo::Translation*>(&action)) {
        std::wstring text = L"translate";
        if (nat->SourceIp())
            text += L" source=" + nat->SourceIp()->Value();
        if (nat->DestinationIp())
            text += L" destination=" + nat->DestinationIp()->Value();
        if (nat->DestinationPort())
            text += L" port=" + std::to_wstring(nat->DestinationPort()->Value());
        if (nat->IsTranslatedIntoOutboundInterface())
            text += L" to-outbound-interface";
        return text;
    }
    return L"(none)";
}

std::wstring WithObjectNames(const std::wstring& text, const ObjectNames& names) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'#' && i + 1 < text.size() &&
            (std::iswdigit(text[i + 1]) || text[i + 1] == L'-')) {
            std::size_t end = i + 2;
            while (end < text.size() && std::iswdigit(text[end]))
                ++end;
            const auto found = names.find(std::stoi(text.substr(i + 1, end - i - 1)));
            if (found != names.end()) {
                out += found->second;
                i = end - 1;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

void CollectObjectNames(const Sarvo::PolicyType& policy, ObjectNames& names) {
    if (!policy.NamedObjects())
        return;
    const auto& o = *policy.NamedObjects();
    auto add = [&names](const auto& sequence) {
        for (const auto& object : sequence)
            names.emplace(object.Id(), object.Name());
    };
    add(o.ScheduleObject());
    add(o.ServiceObject());
    add(o.VpnObject());
    add(o.InterfaceObject());
    add(o.IpObject());
}

const std::vector<std::string>& SectionNames() {
    static const std::vector<std::string> names = {"local", "vpn", "transit", "tunnel", "nat"};
    return names;
}

std::vector<const Sarvo::Rule*> SectionRules(const Sarvo::PolicyType& policy,
                                             const std::string& section) {
    std::vector<const Sarvo::Rule*> rules;
    for (const auto& rule : policy.Rules().Rule()) {
        if (SectionOfRule(rule) == section) {
            rules.push_back(&rule);
        }
    }
    std::stable_sort(rules.begin(), rules.end(),
                     [](const auto* a, const auto* b) { return a->OrderId() < b->OrderId(); });
    return rules;
}

namespace {

RuleRow RowHead(const Sarvo::Rule& rule, std::size_t position) {
    RuleRow row;
    row.position = position;
    row.identifier = rule.RuleId();
    row.name = rule.Name();
    row.active = rule.IsActive();
    row.action = ActionWords(rule.Action());
    return row;
}

std::wstring WordsOfSide(const Sarvo::ConditionSet::Source_optional& side,
                         const ConditionText& words) {
    std::vector<std::wstring> parts;
    if (side.present()) {
        for (const std::string& entry : words.SideEntries(side.get()))
            parts.push_back(FromUtf8(entry));
    }
    return Joined(parts);
}

template <typename Sequence, typename Render>
std::wstring JoinedWords(const Sequence& conditions, Render render) {
    std::vector<std::wstring> parts;
    for (const auto& condition : conditions)
        parts.push_back(FromUtf8(render(condition)));
    return Joined(parts);
}

}  // namespace

std::vector<RuleRow> SectionRows(const Sarvo::PolicyType& policy, const std::string& section,
                                 const IXmlWrapper& wrapper, const ObjectNames& names) {
    std::vector<RuleRow> rows;
    for (const Sarvo::Rule* rule : SectionRules(policy, section)) {
        const auto& conditions = rule->ConditionSet();
        std::vector<std::wstring> services;
        for (const auto& s : conditions.ServiceCondition())
            services.push_back(wrapper.ServiceConditionText(s));
        std::vector<std::wstring> schedules;
        for (const auto& s : conditions.ScheduleCondition())
            schedules.push_back(wrapper.ScheduleConditionText(s));
        RuleRow row = RowHead(*rule, rows.size());
        row.source = WithObjectNames(SideText(conditions.Source(), wrapper), names);
        row.destination = WithObjectNames(SideText(conditions.Destination(), wrapper), names);
        row.services = WithObjectNames(Joined(services), names);
        row.schedules = WithObjectNames(Joined(schedules), names);
        rows.push_back(row);
    }
    return rows;
}

std::vector<RuleRow> SectionRowsInWords(const Sarvo::PolicyType& policy, const std::string& section,
                                        const ConditionText& words) {
    std::vector<RuleRow> rows;
    for (const Sarvo::Rule* rule : SectionRules(policy, section)) {
        const auto& conditions = rule->ConditionSet();
        RuleRow row = RowHead(*rule, rows.size());
        row.source = WordsOfSide(conditions.Source(), words);
        row.destination = WordsOfSide(conditions.Destination(), words);
        row.services = JoinedWords(conditions.ServiceCondition(),
                                   [&words](const auto& s) { return words.Service(s); });
        row.schedules = JoinedWords(conditions.ScheduleCondition(),
                                    [&words](const auto& s) { return words.Schedule(s); });
        rows.push_back(row);
    }
    return rows;
}

}  // namespace fwpolicy
