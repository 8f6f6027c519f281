#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <fwcommon/IDomainObjectListener.h>

namespace fwcommon::test {

// Records every modification it hears about as "type:identifier".
class RecordingListener : public IDomainObjectListener {
public:
    void ObjectModified(DomainObjectType type, std::uint32_t identifier) override {
        calls.push_back(std::to_string(type) + ":" + std::to_string(identifier));
    }
    void ObjectAdded(const std::shared_ptr<IDomainObject>&) override { calls.push_back("added"); }
    void ObjectRemoved(DomainObjectType, std::uint32_t) override { calls.push_back("removed"); }
    bool Commit() override { return true; }
    bool Rollback() override { return true; }

    std::vector<std::string> calls;
};

}  // namespace fwcommon::test
