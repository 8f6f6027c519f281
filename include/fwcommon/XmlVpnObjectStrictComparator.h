#pragma once

#include <memory>

#include <fwcommon/XmlNamedObjectStrictComparator.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// Strict comparator of two Sarvo::VpnObject elements; members are compared with
// condition_comparator::CompareVpnHostCondition. The comparator shares ownership of both
// objects (neither may be null) and only reads them. Copyable.
class FWCOMMON_EXPORT XmlVpnObjectStrictComparator : public XmlNamedObjectStrictComparator {
public:
    XmlVpnObjectStrictComparator(const std::shared_ptr<Sarvo::VpnObject>& first,
                                 const std::shared_ptr<Sarvo::VpnObject>& second);

    bool IsEqual() override;

private:
    bool CompareVpnObjects();

    std::shared_ptr<Sarvo::VpnObject> first_;
    std::shared_ptr<Sarvo::VpnObject> second_;
};

}  // namespace fwcommon
