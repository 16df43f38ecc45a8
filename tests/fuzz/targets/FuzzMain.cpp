// libFuzzer's entry point for one target, chosen when the program is built
// (KOVRA_FUZZ_TARGET names the function in FuzzTargets.h).

#include "FuzzTargets.h"

#include <cstdio>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        kovra_fuzz::KOVRA_FUZZ_TARGET(data, size);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "finding: %s\n", error.what());
        // Not abort(): Open MPI, loaded with the solver, takes SIGABRT for
        // itself, and then libFuzzer would not keep the input.
        __builtin_trap();
    }
    return 0;
}
