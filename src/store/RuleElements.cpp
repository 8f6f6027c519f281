#include "store/RuleElements.h"

#include <typeinfo>

#include <xsd/cxx/tree/comparison-map.hxx>
#include "document/SchemaCast.h"

namespace fwcommon {
namespace {

template <typename Kind>
std::unique_ptr<Sarvo::Rule> MakeKind(long long ruleId, long long orderId, const std::wstring& name,
                                      CreationType creationType, const Sarvo::Action& action) {
    return std::make_unique<Kind>(ruleId, orderId, name,
                                  Sarvo::CreationTypes(static_cast<Sarvo::CreationTypes::value>(
                                      static_cast<int>(creationType))),
                                  Sarvo::ConditionSet(), action, Kind::Section_default_value());
}

template <typename Kind>
bool AssignAs(Sarvo::Rule& target, const Sarvo::Rule& source) {
    static_cast<Kind&>(target) = static_cast<const Kind&>(source);
    return true;
}

}  // namespace

RuleType SectionOf(const Sarvo::Rule& rule) {
    if (document::SchemaCast<Sarvo::LocalRule>(rule))
        return eLocalRules;
    if (document::SchemaCast<Sarvo::TransitRule>(rule))
        return eTransitRules;
    if (document::SchemaCast<Sarvo::VpnRule>(rule))
        return eVPNRules;
    if (document::SchemaCast<Sarvo::NatRule>(rule))
        return eNATRules;
    if (document::SchemaCast<Sarvo::TunnelingRule>(rule))
        return eTunnelRules;
    return static_cast<RuleType>(0);
}

std::unique_ptr<Sarvo::Rule> MakeRuleElement(RuleType type, long long ruleId, long long orderId,
                                             const std::wstring& name, CreationType creationType,
                                             const Sarvo::Action& action) {
    switch (type) {
        case eVPNRules:
            return MakeKind<Sarvo::VpnRule>(ruleId, orderId, name, creationType, action);
        case eNATRules:
            return MakeKind<Sarvo::NatRule>(ruleId, orderId, name, creationType, action);
        case eTunnelRules:
            return MakeKind<Sarvo::TunnelingRule>(ruleId, orderId, name, creationType, action);
        case eLocalRules:
            return MakeKind<Sarvo::LocalRule>(ruleId, orderId, name, creationType, action);
        case eTransitRules:
            return MakeKind<Sarvo::TransitRule>(ruleId, orderId, name, creationType, action);
    }
    return nullptr;
}

bool AssignRuleElement(Sarvo::Rule& target, const Sarvo::Rule& source) {
    if (typeid(target) != typeid(source)) {
        return false;
    }
    switch (SectionOf(source)) {
        case eVPNRules:
            return AssignAs<Sarvo::VpnRule>(target, source);
        case eNATRules:
            return AssignAs<Sarvo::NatRule>(target, source);
        case eTunnelRules:
            return AssignAs<Sarvo::TunnelingRule>(target, source);
        case eLocalRules:
            return AssignAs<Sarvo::LocalRule>(target, source);
        case eTransitRules:
            return AssignAs<Sarvo::TransitRule>(target, source);
    }
    target = source;
    return true;
}

bool SameRuleElement(const Sarvo::Rule& first, const Sarvo::Rule& second) {
    // The comparison map the generated classes register compares by the
    // dynamic type, as the document's own operator== does.
    return xsd::cxx::tree::comparison_map_instance<0, wchar_t>().compare(first, second);
}

}  // namespace fwcommon
