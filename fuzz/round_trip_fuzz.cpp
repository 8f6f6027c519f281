// Every document the store accepts round-trips: bytes are loaded, every
// section's rules and every named object are read, each object is written
// back into its element (which must not change the written document by a
// byte), the document is written out and loaded again, and the two
// documents are equal rule by rule and object by object under the strict
// comparators. Both documents are also written by the direct writer and by
// the binding's DOM serializer, which must agree byte for byte.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <fwcommon/INamedObject.h>
#include <fwcommon/IRule.h>
#include <fwcommon/PolicyDocument.h>
#include <fwcommon/XmlInterfaceObjectStrictComparator.h>
#include <fwcommon/XmlIpObjectStrictComparator.h>
#include <fwcommon/XmlReaderFactory.h>
#include <fwcommon/XmlRulesStrictCompare.h>
#include <fwcommon/XmlScheduleObjectStrictComparator.h>
#include <fwcommon/XmlServiceObjectStrictComparator.h>
#include <fwcommon/XmlVpnObjectStrictComparator.h>
#include <xercesc/framework/XMLFormatter.hpp>

#include "FuzzSupport.h"
#include "document/DirectPolicyWriter.h"
#include "store/XmlReader.h"

namespace {

using namespace fwcommon;
using fwcommon::fuzz::Fail;

constexpr RuleType kSections[] = {eVPNRules, eNATRules, eTunnelRules, eLocalRules, eTransitRules};

struct Loaded {
    std::shared_ptr<XmlReader> reader;
    std::vector<std::shared_ptr<const RuleList>> sections;
    NamedObjectList objects;
};

Loaded Load(const std::vector<unsigned char>& bytes) {
    Loaded loaded;
    loaded.reader = std::dynamic_pointer_cast<XmlReader>(GetXmlReader(bytes, L"fuzz.xml", User));
    if (!loaded.reader) {
        Fail("GetXmlReader made a reader that is not the document store");
    }
    for (RuleType section : kSections) {
        loaded.sections.push_back(loaded.reader->GetRules(section));
    }
    loaded.objects = loaded.reader->GetNamedObjects();
    return loaded;
}

// The first load may refuse the bytes, with the errors the store promises
// for a document it cannot hold. Empty when refused.
std::unique_ptr<Loaded> TryLoad(const std::vector<unsigned char>& bytes) {
    try {
        return std::make_unique<Loaded>(Load(bytes));
    } catch (const xml_schema::exception&) {
    } catch (const std::runtime_error&) {
        // An unknown system-object name, an unresolved reference.
    } catch (const std::logic_error&) {
        // An identifier outside its range, a rule kind without a section.
    }
    return nullptr;
}

void CompareRules(const Loaded& first, const Loaded& second) {
    for (std::size_t s = 0; s < first.sections.size(); ++s) {
        const RuleList& a = *first.sections[s];
        const RuleList& b = *second.sections[s];
        if (a.size() != b.size()) {
            Fail("section " + std::to_string(s + 1) + " holds " + std::to_string(a.size()) +
                 " rules before and " + std::to_string(b.size()) + " after");
        }
        for (std::size_t i = 0; i < a.size(); ++i) {
            // Some content is unequal even to itself (an action that is
            // neither Filter nor Translation, schedule references, bare
            // base kinds): the rule must compare with its copy after the
            // round trip exactly as it compares with itself.
            std::wstring itself;
            std::wstring details;
            const bool reflexive =
                XmlRulesStrictCompare(a[i]->GetXmlRule(), a[i]->GetXmlRule(), itself);
            if (XmlRulesStrictCompare(a[i]->GetXmlRule(), b[i]->GetXmlRule(), details) !=
                    reflexive ||
                details != itself) {
                Fail("rule " + std::to_string(i) + " of section " + std::to_string(s + 1) +
                         " changed",
                     details);
            }
        }
    }
}

template <class Comparator, class Sequence>
void CompareObjects(const char* kind, const Sequence& before, const Sequence& after) {
    using Object = typename Sequence::value_type;
    const auto a = fuzz::SharedCopies<Object>(before);
    const auto b = fuzz::SharedCopies<Object>(after);
    if (a.size() != b.size()) {
        Fail(std::string(kind) + ": " + std::to_string(a.size()) + " objects before and " +
             std::to_string(b.size()) + " after");
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        // As for rules: the object compares with its round-tripped copy
        // exactly as it compares with itself.
        Comparator itself(a[i], a[i]);
        Comparator comparator(a[i], b[i]);
        if (comparator.IsEqual() != itself.IsEqual() ||
            comparator.GetMismatchDetails() != itself.GetMismatchDetails()) {
            Fail(std::string(kind) + " " + std::to_string(i) + " changed",
                 comparator.GetMismatchDetails());
        }
    }
}

void CompareNamedObjects(const Sarvo::PolicyType& before, const Sarvo::PolicyType& after) {
    if (before.NamedObjects().present() != after.NamedObjects().present()) {
        Fail("the NamedObjects element appeared or disappeared");
    }
    if (!before.NamedObjects()) {
        return;
    }
    const auto& a = *before.NamedObjects();
    const auto& b = *after.NamedObjects();
    CompareObjects<XmlScheduleObjectStrictComparator>("ScheduleObject", a.ScheduleObject(),
                                                      b.ScheduleObject());
    CompareObjects<XmlServiceObjectStrictComparator>("ServiceObject", a.ServiceObject(),
                                                     b.ServiceObject());
    CompareObjects<XmlVpnObjectStrictComparator>("VpnObject", a.VpnObject(), b.VpnObject());
    CompareObjects<XmlInterfaceObjectStrictComparator>("InterfaceObject", a.InterfaceObject(),
                                                       b.InterfaceObject());
    CompareObjects<XmlIpObjectStrictComparator>("IpObject", a.IpObject(), b.IpObject());
}

void CompareObjectLists(const NamedObjectList& before, const NamedObjectList& after) {
    if (before.size() != after.size()) {
        Fail(std::to_string(before.size()) + " named objects before and " +
             std::to_string(after.size()) + " after");
    }
    for (std::size_t i = 0; i < before.size(); ++i) {
        const INamedObject& a = *before[i];
        const INamedObject& b = *after[i];
        if (a.GetNamedObjectType() != b.GetNamedObjectType() || a.GetName() != b.GetName() ||
            a.GetDescription() != b.GetDescription()) {
            Fail("named object " + std::to_string(i) + " changed kind, name or description",
                 a.GetName() + L" / " + b.GetName());
        }
    }
}

class ByteVectorTarget final : public xercesc::XMLFormatTarget {
public:
    explicit ByteVectorTarget(std::vector<unsigned char>& out) : out_(out) {}
    void writeChars(const XMLByte* const bytes, const XMLSize_t count,
                    xercesc::XMLFormatter* const) override {
        out_.insert(out_.end(), bytes, bytes + count);
    }

private:
    std::vector<unsigned char>& out_;
};

// A parsed document holds nothing the direct writer leaves to the binding
// (only schema types, only characters XML allows), so it must write it,
// and write exactly what the binding's serializer writes.
void CompareWriters(const char* which, const Sarvo::PolicyType& policy) {
    std::vector<unsigned char> direct;
    if (!document::WritePolicyDirect(policy, direct)) {
        Fail(std::string("the direct writer refused the ") + which + " document");
    }
    xml_schema::namespace_infomap namespaces;
    namespaces[kDocumentPrefix].name = kDocumentNamespace;
    namespaces[kDocumentPrefix].schema = kSchemaFileName;
    std::vector<unsigned char> binding;
    ByteVectorTarget target(binding);
    Sarvo::Policy(target, policy, namespaces, L"UTF-8", xml_schema::flags::dont_initialize);
    if (direct != binding) {
        std::size_t at = 0;
        while (at < direct.size() && at < binding.size() && direct[at] == binding[at]) {
            ++at;
        }
        Fail(std::string("the direct writer and the binding differ on the ") + which +
             " document at byte " + std::to_string(at));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes = fuzz::ToBytes(data, size);
    auto first = TryLoad(bytes);
    if (!first) {
        return 0;
    }
    std::vector<unsigned char> unchanged;
    first->reader->GetXmlData(unchanged);
    for (const auto& object : first->objects) {
        if (!first->reader->UpdateNamedObject(object)) {
            Fail("a named object of the document was not found to write back", object->GetName());
        }
    }
    std::vector<unsigned char> written;
    first->reader->GetXmlData(written);
    if (written != unchanged) {
        Fail("writing the unchanged named objects back changed the document");
    }

    Loaded second;
    try {
        second = Load(written);
    } catch (const std::exception& e) {
        Fail(std::string("the written document does not load again: ") + e.what());
    }
    CompareRules(*first, second);
    CompareObjectLists(first->objects, second.objects);

    auto before = fuzz::TryParse(bytes);
    auto after = fuzz::TryParse(written);
    if (!after) {
        Fail("the written document is not valid");
    }
    if (!before) {
        if (!bytes.empty()) {
            Fail("the store accepted a document that the parser refuses");
        }
        return 0;  // empty bytes: a new document
    }
    CompareNamedObjects(*before, *after);
    CompareWriters("input", *before);
    CompareWriters("written", *after);
    return 0;
}
