// Sample named objects, one member each.

#include <fwcommon/XmlNamedObjectFactory.h>

#include <memory>

namespace fwcommon {

namespace {

const int kSampleId = 1;

// A new object of the kind with CreationType "User" and one Inclusion member.
template <typename Object, typename Member>
std::shared_ptr<Object> ObjectWithMember(const std::wstring& name, int id,
                                         std::unique_ptr<Member> member) {
    auto object = std::make_shared<Object>(name, id, Sarvo::CreationTypes::User);
    object->Inclusion().push_back(std::move(member));
    return object;
}

}  // namespace

std::shared_ptr<Sarvo::InterfaceObject> XmlNamedObjectFactory::CreateSimpleInterfaceObject() {
    return CreateSimpleInterfaceObject(L"simple interface object", kSampleId);
}

std::shared_ptr<Sarvo::InterfaceObject> XmlNamedObjectFactory::CreateSimpleInterfaceObject(
    const std::wstring& name, int id) {
    return ObjectWithMember<Sarvo::InterfaceObject>(
        name, id, std::make_unique<Sarvo::SimpleInterface>(L"eth0"));
}

std::shared_ptr<Sarvo::IpObject> XmlNamedObjectFactory::CreateSimpleIpObject() {
    return CreateSimpleIpObject(L"simple ip object", kSampleId);
}

std::shared_ptr<Sarvo::IpObject> XmlNamedObjectFactory::CreateSimpleIpObject(
    const std::wstring& name, int id) {
    return ObjectWithMember<Sarvo::IpObject>(name, id,
                                             std::make_unique<Sarvo::IpAddress>(L"127.0.0.1"));
}

std::shared_ptr<Sarvo::VpnObject> XmlNamedObjectFactory::CreateSimpleVpnObject() {
    return CreateSimpleVpnObject(L"simple vpn object", kSampleId);
}

std::shared_ptr<Sarvo::VpnObject> XmlNamedObjectFactory::CreateSimpleVpnObject(
    const std::wstring& name, int id) {
    return ObjectWithMember<Sarvo::VpnObject>(name, id, std::make_unique<Sarvo::VpnNodeId>(2));
}

std::shared_ptr<Sarvo::ServiceObject> XmlNamedObjectFactory::CreateSimpleServiceObject() {
    return CreateSimpleServiceObject(L"simple service object", kSampleId);
}

std::shared_ptr<Sarvo::ServiceObject> XmlNamedObjectFactory::CreateSimpleServiceObject(
    const std::wstring& name, int id) {
    return ObjectWithMember<Sarvo::ServiceObject>(name, id,
                                                  std::make_unique<Sarvo::ProtocolCondition>(6));
}

std::shared_ptr<Sarvo::ScheduleObject> XmlNamedObjectFactory::CreateSimpleScheduleObject() {
    return CreateSimpleScheduleObject(L"simple schedule object", kSampleId);
}

std::shared_ptr<Sarvo::ScheduleObject> XmlNamedObjectFactory::CreateSimpleScheduleObject(
    const std::wstring& name, int id) {
    return ObjectWithMember<Sarvo::ScheduleObject>(
        name, id,
        std::make_unique<Sarvo::Daily>(xml_schema::time(6, 0, 0), xml_schema::time(18, 0, 0)));
}

}  // namespace fwcommon
