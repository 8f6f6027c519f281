// The library's walks of references on a policy built for them: a chain of
// n IP objects, each including the next, and n rules that all refer to the
// first object. Removing that object finds, changes and announces all n
// rules; the search alone finds them without changing anything. Both must
// grow with n, not with n squared.

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <fwcommon/Context.h>
#include <fwcommon/INamedObject.h>

#include "BenchPolicies.h"
#include "BenchRegistry.h"

namespace fwbench {
namespace {

using fwcommon::Context;

constexpr int kFirstUserId = 300001;

const std::map<std::string, int> kChainLengths = {
    {"1k", 1000}, {"10k", 10000}, {"20k", 20000}, {"100k", 100000}};

void ChainObject(std::ostringstream& out, int n, int length) {
    out << "<IpObject><Name>Chain " << n << "</Name><Id>" << kFirstUserId + n - 1
        << "</Id><CreationType>User</CreationType>";
    if (n < length) {
        out << "<Inclusion xsi:type=\"sv:IpObjectRef\"><Id>" << kFirstUserId + n
            << "</Id></Inclusion>";
    } else {
        out << "<Inclusion xsi:type=\"sv:IpAddress\"><Value>10.0.0.1</Value></Inclusion>";
    }
    out << "</IpObject>\n";
}

void RuleOfChainHead(std::ostringstream& out, int n) {
    const int id = kFirstUserId + n - 1;
    out << "<Rule xsi:type=\"sv:TransitRule\"><RuleId>" << id << "</RuleId><OrderId>" << id
        << "</OrderId><Name>Rule " << n
        << "</Name><CreationType>User</CreationType><ConditionSet>"
           "<Source xsi:type=\"sv:PublicNetwork\"><IpHostCondition xsi:type=\"sv:IpObjectRef\">"
           "<Id>"
        << kFirstUserId
        << "</Id></IpHostCondition></Source></ConditionSet>"
           "<Action xsi:type=\"sv:Filter\"><FilteringAction>Pass</FilteringAction></Action>"
           "<Section>TransitSection</Section></Rule>\n";
}

std::vector<unsigned char> ChainPolicy(int length) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<sv:Policy "
           "xmlns:sv=\"urn:fwcommon:policy:rules\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n<NamedObjects>\n";
    for (int n = 1; n <= length; ++n) {
        ChainObject(out, n, length);
    }
    out << "</NamedObjects>\n<Rules>\n";
    for (int n = 1; n <= length; ++n) {
        RuleOfChainHead(out, n);
    }
    out << "</Rules>\n<Properties><Version>1.0</Version>"
           "<IssueDateTime>2026-11-30T09:15:00Z</IssueDateTime>"
           "<ApplicationDateTime>2026-11-30T09:20:00Z</ApplicationDateTime>"
           "<RollbackPeriod>900</RollbackPeriod></Properties>\n</sv:Policy>\n";
    const std::string text = out.str();
    return std::vector<unsigned char>(text.begin(), text.end());
}

const wchar_t kDataname[] = L"chain";
const wchar_t kHead[] = L"Chain 1";

// Removes the first object of the chain, and with it the reference of
// every rule; the removal is rolled back outside the timed region.
void RemoveChainHead(benchmark::State& state, int length) {
    Context context;
    context.AppendXmlReader(kDataname, ChainPolicy(length), fwcommon::User, AllEditable(), L"");
    context.GetRules(kDataname, fwcommon::eTransitRules);
    for (auto _ : state) {
        if (!context.RemoveNamedObject(kDataname, fwcommon::User, kHead)) {
            state.SkipWithError("the first object of the chain was not removed");
            break;
        }
        state.PauseTiming();
        context.RollbackChanges();
        context.GetRules(kDataname, fwcommon::eTransitRules);
        state.ResumeTiming();
    }
}

// The rules that refer to the first object of the chain, found and left alone.
void DependenciesOfChainHead(benchmark::State& state, int length) {
    Context context;
    context.AppendXmlReader(kDataname, ChainPolicy(length), fwcommon::User, AllEditable(), L"");
    // The list is a new one, owned by the pointer returned: it must be held
    // while it is walked.
    const auto objects = context.GetNamedObjects(kDataname);
    std::shared_ptr<fwcommon::INamedObject> head;
    for (const auto& object : *objects) {
        const fwcommon::INamedObject& named = *object;
        if (named.GetName() == kHead) {
            head = object;
        }
    }
    if (head == nullptr) {
        state.SkipWithError("the first object of the chain was not found");
        return;
    }
    std::size_t found = 0;
    for (auto _ : state) {
        Context::RuleDependencies dependencies;
        context.DetermineRulesDependencies(head, dependencies);
        found = dependencies[kDataname].size();
    }
    if (found != static_cast<std::size_t>(length)) {
        state.SkipWithError("the search missed rules that refer to the object");
    }
}

}  // namespace

void RegisterReferenceBenchmarks(const std::vector<PolicySize>& sizes) {
    for (const PolicySize& size : sizes) {
        const auto length = kChainLengths.find(size.label);
        if (length == kChainLengths.end()) {
            continue;
        }
        const bool large = length->second >= 100000;
        const std::string suffix = "/" + size.label;
        benchmark::RegisterBenchmark(("Context.RemoveChainHead" + suffix).c_str(), RemoveChainHead,
                                     length->second)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(large ? 3 : 10);
        benchmark::RegisterBenchmark(("Context.DependenciesOfChainHead" + suffix).c_str(),
                                     DependenciesOfChainHead, length->second)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(large ? 3 : 10);
    }
}

}  // namespace fwbench
