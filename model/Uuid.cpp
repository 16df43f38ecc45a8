#include "model/Uuid.h"

#include <mutex>
#include <random>

namespace bg {

namespace {

std::mt19937_64& uuidEngine()
{
    static std::mt19937_64 engine{std::random_device{}()};
    return engine;
}

std::mutex& uuidMutex()
{
    static std::mutex mutex;
    return mutex;
}

// Seed the engine during static initialisation, before anything draws from it.
const bool engineSeeded = (uuidEngine(), true);

} // namespace

std::string generateUuid()
{
    static const char digits[] = "0123456789abcdef";
    std::uniform_int_distribution<int> anyDigit(0, 15);
    std::uniform_int_distribution<int> variantDigit(8, 11);

    std::lock_guard<std::mutex> lock(uuidMutex());
    std::mt19937_64& engine = uuidEngine();
    std::string text;
    text.reserve(36);
    auto put = [&](int count) {
        for (int i = 0; i < count; ++i)
            text += digits[anyDigit(engine)];
    };
    put(8);
    text += '-';
    put(4);
    text += "-4";
    put(3);
    text += '-';
    text += digits[variantDigit(engine)];
    put(3);
    text += '-';
    put(12);
    return text;
}

} // namespace bg
