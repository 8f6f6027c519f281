#pragma once

#include <stdexcept>
#include <string>

namespace fwpolicy::textforms {

// Thrown by every text-form parser. The message names the text that was
// refused and says what is wrong with which part of it, for example
// "bad address '10.1.0.300': '300' is not a number from 0 to 255".
class TextFormError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace fwpolicy::textforms
