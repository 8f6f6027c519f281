#include "context/DocumentTextCheck.h"

#include <stdexcept>

#include <fwcommon/StringUtilities.h>
#include "document/XmlCharacters.h"

namespace fwcommon {

void RequireDocumentText(const char* function, const char* what, const std::wstring& text) {
    const std::size_t at = document::FindNonXmlCharacter(text);
    if (at == std::wstring::npos) {
        return;
    }
    throw std::invalid_argument(StringUtilities::GetErrorString(
        function, std::string("The ") + what + " holds " +
                      document::CodePointName(static_cast<char32_t>(text[at])) +
                      ", which a policy document cannot hold"));
}

}  // namespace fwcommon
