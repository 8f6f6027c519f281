#include "MergeRenumberings.h"

#include <map>
#include <regex>

#include <fwcommon/LogFacility.h>
#include "RuleSection.h"

namespace fwpolicy {
namespace {

// The kind word of every named object of the merged document by its Id;
// the merge gives each Id to one object only, whatever its kind.
std::map<long long, std::string> ObjectKindsById(const Sarvo::PolicyType& merged) {
    std::map<long long, std::string> kinds;
    if (!merged.NamedObjects()) {
        return kinds;
    }
    const Sarvo::NamedObjects& objects = *merged.NamedObjects();
    const auto enter = [&kinds](const auto& sequence, const char* kind) {
        for (const auto& object : sequence) {
            kinds.emplace(object.Id(), std::string(kind) + " object");
        }
    };
    enter(objects.IpObject(), "ip");
    enter(objects.InterfaceObject(), "interface");
    enter(objects.VpnObject(), "vpn");
    enter(objects.ServiceObject(), "service");
    enter(objects.ScheduleObject(), "schedule");
    return kinds;
}

// The section word of the merged rule of that identifier and name.
std::string RuleWhat(const Sarvo::PolicyType& merged, long long id, const std::wstring& name) {
    for (const Sarvo::Rule& rule : merged.Rules().Rule()) {
        if (static_cast<long long>(rule.RuleId()) == id && rule.Name() == name) {
            const std::string section = SectionOfRule(rule);
            return section.empty() ? "rule" : section + " rule";
        }
    }
    return "rule";
}

}  // namespace

MergeLogCapture::MergeLogCapture()
    : sink_(fwcommon::kLogRoutine), previous_(fwcommon::GetLibLogFacility().AttachSink(&sink_)) {}

MergeLogCapture::~MergeLogCapture() {
    fwcommon::GetLibLogFacility().AttachSink(previous_);
}

std::vector<Renumbering> RenumberingsOf(const std::vector<std::wstring>& lines,
                                        const Sarvo::PolicyType& merged) {
    static const std::wregex document(L"'GetRSOP': merging '(.*)'$");
    static const std::wregex renumbered(
        L"'GetRSOP': (named object|rule) '(.*)' renumbered from (-?[0-9]+) to (-?[0-9]+)$");
    const std::map<long long, std::string> kinds = ObjectKindsById(merged);
    std::vector<Renumbering> out;
    std::wstring dataname;
    std::wsmatch match;
    for (const std::wstring& line : lines) {
        if (std::regex_search(line, match, document)) {
            dataname = match[1];
        } else if (std::regex_search(line, match, renumbered)) {
            Renumbering r;
            r.dataname = dataname;
            r.name = match[2];
            r.from = std::stoll(match[3]);
            r.to = std::stoll(match[4]);
            if (match[1] == L"rule") {
                r.what = RuleWhat(merged, r.to, r.name);
            } else {
                const auto kind = kinds.find(r.to);
                r.what = kind == kinds.end() ? "named object" : kind->second;
            }
            out.push_back(std::move(r));
        }
    }
    return out;
}

}  // namespace fwpolicy
