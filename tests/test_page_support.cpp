#include "test_page_support.h"

#include "resource.h"

#include <cstdint>
#include <cstring>
#include <sstream>

namespace test_page {

const PageKind kPushbuttonPage = {"pushbutton", BG_HW_PUSHBUTTON_8X8, 8, 8, IDB_BUTTON_UP, IDB_BUTTON_DOWN};
const PageKind kTogglePage = {"toggle", BG_HW_TOGGLE_8X8, 8, 8, IDB_TOGGLE_END, IDB_TOGGLE_UP};
const PageKind kRadioPage = {"radio", BG_HW_RADIO, 5, 4, IDB_BUTTON_UP, IDB_BUTTON_DOWN};

namespace {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb;  // top-down rows, 0x00RRGGBB
};

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

Pixels PixelsOf(HBITMAP bitmap) {
    Pixels pixels;
    BITMAP header = {};
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof(header), &header) == 0)
        return pixels;
    BITMAPINFO info = TopDown32(header.bmWidth, header.bmHeight);
    std::vector<std::uint32_t> rgb(static_cast<size_t>(header.bmWidth) * static_cast<size_t>(header.bmHeight));
    HDC screen = ::GetDC(nullptr);
    const int lines = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(header.bmHeight), rgb.data(), &info,
                                  DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (lines != header.bmHeight)
        return pixels;
    for (std::uint32_t& value : rgb)
        value &= 0x00FFFFFF;
    pixels.width = header.bmWidth;
    pixels.height = header.bmHeight;
    pixels.rgb.swap(rgb);
    return pixels;
}

Pixels ResourcePixels(UINT id) {
    HBITMAP bitmap = ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    Pixels pixels = PixelsOf(bitmap);
    if (bitmap != nullptr)
        ::DeleteObject(bitmap);
    return pixels;
}

// True when the top left corner that both share is the same, and it is not empty.
bool SameCorner(const Pixels& a, const Pixels& b) {
    const int width = a.width < b.width ? a.width : b.width;
    const int height = a.height < b.height ? a.height : b.height;
    if (width <= 0 || height <= 0)
        return false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (a.rgb[static_cast<size_t>(y * a.width + x)] != b.rgb[static_cast<size_t>(y * b.width + x)])
                return false;
    return true;
}

UINT PictureLike(const Pixels& pixels, const PageKind& kind) {
    for (UINT id : {kind.bitClearPicture, kind.bitSetPicture})
        if (SameCorner(pixels, ResourcePixels(id)))
            return id;
    return 0;
}

}  // namespace

int RadioId(int led, int state) { return IDC_LED_RADIO_FIRST + 4 * led + state; }

int IndicatorId(int button) { return IDC_INDICATOR_FIRST + button; }

std::string Column(HWND page, int led) {
    std::string checks;
    for (int state = 0; state < 4; ++state)
        checks += ::IsDlgButtonChecked(page, RadioId(led, state)) == BST_CHECKED ? '1' : '0';
    return checks;
}

std::string Only(int state) {
    std::string checks = "0000";
    checks[static_cast<size_t>(state)] = '1';
    return checks;
}

std::vector<std::string> Grid(HWND page, int leds) {
    std::vector<std::string> grid;
    for (int led = 0; led < leds; ++led)
        grid.push_back(Column(page, led));
    return grid;
}

std::vector<std::string> AllOff(int leds) { return std::vector<std::string>(static_cast<size_t>(leds), Only(0)); }

UINT ShownPicture(const CTestPanel& page, const PageKind& kind, int button) {
    const CBitmapButton& indicator = page.m_indicators[button];
    HWND hWnd = indicator.m_hWnd;
    if (hWnd == nullptr)
        return 0;
    UINT state = 0;
    if (!::IsWindowEnabled(hWnd))
        state |= ODS_DISABLED;
    if (::GetFocus() == hWnd)
        state |= ODS_FOCUS;
    if (::SendMessageW(hWnd, BM_GETSTATE, 0, 0) & BST_PUSHED)
        state |= ODS_SELECTED;
    return PictureLike(PixelsOf(indicator.GetShownBitmap(state)), kind);
}

UINT PaintedPicture(const CTestPanel& page, const PageKind& kind, int button) {
    HWND hWnd = page.m_indicators[button].m_hWnd;
    RECT client = {};
    if (hWnd == nullptr || !::GetClientRect(hWnd, &client) || client.right <= 0 || client.bottom <= 0)
        return 0;
    BITMAPINFO info = TopDown32(client.right, client.bottom);
    void* bits = nullptr;
    HBITMAP target = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = ::CreateCompatibleDC(nullptr);
    if (target == nullptr || dc == nullptr || bits == nullptr) {
        if (dc != nullptr)
            ::DeleteDC(dc);
        if (target != nullptr)
            ::DeleteObject(target);
        return 0;
    }
    HGDIOBJ old = ::SelectObject(dc, target);
    // The button asks its owner to draw it into this context, as it does when painting.
    ::SendMessageW(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    ::GdiFlush();
    Pixels painted;
    painted.width = client.right;
    painted.height = client.bottom;
    painted.rgb.resize(static_cast<size_t>(client.right) * static_cast<size_t>(client.bottom));
    std::memcpy(painted.rgb.data(), bits, painted.rgb.size() * sizeof(std::uint32_t));
    for (std::uint32_t& value : painted.rgb)
        value &= 0x00FFFFFF;
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(target);
    return PictureLike(painted, kind);
}

namespace {

BOOL CALLBACK AddControl(HWND control, LPARAM lParam) {
    wchar_t className[32] = L"";
    ::GetClassNameW(control, className, 32);
    std::ostringstream line;
    line << "id " << ::GetDlgCtrlID(control) << " class " << std::string(className, className + ::lstrlenW(className))
         << " check " << ::SendMessageW(control, BM_GETCHECK, 0, 0) << " enabled " << (::IsWindowEnabled(control) != 0)
         << " visible " << (::IsWindowVisible(control) != 0);
    reinterpret_cast<std::vector<std::string>*>(lParam)->push_back(line.str());
    return TRUE;
}

}  // namespace

std::vector<std::string> Snapshot(HWND page) {
    std::vector<std::string> controls;
    ::EnumChildWindows(page, AddControl, reinterpret_cast<LPARAM>(&controls));
    return controls;
}

std::vector<std::string> PageCalls() {
    std::vector<std::string> calls;
    for (const std::string& call : fake_vuzoz::Calls()) {
        for (const char* prefix : {"BG_SetLEDState ", "BG_GetLEDStatus ", "BG_GetButtonStatus "}) {
            if (call.compare(0, std::strlen(prefix), prefix) == 0) {
                calls.push_back(call);
                break;
            }
        }
    }
    return calls;
}

}  // namespace test_page
