// The clock the recorder stamps its log with and the tests read: microseconds of the
// performance counter, which is one system-wide counter, so two processes' stamps compare.
#pragma once

#include <windows.h>

#include <cstdint>

namespace keyvora::testing {

inline std::int64_t now_us() {
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    const std::int64_t f = frequency.QuadPart;
    // Whole seconds and the rest apart, so no product overflows whatever the frequency.
    return counter.QuadPart / f * 1000000 + counter.QuadPart % f * 1000000 / f;
}

}  // namespace keyvora::testing
