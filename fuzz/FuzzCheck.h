#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property stops the run where it broke, so the engine keeps the input and the
// replay test fails on it.
#define FUZZ_CHECK(Condition)                                                                      \
    do {                                                                                           \
        if (!(Condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: %s failed\n", __FILE__, __LINE__, #Condition);            \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
