// Random sequences of rule and named-object edits with commits and
// rollbacks between them: after every step the Context's records, its
// store's list and the written document agree, and no reference dangles.

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/Context.h>
#include <fwcommon/CreateNamedObject.h>
#include <fwcommon/INamedObject.h>
#include "context/ContextTestSupport.h"
#include "context/PolicyFixtures.h"
#include "context/ViewsAgree.h"

namespace fwcommon::test {
namespace {

const std::wstring kObjects = L"NamedObjects.xml";
constexpr int kSteps = 300;
constexpr unsigned kSeeds[] = {1u, 7u, 2026u};

// The seeds to run: those above, or the range "first-last" that
// FWCOMMON_RANDOM_EDIT_SEEDS names, for a longer run by hand.
std::vector<unsigned> Seeds() {
    unsigned first = 0;
    unsigned last = 0;
    const char* range = std::getenv("FWCOMMON_RANDOM_EDIT_SEEDS");
    if (range && std::sscanf(range, "%u-%u", &first, &last) == 2 && first <= last) {
        std::vector<unsigned> seeds;
        for (unsigned seed = first; seed <= last; ++seed) {
            seeds.push_back(seed);
        }
        return seeds;
    }
    return {std::begin(kSeeds), std::end(kSeeds)};
}

Context::ModesMap EverythingEditable() {
    Context::ModesMap modes = AllRulesEditable();
    for (int type = eInterfaceObject; type <= eSarvoGroupObject; ++type) {
        modes[type] = Context::Modes::eEditable;
    }
    return modes;
}

std::vector<unsigned char> StartingPolicy() {
    return PolicyXml(
        RuleXml("LocalRule", 200001, 200001, "to office", "Policy", DestinationIsObject(5001)) +
            RuleXml("LocalRule", 200002, 200002, "web", "Policy",
                    SourceIsObject(5002) + ServiceIsObject(5003) + DestinationIsObject(5002)),
        ServiceObjectXml(5003, "Web", 80) + IpObjectXml(5001, "Office") +
            IpObjectXml(5002, "Servers", "Policy", {5001}));
}

class RandomEdits {
public:
    explicit RandomEdits(unsigned seed) : random_(seed) {
        context_.AppendXmlReader(kObjects, StartingPolicy(), Policy, EverythingEditable(), L"");
    }

    // One random operation; its name for the trace.
    std::string Step() {
        switch (Pick(8)) {
            case 0:
                context_.CreateNamedObject(kObjects, L"Host " + std::to_wstring(++made_), L"",
                                           Pick(2) ? eIpAddressObject : eServiceObject);
                return "create object";
            case 1:
                if (auto object = AnyObject()) {
                    object->SetName(L"Renamed " + std::to_wstring(++made_));
                }
                return "rename object in place";
            case 2:
                if (Count() > 0) {
                    context_.RemoveNamedObject(kObjects, static_cast<unsigned>(Pick(Count())));
                }
                return "remove object";
            case 3:
                context_.CreateRule(kObjects, eLocalRules, Policy,
                                    L"rule " + std::to_wstring(++made_),
                                    Context::RuleActions::ePass, -1);
                return "create rule";
            case 4: {
                const auto rules = context_.GetRules(kObjects, eLocalRules);
                if (!rules->empty()) {
                    context_.RemoveRule(
                        kObjects, eLocalRules,
                        static_cast<unsigned>(Pick(static_cast<int>(rules->size()))));
                }
                return "remove rule";
            }
            case 5:
                context_.CommitChanges();
                return "commit";
            case 6:
                context_.RollbackChanges();
                return "rollback";
            default:
                if (auto object = AnyObject()) {
                    auto copy = CreateNamedObject(object->GetIdentifier(),
                                                  L"Updated " + std::to_wstring(++made_), L"",
                                                  object->GetNamedObjectType(), Policy);
                    context_.UpdateNamedObject(kObjects, copy);
                }
                return "update object";
        }
    }

    Context& context() { return context_; }

private:
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    int Count() { return static_cast<int>(context_.GetNamedObjects(kObjects)->size()); }
    std::shared_ptr<INamedObject> AnyObject() {
        const int count = Count();
        return count == 0 ? nullptr
                          : context_.GetNamedObject(kObjects, static_cast<unsigned>(Pick(count)));
    }

    std::mt19937 random_;
    Context context_{kObjects};
    int made_ = 0;
};

TEST(RandomEdits, ViewsAgreeAfterEveryStep) {
    for (unsigned seed : Seeds()) {
        RandomEdits edits(seed);
        for (int step = 0; step < kSteps; ++step) {
            const std::string operation = edits.Step();
            SCOPED_TRACE("seed " + std::to_string(seed) + ", step " + std::to_string(step) + " (" +
                         operation + ")");
            ExpectViewsAgree(edits.context(), kObjects, Policy);
            if (::testing::Test::HasFailure()) {
                std::printf("failing seed %u at step %d (%s)\n", seed, step, operation.c_str());
                return;
            }
        }
    }
}

}  // namespace
}  // namespace fwcommon::test
