#pragma once

#include <typeinfo>

#include <xercesc/dom/DOMElement.hpp>

namespace fwcommon::document {

// Raised by the generated parser when an element's xsi:type names a
// registered type that is not derived from the element's declared type.
// Throws xml_schema::not_derived naming both types:
// "type '<ns>#Port' is not derived from '<ns>#IpPrimitive'".
[[noreturn]] void ThrowNotDerived(const xercesc::DOMElement& element,
                                  const std::type_info& declaredType);

}  // namespace fwcommon::document
