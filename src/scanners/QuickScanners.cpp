#include <fwcommon/QuickScanners.h>

#include <algorithm>
#include <string>

#include <boost/locale/encoding_utf.hpp>

#include "scanners/ByteVectorSAXParser.h"

namespace fwcommon {
namespace {

// Collected texts are UTF-8 whatever the document's encoding.
std::wstring Widened(const std::string& utf8) {
    return boost::locale::conv::utf_to_utf<wchar_t>(utf8);
}

}  // namespace

int GetXmlVersion(const std::vector<unsigned char>& bytes, std::wstring& version) {
    RuleSAXParser parser(bytes);
    const int result = parser.Parse();
    if (result == 0 && !parser.Results().empty()) {
        version = Widened(parser.Results().front());
    }
    return result;
}

int GetDomainNames(const std::vector<unsigned char>& bytes, std::vector<std::wstring>& names) {
    if (bytes.empty()) {
        return 0;
    }
    DnsSAXParser parser(bytes);
    const int result = parser.Parse();
    if (result != 0) {
        return result;
    }
    std::vector<std::string> found = parser.Results();
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    names.clear();
    for (const std::string& name : found) {
        names.push_back(Widened(name));
    }
    return 0;
}

int ConvertRulesToActualVersion(const std::vector<unsigned char>& bytes,
                                std::vector<unsigned char>& converted) {
    converted = bytes;
    return 0;
}

}  // namespace fwcommon
