#include "scaling/scaled_pictures.h"

#include "afx/image_list.h"
#include "afx/win_app.h"
#include "resource.h"
#include "scaling/display_scale.h"

#include <commctrl.h>

#include <vector>

namespace scaling {

namespace {

struct LoadedPicture {
    UINT baseId;
    int percent;
    HBITMAP bitmap;
};

struct LoadedIcon {
    UINT id;
    int size;
    HICON icon;
};

// Touched by the user-interface thread only.
std::vector<LoadedPicture>& Pictures() {
    static std::vector<LoadedPicture> pictures;
    return pictures;
}

std::vector<LoadedIcon>& Icons() {
    static std::vector<LoadedIcon> icons;
    return icons;
}

const int kFallbackScales[] = {200, 150, 125, 100};

const COLORREF kDeviceListMask = RGB(4, 0, 0);
const int kDevicePictureWidth = 104;

HBITMAP LoadPicture(UINT id) {
    return static_cast<HBITMAP>(
        ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

}  // namespace

HBITMAP SharedPicture(UINT baseId, int percent) {
    for (const LoadedPicture& picture : Pictures()) {
        if (picture.baseId == baseId && picture.percent == percent)
            return picture.bitmap;
    }
    HBITMAP bitmap = nullptr;
    for (int scale : kFallbackScales) {
        if (scale <= percent && bitmap == nullptr)
            bitmap = LoadPicture(ScaledPictureId(baseId, scale));
    }
    // A failed load is not remembered: the next page tries again.
    if (bitmap != nullptr)
        Pictures().push_back(LoadedPicture{baseId, percent, bitmap});
    return bitmap;
}

bool IsSharedPicture(HBITMAP bitmap) {
    if (bitmap == nullptr)
        return false;
    for (const LoadedPicture& picture : Pictures()) {
        if (picture.bitmap == bitmap)
            return true;
    }
    return false;
}

HICON SharedIcon(UINT id, int size) {
    for (const LoadedIcon& loaded : Icons()) {
        if (loaded.id == id && loaded.size == size)
            return loaded.icon;
    }
    // Common controls 6 scale a larger image down rather than a smaller one up.
    typedef HRESULT(WINAPI * LoadIconWithScaleDownFunction)(HINSTANCE, PCWSTR, int, int, HICON*);
    static const LoadIconWithScaleDownFunction loadIconWithScaleDown = [] {
        HMODULE comctl32 = ::GetModuleHandleW(L"comctl32.dll");
        return comctl32 == nullptr ? nullptr
                                   : reinterpret_cast<LoadIconWithScaleDownFunction>(reinterpret_cast<void*>(
                                         ::GetProcAddress(comctl32, "LoadIconWithScaleDown")));
    }();
    HICON icon = nullptr;
    // At the system's own size: the icon LoadIcon gives everyone (the main window's m_hIcon).
    if (size == ::GetSystemMetrics(SM_CXICON))
        icon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id));
    if (icon == nullptr && (loadIconWithScaleDown == nullptr ||
                            FAILED(loadIconWithScaleDown(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), size, size, &icon))))
        icon = static_cast<HICON>(
            ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (icon != nullptr)
        Icons().push_back(LoadedIcon{id, size, icon});
    return icon;
}

BOOL CreateDevicePictures(CImageList& pictures, int percent) {
    for (int scale : kFallbackScales) {
        if (scale <= percent &&
            pictures.Create(ScaledPictureId(IDB_DEVICE_LIST, scale), ScaleLength(kDevicePictureWidth, scale), 1,
                            kDeviceListMask))
            return TRUE;
    }
    return FALSE;
}

void ShowWindowIcons(HWND window, UINT iconId, int dpi) {
    HICON big = SharedIcon(iconId, SystemMetricForDpi(SM_CXICON, dpi));
    HICON smallIcon = SharedIcon(iconId, SystemMetricForDpi(SM_CXSMICON, dpi));
    if (big != nullptr)
        (void)::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (smallIcon != nullptr)
        (void)::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
}

}  // namespace scaling
