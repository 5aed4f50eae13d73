#pragma once

#include <cstdio>
#include <cstdlib>

namespace rainbow::fuzz {

/// Ends the run with the broken rule on standard error, so the fuzzer keeps the input.
inline void check(bool holds, const char *rule)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", rule);
        std::abort();
    }
}

} // namespace rainbow::fuzz
