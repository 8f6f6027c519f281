#pragma once

#include <memory>

#include <fwcommon/XmlNamedObjectStrictComparator.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// Strict comparator of two Sarvo::IpObject elements; members are compared with
// condition_comparator::CompareIpHostCondition. The comparator shares ownership of both
// objects (neither may be null) and only reads them. Copyable.
class FWCOMMON_EXPORT XmlIpObjectStrictComparator : public XmlNamedObjectStrictComparator {
public:
    XmlIpObjectStrictComparator(const std::shared_ptr<Sarvo::IpObject>& first,
                                const std::shared_ptr<Sarvo::IpObject>& second);

    bool IsEqual() override;

private:
    bool CompareIpObjects();

    std::shared_ptr<Sarvo::IpObject> first_;
    std::shared_ptr<Sarvo::IpObject> second_;
};

}  // namespace fwcommon
