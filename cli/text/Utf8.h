#pragma once

#include <string>

namespace fwpolicy {

// The tool speaks UTF-8 on its terminal and in its files, whatever the
// locale; documents hold wide strings.
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

}  // namespace fwpolicy
