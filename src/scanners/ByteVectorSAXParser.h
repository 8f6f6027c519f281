#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace fwcommon {

// A streaming scan of a document held in memory for the texts of the
// elements at the end of a path, without validation and without building
// a document.
//
// The path is a list of steps. A step matches an element whose local name
// equals the step's name ("" matches any element) and, when the step names
// an attribute value, which has an attribute of exactly that value. Each
// step is looked for among the descendants of the element that matched the
// step before it; when that element ends, the search falls back to it. The
// text inside the element that matches the last step (its own and its
// descendants' character data, outer white space trimmed, as UTF-8) is one
// result; a match whose text is empty adds none.
//
// Hostile input is refused: a document type declaration ends the scan as a
// parse failure, and no entity, DTD or schema is ever fetched.
//
// One object serves one scan on one thread; separate objects may scan on
// separate threads.
class ByteVectorSAXParser {
public:
    struct Step {
        std::string name;            // "" for any element
        std::string attributeValue;  // "" for no requirement
    };
    enum Mode { kStopAtFirstMatch = 0, kCollectEveryMatch = 1 };

    // Keeps a reference to bytes, which must outlive the object.
    ByteVectorSAXParser(const std::vector<unsigned char>& bytes, std::vector<Step> path, Mode mode);
    virtual ~ByteVectorSAXParser();
    ByteVectorSAXParser(const ByteVectorSAXParser&) = delete;
    ByteVectorSAXParser& operator=(const ByteVectorSAXParser&) = delete;

    // Runs the scan. Returns 0 when the document was read (in the first
    // match mode, up to its first match), 1 when the XML platform could not
    // be initialised, -1 when the document is not well-formed or is
    // refused; failures are logged. Exceptions other than the parser's are
    // logged and passed on.
    int Parse();

    // The texts found, in document order; filled by a successful Parse.
    const std::vector<std::string>& Results() const { return results_; }

    class SAXHandler;

private:
    int Scan();

    const std::vector<unsigned char>& bytes_;
    std::vector<Step> path_;
    Mode mode_;
    std::vector<std::string> results_;
};

// The document's Properties/Version.
class RuleSAXParser : public ByteVectorSAXParser {
public:
    explicit RuleSAXParser(const std::vector<unsigned char>& bytes);
};

// The Value of every element typed sv:DomainName.
class DnsSAXParser : public ByteVectorSAXParser {
public:
    explicit DnsSAXParser(const std::vector<unsigned char>& bytes);
};

}  // namespace fwcommon
