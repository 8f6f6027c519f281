#pragma once

#include <string>

namespace fwcommon {

// Refuses text handed to the Context that a policy document cannot hold
// (see document/XmlCharacters.h): a NUL would cut the text short when it
// is written and the other characters would make the write fail, so such
// text never enters a document. Throws std::invalid_argument
// "<function>.The <what> holds U+0001, which a policy document cannot
// hold". Any thread may call it.
void RequireDocumentText(const char* function, const char* what, const std::wstring& text);

}  // namespace fwcommon
