// libFuzzer's entry point for one target, chosen when the program is built
// (KOVRA_FUZZ_TARGET names the function in FuzzTargets.h).

#include "FuzzTargets.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        kovra_fuzz::KOVRA_FUZZ_TARGET(data, size);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "finding: %s\n", error.what());
        std::abort();
    }
    return 0;
}
