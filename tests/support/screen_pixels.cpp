#include "screen_pixels.h"

namespace screen_pixels {

namespace {

Pixels Read(HDC dc, HBITMAP bitmap, int width, int height) {
    Pixels pixels;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> raw(static_cast<size_t>(width) * height);
    if (::GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), raw.data(), &info, DIB_RGB_COLORS) != height)
        return pixels;
    pixels.width = width;
    pixels.height = height;
    pixels.colours.reserve(raw.size());
    for (DWORD bgr : raw)
        pixels.colours.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
    return pixels;
}

}  // namespace

Pixels Capture(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    Pixels pixels;
    if (width <= 0 || height <= 0)
        return pixels;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    (void)::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::SelectObject(memory, old);
    pixels = Read(memory, bitmap, width, height);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

Pixels OfBitmap(HBITMAP bitmap) {
    BITMAP size = {};
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof(size), &size) == 0)
        return Pixels();
    HDC screen = ::GetDC(nullptr);
    Pixels pixels = Read(screen, bitmap, size.bmWidth, size.bmHeight);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

Pixels OfResource(UINT id) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    Pixels pixels = OfBitmap(bitmap);
    if (bitmap != nullptr)
        ::DeleteObject(bitmap);
    return pixels;
}

int Differences(const Pixels& picture, const Pixels& shown, int shownLeft, int shownTop, int width, int height) {
    int differences = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int sx = shownLeft + x;
            const int sy = shownTop + y;
            if (x >= picture.width || y >= picture.height || sx < 0 || sy < 0 || sx >= shown.width ||
                sy >= shown.height || picture.At(x, y) != shown.At(sx, sy))
                ++differences;
        }
    }
    return differences;
}

}  // namespace screen_pixels
