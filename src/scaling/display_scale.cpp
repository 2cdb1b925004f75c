#include "scaling/display_scale.h"

#include <cstdlib>

namespace scaling {

namespace {

const int kScales[] = {100, 125, 150, 200};
const UINT kScaledIdStep = 1000;

// Windows 10 (1607 on) only: looked up at run time so the program still starts on Windows 7.
template <class Function>
Function User32Function(const char* name) {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name)));
}

}  // namespace

int WindowDpi(HWND window) {
    typedef UINT(WINAPI * GetDpiForWindowFunction)(HWND);
    static const GetDpiForWindowFunction getDpiForWindow =
        User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0)
            return static_cast<int>(dpi);
    }
    HDC dc = ::GetDC(window);
    if (dc == nullptr)
        return kBaseDpi;
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSX);
    (void)::ReleaseDC(window, dc);
    return dpi > 0 ? dpi : kBaseDpi;
}

int PictureScale(int dpi) {
    const int percent = dpi * 100 / kBaseDpi;
    int nearest = kScales[0];
    for (int scale : kScales) {
        if (std::abs(scale - percent) <= std::abs(nearest - percent))
            nearest = scale;
    }
    return nearest;
}

int PictureScaleOf(HWND window) { return PictureScale(WindowDpi(window)); }

int ScaleLength(int length, int percent) { return (length * percent + 50) / 100; }

UINT ScaledPictureId(UINT baseId, int percent) {
    for (UINT step = 0; step < sizeof(kScales) / sizeof(kScales[0]); ++step) {
        if (kScales[step] == percent)
            return baseId + step * kScaledIdStep;
    }
    return baseId;
}

UINT BasePictureId(UINT pictureId) { return pictureId % kScaledIdStep; }

int SystemMetricForDpi(int index, int dpi) {
    typedef int(WINAPI * GetSystemMetricsForDpiFunction)(int, UINT);
    static const GetSystemMetricsForDpiFunction getSystemMetricsForDpi =
        User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (getSystemMetricsForDpi != nullptr)
        return getSystemMetricsForDpi(index, static_cast<UINT>(dpi));
    // Without per-monitor DPI every window has the system's DPI, which GetSystemMetrics uses.
    return ::GetSystemMetrics(index);
}

}  // namespace scaling
