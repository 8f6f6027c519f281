// Several Contexts on several threads at once, each with documents of its
// own: every thread loads, reads, creates rules and named objects with
// entries, commits and writes its documents back. The numbers that come
// from process-wide state (rule order ids, named-object internal numbers,
// item identifiers) are never handed out twice, and every thread's
// documents stay its own.

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/Context.h>
#include <fwcommon/INamedObjectElement.h>
#include <fwcommon/IRule.h>
#include <fwcommon/IipAddressNamedObject.h>
#include <fwcommon/PolicyDocument.h>
#include "common/StartLine.h"
#include "store/StoreTestSupport.h"

namespace fwcommon::test {
namespace {

constexpr int kThreads = 4;
constexpr int kRounds = 25;

// What one thread saw.
struct Drawn {
    std::vector<std::int64_t> userOrderIds;
    std::vector<std::int64_t> policyOrderIds;
    std::vector<std::uint32_t> objectNumbers;
    std::vector<std::uint32_t> itemIds;
    std::vector<std::size_t> writtenRuleCounts;
    std::string failure;
};

Context::ModesMap AllEditable() {
    Context::ModesMap modes;
    for (int key = 0; key <= eTransitRules; ++key) {
        modes[key] = Context::Modes::eEditable;
    }
    return modes;
}

std::vector<unsigned char> ThreadDocument(int thread) {
    const std::string name = "thread-" + std::to_string(thread);
    return PolicyXml(RuleXml("LocalRule", 300001, 1, name + "-local") +
                         RuleXml("TransitRule", 300002, 2, name + "-transit", "Policy"),
                     "<IpObject><Name>" + name +
                         "-hosts</Name><Id>1</Id>"
                         "<CreationType>User</CreationType></IpObject>");
}

void RunOneContext(int thread, Drawn& drawn) {
    Context context;
    const std::wstring rules = L"rules-" + std::to_wstring(thread) + L".xml";
    context.AppendXmlReader(rules, ThreadDocument(thread), User, AllEditable(), L"");
    for (int round = 0; round < kRounds; ++round) {
        const std::wstring name = L"r" + std::to_wstring(round);
        auto local =
            context.CreateRule(rules, eLocalRules, User, name, Context::RuleActions::ePass, -1);
        auto transit =
            context.CreateRule(rules, eTransitRules, Policy, name, Context::RuleActions::eDrop, -1);
        if (!local || !transit) {
            drawn.failure = "CreateRule refused in round " + std::to_string(round);
            return;
        }
        drawn.userOrderIds.push_back(local->GetXmlRule()->OrderId());
        drawn.policyOrderIds.push_back(transit->GetXmlRule()->OrderId());

        auto object = std::dynamic_pointer_cast<IipAddressNamedObject>(
            context.CreateNamedObject(rules, L"o" + std::to_wstring(round), L"", eIpAddressObject));
        if (!object) {
            drawn.failure = "CreateNamedObject refused in round " + std::to_string(round);
            return;
        }
        drawn.objectNumbers.push_back(object->GetIdentifier());
        auto item = object->CreateAddressElement(L"10.0.0." + std::to_wstring(round));
        drawn.itemIds.push_back(item->GetIdentifier());
        object->AddElement(0, item);
        context.UpdateNamedObject(rules, object);
        context.CommitChanges();

        std::vector<unsigned char> bytes;
        context.GetXmlData(rules, bytes);
        drawn.writtenRuleCounts.push_back(ParsePolicyDocument(bytes)->Rules().Rule().size());
    }
}

template <class T>
void ExpectNoneTwice(const std::vector<Drawn>& all, std::vector<T> Drawn::*member,
                     const char* what) {
    std::map<T, int> owner;
    for (int t = 0; t < kThreads; ++t) {
        for (T value : all[t].*member) {
            const auto [it, added] = owner.emplace(value, t);
            EXPECT_TRUE(added) << what << " " << value << " handed to threads " << it->second
                               << " and " << t;
        }
    }
}

TEST(ContextThreadsTest, ContextsOnSeveralThreadsNeverShareANumber) {
    std::vector<Drawn> drawn(kThreads);
    RunTogether(kThreads, [&drawn](std::size_t t) {
        try {
            RunOneContext(static_cast<int>(t), drawn[t]);
        } catch (const std::exception& e) {
            drawn[t].failure = e.what();
        }
    });
    for (int t = 0; t < kThreads; ++t) {
        ASSERT_EQ("", drawn[t].failure) << "thread " << t;
        ASSERT_EQ(static_cast<std::size_t>(kRounds), drawn[t].objectNumbers.size());
        // Each thread's document holds its two rules and only its own new ones.
        for (int round = 0; round < kRounds; ++round) {
            EXPECT_EQ(static_cast<std::size_t>(2 + 2 * (round + 1)),
                      drawn[t].writtenRuleCounts[round])
                << "thread " << t << " round " << round;
        }
    }
    ExpectNoneTwice(drawn, &Drawn::userOrderIds, "User order id");
    ExpectNoneTwice(drawn, &Drawn::policyOrderIds, "Policy order id");
    ExpectNoneTwice(drawn, &Drawn::objectNumbers, "named-object internal number");
    ExpectNoneTwice(drawn, &Drawn::itemIds, "item identifier");
}

}  // namespace
}  // namespace fwcommon::test
