#include "document/NotDerivedError.h"

#include <xercesc/util/XMLUniDefs.hpp>
#include <xercesc/validators/schema/SchemaSymbols.hpp>
#include <xsd/cxx/tree/exceptions.hxx>
#include <xsd/cxx/tree/type-serializer-map.hxx>
#include <xsd/cxx/xml/string.hxx>

namespace fwcommon::document {
namespace {

using QualifiedName = xsd::cxx::xml::qualified_name<wchar_t>;

// The xsi:type of the element, with its prefix resolved in the element's
// scope (the generated parser has already resolved it once, so it maps).
QualifiedName XsiTypeOf(const xercesc::DOMElement& element) {
    static const XMLCh type[] = {xercesc::chLatin_t, xercesc::chLatin_y, xercesc::chLatin_p,
                                 xercesc::chLatin_e, xercesc::chNull};
    const std::wstring value = xsd::cxx::xml::transcode<wchar_t>(
        element.getAttributeNS(xercesc::SchemaSymbols::fgURI_XSI, type));
    const auto colon = value.find(L':');
    const std::wstring prefix =
        colon == std::wstring::npos ? std::wstring() : value.substr(0, colon);
    const std::wstring local = colon == std::wstring::npos ? value : value.substr(colon + 1);
    xsd::cxx::xml::string xmlPrefix(prefix);
    const XMLCh* ns = element.lookupNamespaceURI(prefix.empty() ? nullptr : xmlPrefix.c_str());
    return QualifiedName(local,
                         ns != nullptr ? xsd::cxx::xml::transcode<wchar_t>(ns) : std::wstring());
}

QualifiedName SchemaNameOf(const std::type_info& type) {
    const auto* info = xsd::cxx::tree::type_serializer_map_instance<0, wchar_t>().find(type);
    return info != nullptr ? info->name() : QualifiedName(std::wstring());
}

}  // namespace

void ThrowNotDerived(const xercesc::DOMElement& element, const std::type_info& declaredType) {
    const QualifiedName derived = XsiTypeOf(element);
    const QualifiedName declared = SchemaNameOf(declaredType);
    throw xsd::cxx::tree::not_derived<wchar_t>(declared.name(), declared.namespace_(),
                                               derived.name(), derived.namespace_());
}

}  // namespace fwcommon::document
