#include "vuzoz_virtual_controls.h"

#include "vuzoz_led_look.h"

namespace vuzoz {

namespace {

const wchar_t kLedClass[] = L"VUZozVirtualLed";
const wchar_t kInputClass[] = L"VUZozVirtualInput";

// Bits of an input's GWLP_USERDATA.
const LONG_PTR kShownDown = 1;
const LONG_PTR kMouseHolds = 2;
const LONG_PTR kSpaceHolds = 4;

void FillPanelBackground(HDC dc, const RECT& rect)
{
    HBRUSH brush = CreateSolidBrush(kPanelColour);
    (void)FillRect(dc, &rect, brush);
    (void)DeleteObject(brush);
}

// Begins painting a control on the panel's background; null when there is nothing to paint.
HDC BeginPanelPaint(HWND hwnd, PAINTSTRUCT& ps, RECT& client)
{
    HDC dc = BeginPaint(hwnd, &ps);
    if (dc == nullptr)
        return nullptr;
    (void)GetClientRect(hwnd, &client);
    FillPanelBackground(dc, client);
    return dc;
}

void PaintLed(HWND hwnd)
{
    PAINTSTRUCT ps;
    RECT client;
    HDC dc = BeginPanelPaint(hwnd, ps, client);
    if (dc == nullptr)
        return;
    const COLORREF colour = static_cast<COLORREF>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    HBRUSH brush = CreateSolidBrush(colour);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(20, 20, 20));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    (void)Ellipse(dc, client.left + 1, client.top + 1, client.right - 1, client.bottom - 1);
    (void)SelectObject(dc, oldBrush);
    (void)SelectObject(dc, oldPen);
    (void)DeleteObject(brush);
    (void)DeleteObject(pen);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK LedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PaintLed(hwnd);
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1;  // painted whole in WM_PAINT
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void PaintInput(HWND hwnd)
{
    PAINTSTRUCT ps;
    RECT client;
    HDC dc = BeginPanelPaint(hwnd, ps, client);
    if (dc == nullptr)
        return;
    const bool down = (GetWindowLongPtrW(hwnd, GWLP_USERDATA) & kShownDown) != 0;
    const bool toggle = (GetWindowLongPtrW(hwnd, GWL_STYLE) & kToggleStyle) != 0;

    RECT face = client;
    RECT label = client;
    if (toggle) {
        // A slot with the lever up (switched on) or down; the number beneath it.
        label.top = label.bottom - 16;
        RECT slot = {client.left + 8, client.top + 2, client.right - 8, label.top - 2};
        HBRUSH slotBrush = CreateSolidBrush(RGB(16, 16, 18));
        (void)FillRect(dc, &slot, slotBrush);
        (void)DeleteObject(slotBrush);
        const int half = (slot.bottom - slot.top) / 2;
        face = {slot.left + 2, down ? slot.top + 2 : slot.top + half,
                slot.right - 2, down ? slot.top + half : slot.bottom - 2};
        HBRUSH lever = CreateSolidBrush(down ? RGB(235, 235, 235) : RGB(150, 150, 150));
        (void)FillRect(dc, &face, lever);
        (void)DeleteObject(lever);
    } else {
        HBRUSH faceBrush = CreateSolidBrush(down ? RGB(120, 120, 124) : RGB(205, 205, 208));
        (void)FillRect(dc, &face, faceBrush);
        (void)DeleteObject(faceBrush);
        (void)DrawEdge(dc, &face, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        if (down)
            (void)OffsetRect(&label, 1, 1);
    }

    wchar_t text[16] = L"";
    (void)GetWindowTextW(hwnd, text, 16);
    (void)SetBkMode(dc, TRANSPARENT);
    (void)SetTextColor(dc, toggle ? RGB(230, 230, 230) : RGB(0, 0, 0));
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    (void)DrawTextW(dc, text, -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    (void)SelectObject(dc, oldFont);
    if (GetFocus() == hwnd) {
        RECT focus = client;
        (void)InflateRect(&focus, -3, -3);
        (void)SetTextColor(dc, RGB(0, 0, 0));
        (void)SetBkColor(dc, RGB(255, 255, 255));
        (void)DrawFocusRect(dc, &focus);
    }
    EndPaint(hwnd, &ps);
}

void Notify(HWND hwnd, LPARAM holder, bool down)
{
    (void)SendMessageW(GetParent(hwnd), kInputHoldMessage, static_cast<WPARAM>(GetDlgCtrlID(hwnd)),
                       holder | (down ? kHoldDown : 0));
}

// Starts or ends the hold of one holder; tells the parent only of a change.
void Hold(HWND hwnd, LONG_PTR flag, LPARAM holder, bool down)
{
    const LONG_PTR data = GetWindowLongPtrW(hwnd, GWLP_USERDATA);
    if (((data & flag) != 0) == down)
        return;
    (void)SetWindowLongPtrW(hwnd, GWLP_USERDATA, down ? data | flag : data & ~flag);
    Notify(hwnd, holder, down);
}

// Tab and Shift+Tab go round the inputs of the panel, as in a dialog.
void MoveFocus(HWND hwnd, bool backwards)
{
    HWND next = hwnd;
    for (;;) {
        next = GetWindow(next, backwards ? GW_HWNDPREV : GW_HWNDNEXT);
        if (next == nullptr)
            next = GetWindow(hwnd, backwards ? GW_HWNDLAST : GW_HWNDFIRST);
        if (next == nullptr || next == hwnd)
            return;
        if ((GetWindowLongPtrW(next, GWL_STYLE) & WS_TABSTOP) != 0 && IsWindowVisible(next)) {
            (void)SetFocus(next);
            return;
        }
    }
}

LRESULT CALLBACK InputProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool repeated = (lParam & (1 << 30)) != 0;
    switch (message) {
    case WM_PAINT:
        PaintInput(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        (void)SetFocus(hwnd);
        (void)SetCapture(hwnd);
        Hold(hwnd, kMouseHolds, kHolderMouse, true);
        return 0;
    case WM_LBUTTONUP:
        Hold(hwnd, kMouseHolds, kHolderMouse, false);
        if (GetCapture() == hwnd)
            (void)ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        Hold(hwnd, kMouseHolds, kHolderMouse, false);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            if (!repeated)
                Hold(hwnd, kSpaceHolds, kHolderSpace, true);
            return 0;
        }
        if (wParam == VK_TAB) {
            MoveFocus(hwnd, GetKeyState(VK_SHIFT) < 0);
            return 0;
        }
        return SendMessageW(GetParent(hwnd), message, wParam, lParam);  // digits
    case WM_KEYUP:
        if (wParam == VK_SPACE) {
            Hold(hwnd, kSpaceHolds, kHolderSpace, false);
            return 0;
        }
        return SendMessageW(GetParent(hwnd), message, wParam, lParam);
    case WM_SETFOCUS:
        (void)InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_KILLFOCUS:
        Hold(hwnd, kSpaceHolds, kHolderSpace, false);
        (void)InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

bool Register(HINSTANCE instance, const wchar_t* name, WNDPROC proc)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool RegisterVirtualControls(HINSTANCE instance)
{
    return Register(instance, kLedClass, LedProc) && Register(instance, kInputClass, InputProc);
}

HWND CreateVirtualLed(HWND parent, int id, const RECT& rect, HINSTANCE instance)
{
    HWND led = CreateWindowExW(0, kLedClass, L"", WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                               rect.right - rect.left, rect.bottom - rect.top, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (led != nullptr)
        (void)SetWindowLongPtrW(led, GWLP_USERDATA, static_cast<LONG_PTR>(kLedDarkColour));
    return led;
}

void ShowLedColour(HWND led, COLORREF colour)
{
    if (static_cast<COLORREF>(GetWindowLongPtrW(led, GWLP_USERDATA)) == colour)
        return;
    (void)SetWindowLongPtrW(led, GWLP_USERDATA, static_cast<LONG_PTR>(colour));
    (void)InvalidateRect(led, nullptr, FALSE);
}

HWND CreateVirtualInput(HWND parent, int id, const RECT& rect, const wchar_t* text, bool toggle,
                        HINSTANCE instance)
{
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (toggle ? kToggleStyle : 0);
    return CreateWindowExW(0, kInputClass, text, style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

void ShowInputDown(HWND input, bool down)
{
    const LONG_PTR data = GetWindowLongPtrW(input, GWLP_USERDATA);
    if (((data & kShownDown) != 0) == down)
        return;
    (void)SetWindowLongPtrW(input, GWLP_USERDATA, down ? data | kShownDown : data & ~kShownDown);
    (void)InvalidateRect(input, nullptr, FALSE);
}

bool IsInputShownDown(HWND input)
{
    return (GetWindowLongPtrW(input, GWLP_USERDATA) & kShownDown) != 0;
}

}  // namespace vuzoz
