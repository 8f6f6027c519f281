// Parses a policy with the installed schema file and writes it back.
#include <fstream>
#include <iostream>
#include <iterator>

#include <fwcommon/fwcommon.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    const std::string schema = SCHEMA_FILE;
    auto policy = fwcommon::ParsePolicyDocument(bytes, std::wstring(schema.begin(), schema.end()));
    std::cout << "fwcommon " << fwcommon::RuntimeVersion() << " (headers "
              << FWCOMMON_VERSION_STRING << "): ";
    std::cout << policy->Rules().Rule().size() << " rules, "
              << fwcommon::WritePolicyDocument(*policy).size() << " bytes\n";
    return 0;
}
