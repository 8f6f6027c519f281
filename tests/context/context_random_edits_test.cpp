// Random sequences of rule and named-object edits with commits and
// rollbacks between them: after every step the Context's records, its
// store's lists and the written document agree, and no reference dangles.

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/Context.h>
#include <fwcommon/CreateNamedObject.h>
#include <fwcommon/INamedObject.h>
#include <fwcommon/IRule.h>
#include <fwcommon/IServiceNamedObject.h>
#include <fwcommon/IipAddressNamedObject.h>
#include <fwcommon/rules.hxx>
#include "context/ContextTestSupport.h"
#include "context/PolicyFixtures.h"
#include "context/ViewsAgree.h"

namespace fwcommon::test {
namespace {

const std::wstring kObjects = L"NamedObjects.xml";
constexpr int kSteps = 300;
constexpr unsigned kSeeds[] = {1u, 7u, 2026u};
constexpr int kLargestShift = 2;

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

std::vector<unsigned char> StartingPolicy() {
    return PolicyXml(
        RuleXml("LocalRule", 200001, 200001, "to office", "Policy", DestinationIsObject(5001)) +
            RuleXml("LocalRule", 200002, 200002, "web", "Policy",
                    SourceIsObject(5002) + ServiceIsObject(5003) + DestinationIsObject(5002)) +
            RuleXml("LocalRule", 200003, 200003, "from office", "Policy", SourceIsObject(5001)) +
            RuleXml("LocalRule", 200004, 200004, "any", "Policy"),
        ServiceObjectXml(5003, "Web", 80) + IpObjectXml(5001, "Office") +
            IpObjectXml(5002, "Servers", "Policy", {5001}));
}

class RandomEdits {
public:
    explicit RandomEdits(unsigned seed) : random_(seed) {
        context_.AppendXmlReader(kObjects, StartingPolicy(), Policy, EverythingEditable(), L"");
        context_.GetXmlData(kObjects, committed_);
    }

    // One random operation; its name for the trace.
    std::string Step() {
        struct Operation {
            const char* name;
            void (RandomEdits::*run)();
        };
        static const Operation kOperations[] = {
            {"create object", &RandomEdits::CreateObject},
            {"rename object in place", &RandomEdits::RenameObject},
            {"remove object", &RandomEdits::RemoveObject},
            {"remove object by identifier", &RandomEdits::RemoveObjectById},
            {"add an item in place", &RandomEdits::AddItem},
            {"add an object in place", &RandomEdits::AddObjectMember},
            {"add a member through an update", &RandomEdits::AddMemberByUpdate},
            {"update object", &RandomEdits::UpdateObject},
            {"create rule", &RandomEdits::CreateRule},
            {"remove rule", &RandomEdits::RemoveRule},
            {"update rule", &RandomEdits::UpdateRule},
            {"move rule", &RandomEdits::MoveRule},
            {"update a kept rule", &RandomEdits::UpdateKeptRule},
            {"commit", &RandomEdits::Commit},
            {"rollback", &RandomEdits::Rollback},
        };
        const Operation& operation = kOperations[Pick(static_cast<int>(std::size(kOperations)))];
        (this->*operation.run)();
        return operation.name;
    }

    Context& context() { return context_; }

private:
    void CreateObject() {
        context_.CreateNamedObject(kObjects, NewName(L"Host"), L"",
                                   Pick(2) ? eIpAddressObject : eServiceObject);
    }

    void RenameObject() {
        if (auto object = AnyObject()) {
            object->SetName(NewName(L"Renamed"));
        }
    }

    void RemoveObject() {
        if (Count() > 0) {
            context_.RemoveNamedObject(kObjects, static_cast<unsigned>(Pick(Count())));
        }
    }

    void RemoveObjectById() {
        if (auto object = AnyObject()) {
            context_.RemoveNamedObjectById(kObjects, Context::GetDomainObject(object));
        }
    }

    // An address or a service item, in one of the two lists.
    void AddItem() {
        if (auto object = AnyObject()) {
            AddItemTo(*object);
        }
    }

    void AddItemTo(INamedObject& object) {
        const auto list = static_cast<std::uint32_t>(Pick(2));
        const int value = ++made_;
        if (auto* ip = dynamic_cast<IipAddressNamedObject*>(&object)) {
            ip->AddElement(list, ip->CreateAddressElement(L"10.9." + std::to_wstring(value / 250) +
                                                          L"." + std::to_wstring(value % 250)));
        } else if (auto* service = dynamic_cast<IServiceNamedObject*>(&object)) {
            const int port = 1000 + value % 60000;
            service->AddElement(list, service->CreateTcpElement(0, 65535, port, port + 1));
        }
    }

    // Another object of the same kind as a member (refused on a cycle).
    void AddObjectMember() {
        auto object = AnyObject();
        auto member = AnyObject();
        if (object && member && object->GetNamedObjectType() == member->GetNamedObjectType()) {
            object->AddNamedObject(static_cast<std::uint32_t>(Pick(2)), member);
        }
    }

