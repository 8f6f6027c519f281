// Document store operations on the generated policies.
//
// Loading is measured on fresh readers. Every other operation runs on one
// loaded, indexed reader per size that the benchmarks share; an operation
// that changes the document is undone outside the timed region (or by a
// rollback at the end), so every measured call sees the loaded policy.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include <benchmark/benchmark.h>

#include <fwcommon/Context.h>
#include <fwcommon/IRule.h>
#include <fwcommon/XmlReaderFactory.h>
#include <fwcommon/rules.hxx>

#include "BenchRegistry.h"

namespace fwbench {
namespace {

using fwcommon::CreationType;
using fwcommon::IdentifierWithType;
using fwcommon::IRule;
using fwcommon::IXmlReader;
using fwcommon::RuleType;

// The section the edits work on: the largest of the generated policies.
constexpr RuleType kEditedSection = fwcommon::eTransitRules;
const RuleType kAllSections[] = {fwcommon::eVPNRules, fwcommon::eNATRules, fwcommon::eTunnelRules,
                                 fwcommon::eLocalRules, fwcommon::eTransitRules};

std::shared_ptr<IXmlReader> LoadReader(const PolicySize& size) {
    auto reader = fwcommon::GetXmlReader(
        PolicyBytes(size), L"bench-" + std::wstring(size.label.begin(), size.label.end()),
        fwcommon::User);
    reader->GetRules(fwcommon::eLocalRules);
    return reader;
}

// The shared reader of a size with its rules as loaded.
struct LoadedPolicy {
    std::shared_ptr<IXmlReader> reader;
    std::vector<IdentifierWithType> allRules;    // every rule, in a scattered order
    std::vector<std::shared_ptr<IRule>> edited;  // the edited section in order
};

LoadedPolicy& Loaded(const PolicySize& size) {
    static std::map<std::string, LoadedPolicy> cache;
    auto found = cache.find(size.label);
    if (found != cache.end()) {
        return found->second;
    }
    LoadedPolicy policy;
    policy.reader = LoadReader(size);
    for (RuleType type : kAllSections) {
        const auto rules = policy.reader->GetRules(type);
        for (const auto& rule : *rules) {
            policy.allRules.emplace_back(rule->GetIdentifier(), rule->GetCreationType());
        }
    }
    // A fixed stride through the list visits the sections in turn.
    std::vector<IdentifierWithType> scattered;
    const std::size_t n = policy.allRules.size();
    for (std::size_t i = 0, at = 0; i < n; ++i, at = (at + 7919) % n) {
        scattered.push_back(policy.allRules[at]);
    }
    policy.allRules.swap(scattered);
    const auto edited = policy.reader->GetRules(kEditedSection);
    policy.edited.assign(edited->begin(), edited->end());
    return cache.emplace(size.label, std::move(policy)).first->second;
}

// Returns the shared reader to its committed state with a built index.
void Restore(IXmlReader& reader) {
    reader.RollbackChanges();
    reader.GetRules(fwcommon::eLocalRules);
}

// An edit that leaves the content as it was: the reader treats it as a
// pending change (and separates its committed snapshot, if it defers that).
void TouchRule(IXmlReader& reader, const IRule& rule) {
    reader.UpdateRule(kEditedSection, rule.GetXmlRule());
}

const std::shared_ptr<IRule>& MiddleRule(LoadedPolicy& policy) {
    return policy.edited[policy.edited.size() / 2];
}

Sarvo::Filter PassFilter() {
    return Sarvo::Filter(Sarvo::ActionTypes(Sarvo::ActionTypes::Pass));
}

void Load(benchmark::State& state, const PolicySize& size) {
    for (auto _ : state) {
        auto reader = LoadReader(size);
        benchmark::DoNotOptimize(reader.get());
        state.PauseTiming();
        reader.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * PolicyBytes(size).size()));
}

// The policy of a size with two wide objects more: one of as many
// addresses as the policy has rules, and a group that refers to as many
// objects of one address each. A load reads each member against those read
// before it; these show whether that costs more than linear time.
std::vector<unsigned char> WithWideObjects(const PolicySize& size, std::size_t members) {
    constexpr std::uint32_t kFirstId = 1000000;
    const std::string address =
        "<Inclusion xsi:type=\"sv:IpAddress\"><Value>10.%u.%u.%u</Value>"
        "</Inclusion>";
    const auto addressOf = [&address](std::size_t k) {
        char text[128];
        std::snprintf(text, sizeof text, address.c_str(), static_cast<unsigned>(k >> 16),
                      static_cast<unsigned>((k >> 8) & 0xff), static_cast<unsigned>(k & 0xff));
        return std::string(text);
    };
    const auto object = [](std::uint32_t id, const std::string& name, const std::string& body) {
        return "<IpObject><Name>" + name + "</Name><Id>" + std::to_string(id) +
               "</Id><CreationType>User</CreationType>" + body + "</IpObject>";
    };
    std::string wide;
    std::string group;
    std::string singles;
    for (std::size_t k = 0; k < members; ++k) {
        const auto id = static_cast<std::uint32_t>(kFirstId + 2 + k);
        wide += addressOf(k);
        group += "<Inclusion xsi:type=\"sv:IpObjectRef\"><Id>" + std::to_string(id) +
                 "</Id></Inclusion>";
        singles += object(id, "single " + std::to_string(k), addressOf(k));
    }
    const std::string added =
        object(kFirstId, "wide", wide) + object(kFirstId + 1, "group", group) + singles;
    const std::vector<unsigned char>& bytes = PolicyBytes(size);
    std::string text(bytes.begin(), bytes.end());
    const std::size_t at = text.find("<IpObject>");
    if (at == std::string::npos)
        throw std::invalid_argument("the policy of " + size.label + " holds no IP object");
    text.insert(at, added);
    return std::vector<unsigned char>(text.begin(), text.end());
}

// Registers the policy with its wide objects in a context, which reads
// their members.
void LoadWideObjects(benchmark::State& state, const PolicySize& size, std::size_t members) {
    const std::vector<unsigned char> bytes = WithWideObjects(size, members);
    for (auto _ : state) {
        auto context = std::make_unique<fwcommon::Context>();
        context->AppendXmlReader(L"bench-wide", bytes, fwcommon::User, {}, L"");
        benchmark::DoNotOptimize(context.get());
        state.PauseTiming();
        context.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void GetXmlData(benchmark::State& state, const PolicySize& size) {
    IXmlReader& reader = *Loaded(size).reader;
    std::vector<unsigned char> out;
    for (auto _ : state) {
        reader.GetXmlData(out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["out_bytes"] = static_cast<double>(out.size());
}

void GetRules(benchmark::State& state, const PolicySize& size) {
    IXmlReader& reader = *Loaded(size).reader;
    for (auto _ : state) {
        auto rules = reader.GetRules(kEditedSection);
        benchmark::DoNotOptimize(rules.get());
    }
    state.counters["rules"] = static_cast<double>(Loaded(size).edited.size());
}

// Looks up the first count rules of the scattered list in turn (every rule
// when count is 0).
void GetRuleById(benchmark::State& state, const PolicySize& size, std::size_t count) {
    LoadedPolicy& policy = Loaded(size);
    const std::size_t rules =
        count == 0 ? policy.allRules.size() : std::min(count, policy.allRules.size());
    std::size_t next = 0;
    for (auto _ : state) {
        auto rule = policy.reader->GetRuleById(policy.allRules[next]);
        if (!rule) {
            state.SkipWithError("a loaded rule was not found");
            break;
        }
        benchmark::DoNotOptimize(rule.get());
        next = (next + 1) % rules;
    }
}

// The floor under GetRuleById: the same rules, handed out in the same
// scattered order from a plain hash map keyed by identifier and creation
// type. What grows with the policy here is the cost of reaching memory that
// is no longer in the caches, not the look-up.
void HashLookupBaseline(benchmark::State& state, const PolicySize& size) {
    LoadedPolicy& policy = Loaded(size);
    std::unordered_map<std::uint64_t, std::shared_ptr<IRule>> byKey;
    const auto key = [](const IdentifierWithType& id) {
        return static_cast<std::uint64_t>(id.creationType) << 32 | id.identifier;
    };
    for (RuleType type : kAllSections) {
        const auto rules = policy.reader->GetRules(type);
        for (const auto& rule : *rules) {
            byKey.emplace(key({rule->GetIdentifier(), rule->GetCreationType()}), rule);
        }
    }
    std::size_t next = 0;
    for (auto _ : state) {
        std::shared_ptr<IRule> rule = byKey.find(key(policy.allRules[next]))->second;
        benchmark::DoNotOptimize(rule.get());
        next = (next + 1) % policy.allRules.size();
    }
}

// Each call adds a rule; the run is held to a fixed number of calls so that
// the section grows by at most kCreatedRules whatever the policy's size.
// Removing the new rule inside the loop would make the next call rebuild
// the reader's RuleId lookup, which is not what a caller adding rules pays.
constexpr int kCreatedRules = 100;

void CreateRule(benchmark::State& state, const PolicySize& size, std::int32_t position) {
    LoadedPolicy& policy = Loaded(size);
    IXmlReader& reader = *policy.reader;
    TouchRule(reader, *MiddleRule(policy));
    const Sarvo::Filter action = PassFilter();
    for (auto _ : state) {
        auto rule =
            reader.CreateRule(kEditedSection, fwcommon::User, L"Benchmark rule", action, position);
        if (!rule) {
            state.SkipWithError("no rule was created");
            break;
        }
    }
    Restore(reader);
}

void UpdateRule(benchmark::State& state, const PolicySize& size) {
    LoadedPolicy& policy = Loaded(size);
    IXmlReader& reader = *policy.reader;
    std::shared_ptr<Sarvo::Rule> element(MiddleRule(policy)->GetXmlRule()->_clone());
    const std::wstring names[] = {element->Name() + L" (a)", element->Name() + L" (b)"};
    int turn = 0;
    for (auto _ : state) {
        element->Name(names[turn ^= 1]);
        auto stored = reader.UpdateRule(kEditedSection, element);
        benchmark::DoNotOptimize(stored.get());
    }
    Restore(reader);
}

void RemoveRule(benchmark::State& state, const PolicySize& size) {
    LoadedPolicy& policy = Loaded(size);
    IXmlReader& reader = *policy.reader;
    TouchRule(reader, *MiddleRule(policy));
    std::size_t next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto& rule = policy.edited[next];
        next = (next + 101) % policy.edited.size();
        std::shared_ptr<Sarvo::Rule> copy(rule->GetXmlRule()->_clone());
        state.ResumeTiming();
        const bool removed =
            reader.RemoveRule(kEditedSection, {rule->GetIdentifier(), rule->GetCreationType()});
        state.PauseTiming();
        if (!removed) {
            state.SkipWithError("a loaded rule could not be removed");
        }
        reader.UpdateRule(kEditedSection, copy);
        state.ResumeTiming();
    }
    Restore(reader);
}

void ChangeRulePriority(benchmark::State& state, const PolicySize& size) {
    LoadedPolicy& policy = Loaded(size);
    IXmlReader& reader = *policy.reader;
    const std::uint32_t id = MiddleRule(policy)->GetIdentifier();
    std::int32_t shift = 1;
    for (auto _ : state) {
        if (!reader.ChangeRulePriority(kEditedSection, id, shift)) {
            state.SkipWithError("the rule could not be moved");
            break;
        }
        shift = -shift;
    }
    Restore(reader);
}

void CommitChanges(benchmark::State& state, const PolicySize& size) {
    LoadedPolicy& policy = Loaded(size);
    IXmlReader& reader = *policy.reader;
    for (auto _ : state) {
        state.PauseTiming();
        TouchRule(reader, *MiddleRule(policy));
        state.ResumeTiming();
        reader.CommitChanges();
    }
}

// The first change after a commit, where a reader that defers copying its
// committed snapshot pays for the copy.
void FirstEditAfterCommit(benchmark::State& state, const PolicySize& size) {
    LoadedPolicy& policy = Loaded(size);
    IXmlReader& reader = *policy.reader;
    for (auto _ : state) {
        state.PauseTiming();
        reader.CommitChanges();
        state.ResumeTiming();
        TouchRule(reader, *MiddleRule(policy));
    }
    reader.CommitChanges();
}

void RollbackChanges(benchmark::State& state, const PolicySize& size, bool thenRead) {
    LoadedPolicy& policy = Loaded(size);
    IXmlReader& reader = *policy.reader;
    for (auto _ : state) {
        state.PauseTiming();
        TouchRule(reader, *MiddleRule(policy));
        state.ResumeTiming();
        reader.RollbackChanges();
        if (thenRead) {
            benchmark::DoNotOptimize(reader.GetRules(kEditedSection).get());
        }
    }
    Restore(reader);
}

// The number of rules a label such as "10k" names; 0 for another label.
std::size_t RulesOfLabel(const std::string& label) {
    constexpr std::size_t kThousand = 1000;
    if (label.size() < 2 || label.back() != 'k' ||
        label.find_first_not_of("0123456789") != label.size() - 1)
        return 0;
    return std::stoul(label.substr(0, label.size() - 1)) * kThousand;
}

template <typename Function, typename... Args>
benchmark::internal::Benchmark* Register(const std::string& name, const PolicySize& size,
                                         Function function, Args... args) {
    return benchmark::RegisterBenchmark((name + "/" + size.label).c_str(), function, size, args...);
}

}  // namespace

void RegisterStoreBenchmarks(const std::vector<PolicySize>& sizes) {
    for (const PolicySize& size : sizes) {
        Register("Load", size, Load)->Unit(benchmark::kMillisecond);
        Register("GetXmlData", size, GetXmlData)->Unit(benchmark::kMillisecond);
        if (const std::size_t rules = RulesOfLabel(size.label))
            Register("Load.WideObjects", size, LoadWideObjects, rules)
                ->Unit(benchmark::kMillisecond);
        Register("GetRules", size, GetRules)->Unit(benchmark::kMicrosecond);
        Register("GetRuleById", size, GetRuleById, std::size_t{0})->Unit(benchmark::kMicrosecond);
        // The same look-ups over a working set of a thousand rules spread
        // through the policy: what the look-up itself costs at each size,
        // apart from memory the whole-policy walk no longer finds cached.
        Register("GetRuleById.Working1k", size, GetRuleById, std::size_t{1000})
            ->Unit(benchmark::kMicrosecond);
        Register("Baseline.RuleHashLookup", size, HashLookupBaseline)
            ->Unit(benchmark::kMicrosecond);
        Register("CreateRuleAtEnd", size, CreateRule, -1)
            ->Unit(benchmark::kMicrosecond)
            ->Iterations(kCreatedRules);
        Register("CreateRuleAtStart", size, CreateRule, 0)
            ->Unit(benchmark::kMicrosecond)
            ->Iterations(kCreatedRules);
        Register("UpdateRule", size, UpdateRule)->Unit(benchmark::kMicrosecond);
        Register("RemoveRule", size, RemoveRule)->Unit(benchmark::kMicrosecond);
        Register("ChangeRulePriority", size, ChangeRulePriority)->Unit(benchmark::kMicrosecond);
        Register("CommitChanges", size, CommitChanges)->Unit(benchmark::kMillisecond);
        Register("FirstEditAfterCommit", size, FirstEditAfterCommit)->Unit(benchmark::kMillisecond);
        Register("RollbackChanges", size, RollbackChanges, false)->Unit(benchmark::kMillisecond);
        Register("RollbackThenGetRules", size, RollbackChanges, true)
            ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace fwbench
