#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include <fwcommon/rules.hxx>

namespace fwpolicy {

// The frame of a document the library wrote (Context::GetXmlData,
// WritePolicyDocument): the document without its named objects and with no
// rules, so that its options and properties are read and written in a
// fraction of the time the whole document takes. Only for the library's
// own output, which has no comments and escapes every '<' of a text.

// The typed frame of written bytes, and where their rules end, so that
// what follows them can be replaced without looking for it again.
struct Frame {
    std::unique_ptr<Sarvo::PolicyType> policy;
    std::size_t rulesEnd = 0;  // in the written bytes, just after the Rules element
};

// The frame of written. Throws what parsing throws, and std::runtime_error
// when written has no Rules element.
Frame ParseFrame(const std::vector<unsigned char>& written);

// written, the bytes frame was parsed from, with what follows its rules
// (options, properties, the end of the document) as the library writes
// them for frame's policy: the bytes the whole document would be written
// as, had the frame's changes been made to it.
std::vector<unsigned char> WithTailOf(std::vector<unsigned char> written, const Frame& frame);

}  // namespace fwpolicy
