#pragma once

#include <memory>

#include <fwcommon/XmlNamedObjectStrictComparator.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// Strict comparator of two Sarvo::InterfaceObject elements; members are compared with
// condition_comparator::CompareInterfaceCondition. The comparator shares ownership of both
// objects (neither may be null) and only reads them. Copyable.
class FWCOMMON_EXPORT XmlInterfaceObjectStrictComparator : public XmlNamedObjectStrictComparator {
public:
    XmlInterfaceObjectStrictComparator(const std::shared_ptr<Sarvo::InterfaceObject>& first,
                                       const std::shared_ptr<Sarvo::InterfaceObject>& second);

    bool IsEqual() override;

private:
    bool CompareInterfaceObjects();

    std::shared_ptr<Sarvo::InterfaceObject> first_;
    std::shared_ptr<Sarvo::InterfaceObject> second_;
};

}  // namespace fwcommon
