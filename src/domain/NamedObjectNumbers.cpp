#include "domain/NamedObjectNumbers.h"

#include <memory>
#include <mutex>

#include <fwcommon/IdentifierGenerator.h>

namespace fwcommon {

namespace {

constexpr std::uint32_t kLastNumber = 0xFFFFFFFFu;
constexpr std::uint32_t kDefaultFirst = 1;

struct Numbers {
    std::mutex mutex;
    std::unique_ptr<IdentifierGenerator> generator;

    // Callers hold the mutex.
    IdentifierGenerator& Generator() {
        if (!generator) {
            generator = std::make_unique<IdentifierGenerator>(kDefaultFirst, kLastNumber);
        }
        return *generator;
    }
};

Numbers& TheNumbers() {
    static Numbers* numbers = new Numbers();  // never destroyed
    return *numbers;
}

}  // namespace

bool EnsureNamedObjectNumbers(std::uint32_t first) {
    Numbers& numbers = TheNumbers();
    std::lock_guard<std::mutex> lock(numbers.mutex);
    if (numbers.generator) {
        return false;
    }
    numbers.generator = std::make_unique<IdentifierGenerator>(first, kLastNumber);
    return true;
}

std::uint32_t GenerateNamedObjectNumber() {
    Numbers& numbers = TheNumbers();
    std::lock_guard<std::mutex> lock(numbers.mutex);
    IdentifierGenerator& generator = numbers.Generator();
    const std::uint32_t number = generator.GenerateIdentifier();
    generator.MarkIdentifierAsBusy(number);
    return number;
}

void MarkNamedObjectNumberBusy(std::uint32_t number) {
    Numbers& numbers = TheNumbers();
    std::lock_guard<std::mutex> lock(numbers.mutex);
    numbers.Generator().MarkIdentifierAsBusy(number);
}

}  // namespace fwcommon
