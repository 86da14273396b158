#pragma once

#include <cstdio>
#include <cstdlib>

// A property every input must keep: when it fails, the fuzzer stops and saves the input.
inline void FuzzCheck(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "fuzz property failed: %s\n", what);
    std::abort();
}
