#pragma once
// What a fuzz target does when an invariant breaks. Under libFuzzer the
// process aborts so the input is saved as a crash; the replay test (built
// with HPA_FUZZ_REPLAY) throws instead, so one bad corpus file fails one
// test case with its name instead of killing the whole run.
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#ifdef HPA_FUZZ_REPLAY
#define HPA_FUZZ_CHECK(cond)                                                                       \
    do {                                                                                           \
        if (!(cond))                                                                               \
            throw std::logic_error(std::string(__FILE__) + ":" + std::to_string(__LINE__) +        \
                                   ": " #cond);                                                    \
    } while (0)
#else
#define HPA_FUZZ_CHECK(cond)                                                                       \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #cond);      \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)
#endif
