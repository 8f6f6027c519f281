#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <fwcommon/PolicyQuery.h>
#include <fwcommon/rules.hxx>

#include "render/ConditionText.h"

namespace fwpolicy {

// What `fwpolicy query` found in one file. The section results point into
// the loaded policy, which the answer therefore owns. Plain value, one
// thread at a time.
struct FileAnswer {
    std::string file;
    std::unique_ptr<Sarvo::PolicyType> policy;
    std::vector<fwcommon::QuerySectionResult> sections;
    KindedObjectNames names;  // of the policy's objects, then the objects file's
};

// One line of a rule's explanation as the tool words it.
struct ExplanationLine {
    std::size_t depth = 0;
    fwcommon::QueryAnswer answer = fwcommon::QueryAnswer::eMatches;
    std::string text;
};

// A rule's explanation in the words show uses: conditions as show writes
// them ("tcp/22", "daily 08:00-18:00", @"Office LAN"), a rule's interface
// with the way the flow takes it ("in interface:eth1"), object members
// after "include" or "exclude", "any" for a part without conditions.
std::vector<ExplanationLine> ExplanationInWords(const fwcommon::QueryRuleResult& r,
                                                const ConditionText& words);

// What a rule's answer depends on in the same words: "source:
// domain:intranet", "destination: InternetIP", "reverse direction:
// service: the ports, not all given".
std::string DependencyInWords(const fwcommon::QueryDependency& d, const ConditionText& words);

// The exit status of a query beyond kExitOk, kExitFailure and kExitUsage:
// the decision depends on what the flow leaves open.
constexpr int kExitDepends = 3;

// 0 when a filtering section passes the flow, else kExitDepends when one
// depends, else 1. The NAT section counts only when it is the only one
// asked, a translation then counting as a pass.
int QueryExitStatus(const std::vector<FileAnswer>& answers);

// The overall decision an exit status stands for: "pass", "depends" or
// "drop" (which includes "no rule matches").
std::string QueryOutcomeName(int status);

// A rule's position as `show` numbers it, from 0.
std::size_t ShownPosition(const fwcommon::QueryRuleResult& r);

// The changes a translation makes, in the order source, destination,
// destination port; empty for a filtering rule.
struct TranslationParts {
    std::string sourceIp;  // empty: not translated to an address
    bool toOutboundInterface = false;
    std::string destinationIp;       // empty: kept
    long long destinationPort = -1;  // negative: kept
};
TranslationParts TranslationOf(const Sarvo::Rule& rule);

// "pass", "drop" or "translate".
std::string ActionName(const Sarvo::Rule& rule);

}  // namespace fwpolicy
