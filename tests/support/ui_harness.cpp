#include "ui_harness.h"

#include "app/configurator_app.h"
#include "config/config_dialog.h"
#include "mainwnd/error_dialog.h"
#include "paneltest/panel_test_dialog.h"
#include "real_input.h"
#include "resource.h"
#include "test_settings.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

namespace ui {

void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void SendCommand(HWND dialog, int id, int code) {
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void Click(HWND dialog, int id) { SendCommand(dialog, id, BN_CLICKED); }

void CloseUp(HWND dialog, int id, int item) {
    HWND list = ::GetDlgItem(dialog, id);
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    SendCommand(dialog, id, CBN_DROPDOWN);
    SendCommand(dialog, id, CBN_CLOSEUP);
}

void Focus(HWND dialog, int id) {
    ::SetFocus(::GetDlgItem(dialog, id));
    PumpMessages();
}

void ActivateDeviceItem(CMainDialog& main, int item) {
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(main.DeviceList().m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(item),
                   reinterpret_cast<LPARAM>(&state));
    NMITEMACTIVATE activate = {};
    activate.hdr.hwndFrom = main.DeviceList().m_hWnd;
    activate.hdr.idFrom = IDC_DEVICE_LIST;
    activate.hdr.code = LVN_ITEMACTIVATE;
    activate.iItem = item;
    ::SendMessageW(main.m_hWnd, WM_NOTIFY, IDC_DEVICE_LIST, reinterpret_cast<LPARAM>(&activate));
    PumpMessages();
}

CSliderCtrl BrightnessSlider(const CMainDialog& main) {
    CSliderCtrl slider;
    slider.m_hWnd = ::GetDlgItem(main.m_hWnd, IDC_BRIGHTNESS_SLIDER);
    return slider;
}

bool BringToFront(HWND dialog) {
    (void)::SetForegroundWindow(dialog);
    (void)::SetActiveWindow(dialog);
    PumpDialog(dialog);
    return ::GetForegroundWindow() == dialog;
}

void PumpDialog(HWND dialog) {
    const DWORD start = ::GetTickCount();
    DWORD quietSince = start;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            quietSince = ::GetTickCount();
            if (::IsWindow(dialog) && ::IsDialogMessageW(dialog, &msg))
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        const DWORD now = ::GetTickCount();
        if (now - quietSince >= 60 || now - start >= 3000)
            break;
        (void)::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PressKey(HWND dialog, WORD vk, bool shift, bool control) {
    EXPECT_TRUE(real_input::Send(real_input::KeyStroke(vk, shift, control)));
    PumpDialog(dialog);
}

void TypeDigits(HWND dialog, const char* digits) {
    for (const char* c = digits; *c != '\0'; ++c)
        PressKey(dialog, static_cast<WORD>(*c));
}

void ClickAt(HWND dialog, HWND window, POINT point) {
    ::ClientToScreen(window, &point);
    // Two clicks at one spot within the double-click time would make a double click.
    static POINT lastPoint = {-100, -100};
    static DWORD lastTime = 0;
    const DWORD doubleClickTime = ::GetDoubleClickTime();
    if (std::abs(point.x - lastPoint.x) < 8 && std::abs(point.y - lastPoint.y) < 8 &&
        ::GetTickCount() - lastTime <= doubleClickTime)
        ::Sleep(doubleClickTime + 20 - (::GetTickCount() - lastTime));
    EXPECT_TRUE(real_input::Send(real_input::ClickAt(point)));
    lastPoint = point;
    lastTime = ::GetTickCount();
    PumpDialog(dialog);
}

void ClickControl(HWND dialog, int id) {
    HWND control = ::GetDlgItem(dialog, id);
    RECT rect = {};
    ::GetClientRect(control, &rect);
    ClickAt(dialog, control, POINT{rect.right / 2, rect.bottom / 2});
}

int FocusId() {
    HWND focus = ::GetFocus();
    return focus != nullptr ? ::GetDlgCtrlID(focus) : 0;
}

std::wstring Text(HWND dialog, int id) {
    wchar_t text[512] = L"";
    ::GetDlgItemTextW(dialog, id, text, 512);
    return text;
}

bool IsEnabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

namespace {

MessageBoxAnswerer* g_answerer = nullptr;

BOOL CALLBACK CollectStaticText(HWND child, LPARAM lParam) {
    wchar_t className[32] = L"";
    ::GetClassNameW(child, className, 32);
    if (::lstrcmpiW(className, L"Static") == 0) {
        wchar_t text[512] = L"";
        ::GetWindowTextW(child, text, 512);
        std::wstring* collected = reinterpret_cast<std::wstring*>(lParam);
        if (text[0] != L'\0')
            *collected += (collected->empty() ? L"" : L"\n") + std::wstring(text);
    }
    return TRUE;
}

UINT ButtonsOf(HWND box) {
    if (::GetDlgItem(box, IDYES) != nullptr && ::GetDlgItem(box, IDNO) != nullptr)
        return ::GetDlgItem(box, IDCANCEL) != nullptr ? MB_YESNOCANCEL : MB_YESNO;
    if (::GetDlgItem(box, IDCANCEL) != nullptr)
        return MB_OKCANCEL;
    return MB_OK;
}

}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(std::vector<int> answers, std::function<void()> whileOpen)
    : m_hook(nullptr), m_answers(answers), m_whileOpen(std::move(whileOpen)) {
    g_answerer = this;
    m_hook = ::SetWindowsHookExW(WH_CBT, Hook, nullptr, ::GetCurrentThreadId());
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
    if (m_hook != nullptr)
        ::UnhookWindowsHookEx(m_hook);
    g_answerer = nullptr;
}

LRESULT CALLBACK MessageBoxAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && g_answerer != nullptr) {
        HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t className[32] = L"";
        ::GetClassNameW(box, className, 32);
        // Only boxes owned by another window; the main window itself is a dialog too, and a
        // dialog that asks for a text is no message box.
        if (::lstrcmpW(className, L"#32770") == 0 && ::GetWindow(box, GW_OWNER) != nullptr &&
            ::FindWindowExW(box, nullptr, L"Edit", nullptr) == nullptr &&
            std::find(g_answerer->m_seen.begin(), g_answerer->m_seen.end(), box) == g_answerer->m_seen.end()) {
            g_answerer->m_seen.push_back(box);
            std::wstring text;
            ::EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&text));
            g_answerer->m_texts.push_back(text);
            g_answerer->m_buttons.push_back(ButtonsOf(box));
            size_t index = g_answerer->m_texts.size() - 1;
            int answer = index < g_answerer->m_answers.size() ? g_answerer->m_answers[index] : IDCANCEL;
            if (g_answerer->m_whileOpen)
                g_answerer->m_whileOpen();
            ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(box, answer)));
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void MainWindowTest::SetUp() { test_settings::Clear(); }

