#include "verbs/QueryCommand.h"

#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <fwcommon/PolicyQuery.h>

#include "ExitStatus.h"
#include "fileio/DataFiles.h"
#include "fileio/PolicyFile.h"
#include "policy/RuleSection.h"
#include "render/QueryAnswers.h"
#include "render/QueryJson.h"
#include "render/QueryText.h"
#include "text/Utf8.h"
#include "verbs/QueryFlowText.h"

namespace fwpolicy {
namespace {

struct QueryOptions {
    std::vector<std::string> files;
    std::string objects;
    std::string section;
    // The parts of the flow the command line gives; a part given empty is
    // refused rather than left open.
    std::optional<std::string> from;
    std::optional<std::string> to;
    std::optional<std::string> inInterface;
    std::optional<std::string> outInterface;
    std::optional<std::string> service;
    std::optional<std::string> at;
    bool all = false;
    bool explain = false;
    bool json = false;
};

// Sets one part of the flow from its option's text, when the option is given.
template <typename Part, typename Parse>
void SetGiven(Part& part, const char* option, const std::optional<std::string>& text, Parse parse) {
    if (text) {
        part = OptionValue(option, *text, parse);
    }
}

fwcommon::QueryFlow FlowOf(const QueryOptions& o) {
    fwcommon::QueryFlow flow;
    SetGiven(flow.from, "--from", o.from, ParseFlowEndpoint);
    SetGiven(flow.to, "--to", o.to, ParseFlowEndpoint);
    SetGiven(flow.inInterface, "--in-interface", o.inInterface, ParseFlowInterface);
    SetGiven(flow.outInterface, "--out-interface", o.outInterface, ParseFlowInterface);
    SetGiven(flow.service, "--service", o.service, ParseFlowService);
    SetGiven(flow.at, "--at", o.at, ParseFlowTime);
    return flow;
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
        // A flow that cannot be is a usage error, told as the other verbs tell theirs.
        throw CLI::ValidationError(e.what());
    }
    query.all = options.all;
    query.explain = options.explain;
    std::unique_ptr<Sarvo::PolicyType> objects;
    if (!options.objects.empty() && !(objects = LoadPolicyFile(options.objects))) {
        return kExitUsage;
    }
    std::vector<FileAnswer> answers;
    for (const std::string& file : options.files) {
        FileAnswer answer{file, LoadPolicyFile(file), {}, {}};
        if (!answer.policy) {
            return kExitUsage;
        }
        CollectKindedObjectNames(*answer.policy, answer.names);
        if (objects) {
            CollectKindedObjectNames(*objects, answer.names);
        }
        answer.sections = fwcommon::QueryPolicy(*answer.policy, objects.get(), flow, query);
        answers.push_back(std::move(answer));
    }
    const int status = QueryExitStatus(answers);
    if (options.json) {
        std::cout << QueryJson(answers, status, options.explain).dump(2) << '\n';
    } else {
        PrintQueryText(std::cout, answers, options.explain);
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
    query->callback([o, status] {
        LoadDictionaries();
        *status = RunQuery(*o);
    });
}

}  // namespace fwpolicy
