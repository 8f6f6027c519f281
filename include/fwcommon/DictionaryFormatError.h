#pragma once

#include <string>

#include <boost/lexical_cast/bad_lexical_cast.hpp>

#include <fwcommon/export.h>

namespace fwcommon {

// Thrown by the dictionaries' Initialize for a line whose number field is
// not a decimal number. It is the boost::bad_lexical_cast the dictionaries
// promise (what() is its text) and also says where: the file as it was
// opened and the line, counted from 1. Thrown by value; any thread.
class FWCOMMON_EXPORT DictionaryFormatError : public boost::bad_lexical_cast {
public:
    DictionaryFormatError(const boost::bad_lexical_cast& cause, std::string file,
                          unsigned long line);

    const std::string& file() const { return file_; }
    unsigned long line() const { return line_; }

private:
    std::string file_;
    unsigned long line_;
};

}  // namespace fwcommon
