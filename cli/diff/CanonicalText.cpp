#include "CanonicalText.h"

#include <fwcommon/RuleIdentifier.h>

#include "diff/ElementFields.h"
#include "diff/FieldChange.h"
#include "render/ConditionText.h"
#include "render/RuleTable.h"
#include "text/Utf8.h"

namespace fwpolicy {
namespace {

const char* const kAnything = "*";

std::string Joined(const std::vector<std::string>& entries, const char* empty) {
    if (entries.empty())
        return empty;
    std::string text;
    for (const std::string& entry : entries)
        text += (text.empty() ? "" : ", ") + entry;
    return text;
}

template <typename Sequence, typename Render>
std::string JoinedEntries(const Sequence& conditions, Render render, const char* empty) {
    std::vector<std::string> entries;
    for (const auto& condition : conditions)
        entries.push_back(render(condition));
    return Joined(entries, empty);
}

std::string Side(const Sarvo::ConditionSet::Source_optional& side, const ConditionText& words) {
    return side ? Joined(words.SideEntries(*side), kAnything) : kAnything;
}

std::string Heading(const std::string& what, const std::wstring& key, const std::string& type,
                    const std::wstring& name) {
    return what + " " + ToUtf8(key) + " (" + type + ") \"" + ToUtf8(name) + "\"";
}

template <typename Optional>
void AddOptional(std::string& line, const std::string& field, const Optional& value) {
    if (value)
        line += "; " + field + " \"" + ToUtf8(*value) + "\"";
}

void AddOptionalFlag(std::string& line, const std::string& field,
                     const Sarvo::Rule::Reserved1_optional& value) {
    if (value)
        line += "; " + field + " " + YesNo(*value);
}

std::string RuleLine(const Sarvo::Rule& rule, const std::string& section,
                     const ConditionText& words) {
    const auto& c = rule.ConditionSet();
    std::string line =
        Heading("rule " + section, std::to_wstring(fwcommon::RuleIdentifierOf(rule.RuleId())),
                CreationTypeWord(rule.CreationType()), rule.Name());
    line += ": active " + YesNo(rule.IsActive());
    line += "; action " + ToUtf8(ActionWords(rule.Action()));
    line += "; source " + Side(c.Source(), words);
    line += "; destination " + Side(c.Destination(), words);
    line += "; services " + JoinedEntries(
                                c.ServiceCondition(),
                                [&words](const auto& s) { return words.Service(s); }, kAnything);
    line += "; schedules " + JoinedEntries(
                                 c.ScheduleCondition(),
                                 [&words](const auto& s) { return words.Schedule(s); }, kAnything);
    AddOptionalFlag(line, "Reserved1", rule.Reserved1());
    AddOptionalFlag(line, "Reserved2", rule.Reserved2());
    AddOptional(line, "Reserved3", rule.Reserved3());
    return line;
}

template <typename Sequence, typename Render>
void AddObjectLines(const Sequence& objects, const std::string& kind, Render render,
                    std::vector<std::string>& lines) {
    for (const auto& object : objects) {
        std::string line = Heading("object " + kind, std::to_wstring(object.Id()),
                                   CreationTypeWord(object.CreationType()), object.Name());
        line += ": inclusions " + JoinedEntries(object.Inclusion(), render, kNoValue);
        line += "; exclusions " + JoinedEntries(object.Exclusion(), render, kNoValue);
        AddOptional(line, "Reserved", object.Reserved());
        lines.push_back(line);
    }
}

void AddObjects(const Sarvo::NamedObjects& o, const ConditionText& w,
                std::vector<std::string>& lines) {
    AddObjectLines(
        o.IpObject(), "ip", [&w](const auto& e) { return w.IpHost(e); }, lines);
    AddObjectLines(
        o.InterfaceObject(), "interface", [&w](const auto& e) { return w.Interface(e); }, lines);
    AddObjectLines(
        o.VpnObject(), "vpn", [&w](const auto& e) { return w.VpnHost(e); }, lines);
    AddObjectLines(
        o.ServiceObject(), "service", [&w](const auto& e) { return w.Service(e); }, lines);
    AddObjectLines(
        o.ScheduleObject(), "schedule", [&w](const auto& e) { return w.Schedule(e); }, lines);
}

std::string OptionLine(const Sarvo::Option& option) {
    std::string line = "option \"" + ToUtf8(option.Name()) + "\" (" +
                       CreationTypeWord(option.CreationType()) + "): value \"" +
                       ToUtf8(option.Value()) + "\"";
    AddOptional(line, "TargetApplication", option.TargetApplication());
    AddOptional(line, "TargetPlatform", option.TargetPlatform());
    AddOptional(line, "Reserved", option.Reserved());
    return line;
}

}  // namespace

std::vector<std::string> CanonicalLines(const Sarvo::PolicyType& policy,
                                        const textforms::ProtocolNames& protocols) {
    KindedObjectNames names;
    CollectKindedObjectNames(policy, names);
    const ConditionText words(names, protocols);
    std::vector<std::string> lines;
    for (const std::string& section : SectionNames()) {
        for (const Sarvo::Rule* rule : SectionRules(policy, section))
            lines.push_back(RuleLine(*rule, section, words));
    }
    if (policy.NamedObjects())
        AddObjects(*policy.NamedObjects(), words, lines);
    if (policy.Options()) {
        for (const Sarvo::Option& option : policy.Options()->Option())
            lines.push_back(OptionLine(option));
    }
    return lines;
}

}  // namespace fwpolicy
