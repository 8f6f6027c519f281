#pragma once

// Quick looks into a policy document given as bytes, without validating it
// and without building the document classes.
//
// The scans read UTF-8 XML (or any encoding the document declares) with a
// streaming parser that refuses a DOCTYPE and never fetches an entity, a
// DTD or a schema, so hostile input cannot make them open a file or a URL
// or expand entities. Texts are trimmed of XML white space (blank, tab,
// carriage return, line feed) at both ends; a text that is empty after
// trimming is not reported.
//
// Result codes: 0 the document was read; 1 the XML platform could not be
// initialised; -1 the document could not be parsed (not well-formed,
// empty, carrying a DOCTYPE, nesting elements deeper than 256 levels,
// giving one element more than 1024 attributes, or holding a text to be
// read that is longer than 1048576 characters). Failures are logged at
// level 2 through GetLibLogFacility(). Exceptions other than the parser's
// (out of memory, for one) are logged and passed on.
//
// Any thread may scan at any time: scans share nothing but the XML
// platform, which the library initialises once per process and never
// terminates.

#include <string>
#include <vector>

#include <fwcommon/export.h>

namespace fwcommon {

// Reads the text of Properties/Version, stopping as soon as it has been
// read. On 0 with a non-empty Version, version receives it; otherwise (no
// Version, an empty one, or a failure) version is left as it was.
FWCOMMON_EXPORT int GetXmlVersion(const std::vector<unsigned char>& bytes, std::wstring& version);

// Collects the Value texts of every element whose xsi:type is written
// "sv:DomainName" (domain name conditions of rules and of IP objects). On 0
// names is replaced by the distinct texts in ascending order; on a failure
// it is left as it was. Empty bytes return 0 at once and leave names as
// they were.
FWCOMMON_EXPORT int GetDomainNames(const std::vector<unsigned char>& bytes,
                                   std::vector<std::wstring>& names);

// Brings a document to the current format. Documents of every known
// version already have it, so converted becomes a copy of bytes; returns 0.
FWCOMMON_EXPORT int ConvertRulesToActualVersion(const std::vector<unsigned char>& bytes,
                                                std::vector<unsigned char>& converted);

}  // namespace fwcommon
