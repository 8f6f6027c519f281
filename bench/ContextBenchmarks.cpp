// Context operations: removing a named object with the search of the rules
// that refer to it, the resultant policy of three documents, and the paths
// that concern a single rule (a rule by its index, one rule's change
// notification).

#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <fwcommon/Context.h>
#include <fwcommon/INamedObject.h>
#include <fwcommon/IRule.h>

#include "BenchPolicies.h"
#include "BenchRegistry.h"

namespace fwbench {
namespace {

using fwcommon::Context;

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// Removes one named object of the policy per call; every removal is rolled
// back outside the timed region, and the rule indexes are rebuilt there
// too, so each call starts from the loaded policy.
void RemoveNamedObject(benchmark::State& state, const PolicySize& size) {
    const std::wstring dataname = L"policy-" + Wide(size.label);
    Context context;
    context.AppendXmlReader(dataname, PolicyBytes(size), fwcommon::User, AllEditable(), L"");
    const auto objects = context.GetNamedObjects(dataname);
    if (!objects || objects->empty()) {
        state.SkipWithError("the policy holds no named objects");
        return;
    }
    context.GetRules(dataname, fwcommon::eLocalRules);
    std::size_t next = 0;
    for (auto _ : state) {
        const auto& object = (*objects)[next];
        if (!context.RemoveNamedObject(dataname, object->GetCreationType(), object->GetName())) {
            state.SkipWithError("a named object of the policy was not removed");
            break;
        }
        state.PauseTiming();
        context.RollbackChanges();
        context.GetRules(dataname, fwcommon::eLocalRules);
        next = (next + 97) % objects->size();
        state.ResumeTiming();
    }
}

// The resultant policy of the same policy registered three times, under
// three creation types, so that the merge meets identifiers it must renumber.
void GetRsop(benchmark::State& state, const PolicySize& size) {
    Context context;
    const fwcommon::CreationType types[] = {fwcommon::User, fwcommon::Generated, fwcommon::Policy};
    int copy = 0;
    for (fwcommon::CreationType type : types) {
        context.AppendXmlReader(L"policy-" + std::to_wstring(++copy), PolicyBytes(size), type,
                                AllEditable(), L"");
    }
    std::vector<unsigned char> out;
    for (auto _ : state) {
        context.GetRSOP(out, 1700000000, 900);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = static_cast<double>(out.size());
}

// The section the single-rule benchmarks work on: the largest of the
// generated policies, and the last one the Context's listener searches.
constexpr fwcommon::RuleType kSingleRuleSection = fwcommon::eTransitRules;

// Walks the section by index, one rule per call, as a host that shows the
// rules one by one does.
void GetRuleByIndex(benchmark::State& state, const PolicySize& size) {
    const std::wstring dataname = L"policy-" + Wide(size.label);
    Context context;
    context.AppendXmlReader(dataname, PolicyBytes(size), fwcommon::User, AllEditable(), L"");
    const auto count =
        static_cast<unsigned int>(context.GetRules(dataname, kSingleRuleSection)->size());
    if (count == 0) {
        state.SkipWithError("the section holds no rules");
        return;
    }
    unsigned int next = 0;
    for (auto _ : state) {
        auto rule = context.GetRule(dataname, kSingleRuleSection, next);
        benchmark::DoNotOptimize(rule.get());
        next = (next + 1) % count;
    }
    state.counters["rules"] = static_cast<double>(count);
}

// One change notification of a rule the Context created at the end of the
// section: the Context's listener finds the rule's document and creation
// type and records the change.
void RuleNotification(benchmark::State& state, const PolicySize& size) {
    const std::wstring dataname = L"policy-" + Wide(size.label);
    Context context;
    context.AppendXmlReader(dataname, PolicyBytes(size), fwcommon::User, AllEditable(), L"");
    const auto rule = context.CreateRule(dataname, kSingleRuleSection, fwcommon::User,
                                         L"benchmark rule", Context::RuleActions::ePass, -1);
    if (!rule) {
        state.SkipWithError("the rule was not created");
        return;
    }
    for (auto _ : state) {
        rule->NotifyChanged();
    }
}

template <typename Function>
benchmark::internal::Benchmark* Register(const std::string& name, const PolicySize& size,
                                         Function function) {
    return benchmark::RegisterBenchmark((name + "/" + size.label).c_str(), function, size);
}

}  // namespace

void RegisterContextBenchmarks(const std::vector<PolicySize>& sizes) {
    for (const PolicySize& size : sizes) {
        const bool large = size.label == "100k";
        Register("Context.RemoveNamedObject", size, RemoveNamedObject)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(large ? 5 : 50);
        Register("Context.GetRSOP", size, GetRsop)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(large ? 1 : 5);
        Register("Context.GetRuleByIndex", size, GetRuleByIndex)->Unit(benchmark::kMicrosecond);
        Register("Context.RuleNotification", size, RuleNotification)->Unit(benchmark::kMicrosecond);
    }
}

}  // namespace fwbench
