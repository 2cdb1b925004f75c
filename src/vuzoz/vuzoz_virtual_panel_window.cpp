#include "vuzoz_virtual_panel_window.h"

#include "vuzoz_led_look.h"
#include "vuzoz_module.h"
#include "vuzoz_virtual_controls.h"
#include "vuzoz_virtual_panel_title.h"

#include <memory>
#include <string>

namespace vuzoz {

namespace {

const wchar_t kPanelClass[] = L"VUZozVirtualPanel";
const UINT kCloseForGoodMessage = WM_APP + 21;
const UINT_PTR kRefreshTimerId = 1;
const UINT kRefreshPeriodMs = 20;  // fine enough for blink periods of a hundredth

// Layout in pixels: LEDs in a row above the inputs, one column per LED or input.
const int kMargin = 10;
const int kColumn = 36;
const int kLedSize = 20;
const int kInputWidth = 30;
const int kInputTop = kMargin + kLedSize + 10;
const int kPushHeight = 28;
const int kToggleHeight = 46;
const int kGap = 6;  // between the windows and beside the owner

const DWORD kPanelStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
const DWORD kPanelExStyle = WS_EX_TOOLWINDOW;

int InputCount(tagBGDevHWType type)
{
    return type == BG_HW_RADIO ? 4 : 8;
}

SIZE ClientSize(tagBGDevHWType type)
{
    const int inputHeight = type == BG_HW_TOGGLE_8X8 ? kToggleHeight : kPushHeight;
    return {2 * kMargin + (kMaxLeds - 1) * kColumn + kInputWidth, kInputTop + inputHeight + kMargin};
}

SIZE WindowSize(tagBGDevHWType type)
{
    const SIZE client = ClientSize(type);
    RECT rect = {0, 0, client.cx, client.cy};
    (void)AdjustWindowRectEx(&rect, kPanelStyle, FALSE, kPanelExStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

struct PanelWindow {
    VirtualPanelHost* host = nullptr;
    unsigned panelId = 0;
    tagBGDevHWType type = BG_HW_NONE;
    HWND leds[kMaxLeds] = {};
    HWND inputs[kMaxLeds] = {};
    LPARAM holders[kMaxLeds] = {};  // kHolder* bits of who holds each input
    HWND lastFocus = nullptr;
};

PanelWindow* StateOf(HWND hwnd)
{
    return reinterpret_cast<PanelWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void CreateChildren(HWND hwnd, PanelWindow& panel)
{
    const HINSTANCE instance = ThisModule();
    const bool toggle = panel.type == BG_HW_TOGGLE_8X8;
    for (int led = 0; led < LedCount(panel.type); ++led) {
        const int left = kMargin + led * kColumn + (kInputWidth - kLedSize) / 2;
        const RECT rect = {left, kMargin, left + kLedSize, kMargin + kLedSize};
        panel.leds[led] = CreateVirtualLed(hwnd, kFirstLedId + led, rect, instance);
    }
    for (int input = 0; input < InputCount(panel.type); ++input) {
        const int left = kMargin + input * kColumn;
        const RECT rect = {left, kInputTop, left + kInputWidth,
                           kInputTop + (toggle ? kToggleHeight : kPushHeight)};
        const std::wstring text = std::to_wstring(input + 1);
        panel.inputs[input] =
            CreateVirtualInput(hwnd, kFirstInputId + input, rect, text.c_str(), toggle, instance);
    }
}

// Shows what the panel is now: LED colours at this moment of the blink clock, and which
// inputs are down (pressed, or switched on).
void Refresh(PanelWindow& panel)
{
    SimulatedPanel state;
    if (!panel.host->ReadPanel(panel.panelId, state))
        return;
    const unsigned long long hundredths = GetTickCount64() / 10;
    for (int led = 0; led < kMaxLeds; ++led) {
        if (panel.leds[led] != nullptr)
            ShowLedColour(panel.leds[led], LedColour(LedLitAt(state.led[led], state, hundredths),
                                                     state.brightness));
    }
    for (int input = 0; input < kMaxLeds; ++input) {
        if (panel.inputs[input] != nullptr)
            ShowInputDown(panel.inputs[input], (state.buttons >> input & 1) != 0);
    }
}

// A push button is down while anyone holds it; a toggle switch flips when a hold starts.
void Hold(PanelWindow& panel, int input, LPARAM holder, bool down)
{
    if (input < 0 || input >= InputCount(panel.type))
        return;
    const bool wasHeld = panel.holders[input] != 0;
    panel.holders[input] = down ? panel.holders[input] | holder : panel.holders[input] & ~holder;
    const bool held = panel.holders[input] != 0;
    if (held == wasHeld)
        return;
    if (panel.type == BG_HW_TOGGLE_8X8) {
        if (!held)
            return;
        panel.host->ChangeInput(panel.panelId, input, InputChange::kFlip);
    } else {
        panel.host->ChangeInput(panel.panelId, input, held ? InputChange::kSet : InputChange::kClear);
    }
    Refresh(panel);
}

void ReleaseKeys(PanelWindow& panel)
{
    for (int input = 0; input < kMaxLeds; ++input)
        Hold(panel, input, kHolderKey, false);
}

// Keys 1 to 8 (main keyboard or number pad): the input of that number, or -1.
int DigitInput(WPARAM key)
{
    if (key >= '1' && key <= '8')
        return static_cast<int>(key - '1');
    if (key >= VK_NUMPAD1 && key <= VK_NUMPAD8)
        return static_cast<int>(key - VK_NUMPAD1);
    return -1;
}

void FocusInput(PanelWindow& panel)
{
    HWND target = panel.lastFocus != nullptr && IsWindow(panel.lastFocus) ? panel.lastFocus
                                                                           : panel.inputs[0];
    if (target != nullptr)
        (void)SetFocus(target);
}

LRESULT HandleMessage(HWND hwnd, PanelWindow& panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == kRefreshTimerId)
            Refresh(panel);
        return 0;
    case kInputHoldMessage:
        Hold(panel, static_cast<int>(wParam) - kFirstInputId, lParam & ~kHoldDown,
             (lParam & kHoldDown) != 0);
        return 0;
    case WM_KEYDOWN:
        if (DigitInput(wParam) >= 0 && (lParam & (1 << 30)) == 0)
            Hold(panel, DigitInput(wParam), kHolderKey, true);
        return 0;
    case WM_KEYUP:
        if (DigitInput(wParam) >= 0)
            Hold(panel, DigitInput(wParam), kHolderKey, false);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus != nullptr && GetParent(focus) == hwnd)
                panel.lastFocus = focus;
            ReleaseKeys(panel);
        } else {
            FocusInput(panel);
        }
        return 0;
    case WM_SETFOCUS:
        FocusInput(panel);
        return 0;
    case WM_CLOSE:
        (void)ShowWindow(hwnd, SW_HIDE);  // the panel stays; only its window goes out of sight
        return 0;
    case kCloseForGoodMessage:
        (void)DestroyWindow(hwnd);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message == WM_NCCREATE) {
            // From here on the window owns its state and deletes it in WM_NCDESTROY.
            const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            auto* owner = static_cast<std::unique_ptr<PanelWindow>*>(create->lpCreateParams);
            (void)SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner->release()));
        }
        PanelWindow* panel = StateOf(hwnd);
        if (message == WM_NCDESTROY) {
            (void)SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            delete panel;
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
        if (panel == nullptr)
            return DefWindowProcW(hwnd, message, wParam, lParam);
        if (message == WM_CREATE) {
            CreateChildren(hwnd, *panel);
            (void)SetTimer(hwnd, kRefreshTimerId, kRefreshPeriodMs, nullptr);
            return 0;
        }
        if (message == WM_DESTROY) {
            panel->host = nullptr;
            return 0;
        }
        if (panel->host == nullptr)
            return DefWindowProcW(hwnd, message, wParam, lParam);
        return HandleMessage(hwnd, *panel, message, wParam, lParam);
    } catch (...) {
        // Nothing may leave a window procedure; the event in hand is lost.
        return 0;
    }
}

