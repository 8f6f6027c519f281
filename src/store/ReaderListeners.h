#pragma once

#include <fwcommon/IDomainObject.h>
#include <fwcommon/IDomainObjectListener.h>
#include "store/XmlReader.h"

namespace fwcommon {

// Hears the changes of the reader's rules: any change marks the rules as
// changed; commit and rollback requests run the reader's own.
class XmlReader::RuleListener final : public IDomainObjectListener {
public:
    explicit RuleListener(XmlReader& reader) : reader_(&reader) {}
    void Detach() { reader_ = nullptr; }

    void ObjectModified(DomainObjectType, std::uint32_t) override { MarkChanged(); }
    void ObjectAdded(const std::shared_ptr<IDomainObject>&) override { MarkChanged(); }
    void ObjectRemoved(DomainObjectType, std::uint32_t) override { MarkChanged(); }
    bool Commit() override {
        if (reader_)
            reader_->CommitChanges();
        return true;
    }
    bool Rollback() override {
        if (reader_)
            reader_->RollbackChanges();
        return true;
    }

private:
    void MarkChanged() {
        if (reader_)
            reader_->rulesChanged_ = true;
    }
    XmlReader* reader_;
};

// Hears the changes of one named object of the reader's list: the object,
// when the list still holds it, is written back into its document element.
// One listener per object, so that the object written is the one that
// changed, whatever other objects share its identifier. Commit and
// rollback are the rule listener's business.
class XmlReader::NamedObjectListener final : public IDomainObjectListener {
public:
    NamedObjectListener(XmlReader& reader, const INamedObject& object)
        : reader_(&reader), object_(&object) {}
    void Detach() { reader_ = nullptr; }

    void ObjectModified(DomainObjectType type, std::uint32_t) override {
        if (reader_ && type == eNamedObject)
            reader_->WriteBackListed(*object_);
    }
    void ObjectAdded(const std::shared_ptr<IDomainObject>&) override {}
    void ObjectRemoved(DomainObjectType, std::uint32_t) override {}
    bool Commit() override { return true; }
    bool Rollback() override { return true; }

private:
    XmlReader* reader_;
    const INamedObject* object_;
};

}  // namespace fwcommon
