#include "QueryCommand.h"

#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <fwcommon/PolicyQuery.h>
#include <nlohmann/json.hpp>

#include "CheckCommand.h"
#include "DataFiles.h"
#include "PolicyFile.h"
#include "QueryFlowText.h"
#include "RuleSection.h"
#include "Utf8.h"

namespace fwpolicy {
namespace {

constexpr int kExitDepends = 3;

struct QueryOptions {
    std::vector<std::string> files;
    std::string objects;
    std::string section;
    std::string from;
    std::string to;
    std::string inInterface;
    std::string outInterface;
    std::string service;
    std::string at;
    // Which parts of the flow the command line gives; a part given empty
    // is refused rather than left open.
    bool hasFrom = false;
    bool hasTo = false;
    bool hasInInterface = false;
    bool hasOutInterface = false;
    bool hasService = false;
    bool hasAt = false;
    bool all = false;
    bool explain = false;
    bool json = false;
};

// One file's answer; the results point into the loaded policy, which the
// answer therefore owns.
struct FileAnswer {
    std::string file;
    std::unique_ptr<Sarvo::PolicyType> policy;
    std::vector<fwcommon::QuerySectionResult> sections;
};

std::string SectionName(fwcommon::RuleType section) {
    switch (section) {
        case fwcommon::eVPNRules:
            return "vpn";
        case fwcommon::eNATRules:
            return "nat";
        case fwcommon::eTunnelRules:
            return "tunnel";
        case fwcommon::eLocalRules:
            return "local";
        case fwcommon::eTransitRules:
            return "transit";
    }
    return "";
}

// The value of one option, parsed; a refusal names the option.
template <typename Parse>
auto OptionValue(const char* option, const std::string& text, Parse parse) {
    try {
        return parse(text);
    } catch (const std::exception& e) {
        throw std::invalid_argument(std::string(option) + ": " + e.what());
    }
}

fwcommon::QueryFlow FlowOf(const QueryOptions& o) {
    fwcommon::QueryFlow flow;
    if (o.hasFrom) {
        flow.from = OptionValue("--from", o.from, ParseFlowEndpoint);
    }
    if (o.hasTo) {
        flow.to = OptionValue("--to", o.to, ParseFlowEndpoint);
    }
    if (o.hasInInterface) {
        flow.inInterface = OptionValue("--in-interface", o.inInterface, ParseFlowInterface);
    }
    if (o.hasOutInterface) {
        flow.outInterface = OptionValue("--out-interface", o.outInterface, ParseFlowInterface);
    }
    if (o.hasService) {
        flow.service = OptionValue("--service", o.service, ParseFlowService);
    }
    if (o.hasAt) {
        flow.at = OptionValue("--at", o.at, ParseFlowTime);
    }
    return flow;
}

// Positions as `show` numbers them, from 0.
std::size_t ShownPosition(const fwcommon::QueryRuleResult& r) {
    return r.position - 1;
}

std::string RuleLabel(const fwcommon::QueryRuleResult& r) {
    return "#" + std::to_string(ShownPosition(r)) + " \"" + ToUtf8(r.rule->Name()) + "\" (RuleId " +
           std::to_string(r.rule->RuleId()) + ")";
}

// "pass", "drop", or what a translation does.
std::string ActionOf(const Sarvo::Rule& rule) {
    if (const auto* filter = dynamic_cast<const Sarvo::Filter*>(&rule.Action())) {
        return filter->FilteringAction() == Sarvo::ActionTypes::Pass ? "pass" : "drop";
    }
    const auto* nat = dynamic_cast<const Sarvo::Translation*>(&rule.Action());
    if (nat == nullptr) {
        return "no action";
    }
    std::vector<std::string> parts;
    if (nat->SourceIp()) {
        parts.push_back("source to " + ToUtf8(nat->SourceIp()->Value()));
    }
    if (nat->IsTranslatedIntoOutboundInterface()) {
        parts.push_back("source to the outbound interface's address");
    }
    if (nat->DestinationIp()) {
        parts.push_back("destination to " + ToUtf8(nat->DestinationIp()->Value()));
    }
    if (nat->DestinationPort()) {
        parts.push_back("destination port to " + std::to_string(nat->DestinationPort()->Value()));
    }
    std::string text = "translate";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        text += (i == 0 ? ": " : ", ") + parts[i];
    }
    return parts.empty() ? "translate: nothing" : text;
}

std::string DecisionLine(const fwcommon::QuerySectionResult& s) {
    const std::string name = SectionName(s.section);
    switch (s.decision) {
        case fwcommon::QueryDecision::ePass:
        case fwcommon::QueryDecision::eDrop:
        case fwcommon::QueryDecision::eTranslate: {
            const auto& r = s.rules[*s.deciding];
            return name + ": " + ActionOf(*r.rule) + " by rule " + RuleLabel(r);
        }
        case fwcommon::QueryDecision::eDepends:
            return name + ": depends" +
                   (s.deciding ? ", else " + ActionOf(*s.rules[*s.deciding].rule) + " by rule " +
                                     RuleLabel(s.rules[*s.deciding])
                               : std::string(", else no rule matches"));
        case fwcommon::QueryDecision::eNoMatch:
            break;
    }
    return name + ": no rule matches";
}

void PrintRule(const fwcommon::QueryRuleResult& r, bool deciding, bool explain) {
    std::cout << "  " << RuleLabel(r) << ": " << fwcommon::QueryAnswerName(r.answer)
              << (r.reverse ? " in the reverse direction" : "") << (deciding ? " (decides)" : "")
              << '\n';
    for (const std::wstring& d : r.dependsOn) {
        std::cout << "    depends on " << ToUtf8(d) << '\n';
    }
    if (!explain) {
        return;
    }
    for (const fwcommon::QueryReason& reason : r.explanation) {
        std::cout << std::string(6 + 2 * reason.depth, ' ') << ToUtf8(reason.text) << ": "
                  << fwcommon::QueryAnswerName(reason.answer) << '\n';
    }
}

void PrintText(const std::vector<FileAnswer>& answers, bool explain) {
    for (const FileAnswer& a : answers) {
        const std::string prefix = answers.size() > 1 ? a.file + ": " : "";
        for (const auto& s : a.sections) {
            std::cout << prefix << DecisionLine(s) << '\n';
            for (std::size_t i = 0; i < s.rules.size(); ++i) {
                PrintRule(s.rules[i], s.deciding && *s.deciding == i, explain);
            }
        }
    }
}

nlohmann::json RuleJson(const fwcommon::QueryRuleResult& r, bool deciding) {
    nlohmann::json parts = nlohmann::json::object();
    for (const auto& p : r.parts) {
        parts[ToUtf8(p.part)] = fwcommon::QueryAnswerName(p.answer);
    }
    nlohmann::json depends = nlohmann::json::array();
    for (const std::wstring& d : r.dependsOn) {
        depends.push_back(ToUtf8(d));
    }
    nlohmann::json j = {{"position", ShownPosition(r)},
                        {"ruleId", r.rule->RuleId()},
                        {"name", ToUtf8(r.rule->Name())},
                        {"answer", fwcommon::QueryAnswerName(r.answer)},
                        {"direction", r.reverse ? "reverse" : "forward"},
                        {"decides", deciding},
                        {"action", ActionOf(*r.rule)},
                        {"parts", parts},
                        {"dependsOn", depends}};
    if (!r.explanation.empty()) {
        nlohmann::json lines = nlohmann::json::array();
        for (const auto& reason : r.explanation) {
            lines.push_back({{"depth", reason.depth},
                             {"answer", fwcommon::QueryAnswerName(reason.answer)},
                             {"text", ToUtf8(reason.text)}});
        }
        j["explanation"] = lines;
    }
    return j;
}

nlohmann::json SectionJson(const fwcommon::QuerySectionResult& s) {
    nlohmann::json rules = nlohmann::json::array();
    for (std::size_t i = 0; i < s.rules.size(); ++i) {
        rules.push_back(RuleJson(s.rules[i], s.deciding && *s.deciding == i));
    }
    nlohmann::json j = {{"section", SectionName(s.section)},
                        {"decision", fwcommon::QueryDecisionName(s.decision)},
                        {"rules", rules}};
    j["deciding"] =
        s.deciding ? nlohmann::json(ShownPosition(s.rules[*s.deciding])) : nlohmann::json(nullptr);
    return j;
}

// 0 when a section passes the flow, else 3 when one depends, else 1. NAT
// sections count only when nothing but NAT is asked (a translation then
// counts as passing).
int ExitStatusOf(const std::vector<FileAnswer>& answers) {
    bool onlyNat = true;
    for (const auto& a : answers) {
        for (const auto& s : a.sections) {
            onlyNat = onlyNat && s.section == fwcommon::eNATRules;
        }
    }
    bool depends = false;
    for (const auto& a : answers) {
        for (const auto& s : a.sections) {
            if (s.section == fwcommon::eNATRules && !onlyNat) {
                continue;
            }
            if (s.decision == fwcommon::QueryDecision::ePass ||
                s.decision == fwcommon::QueryDecision::eTranslate) {
                return kExitOk;
            }
            depends = depends || s.decision == fwcommon::QueryDecision::eDepends;
        }
    }
    return depends ? kExitDepends : kExitFailure;
}

std::string DecisionName(int status) {
    return status == kExitOk ? "pass" : status == kExitDepends ? "depends" : "drop";
}

void PrintJson(const std::vector<FileAnswer>& answers, int status) {
    nlohmann::json files = nlohmann::json::array();
    for (const FileAnswer& a : answers) {
        nlohmann::json sections = nlohmann::json::array();
        for (const auto& s : a.sections) {
            sections.push_back(SectionJson(s));
        }
        files.push_back({{"file", a.file}, {"sections", sections}});
    }
    std::cout << nlohmann::json{{"files", files}, {"decision", DecisionName(status)}}.dump(2)
              << '\n';
}

int RunQuery(const QueryOptions& options) {
    fwcommon::QueryOptions query;
    fwcommon::QueryFlow flow;
    try {
        flow = FlowOf(options);
        if (!options.section.empty()) {
            query.sections.push_back(OptionValue("--section", options.section, RuleTypeOfSection));
        }
    } catch (const std::exception& e) {
        std::cerr << "fwpolicy: " << e.what() << '\n';
        return kExitUsage;
    }
    query.all = options.all;
    query.explain = options.explain;
    std::unique_ptr<Sarvo::PolicyType> objects;
    if (!options.objects.empty() && !(objects = LoadPolicyFile(options.objects))) {
        return kExitUsage;
    }
    std::vector<FileAnswer> answers;
    for (const std::string& file : options.files) {
        FileAnswer answer{file, LoadPolicyFile(file), {}};
        if (!answer.policy) {
            return kExitUsage;
        }
        answer.sections = fwcommon::QueryPolicy(*answer.policy, objects.get(), flow, query);
        answers.push_back(std::move(answer));
    }
    const int status = ExitStatusOf(answers);
    if (options.json) {
        PrintJson(answers, status);
    } else {
        PrintText(answers, options.explain);
    }
    return status;
}

}  // namespace