void MainWindowTest::TearDown() {
    if (main) {
        if (main->m_hWnd != nullptr)
            ::DestroyWindow(main->m_hWnd);
        PumpMessages();
    }
    AfxGetApp()->m_pMainWnd = nullptr;
    main.reset();
    test_settings::Clear();
}

void MainWindowTest::Start(const std::vector<tagBGDevHWType>& panels, bool testMode) {
    fake_vuzoz::Reset(panels);
    StartPrepared(testMode);
}

void MainWindowTest::StartPrepared(bool testMode) {
    static_cast<CConfiguratorApp*>(AfxGetApp())->m_bTestMode = testMode ? 1 : 0;
    // The pointer rests outside the window: under Wine a button below it tracks the mouse with
    // a timer, and input would never be quiet long enough for PumpDialog.
    (void)::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    main.reset(new CMainDialog);
    main->SetStartMode(testMode);
    AfxGetApp()->m_pMainWnd = main.get();
    ASSERT_TRUE(main->Create(IDD_MAIN, nullptr));
    PumpMessages();
    // The page is built after the window's first paint; a start that never finishes is a
    // fault of its own, not something to wait out.
    const DWORD begin = ::GetTickCount();
    while (!main->IsStarted() && ::GetTickCount() - begin < 5000) {
        (void)::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        PumpMessages();
    }
    ASSERT_TRUE(main->IsStarted()) << "the main window did not build its first page";
}

void MainWindowTest::Close() {
    ::SendMessageW(main->m_hWnd, WM_CLOSE, 0, 0);
    PumpMessages();
}

HWND MainWindowTest::Page() const {
    if (main->ConfigPage() != nullptr)
        return main->ConfigPage()->m_hWnd;
    if (main->TestPage() != nullptr)
        return main->TestPage()->m_hWnd;
    if (main->ErrorPage() != nullptr)
        return main->ErrorPage()->m_hWnd;
    return nullptr;
}

}  // namespace ui
