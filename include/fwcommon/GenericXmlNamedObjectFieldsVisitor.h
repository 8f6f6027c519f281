#pragma once

#include <cstdint>
#include <string>

#include <fwcommon/GenericXmlConditionFieldsVisitor.h>
#include <fwcommon/export.h>
#include <fwcommon/rules.hxx>

namespace fwcommon {

// A host application's callbacks for every field of a document named
// object: its own fields here, its inclusions and exclusions through the
// condition callbacks (purposes 4 and 5). The library provides
// XmlNamedObjectFieldsVisitor and ConstXmlNamedObjectFieldsVisitor.
template <class List, class IdType, class NameType, class CreationTypeType>
class GenericXmlNamedObjectFieldsVisitor : public GenericXmlConditionFieldsVisitor<List> {
public:
    virtual void VisitId(IdType id) = 0;
    // The object's name; null when it has none.
    virtual void VisitName(NameType* name) = 0;
    virtual void VisitCreationType(CreationTypeType& creationType) = 0;

    GenericXmlNamedObjectFieldsVisitor(const GenericXmlNamedObjectFieldsVisitor&) = default;
    GenericXmlNamedObjectFieldsVisitor& operator=(const GenericXmlNamedObjectFieldsVisitor&) {
        return *this;
    }

protected:
    GenericXmlNamedObjectFieldsVisitor() = default;
};

extern template class FWCOMMON_EXPORT GenericXmlNamedObjectFieldsVisitor<
    ConditionList, std::int32_t, std::wstring, Sarvo::CreationTypes>;
extern template class FWCOMMON_EXPORT GenericXmlNamedObjectFieldsVisitor<
    ConstConditionList, const std::int32_t, const std::wstring, const Sarvo::CreationTypes>;

using XmlNamedObjectFieldsVisitor =
    GenericXmlNamedObjectFieldsVisitor<ConditionList, std::int32_t, std::wstring,
                                       Sarvo::CreationTypes>;
using ConstXmlNamedObjectFieldsVisitor =
    GenericXmlNamedObjectFieldsVisitor<ConstConditionList, const std::int32_t, const std::wstring,
                                       const Sarvo::CreationTypes>;

}  // namespace fwcommon
