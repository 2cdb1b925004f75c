// What every benchmark here needs: a millisecond clock and letting posted messages in.
#ifndef TOLLAN_BENCH_BENCH_CLOCK_H
#define TOLLAN_BENCH_BENCH_CLOCK_H

#include <windows.h>

namespace bench {

// Milliseconds from the performance counter.
inline double Now() {
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        ::QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

inline void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

}  // namespace bench

#endif
