#include "document/AttributeDefaults.h"

#include <map>
#include <memory>
#include <mutex>

#include <xercesc/framework/XMLAttDef.hpp>
#include <xercesc/framework/XMLAttDefList.hpp>
#include <xercesc/util/TransService.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/validators/schema/ComplexTypeInfo.hpp>
#include <xercesc/validators/schema/SchemaAttDef.hpp>
#include <xercesc/validators/schema/SchemaGrammar.hpp>
#include <xsd/cxx/xml/string.hxx>

#include <fwcommon/DocumentNamespace.h>
#include "document/SchemaGrammarCache.h"

namespace fwcommon::document {
namespace {

std::string Utf8(const XMLCh* text) {
    const xercesc::TranscodeToStr utf8(text, "UTF-8");
    return std::string(reinterpret_cast<const char*>(utf8.str()), utf8.length());
}

bool TakesValueWhenLeftOut(const xercesc::XMLAttDef& attribute) {
    const auto kind = attribute.getDefaultType();
    return kind == xercesc::XMLAttDef::Default || kind == xercesc::XMLAttDef::Fixed;
}

// An attribute written without a prefix: one of no namespace.
bool IsUnqualified(const xercesc::SchemaAttDef& attribute) {
    const XMLCh* prefix = attribute.getAttName()->getPrefix();
    return prefix == nullptr || *prefix == 0;
}

void AddDefaultsOf(const xercesc::ComplexTypeInfo& type, std::vector<AttributeDefault>& out) {
    const std::string typeName = Utf8(type.getTypeLocalName());
    xercesc::XMLAttDefList& attributes = type.getAttDefList();
    for (XMLSize_t i = 0; i < attributes.getAttDefCount(); ++i) {
        const auto& attribute = static_cast<const xercesc::SchemaAttDef&>(attributes.getAttDef(i));
        if (TakesValueWhenLeftOut(attribute) && IsUnqualified(attribute)) {
            out.push_back(AttributeDefault{typeName, Utf8(attribute.getAttName()->getLocalPart()),
                                           Utf8(attribute.getValue())});
        }
    }
}

std::vector<AttributeDefault> ReadDefaults(xercesc::XMLGrammarPool& pool) {
    const xsd::cxx::xml::string documentNamespace(kDocumentNamespace);
    std::vector<AttributeDefault> defaults;
    auto grammars = pool.getGrammarEnumerator();
    while (grammars.hasMoreElements()) {
        xercesc::Grammar& grammar = grammars.nextElement();
        if (grammar.getGrammarType() != xercesc::Grammar::SchemaGrammarType ||
            !xercesc::XMLString::equals(grammar.getTargetNamespace(), documentNamespace.c_str()))
            continue;
        auto* types = static_cast<xercesc::SchemaGrammar&>(grammar).getComplexTypeRegistry();
        if (types == nullptr)
            continue;
        xercesc::RefHashTableOfEnumerator<xercesc::ComplexTypeInfo> each(types);
        while (each.hasMoreElements())
            AddDefaultsOf(each.nextElement(), defaults);
    }
    return defaults;
}

std::string Qualified(std::string_view prefix, const std::string& local) {
    return prefix.empty() ? local : std::string(prefix) + ":" + local;
}

}  // namespace

std::optional<OmittableAttributes> OmittableBelow(std::string_view rootTag,
                                                  const std::vector<AttributeDefault>& defaults) {
    const auto root = ReadStartTag(rootTag);
    if (!root)
        return std::nullopt;
    OmittableAttributes omittable;
    for (const MarkupAttribute& attribute : root->attributes) {
        const auto prefix = DeclaredPrefix(attribute);
        if (!prefix)
            continue;
        if (attribute.value == kSchemaInstanceNamespace && !prefix->empty() &&
            omittable.typeAttribute.empty())
            omittable.typeAttribute = Qualified(*prefix, "type");
        if (attribute.value == kDocumentNamespaceNarrow) {
            for (const AttributeDefault& d : defaults)
                omittable.entries.push_back({Qualified(*prefix, d.type), d.attribute, d.value});
        }
    }
    if (omittable.typeAttribute.empty() || omittable.entries.empty())
        return std::nullopt;
    return omittable;
}

const std::vector<AttributeDefault>& AttributeDefaultsOf(const std::wstring& schemaPath) {
    static std::mutex mutex;
    static auto* tables = new std::map<std::wstring, std::vector<AttributeDefault>>();
    xercesc::XMLGrammarPool& pool = GrammarPoolFor(schemaPath);
    std::lock_guard<std::mutex> lock(mutex);
    auto found = tables->find(schemaPath);
    if (found == tables->end())
        found = tables->emplace(schemaPath, ReadDefaults(pool)).first;
    return found->second;
}

}  // namespace fwcommon::document