bool RegisterPanelClass(HINSTANCE instance)
{
    static HBRUSH background = CreateSolidBrush(kPanelColour);  // lives as long as the class
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = kPanelClass;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The area the windows must keep inside: the work area of the owner's monitor.
RECT WorkArea(HWND owner)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    HMONITOR monitor = MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY);
    if (monitor != nullptr && GetMonitorInfoW(monitor, &info))
        return info.rcWork;
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return screen;
}

std::wstring TitleOf(const VirtualPanelIdentity& panel, size_t position)
{
    return VirtualPanelTitle(static_cast<int>(position + 1), panel.type, UserInterfaceLanguage());
}

}  // namespace

std::vector<POINT> VirtualPanelPlaces(const std::vector<VirtualPanelIdentity>& attached, HWND owner)
{
    if (owner != nullptr && !IsWindow(owner))
        owner = nullptr;
    const RECT work = WorkArea(owner);
    RECT ownerRect = {work.left, work.top, work.left, work.top};
    if (owner != nullptr)
        (void)GetWindowRect(owner, &ownerRect);
    std::vector<POINT> places;
    LONG top = ownerRect.top;
    for (const VirtualPanelIdentity& panel : attached) {
        const SIZE size = WindowSize(panel.type);
        POINT place = {ownerRect.right + kGap, top};
        if (place.x + size.cx > work.right) {
            // No room on the right: on the left of the owner, else as far right as fits.
            place.x = ownerRect.left - kGap - size.cx;
            if (owner == nullptr || place.x < work.left)
                place.x = work.right - size.cx;
        }
        if (place.x < work.left)
            place.x = work.left;
        if (place.y + size.cy > work.bottom)
            place.y = work.bottom - size.cy;
        places.push_back(place);
        top += size.cy + kGap;
    }
    return places;
}

