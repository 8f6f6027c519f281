#include <fwcommon/DictionaryFormatError.h>

#include <utility>

namespace fwcommon {

DictionaryFormatError::DictionaryFormatError(const boost::bad_lexical_cast& cause, std::string file,
                                             unsigned long line)
    : boost::bad_lexical_cast(cause), file_(std::move(file)), line_(line) {}

}  // namespace fwcommon