    // A copy of an object with one more item, handed to UpdateNamedObject.
    void AddMemberByUpdate() {
        auto object = AnyObject();
        if (!object) {
            return;
        }
        auto copy = CreateNamedObject(object->GetIdentifier(), L"", L"",
                                      object->GetNamedObjectType(), object->GetCreationType());
        copy->AssignFrom(object);
        AddItemTo(*copy);
        context_.UpdateNamedObject(kObjects, copy);
    }

    void UpdateObject() {
        if (auto object = AnyObject()) {
            auto copy = CreateNamedObject(object->GetIdentifier(), NewName(L"Updated"), L"",
                                          object->GetNamedObjectType(), Policy);
            context_.UpdateNamedObject(kObjects, copy);
        }
    }

    void CreateRule() {
        if (auto rule = context_.CreateRule(kObjects, eLocalRules, Policy, NewName(L"rule"),
                                            Context::RuleActions::ePass, -1)) {
            kept_.push_back(rule);
        }
    }

    // A rule CreateRule returned, edited through its own element and handed
    // back while the document holds it: it is the handle the store holds.
    void UpdateKeptRule() {
        if (kept_.empty()) {
            return;
        }
        const auto rule = kept_[static_cast<std::size_t>(Pick(static_cast<int>(kept_.size())))];
        const auto held =
            context_.GetXmlReader(kObjects)->GetRuleById(Context::GetDomainObject(rule));
        if (!held) {
            return;
        }
        EXPECT_EQ(held, rule) << "the store holds another handle for a kept rule";
        rule->GetXmlRule()->Name(NewName(L"kept rule"));
        context_.UpdateRule(kObjects, rule);
    }

    void RemoveRule() {
        if (const int rules = RuleCount(); rules > 0) {
            context_.RemoveRule(kObjects, eLocalRules, static_cast<unsigned>(Pick(rules)));
        }
    }

    // A renamed copy of a rule's element whose destination and services
    // name objects of the document, when it holds any.
    void UpdateRule() {
        const int rules = RuleCount();
        if (rules == 0) {
            return;
        }
        const auto rule =
            context_.GetRule(kObjects, eLocalRules, static_cast<unsigned>(Pick(rules)));
        std::shared_ptr<Sarvo::Rule> element(rule->GetXmlRule()->_clone());
        element->Name(NewName(L"updated rule"));
        Sarvo::ConditionSet& conditions = element->ConditionSet();
        if (auto ip = AnyObjectOfKind(eIpAddressObject)) {
            Sarvo::PublicNetwork destination;
            destination.IpHostCondition().push_back(
                Sarvo::IpObjectRef(static_cast<int>(ip->GetIdentifier())));
            conditions.Destination(destination);
        }
        if (auto service = AnyObjectOfKind(eServiceObject)) {
            conditions.ServiceCondition().push_back(
                Sarvo::ServiceObjectRef(static_cast<int>(service->GetIdentifier())));
        }
        context_.UpdateRule(kObjects, element);
    }

    void MoveRule() {
        const int rules = RuleCount();
        if (rules == 0) {
            return;
        }
        int shift = Pick(2 * kLargestShift) - kLargestShift;
        shift += shift >= 0 ? 1 : 0;
        context_.ChangeRulePriority(kObjects, eLocalRules, static_cast<unsigned>(Pick(rules)),
                                    shift);
    }

    void Commit() {
        context_.CommitChanges();
        context_.GetXmlData(kObjects, committed_);
    }

    // A rollback writes what the last commit wrote, whatever the handles
    // kept before saw or did.
    void Rollback() {
        context_.RollbackChanges();
        std::vector<unsigned char> written;
        context_.GetXmlData(kObjects, written);
        EXPECT_EQ(std::string(committed_.begin(), committed_.end()),
                  std::string(written.begin(), written.end()));
    }

    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    std::wstring NewName(const std::wstring& what) {
        return what + L" " + std::to_wstring(++made_);
    }
    int Count() { return static_cast<int>(context_.GetNamedObjects(kObjects)->size()); }
    int RuleCount() { return static_cast<int>(context_.GetRules(kObjects, eLocalRules)->size()); }

    std::shared_ptr<INamedObject> AnyObject() {
        const int count = Count();
        return count == 0 ? nullptr
                          : context_.GetNamedObject(kObjects, static_cast<unsigned>(Pick(count)));
    }

    std::shared_ptr<INamedObject> AnyObjectOfKind(NamedObjectType type) {
        const auto objects = context_.GetNamedObjects(kObjects, type);
        return objects->empty()
                   ? nullptr
                   : (*objects)[static_cast<std::size_t>(Pick(static_cast<int>(objects->size())))];
    }

    std::mt19937 random_;
    Context context_{kObjects};
    std::vector<std::shared_ptr<IRule>> kept_;
    std::vector<unsigned char> committed_;
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
            ExpectRulesAgree(edits.context(), kObjects, Policy);
            if (::testing::Test::HasFailure()) {
                std::printf("failing seed %u at step %d (%s)\n", seed, step, operation.c_str());
                return;
            }
        }
    }
}

}  // namespace
}  // namespace fwcommon::test
