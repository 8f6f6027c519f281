#pragma once

#include <memory>
#include <stdexcept>

#include <fwcommon/GenericXmlConditionDispatch.h>
#include <fwcommon/GenericXmlRuleFieldsVisitor.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// Walks one rule element and calls the rule visitor for each field, in
// this order: OnBegin; VisitRuleId, VisitOrderId, VisitIsActive,
// VisitName; VisitFilter or VisitTranslation; VisitCreationType; the
// Source (purpose 0), the Destination (1), the service conditions (2) and
// the schedule conditions (3), each replaced by VisitEmptyField (5, 6, 8,
// 9) when absent or empty; OnEnd.
//
// The iterator keeps the visitor pointer given at construction and does
// not own it. A network condition, IP primitive or port of a kind the
// schema does not define throws std::logic_error "unknown variant" and the
// walk stops there. One thread uses an iterator for one walk at a time.
template <class RuleVisitor>
class GenericXmlRuleFieldsIterator {
public:
    using List = typename RuleVisitor::ListType;
    using Purpose = ConditionPurpose::Type;
    template <class T>
    using Element = typename List::template Element<T>;
    using Dispatch = GenericXmlConditionDispatch<List>;

    explicit GenericXmlRuleFieldsIterator(RuleVisitor* visitor) : visitor_(visitor) {}

    void ProcessRule(const std::shared_ptr<Element<Sarvo::Rule>>& rule) {
        Element<Sarvo::Rule>& r = *rule;
        visitor_->OnBegin();
        visitor_->VisitRuleId(r.RuleId());
        visitor_->VisitOrderId(r.OrderId());
        visitor_->VisitIsActive(r.IsActive());
        visitor_->VisitName(&r.Name());
        if (auto* filter = dynamic_cast<Element<Sarvo::Filter>*>(&r.Action())) {
            visitor_->VisitFilter(*filter);
        } else if (auto* translation = dynamic_cast<Element<Sarvo::Translation>*>(&r.Action())) {
            visitor_->VisitTranslation(*translation);
        }
        visitor_->VisitCreationType(r.CreationType());
        auto& conditions = r.ConditionSet();
        if (conditions.Source().present()) {
            ProcessNetworkCondition(conditions.Source().get(), ConditionPurpose::eSourcePurpose);
        } else {
            visitor_->VisitEmptyField(RuleField::eSourceField);
        }
        if (conditions.Destination().present()) {
            ProcessNetworkCondition(conditions.Destination().get(),
                                    ConditionPurpose::eDestinationPurpose);
        } else {
            visitor_->VisitEmptyField(RuleField::eDestinationField);
        }
        if (!conditions.ServiceCondition().empty()) {
            ProcessService(conditions.ServiceCondition());
        } else {
            visitor_->VisitEmptyField(RuleField::eServiceField);
        }
        if (!conditions.ScheduleCondition().empty()) {
            ProcessSchedule(conditions.ScheduleCondition());
        } else {
            visitor_->VisitEmptyField(RuleField::eScheduleField);
        }
        visitor_->OnEnd();
    }

    void ProcessNetworkCondition(Element<Sarvo::NetworkCondition>& network, Purpose purpose) {
        visitor_->VisitNetworkCondition(network, purpose);
        if (auto* publicNetwork = dynamic_cast<Element<Sarvo::PublicNetwork>*>(&network)) {
            ProcessPublicNetwork(*publicNetwork, purpose);
        } else if (auto* privateNetwork = dynamic_cast<Element<Sarvo::PrivateNetwork>*>(&network)) {
            ProcessPrivateNetwork(*privateNetwork, purpose);
        } else {
            throw std::logic_error("unknown variant");
        }
    }

    // The IP host conditions in order, then the interface condition; an
    // empty-field call for the purpose when there is neither.
    void ProcessPublicNetwork(Element<Sarvo::PublicNetwork>& network, Purpose purpose) {
        for (auto& condition : network.IpHostCondition()) {
            Dispatch::IpHost(*visitor_, condition, purpose);
        }
        if (network.InterfaceCondition().present()) {
            Dispatch::Interface(*visitor_, network.InterfaceCondition().get(), purpose);
        }
        if (network.IpHostCondition().empty() && !network.InterfaceCondition().present()) {
            visitor_->VisitEmptyField(ToRuleField(purpose));
        }
    }

    // The VPN host conditions in order, or an empty-field call for the
    // purpose when there are none.
    void ProcessPrivateNetwork(Element<Sarvo::PrivateNetwork>& network, Purpose purpose) {
        if (network.VpnHostCondition().empty()) {
            visitor_->VisitEmptyField(ToRuleField(purpose));
            return;
        }
        for (auto& condition : network.VpnHostCondition()) {
            Dispatch::VpnHost(*visitor_, condition, purpose);
        }
    }

    void ProcessService(Element<Sarvo::ConditionSet::ServiceCondition_sequence>& conditions) {
        for (auto& condition : conditions) {
            Dispatch::Service(*visitor_, condition, ConditionPurpose::eServicePurpose);
        }
    }

    void ProcessSchedule(Element<Sarvo::ConditionSet::ScheduleCondition_sequence>& conditions) {
        for (auto& condition : conditions) {
            Dispatch::Schedule(*visitor_, condition, ConditionPurpose::eSchedulePurpose);
        }
    }

private:
    RuleVisitor* visitor_;
};

extern template class FWCOMMON_EXPORT GenericXmlRuleFieldsIterator<XmlRuleFieldsVisitor>;
extern template class FWCOMMON_EXPORT GenericXmlRuleFieldsIterator<ConstXmlRuleFieldsVisitor>;

using XmlRuleFieldsIterator = GenericXmlRuleFieldsIterator<XmlRuleFieldsVisitor>;
using ConstXmlRuleFieldsIterator = GenericXmlRuleFieldsIterator<ConstXmlRuleFieldsVisitor>;

}  // namespace fwcommon
