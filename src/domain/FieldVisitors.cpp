// The exported instantiations of the generic field visitors and iterators,
// one over modifiable and one over constant document elements each.

#include <fwcommon/GenericXmlConditionDispatch.h>
#include <fwcommon/GenericXmlConditionFieldsVisitor.h>
#include <fwcommon/GenericXmlNamedObjectFieldsIterator.h>
#include <fwcommon/GenericXmlNamedObjectFieldsVisitor.h>
#include <fwcommon/GenericXmlRuleFieldsIterator.h>
#include <fwcommon/GenericXmlRuleFieldsVisitor.h>

namespace fwcommon {

template class GenericXmlConditionFieldsVisitor<ConditionList>;
template class GenericXmlConditionFieldsVisitor<ConstConditionList>;

template class GenericXmlRuleFieldsVisitor<ConditionList, std::wstring, Sarvo::Filter,
                                           Sarvo::Translation, Sarvo::CreationTypes, std::int64_t,
                                           std::int64_t, Sarvo::NetworkCondition>;
template class GenericXmlRuleFieldsVisitor<ConstConditionList, const std::wstring,
                                           const Sarvo::Filter, const Sarvo::Translation,
                                           const Sarvo::CreationTypes, const std::int64_t,
                                           const std::int64_t, const Sarvo::NetworkCondition>;

template class GenericXmlNamedObjectFieldsVisitor<ConditionList, std::int32_t, std::wstring,
                                                  Sarvo::CreationTypes>;
template class GenericXmlNamedObjectFieldsVisitor<ConstConditionList, const std::int32_t,
                                                  const std::wstring, const Sarvo::CreationTypes>;

template class GenericXmlConditionDispatch<ConditionList>;
template class GenericXmlConditionDispatch<ConstConditionList>;

template class GenericXmlRuleFieldsIterator<XmlRuleFieldsVisitor>;
template class GenericXmlRuleFieldsIterator<ConstXmlRuleFieldsVisitor>;

template class GenericXmlNamedObjectFieldsIterator<XmlNamedObjectFieldsVisitor>;
template class GenericXmlNamedObjectFieldsIterator<ConstXmlNamedObjectFieldsVisitor>;

template class GenericXmlIpObjectFieldsIterator<XmlNamedObjectFieldsIterator>;
template class GenericXmlIpObjectFieldsIterator<ConstXmlNamedObjectFieldsIterator>;
template class GenericXmlInterfaceObjectFieldsIterator<XmlNamedObjectFieldsIterator>;
template class GenericXmlInterfaceObjectFieldsIterator<ConstXmlNamedObjectFieldsIterator>;
template class GenericXmlVpnObjectFieldsIterator<XmlNamedObjectFieldsIterator>;
template class GenericXmlVpnObjectFieldsIterator<ConstXmlNamedObjectFieldsIterator>;
template class GenericXmlServiceObjectFieldsIterator<XmlNamedObjectFieldsIterator>;
template class GenericXmlServiceObjectFieldsIterator<ConstXmlNamedObjectFieldsIterator>;
template class GenericXmlScheduleObjectFieldsIterator<XmlNamedObjectFieldsIterator>;
template class GenericXmlScheduleObjectFieldsIterator<ConstXmlNamedObjectFieldsIterator>;

}  // namespace fwcommon
