#pragma once

// Policy documents as text, and the edits the tests of partial checks make
// to them.

#include <random>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include <fwcommon/PolicyDocument.h>
#include "common/TestFiles.h"
#include "document/AttributeDefaults.h"
#include "document/DocumentTestSupport.h"

namespace fwcommon::test {

inline std::string Text(const std::vector<unsigned char>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// The example policy as the library writes it: what an edit starts from.
inline std::string WrittenExample() {
    return Text(
        WritePolicyDocument(*ParsePolicyDocument(ReadBytes(SourcePath("examples/policy.xml")))));
}

inline bool IsSchemaDefault(const std::string& attribute, const std::string& value) {
    for (const document::AttributeDefault& d : document::AttributeDefaultsOf(L"")) {
        if (d.attribute == attribute && d.value == value)
            return true;
    }
    return false;
}

// One start tag laid out otherwise: attributes in reverse order, in single
// quotes where they can be, the schema's defaults left out.
inline std::string RelaidTag(const std::smatch& tag) {
    static const std::regex kAttribute(R"re(([\w:]+)="([^"]*)")re");
    const std::string list = tag[2];
    std::vector<std::string> attributes;
    for (std::sregex_iterator a(list.begin(), list.end(), kAttribute), end; a != end; ++a) {
        const std::string name = (*a)[1];
        const std::string value = (*a)[2];
        if (IsSchemaDefault(name, value))
            continue;
        const char quote = value.find('\'') == std::string::npos ? '\'' : '"';
        attributes.insert(attributes.begin(), name + "=" + quote + value + quote);
    }
    std::string text = "<" + tag[1].str();
    for (const std::string& attribute : attributes)
        text += "\n\t\t" + attribute;
    return text + tag[3].str() + ">";
}

// The written example as another program might lay it out: tags relaid,
// no schema location, tabs for indentation, empty elements as <A/>,
// comments around the lists.
inline std::string OtherLayout(const std::string& written) {
    static const std::regex kTag(R"re(<([A-Za-z][\w:]*)((?:\s+[\w:]+="[^"]*")*)\s*(/?)>)re");
    std::string out;
    auto last = written.cbegin();
    for (std::sregex_iterator tag(written.begin(), written.end(), kTag), end; tag != end; ++tag) {
        out.append(last, (*tag)[0].first);
        out += RelaidTag(*tag);
        last = (*tag)[0].second;
    }
    out.append(last, written.cend());
    out = std::regex_replace(out, std::regex(R"(\s+xsi:schemaLocation='[^']*')"), "");
    out = std::regex_replace(out, std::regex(R"(<(\w+)>(</\1>))"), "<$1/>");
    out = std::regex_replace(out, std::regex("\n((  )+)"), "\n\t$1");
    out = std::regex_replace(out, std::regex("\\?>\n"), "?>\n<!-- exported by hand -->\n");
    return std::regex_replace(out, std::regex("<Rules>"), "<!-- the rules -->\n<Rules>");
}

template <typename Check>
inline std::string ErrorOf(Check check) {
    try {
        check();
    } catch (const xml_schema::exception& e) {
        const std::wstring text = ErrorText(e);
        return std::string(text.begin(), text.end());
    }
    return "accepted";
}

inline std::string WholeVerdict(const std::string& edited) {
    return ErrorOf([&] { ValidatePolicyDocument(ToBytes(edited)); });
}

inline std::string EditedVerdict(const std::string& valid, const std::string& edited) {
    return ErrorOf([&] { ValidateEditedPolicyDocument(ToBytes(valid), ToBytes(edited)); });
}

// Offset of the n-th (from 0) occurrence of `what`.
inline std::size_t Nth(const std::string& text, const std::string& what, int n) {
    std::size_t at = text.find(what);
    for (int i = 0; i < n && at != std::string::npos; ++i)
        at = text.find(what, at + 1);
    if (at == std::string::npos)
        throw std::logic_error("no occurrence " + std::to_string(n) + " of " + what);
    return at;
}

inline std::string ReplacedAt(std::string text, const std::string& what, int n,
                              const std::string& with) {
    return text.replace(Nth(text, what, n), what.size(), with);
}

// The n-th element that starts with `open` and ends with `close`, with the
// line's indentation before it.
inline std::string Element(const std::string& text, const std::string& open,
                           const std::string& close, int n) {
    const std::size_t begin = Nth(text, open, n);
    return text.substr(begin, text.find(close, begin) + close.size() - begin);
}

inline std::string Without(std::string text, const std::string& part) {
    return text.erase(text.find(part), part.size());
}

inline std::string InsertedAfter(std::string text, const std::string& what, int n,
                                 const std::string& part) {
    return text.insert(Nth(text, what, n) + what.size(), part);
}

inline std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

// Bytes deleted, copied from elsewhere or overwritten at random places.
inline std::string Mutated(const std::string& valid, std::mt19937& random) {
    constexpr std::size_t kLongestPart = 600;
    const std::string noise = "<>/\"'= a0\n";
    std::uniform_int_distribution<std::size_t> place(0, valid.size() - 1);
    std::uniform_int_distribution<std::size_t> length(1, kLongestPart);
    std::string edited = valid;
    switch (random() % 3) {
        case 0:
            return edited.erase(place(random), length(random));
        case 1: {
            const std::string part = valid.substr(place(random), length(random));
            return edited.insert(place(random), part);
        }
        default:
            edited[place(random)] = noise[random() % noise.size()];
            return edited;
    }
}

// A valid document in which the n-th rule alone names its type with a
// prefix declared on `tag`.
inline std::string WithOwnPrefix(const std::string& valid, const std::string& tag, int n) {
    std::string own = ReplacedAt(
        valid, tag, 0, tag + " xmlns:p=\"" + std::string(kDocumentNamespaceNarrow) + "\"");
    const std::string type = "xsi:type=\"sv:";
    return own.replace(own.find(type, Nth(own, "<Rule ", n)), type.size(), "xsi:type=\"p:");
}

}  // namespace fwcommon::test
