#pragma once

// Values that pass the schema but that the typed document cannot hold as
// written, so that writing the document back would give another value or
// an invalid one:
// - a leap second ("23:59:60"): the binding writes no text for it;
// - a year before 1 ("-0044"): the binding writes "0-44";
// - a year beyond 2147483647: the binding keeps the largest int;
// - seconds with more than six significant decimals: the binding keeps six.
// The check reads the lexical form of the elements of date and time type
// (the schema's StartTime, EndTime, StartDate, EndDate, IssueDateTime and
// ApplicationDateTime) before the binding converts them.

#include <optional>
#include <string>

#include <xercesc/dom/DOMElement.hpp>

namespace fwcommon::document {

// Why the text of the element cannot be kept, as a message naming the
// element and the value; empty when it can, or when the element is none of
// the date and time elements (whose text is then not read). Called on the
// parsing thread.
std::optional<std::wstring> FindUnkeptValue(const xercesc::DOMElement& element);

// True when elements of this local name hold a date or time value: the
// elements whose text the check reads.
bool HoldsDateOrTime(const XMLCh* localName);

// The check of the text of an element of the given local name, for a
// reader that collects the text itself.
std::optional<std::wstring> FindUnkeptValue(const XMLCh* localName, const XMLCh* text);

}  // namespace fwcommon::document