void AddQueryCommand(CLI::App& app, int* status) {
    auto o = std::make_shared<QueryOptions>();
    CLI::App* query =
        app.add_subcommand("query", "Tell which rule decides one flow of traffic, and why");
    query->add_option("FILE", o->files, "Policy files to ask")->required();
    query->add_option("--objects", o->objects,
                      "Named-objects file whose objects the rules may refer to");
    query->add_option("--section", o->section,
                      "Ask one section only: local, vpn, transit, tunnel or nat");
    query->add_option("--from", o->from,
                      "Source: an address, node:N, network:N, name:NODE or a system object");
    query->add_option("--to", o->to, "Destination, in the forms of --from");
    query->add_option("--in-interface", o->inInterface, "Interface the flow comes in on");
    query->add_option("--out-interface", o->outInterface, "Interface the flow leaves by");
    query->add_option("--service", o->service,
                      "Service: tcp/22, tcp/40000:22 (source:destination), udp/53, icmp/8/0, "
                      "proto/47, gre");
    query->add_option("--at", o->at, "Date and time for schedules (2026-12-07T10:00:00)");
    query->add_flag("--all", o->all, "List every matching rule, not only the deciding one");
    query->add_flag("--explain", o->explain,
                    "Show which conditions and object members hold the flow");
    query->add_flag("--json", o->json, "Print the answer as JSON");
    query->callback([o, status, query] {
        o->hasFrom = query->count("--from") > 0;
        o->hasTo = query->count("--to") > 0;
        o->hasInInterface = query->count("--in-interface") > 0;
        o->hasOutInterface = query->count("--out-interface") > 0;
        o->hasService = query->count("--service") > 0;
        o->hasAt = query->count("--at") > 0;
        LoadDictionaries();
        *status = RunQuery(*o);
    });
}

}  // namespace fwpolicy
