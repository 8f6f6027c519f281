#pragma once

#include <cstdint>
#include <string>

#include <fwcommon/GenericXmlConditionFieldsVisitor.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// A host application's callbacks for every field of a rule: the rule's own
// fields here, its conditions through the condition callbacks. The
// template parameters are the types in which the fields are handed over;
// the library provides XmlRuleFieldsVisitor and ConstXmlRuleFieldsVisitor.
template <class List, class NameType, class FilterType, class TranslationType,
          class CreationTypeType, class RuleIdType, class OrderIdType, class NetworkConditionType>
class GenericXmlRuleFieldsVisitor : public GenericXmlConditionFieldsVisitor<List> {
public:
    using Purpose = ConditionPurpose::Type;

    // A part of the condition set is empty: RuleField 5 (source), 6
    // (destination), 8 (services) or 9 (schedules).
    virtual void VisitEmptyField(RuleField::Type field) = 0;
    // The rule's name; null when the rule has none.
    virtual void VisitName(NameType* name) = 0;
    virtual void VisitRuleId(RuleIdType ruleId) = 0;
    virtual void VisitOrderId(OrderIdType orderId) = 0;
    virtual void VisitIsActive(bool isActive) = 0;
    virtual void VisitFilter(FilterType& filter) = 0;
    virtual void VisitTranslation(TranslationType& translation) = 0;
    virtual void VisitCreationType(CreationTypeType& creationType) = 0;
    // The Source (purpose 0) or Destination (1), before its conditions.
    virtual void VisitNetworkCondition(NetworkConditionType& condition, Purpose purpose) = 0;

    GenericXmlRuleFieldsVisitor(const GenericXmlRuleFieldsVisitor&) = default;
    GenericXmlRuleFieldsVisitor& operator=(const GenericXmlRuleFieldsVisitor&) { return *this; }

protected:
    GenericXmlRuleFieldsVisitor() = default;
};

extern template class FWCOMMON_EXPORT GenericXmlRuleFieldsVisitor<
    ConditionList, std::wstring, Sarvo::Filter, Sarvo::Translation, Sarvo::CreationTypes,
    std::int64_t, std::int64_t, Sarvo::NetworkCondition>;
extern template class FWCOMMON_EXPORT GenericXmlRuleFieldsVisitor<
    ConstConditionList, const std::wstring, const Sarvo::Filter, const Sarvo::Translation,
    const Sarvo::CreationTypes, const std::int64_t, const std::int64_t,
    const Sarvo::NetworkCondition>;

using XmlRuleFieldsVisitor =
    GenericXmlRuleFieldsVisitor<ConditionList, std::wstring, Sarvo::Filter, Sarvo::Translation,
                                Sarvo::CreationTypes, std::int64_t, std::int64_t,
                                Sarvo::NetworkCondition>;
using ConstXmlRuleFieldsVisitor =
    GenericXmlRuleFieldsVisitor<ConstConditionList, const std::wstring, const Sarvo::Filter,
                                const Sarvo::Translation, const Sarvo::CreationTypes,
                                const std::int64_t, const std::int64_t,
                                const Sarvo::NetworkCondition>;

}  // namespace fwcommon
