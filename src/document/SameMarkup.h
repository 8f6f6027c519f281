#pragma once

// Whether two pieces of markup read as the same elements, attributes and
// texts, whatever their layout.
//
// Programs write one policy in many layouts: attributes in another order,
// values in single quotes, white space inside tags or between elements,
// <A/> for <A></A>. None of that changes what a parser reads, so a piece of
// a valid document that differs from another piece only so is as valid as
// that one in the same place. The comparison is strict everywhere else:
// texts and attribute values compare byte for byte (a character reference
// is not its character), white space that is all of an element's content
// counts (it is the value of a simple element), and a comment, a CDATA
// section or a processing instruction makes the pieces unequal.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fwcommon::document {

// An attribute as a tag writes it.
struct MarkupAttribute {
    std::string_view name;
    std::string_view value;  // between its quotes
};

// The attributes that an element may leave out, and the value each then
// takes, by the type the element names with its xsi:type attribute; all
// names as the document writes them, in its own prefixes.
struct OmittableAttributes {
    struct Entry {
        std::string type;  // the xsi:type value, "sv:TransitRule"
        std::string attribute;
        std::string value;
    };
    std::string typeAttribute;  // "xsi:type"
    std::vector<Entry> entries;

    // The value `attribute` takes when an element of `type` leaves it out.
    std::optional<std::string_view> DefaultOf(std::string_view type,
                                              std::string_view attribute) const;
};

// True when `a` and `b`, each a run of whole tags and texts (from a '<' to
// a '>'), hold the same tags in the same order, each with the same set of
// attributes and values, and the same texts, apart from the layout above.
// With `omittable`, a start tag may also write or leave out an attribute
// that its type gives a default, when the value written is that default,
// until a tag declares a namespace (which may bind the prefixes otherwise).
// White space between tags longer than the bound on a text's length makes
// them unequal, so that a piece equal to a bounded one is bounded too.
// Any thread may call it.
bool SameMarkup(std::string_view a, std::string_view b,
                const OmittableAttributes* omittable = nullptr);

// The children of a piece's top element whose texts may hold other whole
// numbers without the piece reading otherwise to a validating read: in a
// rule, RuleId and OrderId, which the schema types xs:long.
struct NumberTexts {
    std::string_view top;                    // "Rule"
    std::vector<std::string_view> children;  // "RuleId", "OrderId"
};

// Receives what a piece of markup reads as, one field at a time.
class MarkupFields {
public:
    // The kinds of field: a start tag's name, an attribute's name and
    // value, an end tag's name, a text, and a number text (no bytes).
    enum class Kind : char {
        kStart = 'S',
        kAttributeName = 'A',
        kAttributeValue = 'V',
        kEnd = 'E',
        kText = 'T',
        kNumber = 'N'
    };

    virtual ~MarkupFields() = default;
    virtual void Field(Kind kind, std::string_view bytes) = 0;
};

// Gives `out` the fields of what `piece`, a run of whole tags and texts,
// reads as: two pieces that SameMarkup(a, b, omittable) finds the same give
// the same fields (attributes sorted, the defaults of `omittable` left out,
// until a tag declares a namespace), and two pieces that it finds to differ
// give other fields, unless with `numbers` they differ only in the texts of
// those children, each a whole number in 64 bits (a minus sign, digits)
// given as kNumber. A child with attributes keeps its text: an xsi:type
// may give it a type narrower than xs:long. False when the piece is broken
// or holds what SameMarkup never finds the same (a comment, white space
// beyond the bound on a text's length); the fields given so far are then of
// no use. Any thread may call it.
bool ReadMarkupFields(std::string_view piece, const OmittableAttributes* omittable,
                      const NumberTexts* numbers, MarkupFields& out);

// ReadMarkupFields of the one element that `text` starts with, `text`
// running on past it (to the end of a document): the fields are those of
// the piece from the element's '<' to its end tag's '>', and the answer is
// where that '>' ends, or nothing when ReadMarkupFields finds that piece
// broken (or `text` ends inside the element). Any thread may call it.
std::optional<std::size_t> ReadElementFields(std::string_view text,
                                             const OmittableAttributes* omittable,
                                             const NumberTexts* numbers, MarkupFields& out);

// A start tag as written.
struct StartTag {
    std::string_view name;
    std::vector<MarkupAttribute> attributes;  // in the order written
};

// The start tag `tag` is, or nothing when it is not one. Any thread may
// call it.
std::optional<StartTag> ReadStartTag(std::string_view tag);

// True when two start tags have the same name and the same attributes in
// any order. Any thread may call it.
bool SameStartTag(const StartTag& a, const StartTag& b);

// The prefix a namespace declaration binds ("" for the default namespace),
// or nothing when the attribute declares none.
std::optional<std::string_view> DeclaredPrefix(const MarkupAttribute& attribute);

// True when one of the attributes declares a namespace.
bool DeclaresNamespace(const std::vector<MarkupAttribute>& attributes);

// True when the bytes before two documents' root elements declare the same
// XML version and both UTF-8: an optional UTF-8 byte-order mark, an
// optional XML declaration, white space. Bytes equal byte for byte are the
// same too. Any thread may call it.
bool SamePrologue(std::string_view a, std::string_view b);

}  // namespace fwcommon::document
