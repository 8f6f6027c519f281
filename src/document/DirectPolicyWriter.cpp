// The document envelope: declaration, root, rules list, options and
// properties.
#include "document/DirectPolicyWriter.h"

#include <fwcommon/DocumentNamespace.h>
#include "document/DirectWriterParts.h"
#include "document/XmlValueText.h"

namespace fwcommon::document {
namespace {

// Bytes per rule and per named object of a typical document, to size the
// output once in most cases.
constexpr std::size_t kBytesPerRule = 1400;
constexpr std::size_t kBytesPerNamedObject = 1200;

std::size_t ExpectedSize(const Sarvo::PolicyType& policy, std::size_t rules) {
    std::size_t objects = 0;
    if (const auto& named = policy.NamedObjects()) {
        objects = named->ScheduleObject().size() + named->ServiceObject().size() +
                  named->VpnObject().size() + named->InterfaceObject().size() +
                  named->IpObject().size();
    }
    return 1024 + rules * kBytesPerRule + objects * kBytesPerNamedObject;
}

void WriteDeclarationAndRoot(XmlTextOutput& out) {
    out.Raw("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\" ?>");
    out.OpenElement("sv:Policy");
    out.Raw(" xmlns:sv=\"");
    out.Raw(kDocumentNamespaceNarrow);
    out.Raw("\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:schemaLocation=\"");
    out.Raw(kDocumentNamespaceNarrow);
    out.Raw(" rules.xsd\"");
}

void WriteRules(XmlTextOutput& out, const Sarvo::Rules& x) {
    CheckExactType(out, x);
    out.OpenElement("Rules");
    for (const auto& rule : x.Rule()) {
        WriteRuleElement(out, "Rule", rule);
    }
    out.CloseElement("Rules");
}

void WriteRules(XmlTextOutput& out, const Sarvo::Rules& x, const std::vector<RuleWithIds>& rules) {
    CheckExactType(out, x);
    out.OpenElement("Rules");
    for (const RuleWithIds& rule : rules) {
        WriteRuleElement(out, "Rule", *rule.rule, rule.ruleId, rule.orderId);
    }
    out.CloseElement("Rules");
}

// Attributes in name order: Reserved, TargetApplication, TargetPlatform.
void WriteOption(XmlTextOutput& out, const Sarvo::Option& x) {
    CheckExactType(out, x);
    out.OpenElement("Option");
    if (x.Reserved()) {
        out.StringAttribute("Reserved", *x.Reserved());
    }
    if (x.TargetApplication()) {
        out.StringAttribute("TargetApplication", *x.TargetApplication());
    }
    if (x.TargetPlatform()) {
        out.StringAttribute("TargetPlatform", *x.TargetPlatform());
    }
    WriteTextElement(out, "Name", x.Name());
    WriteTextElement(out, "Value", x.Value());
    WriteTextElement(out, "CreationType", x.CreationType());
    out.CloseElement("Option");
}

void WriteOptions(XmlTextOutput& out, const Sarvo::Options& x) {
    CheckExactType(out, x);
    out.OpenElement("Options");
    for (const auto& option : x.Option()) {
        WriteOption(out, option);
    }
    out.CloseElement("Options");
}

void WriteProperties(XmlTextOutput& out, const Sarvo::Properties& x) {
    CheckExactType(out, x);
    out.OpenElement("Properties");
    WriteTextElement(out, "Version", x.Version());
    WriteDateTimeElement(out, "IssueDateTime", x.IssueDateTime());
    if (x.ApplicationDateTime()) {
        WriteDateTimeElement(out, "ApplicationDateTime", *x.ApplicationDateTime());
    }
    out.LongElement("RollbackPeriod", x.RollbackPeriod());
    out.CloseElement("Properties");
}

// The document around its rules, which writeRules writes in their place.
template <typename WriteRules>
bool WriteDocument(const Sarvo::PolicyType& policy, std::size_t rules, const WriteRules& writeRules,
                   std::vector<unsigned char>& out) {
    if (!SameType(typeid(policy), typeid(Sarvo::PolicyType)) || !GlobalLocaleWritesPlainNumbers()) {
        return false;
    }
    XmlTextOutput text(out, ExpectedSize(policy, rules));
    CheckNoDomContent(text, policy);
    WriteDeclarationAndRoot(text);
    if (policy.NamedObjects()) {
        WriteNamedObjectsElement(text, *policy.NamedObjects());
    }
    writeRules(text);
    if (policy.Options()) {
        WriteOptions(text, *policy.Options());
    }
    WriteProperties(text, policy.Properties());
    text.CloseElement("sv:Policy");
    text.Raw("\n");
    text.Finish();
    return text.Supported();
}

}  // namespace

bool WritePolicyDirect(const Sarvo::PolicyType& policy, std::vector<unsigned char>& out) {
    return WriteDocument(
        policy, policy.Rules().Rule().size(),
        [&](XmlTextOutput& text) { WriteRules(text, policy.Rules()); }, out);
}

bool WritePolicyDirect(const Sarvo::PolicyType& policy, const std::vector<RuleWithIds>& rules,
                       std::vector<unsigned char>& out) {
    return WriteDocument(
        policy, rules.size(), [&](XmlTextOutput& text) { WriteRules(text, policy.Rules(), rules); },
        out);
}

}  // namespace fwcommon::document
