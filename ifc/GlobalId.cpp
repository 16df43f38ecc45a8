#include "ifc/Attributes.h"

#include <mutex>
#include <random>

namespace ifc {

namespace {

// Seeded once from the system's entropy source: ids must differ between
// runs, not only within one.
std::mt19937_64 seededEngine()
{
    std::random_device entropy;
    std::seed_seq seed{entropy(), entropy(), entropy(), entropy(), entropy(), entropy(), entropy(), entropy()};
    return std::mt19937_64(seed);
}

} // namespace

std::string newGlobalId()
{
    static const char alphabet[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_$";
    static std::mutex mutex;
    static std::mt19937_64 engine = seededEngine();

    // The first character carries only the two top bits of the 128-bit
    // number; "$", the last letter, is never drawn.
    std::uniform_int_distribution<int> first(0, 3);
    std::uniform_int_distribution<int> other(0, 62);
    std::string id(22, '0');
    std::lock_guard<std::mutex> lock(mutex);
    id[0] = alphabet[first(engine)];
    for (std::size_t i = 1; i < id.size(); ++i)
        id[i] = alphabet[other(engine)];
    return id;
}

} // namespace ifc
