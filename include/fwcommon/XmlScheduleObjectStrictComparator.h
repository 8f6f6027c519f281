#pragma once

#include <memory>

#include <fwcommon/XmlNamedObjectStrictComparator.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// Strict comparator of two Sarvo::ScheduleObject elements; members are compared with
// condition_comparator::CompareScheduleCondition. The comparator shares ownership of both
// objects (neither may be null) and only reads them. Copyable.
class FWCOMMON_EXPORT XmlScheduleObjectStrictComparator : public XmlNamedObjectStrictComparator {
public:
    XmlScheduleObjectStrictComparator(const std::shared_ptr<Sarvo::ScheduleObject>& first,
                                      const std::shared_ptr<Sarvo::ScheduleObject>& second);

    bool IsEqual() override;

private:
    bool CompareScheduleObjects();

    std::shared_ptr<Sarvo::ScheduleObject> first_;
    std::shared_ptr<Sarvo::ScheduleObject> second_;
};

}  // namespace fwcommon