HWND OpenVirtualPanel(VirtualPanelHost* host, const VirtualPanelIdentity& identity, size_t position, HWND owner,
                      POINT place)
{
    const HINSTANCE instance = ThisModule();
    if (!RegisterPanelClass(instance) || !RegisterVirtualControls(instance))
        return nullptr;
    if (owner != nullptr && !IsWindow(owner))
        owner = nullptr;
    std::unique_ptr<PanelWindow> panel(new PanelWindow);
    panel->host = host;
    panel->panelId = identity.panelId;
    panel->type = identity.type;
    const SIZE size = WindowSize(identity.type);
    HWND hwnd = CreateWindowExW(kPanelExStyle, kPanelClass, TitleOf(identity, position).c_str(), kPanelStyle,
                                place.x, place.y, size.cx, size.cy, owner, nullptr, instance, &panel);
    if (hwnd == nullptr)
        return nullptr;  // the state went with the window, or is still in panel
    (void)ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    return hwnd;
}

void ReplaceVirtualPanel(HWND window, const VirtualPanelIdentity& panel, size_t position, POINT place)
{
    RECT rect;
    if (GetWindowRect(window, &rect) && (rect.left != place.x || rect.top != place.y)) {
        (void)SetWindowPos(window, nullptr, place.x, place.y, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
    const std::wstring title = TitleOf(panel, position);
    wchar_t shown[128] = L"";
    (void)GetWindowTextW(window, shown, 128);
    if (title != shown)
        (void)SetWindowTextW(window, title.c_str());
}

void CloseVirtualPanels(const std::vector<HWND>& windows)
{
    for (HWND hwnd : windows) {
        if (!IsWindow(hwnd))
            continue;  // went with its owner
        if (GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId())
            (void)DestroyWindow(hwnd);
        else
            (void)PostMessageW(hwnd, kCloseForGoodMessage, 0, 0);
    }
}

}  // namespace vuzoz
