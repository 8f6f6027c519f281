#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <fwcommon/Context.h>
#include <fwcommon/IRule.h>
#include "common/Thrown.h"
#include "context/ContextTestSupport.h"

namespace fwcommon::test {
namespace {

const std::vector<unsigned char> kNoBytes;

TEST(ContextRegistry, DefaultsHaveNoDocumentsAndNoExternalContext) {
    Context context;
    EXPECT_TRUE(context.GetDatanames().empty());
    EXPECT_EQ(nullptr, context.GetExternalContext());
    EXPECT_EQ(L"NamedObjects.xml", Context::NamedObjectsDataname);
    EXPECT_FALSE(context.HasChanges());
    EXPECT_EQ("none", Text(context.GetRulesChanges()));
    EXPECT_EQ("none", Text(context.GetNamedObjectsChanges()));
}

TEST(ContextRegistry, ExternalContextIsWhatTheFunctionReturns) {
    auto other = std::make_shared<Context>();
    Context context(L"", [other] { return other; });
    EXPECT_EQ(other, context.GetExternalContext());

    Context throwing(L"", []() -> std::shared_ptr<Context> { throw std::logic_error("gone"); });
    EXPECT_THROW(throwing.GetExternalContext(), std::logic_error);
}

TEST(ContextRegistry, RefusedAppendsRegisterNothing) {
    struct Row {
        const char* what;
        std::function<void(Context&)> append;
        bool invalidArgument;  // else std::runtime_error
        std::string message;
        std::wstring log;  // the one line logged, if any
    };
    const std::vector<Row> rows = {
        {"bytes without a dataname",
         [](Context& c) { c.AppendXmlReader(L"", kNoBytes, User, {}, L"name"); }, false,
         "fwcommon::Context::AppendXmlReader.Dataname is empty",
         L"fwcommon::Context::AppendXmlReader. Dataname is empty"},
        {"a document without a dataname",
         [](Context& c) {
             c.AppendParsedDocument(L"", ParsePolicyDocument(PolicyXml("")), User, {}, L"name");
         },
         false, "fwcommon::Context::AppendParsedDocument.Dataname is empty",
         L"fwcommon::Context::AppendParsedDocument. Dataname is empty"},
        {"no document",
         [](Context& c) { c.AppendParsedDocument(L"a.xml", nullptr, User, {}, L"name"); }, true,
         "fwcommon::Context::AppendParsedDocument.Empty document", L""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CapturedLog log;
        Context context;
        const auto append = [&] { row.append(context); };
        EXPECT_EQ(row.message, row.invalidArgument ? Thrown<std::invalid_argument>(append)
                                                   : Thrown<std::runtime_error>(append));
        EXPECT_TRUE(context.GetDatanames().empty());
        EXPECT_EQ(row.log.empty() ? std::vector<std::wstring>{}
                                  : std::vector<std::wstring>{LogLine(4, row.log)},
                  ContextLines(log));
    }
}

TEST(ContextRegistry, AppendLogsTheModesUpToTheFirstEditableOne) {
    struct Row {
        Context::ModesMap modes;
        std::wstring expected;
    };
    const std::vector<Row> rows = {
        {{}, L"'a.xml': Append XML"},
        {{{1, Context::Modes::eReadOnly},
          {4, Context::Modes::eEditable},
          {5, Context::Modes::eEditable}},
         L"'a.xml': Append XML, modes: (1,0) (4,1) "},
        {{{2, Context::Modes::eReadOnly}, {3, Context::Modes::eReadOnly}},
         L"'a.xml': Append XML, modes: (2,0) (3,0) "},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        CapturedLog log;
        Context context;
        context.AppendXmlReader(L"a.xml", kNoBytes, User, rows[i].modes, L"");
        EXPECT_EQ(std::vector<std::wstring>{LogLine(2, rows[i].expected)}, log.Lines())
            << "row " << i;
    }
}

TEST(ContextRegistry, DisplayNameFallsBackToTheDataname) {
    Context context;
    context.AppendXmlReader(L"a.xml", kNoBytes, User, {}, L"");
    context.AppendXmlReader(L"b.xml", kNoBytes, User, {}, L"Local policy");
    EXPECT_EQ(L"a.xml", context.GetDatanameName(L"a.xml"));
    EXPECT_EQ(L"Local policy", context.GetDatanameName(L"b.xml"));
    EXPECT_EQ(L"unknown.xml", context.GetDatanameName(L"unknown.xml"));
}

TEST(ContextRegistry, RemovalKeepsTheOrderOfTheOthers) {
    CapturedLog log;
    Context context;
    for (const wchar_t* dataname : {L"a.xml", L"b.xml", L"c.xml"}) {
        context.AppendXmlReader(dataname, kNoBytes, User, {}, L"");
    }
    context.RemoveXmlReader(L"b.xml");
    EXPECT_EQ((std::vector<std::wstring>{L"a.xml", L"c.xml"}), context.GetDatanames());
    EXPECT_EQ(LogLine(2, L"Remove XML with dataname 'b.xml'"), ContextLines(log).back());

    context.RemoveXmlReader(L"b.xml");  // no longer registered: only logged
    EXPECT_EQ((std::vector<std::wstring>{L"a.xml", L"c.xml"}), context.GetDatanames());
}

TEST(ContextRegistry, RepeatedDatanameStandsBehindTheFirstUntilThatIsRemoved) {
    Context context;
    context.AppendXmlReader(L"a.xml", PolicyXml(RuleXml("LocalRule", 300001, 300001, "first")),
                            User, {}, L"First");
    context.AppendXmlReader(L"a.xml", kNoBytes, User, {}, L"Second");
    EXPECT_EQ((std::vector<std::wstring>{L"a.xml", L"a.xml"}), context.GetDatanames());
    EXPECT_EQ(L"First", context.GetDatanameName(L"a.xml"));
    EXPECT_EQ(1u, context.GetRules(L"a.xml", eLocalRules)->size());

    context.RemoveXmlReader(L"a.xml");
    EXPECT_EQ(L"Second", context.GetDatanameName(L"a.xml"));
    EXPECT_TRUE(context.GetRules(L"a.xml", eLocalRules)->empty());
}

TEST(ContextRegistry, DestructionRemovesEveryDocumentInOrder) {
    CapturedLog log;
    {
        Context context;
        context.AppendXmlReader(L"a.xml", kNoBytes, User, {}, L"");
        context.AppendXmlReader(L"b.xml", kNoBytes, User, {}, L"");
    }
    const auto lines = log.Lines();
    ASSERT_LE(2u, lines.size());
    EXPECT_EQ(LogLine(2, L"Remove XML with dataname 'a.xml'"), lines[lines.size() - 2]);
    EXPECT_EQ(LogLine(2, L"Remove XML with dataname 'b.xml'"), lines.back());
}

TEST(ContextRegistry, DocumentThatFailsToLoadStaysWithEmptySections) {
    Context context;
    EXPECT_ANY_THROW(context.AppendXmlReader(L"bad.xml", ToBytes("<not-a-policy/>"), User,
                                             AllRulesEditable(), L"Broken"));
    EXPECT_EQ(std::vector<std::wstring>{L"bad.xml"}, context.GetDatanames());
    EXPECT_EQ(L"Broken", context.GetDatanameName(L"bad.xml"));
    EXPECT_TRUE(context.IsRulesEditable(L"bad.xml", eLocalRules));
    for (int type = eVPNRules; type <= eTransitRules; ++type) {
        EXPECT_TRUE(context.GetRules(L"bad.xml", RuleType(type))->empty()) << "section " << type;
    }
    EXPECT_THROW(context.GetRule(L"bad.xml", eLocalRules, 0), std::out_of_range);
    EXPECT_EQ(nullptr, context.GetRuleById(L"bad.xml", {300001, User}));
    EXPECT_EQ(nullptr, context.CreateRule(L"bad.xml", eLocalRules, User, L"r",
                                          Context::RuleActions::ePass, -1));
    std::vector<unsigned char> bytes;
    EXPECT_EQ("fwcommon::Context::GetXmlData.No document",
              Thrown<std::runtime_error>([&] { context.GetXmlData(L"bad.xml", bytes); }));
}

TEST(ContextRegistry, DocumentsOfOneContextDrawIdentifiersFromOnePool) {
    Context context;
    context.AppendXmlReader(L"a.xml", PolicyXml(RuleXml("LocalRule", 300001, 300001, "loaded")),
                            User, AllRulesEditable(), L"");
    context.AppendXmlReader(L"b.xml", kNoBytes, User, AllRulesEditable(), L"");
    context.GetRules(L"a.xml", eLocalRules);  // marks the loaded identifier busy
    const auto first =
        context.CreateRule(L"b.xml", eLocalRules, User, L"first", Context::RuleActions::ePass, -1);
    const auto second =
        context.CreateRule(L"a.xml", eLocalRules, User, L"second", Context::RuleActions::ePass, -1);
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(300002u, first->GetIdentifier());
    EXPECT_EQ(300003u, second->GetIdentifier());

    Context other;  // another Context has a pool of its own
    other.AppendXmlReader(L"b.xml", kNoBytes, User, AllRulesEditable(), L"");
    EXPECT_EQ(300001u,
              other.CreateRule(L"b.xml", eLocalRules, User, L"r", Context::RuleActions::ePass, -1)
                  ->GetIdentifier());
}

TEST(ContextRegistry, ReadersValidateAgainstTheSchemaPathOfTheContext) {
    Context context;
    EXPECT_EQ(L"", context.GetSchemaPath());
    const auto bytes = PolicyXml(RuleXml("LocalRule", 300001, 300001, "r"));
    context.SetSchemaPath(SourcePath("schema/rules.xsd").wstring());
    EXPECT_NO_THROW(context.AppendXmlReader(L"a.xml", bytes, User, {}, L""));
    EXPECT_EQ(1u, context.GetRules(L"a.xml", eLocalRules)->size());

    context.SetSchemaPath(L"/nonexistent/rules.xsd");
    EXPECT_ANY_THROW(context.AppendXmlReader(L"b.xml", bytes, User, {}, L""));
    EXPECT_TRUE(context.GetRules(L"b.xml", eLocalRules)->empty());
}

// Every operation that checks its dataname, with the name in its messages.
struct CheckedOperation {
    const char* function;
    std::function<void(Context&, const std::wstring&)> call;
};

std::vector<CheckedOperation> CheckedOperations() {
    return {
        {"fwcommon::Context::GetRules",
         [](Context& c, const std::wstring& d) { c.GetRules(d, eLocalRules); }},
        {"fwcommon::Context::GetRule",
         [](Context& c, const std::wstring& d) { c.GetRule(d, eLocalRules, 0); }},
        {"fwcommon::Context::GetRuleById",
         [](Context& c, const std::wstring& d) {
             c.GetRuleById(d, {300001, User});
         }},
        {"fwcommon::Context::CreateRule",
         [](Context& c, const std::wstring& d) {
             c.CreateRule(d, eLocalRules, User, L"r", Context::RuleActions::ePass, -1);
         }},
        {"fwcommon::Context::UpdateRule",
         [](Context& c, const std::wstring& d) {
             c.UpdateRule(d, c.GetRule(L"a.xml", eLocalRules, 0));
         }},
        {"fwcommon::Context::RemoveRule",
         [](Context& c, const std::wstring& d) { c.RemoveRule(d, eLocalRules, 0); }},
        {"fwcommon::Context::ChangeRulePriority",
         [](Context& c, const std::wstring& d) { c.ChangeRulePriority(d, eLocalRules, 0, 1); }},
        {"fwcommon::Context::GetXmlData",
         [](Context& c, const std::wstring& d) {
             std::vector<unsigned char> out;
             c.GetXmlData(d, out);
         }},
    };
}

TEST(ContextDatanameCheck, UnknownAndEmptyDatanamesAreRefusedWithTheFunctionName) {
    Context context;
    context.AppendXmlReader(L"a.xml", PolicyXml(RuleXml("LocalRule", 300001, 300001, "r1")), User,
                            AllRulesEditable(), L"");
    for (const auto& operation : CheckedOperations()) {
        for (const std::wstring dataname : {L"missing.xml", L""}) {
            const std::string expected =
                std::string(operation.function) +
                (dataname.empty() ? ".Dataname is empty" : ".Dataname not found");
            EXPECT_EQ(expected,
                      Thrown<std::runtime_error>([&] { operation.call(context, dataname); }))
                << operation.function;
        }
    }
    EXPECT_EQ(1u, context.GetRules(L"a.xml", eLocalRules)->size());
    EXPECT_FALSE(context.HasChanges());
}

TEST(ContextDatanameCheck, FailureRecordListsTheRulesOfEveryNonEmptySection) {
    Context context;
    context.AppendXmlReader(L"a.xml",
                            PolicyXml(RuleXml("LocalRule", 300002, 300011, "local two") +
                                      RuleXml("NatRule", 300003, 300020, "nat") +
                                      RuleXml("LocalRule", 300001, 300010, "local one")),
                            User, {}, L"");
    context.AppendXmlReader(L"empty.xml", kNoBytes, User, {}, L"");
    context.AppendXmlReader(L"b.xml", PolicyXml(RuleXml("VpnRule", 300004, 300030, "vpn")), User,
                            {}, L"");

    CapturedLog log;
    EXPECT_THROW(context.GetRules(L"missing.xml", eLocalRules), std::runtime_error);
    const std::wstring expected =
        L"fwcommon::Context::GetRules.Dataname not found. Dataname - missing.xml"
        L"\nRegistred datanames: \n"
        L"\ta.xml\n\t\teNATRules:\n"
        L"\t\t'nat'(id=300003,orderId=300020)\n"
        L"\ta.xml\n\t\teLocalRules:\n"
        L"\t\t'local one'(id=300001,orderId=300010)\n"
        L"\t\t'local two'(id=300002,orderId=300011)\n"
        L"\tb.xml\n\t\teVPNRules:\n"
        L"\t\t'vpn'(id=300004,orderId=300030)\n";
    EXPECT_EQ(std::vector<std::wstring>{LogLine(4, expected)}, LinesOfLevel(log, 4));
}

TEST(ContextDatanameCheck, EmptyDatanameRecordHasTheLeadingBlankAndNoDataname) {
    Context context;
    CapturedLog log;
    EXPECT_THROW(context.GetRules(L"", eLocalRules), std::runtime_error);
    EXPECT_EQ(std::vector<std::wstring>{LogLine(
                  4, L"fwcommon::Context::GetRules. Dataname is empty\nRegistred datanames: \n")},
              ContextLines(log));
}

TEST(ContextDocuments, GetXmlDataWritesTheCurrentDocument) {
    Context context;
    context.AppendXmlReader(L"a.xml", kNoBytes, User, AllRulesEditable(), L"");
    context.CreateRule(L"a.xml", eLocalRules, User, L"written", Context::RuleActions::ePass, -1);
    std::vector<unsigned char> bytes = {'x'};
    context.GetXmlData(L"a.xml", bytes);
    const auto document = ParsePolicyDocument(bytes);
    ASSERT_EQ(1u, document->Rules().Rule().size());
    EXPECT_EQ(L"written", document->Rules().Rule().front().Name());
}

TEST(ContextDocuments, DatanameOfARuleIsThatOfTheFirstDocumentHoldingIt) {
    Context context;
    context.AppendXmlReader(L"a.xml", PolicyXml(RuleXml("LocalRule", 300001, 300001, "a")), User,
                            {}, L"");
    context.AppendXmlReader(L"b.xml", PolicyXml(RuleXml("TransitRule", 300002, 300002, "b")), User,
                            {}, L"");
    EXPECT_EQ(L"a.xml", context.GetDataname(context.GetRule(L"a.xml", eLocalRules, 0)));
    EXPECT_EQ(L"b.xml", context.GetDataname(context.GetRule(L"b.xml", eTransitRules, 0)));
}

TEST(ContextDocuments, DatanameOfARuleInNoDocumentIsEmptyAndOnlyLogged) {
    Context elsewhere;
    elsewhere.AppendXmlReader(L"x.xml", PolicyXml(RuleXml("LocalRule", 300005, 300005, "x")), User,
                              {}, L"");
    const auto stranger = elsewhere.GetRule(L"x.xml", eLocalRules, 0);

    Context context;
    context.AppendXmlReader(L"a.xml", PolicyXml(RuleXml("LocalRule", 300001, 300001, "a")), User,
                            {}, L"");
    CapturedLog log;
    std::wstring dataname = L"unset";
    EXPECT_NO_THROW(dataname = context.GetDataname(stranger));
    EXPECT_EQ(L"", dataname);
    EXPECT_EQ(
        std::vector<std::wstring>{LogLine(4, L"fwcommon::Context::GetDataname. Dataname is empty")},
        ContextLines(log));
    EXPECT_EQ(L"", context.GetDataname(std::shared_ptr<IRule>()));
}

}  // namespace
}  // namespace fwcommon::test
