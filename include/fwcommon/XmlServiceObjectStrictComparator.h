#pragma once

#include <memory>

#include <fwcommon/XmlNamedObjectStrictComparator.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// Strict comparator of two Sarvo::ServiceObject elements; members are compared with
// condition_comparator::CompareServiceCondition. The comparator shares ownership of both
// objects (neither may be null) and only reads them. Copyable.
class FWCOMMON_EXPORT XmlServiceObjectStrictComparator : public XmlNamedObjectStrictComparator {
public:
    XmlServiceObjectStrictComparator(const std::shared_ptr<Sarvo::ServiceObject>& first,
                                     const std::shared_ptr<Sarvo::ServiceObject>& second);

    bool IsEqual() override;

private:
    bool CompareServiceObjects();

    std::shared_ptr<Sarvo::ServiceObject> first_;
    std::shared_ptr<Sarvo::ServiceObject> second_;
};

}  // namespace fwcommon
