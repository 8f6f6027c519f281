#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/any.hpp>

#include <fwcommon/Context.h>
#include <fwcommon/IVpnNode.h>
#include "common/Thrown.h"
#include "context/ContextTestSupport.h"
#include "context/PolicyFixtures.h"

namespace fwcommon::test {
namespace {

const std::wstring kDoc = L"policy.xml";

class Node : public IVpnNode {
public:
    Node(std::uint32_t id, std::string label) : id_(id), label(std::move(label)) {}
    std::uint32_t GetIdentifier() const override { return id_; }

private:
    std::uint32_t id_;

public:
    std::string label;
};

std::wstring Value(const boost::any& value) {
    return value.empty() ? L"<empty>" : boost::any_cast<std::wstring>(value);
}

TEST(ContextOptions, ValuesAreReadAndWrittenPerCreationType) {
    Context context;
    context.AppendXmlReader(kDoc, PolicyXml("", "", OptionXml("LogLevel", "2", "Policy")), User, {},
                            L"");
    EXPECT_TRUE(context.HasOption(kDoc, Policy, L"LogLevel"));
    EXPECT_FALSE(context.HasOption(kDoc, User, L"LogLevel"));
    EXPECT_FALSE(context.HasOption(L"unknown.xml", Policy, L"LogLevel"));
    EXPECT_EQ(L"2", Value(context.GetOptionValue(kDoc, Policy, L"LogLevel")));
    EXPECT_EQ(L"<empty>", Value(context.GetOptionValue(kDoc, User, L"LogLevel")));

    context.SetOptionValue(kDoc, User, L"LogLevel", std::wstring(L"4"));
    EXPECT_EQ(L"4", Value(context.GetOptionValue(kDoc, User, L"LogLevel")));
    EXPECT_EQ(L"2", Value(context.GetOptionValue(kDoc, Policy, L"LogLevel")));
    EXPECT_TRUE(context.HasChanges());
    ASSERT_TRUE(context.RollbackChanges());
    EXPECT_FALSE(context.HasOption(kDoc, User, L"LogLevel"));
}

TEST(ContextOptions, RemovingTakesOutOneCreationTypeAndRollsBack) {
    Context context;
    context.AppendXmlReader(
        kDoc,
        PolicyXml("", "",
                  OptionXml("LogLevel", "2", "Policy") + OptionXml("LogLevel", "5", "User") +
                      OptionXml("Mode", "x", "User")),
        User, {}, L"");
    SignalLog signals(context);
    EXPECT_FALSE(context.RemoveOption(kDoc, Post, L"LogLevel"));
    EXPECT_FALSE(context.RemoveOption(kDoc, User, L"Missing"));
    EXPECT_TRUE(signals.modified.empty());
    EXPECT_FALSE(context.HasChanges());

    EXPECT_TRUE(context.RemoveOption(kDoc, User, L"LogLevel"));
    EXPECT_FALSE(context.HasOption(kDoc, User, L"LogLevel"));
    EXPECT_EQ(L"2", Value(context.GetOptionValue(kDoc, Policy, L"LogLevel")));
    EXPECT_EQ((std::vector<std::wstring>{L"LogLevel", L"Mode"}), context.GetOptionNames(kDoc));
    ASSERT_EQ(1u, signals.modified.size());
    EXPECT_EQ(SignalLog::Change(kDoc, static_cast<DomainObjectType>(256), User, 4294967295ul),
              signals.modified[0]);
    EXPECT_FALSE(context.RemoveOption(kDoc, User, L"LogLevel"));

    ASSERT_TRUE(context.RollbackChanges());
    EXPECT_EQ(L"5", Value(context.GetOptionValue(kDoc, User, L"LogLevel")));
    EXPECT_EQ((std::vector<std::wstring>{L"LogLevel", L"LogLevel", L"Mode"}),
              context.GetOptionNames(kDoc));
}

TEST(ContextOptions, ChangeIsAnnouncedWithTheOptionFamilyAndIdentifier) {
    Context context;
    context.AppendXmlReader(kDoc, {}, User, {}, L"");
    SignalLog signals(context);
    context.SetOptionValue(kDoc, Post, L"Mode", std::wstring(L"strict"));
    ASSERT_EQ(1u, signals.modified.size());
    EXPECT_EQ(SignalLog::Change(kDoc, static_cast<DomainObjectType>(256), Post, 4294967295ul),
              signals.modified[0]);
}

TEST(ContextOptions, UnknownDatanamesAreRefusedWithoutAnnouncement) {
    Context context;
    context.AppendXmlReader(kDoc, {}, User, {}, L"");
    SignalLog signals(context);
    const std::pair<const char*, std::function<void()>> calls[] = {
        {"fwcommon::Context::GetOptionValue.Dataname not found",
         [&] { context.GetOptionValue(L"other.xml", User, L"Mode"); }},
        {"fwcommon::Context::SetOptionValue.Dataname not found",
         [&] { context.SetOptionValue(L"other.xml", User, L"Mode", std::wstring(L"x")); }},
        {"fwcommon::Context::SetOptionValue.Dataname is empty",
         [&] { context.SetOptionValue(L"", User, L"Mode", std::wstring(L"x")); }},
    };
    for (const auto& [message, call] : calls) {
        EXPECT_EQ(message, Thrown<std::runtime_error>(call));
    }
    EXPECT_TRUE(signals.modified.empty());
    // A modification announced for an unregistered dataname raises nothing.
    context.MarkDomainObjectAsModified(L"other.xml", eNamedObject, User, 7);
    EXPECT_TRUE(signals.modified.empty());
}

TEST(ContextNodes, NodeListIsSharedAndSearchedInOrder) {
    Context context;
    EXPECT_EQ(nullptr, context.GetNetworkNodes());
    auto nodes = std::make_shared<VpnNodeList>(
        VpnNodeList{std::make_shared<Node>(7, "first seven"), std::make_shared<Node>(9, "nine"),
                    std::make_shared<Node>(7, "second seven")});
    CapturedLog log;
    context.SetNetworkNodes(nodes);
    EXPECT_EQ(std::vector<std::wstring>{LogLine(2, L"SetNetworkNodes: 3")}, log.Lines());
    EXPECT_EQ(nodes, context.GetNetworkNodes());
    EXPECT_EQ((*nodes)[1], context.GetNetworkNode(1));

    const auto found = std::dynamic_pointer_cast<Node>(FindNode(7, nodes));
    ASSERT_NE(nullptr, found);
    EXPECT_EQ("first seven", found->label);
    EXPECT_EQ(nullptr, FindNode(8, nodes));
    EXPECT_EQ(nullptr, FindNode(7, nullptr));
}

TEST(ContextNodes, NodeIndexOutsideTheListThrows) {
    Context context;
    for (int withList = 0; withList < 2; ++withList) {
        if (withList) {
            context.SetNetworkNodes(
                std::make_shared<VpnNodeList>(VpnNodeList{std::make_shared<Node>(1, "one")}));
        }
        EXPECT_EQ("fwcommon::Context::GetNetworkNode.Index out of range",
                  Thrown<std::out_of_range>([&] { context.GetNetworkNode(1); }))
            << "row " << withList;
    }
}

TEST(ContextNodes, InterfacesAreCopiedAndLoggedWithTheirAddresses) {
    Context context;
    EXPECT_TRUE(context.GetNetworkInterfaces().empty());
    std::vector<NetworkInterface> interfaces(2);
    interfaces[0].name = L"eth0";
    interfaces[0].id = L"if-1";
    interfaces[0].address = boost::asio::ip::make_address("192.168.1.10");
    interfaces[1].name = L"eth1";
    interfaces[1].id = L"if-2";
    interfaces[1].address = boost::asio::ip::make_address("fe80::1");
    interfaces[1].flags = 5;
    CapturedLog log;
    context.SetNetworkInterfaces(interfaces);
    EXPECT_EQ(std::vector<std::wstring>{LogLine(2,
                                                L"SetNetworkInterfaces: \n"
                                                L"\t name='eth0', id=if-1,ip=192.168.1.10\n"
                                                L"\t name='eth1', id=if-2,ip=fe80::1\n")},
              log.Lines());
    interfaces[0].name = L"changed";
    ASSERT_EQ(2u, context.GetNetworkInterfaces().size());
    EXPECT_EQ(L"eth0", context.GetNetworkInterfaces()[0].name);
    EXPECT_TRUE(context.GetNetworkInterfaces()[1].address.is_v6());
    EXPECT_EQ(5, context.GetNetworkInterfaces()[1].flags);
    EXPECT_EQ(0, NetworkInterface().flags);
}

TEST(ContextNodes, OperationalModeIsKept) {
    Context context;
    EXPECT_EQ(eStandardMode, context.GetOperationalMode());
    context.SetOperationalMode(eLowNumberingMode);
    EXPECT_EQ(eLowNumberingMode, context.GetOperationalMode());
    context.SetOperationalMode(static_cast<CoreOperationalTypes>(7));
    EXPECT_EQ(7, context.GetOperationalMode());
}

}  // namespace
}  // namespace fwcommon::test
