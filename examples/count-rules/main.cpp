// Prints how many rules a policy file holds: fwcommon in five lines.
#include <fwcommon/fwcommon.h>

#include <fstream>
#include <iostream>
#include <iterator>

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    std::ifstream file(argv[1], std::ios::binary);
    std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
    auto policy = fwcommon::ParsePolicyDocument(bytes);  // throws on invalid documents
    std::cout << policy->Rules().Rule().size() << " rules\n";
}
