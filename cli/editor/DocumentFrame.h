#pragma once

#include <memory>
#include <vector>

#include <fwcommon/rules.hxx>

namespace fwpolicy {

// The frame of a document the library wrote (Context::GetXmlData,
// WritePolicyDocument): the document without its named objects and with no
// rules, so that its options and properties are read and written in a
// fraction of the time the whole document takes. Only for the library's
// own output, which has no comments and escapes every '<' of a text.

// The typed frame of written. Throws what parsing throws, and
// std::runtime_error when written has no Rules element.
std::unique_ptr<Sarvo::PolicyType> ParseFrame(const std::vector<unsigned char>& written);

// The typed document of written with its named objects but no rules, for
// what needs the objects and takes the rules from the Context. Throws as
// ParseFrame does.
std::unique_ptr<Sarvo::PolicyType> ParseWithoutRules(const std::vector<unsigned char>& written);

// written with what follows its rules (options, properties, the end of the
// document) as the library writes them for frame: the bytes the whole
// document would be written as, had frame's changes been made to it.
std::vector<unsigned char> WithTailOf(const std::vector<unsigned char>& written,
                                      const Sarvo::PolicyType& frame);

}  // namespace fwpolicy
