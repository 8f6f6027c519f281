#include <fwcommon/ListenerRegistry.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/Thrown.h"

namespace fwcommon {
namespace {

// Records the modifications it hears about, tagged with its own name, in a
// log shared by all recorders of a test.
class Recorder : public IDomainObjectListener {
public:
    using Log = std::vector<std::string>;
    Recorder(std::string name, std::shared_ptr<Log> log)
        : name_(std::move(name)), log_(std::move(log)) {}

    void ObjectModified(DomainObjectType type, std::uint32_t id) override {
        log_->push_back(name_ + ":" + std::to_string(type) + ":" + std::to_string(id));
        if (onModified) {
            onModified();
        }
    }
    void ObjectAdded(const std::shared_ptr<IDomainObject>&) override { log_->push_back("added"); }
    void ObjectRemoved(DomainObjectType, std::uint32_t) override { log_->push_back("removed"); }
    bool Commit() override { return true; }
    bool Rollback() override { return true; }

    std::function<void()> onModified;

private:
    std::string name_;
    std::shared_ptr<Log> log_;
};

class ListenerRegistryTest : public ::testing::Test {
protected:
    std::shared_ptr<Recorder> Make(const std::string& name) {
        return std::make_shared<Recorder>(name, log_);
    }
    std::shared_ptr<Recorder::Log> log_ = std::make_shared<Recorder::Log>();
    ListenerRegistry registry_;
};

TEST_F(ListenerRegistryTest, NotifiesInRegistrationOrderWithTypeAndIdentifier) {
    registry_.Add(Make("a"));
    registry_.Add(Make("b"));
    registry_.NotifyModified(eRule, 300001);
    registry_.NotifyModified(eNamedObject, 7);
    EXPECT_EQ(*log_, (Recorder::Log{"a:32:300001", "b:32:300001", "a:16:7", "b:16:7"}));
}

TEST_F(ListenerRegistryTest, SameListenerAddedTwiceIsCalledOnce) {
    auto a = Make("a");
    registry_.Add(a);
    registry_.Add(a);
    registry_.NotifyModified(eRule, 1);
    EXPECT_EQ(*log_, (Recorder::Log{"a:32:1"}));
    EXPECT_EQ(registry_.Size(), 1u);
}

TEST_F(ListenerRegistryTest, RemovingAnUnknownListenerChangesNothing) {
    auto a = Make("a");
    registry_.Add(a);
    registry_.Remove(Make("stranger"));
    registry_.Remove(nullptr);
    registry_.NotifyModified(eRule, 2);
    EXPECT_EQ(*log_, (Recorder::Log{"a:32:2"}));
}

TEST_F(ListenerRegistryTest, RemoveErasesOnlyThatListenerAndReleasesIt) {
    auto a = Make("a");
    auto b = Make("b");
    registry_.Add(a);
    registry_.Add(b);
    EXPECT_EQ(a.use_count(), 2);
    registry_.Remove(a);
    EXPECT_EQ(a.use_count(), 1);
    EXPECT_FALSE(registry_.Contains(a.get()));
    EXPECT_TRUE(registry_.Contains(b.get()));
    registry_.NotifyModified(eNamedObject, 3);
    EXPECT_EQ(*log_, (Recorder::Log{"b:16:3"}));
}

TEST_F(ListenerRegistryTest, KeepsListenersAlive) {
    std::weak_ptr<Recorder> watch;
    {
        auto a = Make("a");
        watch = a;
        registry_.Add(a);
    }
    ASSERT_FALSE(watch.expired());
    registry_.NotifyModified(eRule, 4);
    EXPECT_EQ(*log_, (Recorder::Log{"a:32:4"}));
}

TEST_F(ListenerRegistryTest, ListenerMayRemoveItselfWhileNotified) {
    auto a = Make("a");
    auto b = Make("b");
    a->onModified = [this, a] { registry_.Remove(a); };
    registry_.Add(a);
    registry_.Add(b);
    registry_.NotifyModified(eRule, 5);
    registry_.NotifyModified(eRule, 6);
    EXPECT_EQ(*log_, (Recorder::Log{"a:32:5", "b:32:5", "b:32:6"}));
    a->onModified = nullptr;  // break the cycle
}

TEST_F(ListenerRegistryTest, EmptyListenerIsRefused) {
    EXPECT_EQ("fwcommon::ListenerRegistry::Add.Empty listener",
              test::Thrown<std::invalid_argument>([this] { registry_.Add(nullptr); }));
    EXPECT_TRUE(registry_.Empty());
}

}  // namespace
}  // namespace fwcommon
