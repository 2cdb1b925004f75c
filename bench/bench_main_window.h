// The main window of the in-process benchmarks, over the recording fake of the device
// library: started with a set of panels, switched between them the way a click in the
// device list does it, painted.
#ifndef TOLLAN_BENCH_BENCH_MAIN_WINDOW_H
#define TOLLAN_BENCH_BENCH_MAIN_WINDOW_H

#include "app/configurator_app.h"
#include "bench_clock.h"
#include "config/config_dialog.h"
#include "fake_vuzoz.h"
#include "mainwnd/main_dialog.h"
#include "paneltest/panel_test_dialog.h"
#include "resource.h"

#include <commctrl.h>

#include <vector>

namespace bench {

// Everything of the window that waits for a paint is painted now, children included.
inline void PaintAll(HWND window) {
    (void)::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The page shown for the current device, or null.
inline HWND ShownPage(const CMainDialog& main) {
    HWND page = nullptr;
    if (main.ConfigPage() != nullptr)
        page = main.ConfigPage()->m_hWnd;
    else if (main.TestPage() != nullptr)
        page = main.TestPage()->m_hWnd;
    return page != nullptr && ::IsWindowVisible(page) ? page : nullptr;
}

// True when the main window shows a page of the current mode made for device.
inline bool ShowsPageOf(const CMainDialog& main, int device) {
    if (main.CurrentDevice() != device || ShownPage(main) == nullptr)
        return false;
    return main.IsTestMode() ? main.TestPage() != nullptr && main.TestPage()->m_nDevice == device
                            : main.ConfigPage() != nullptr && main.ConfigPage()->m_nDevice == device;
}

// Lets the main window settle: posted messages handled and everything painted, until it
// shows the page of its current device (the first page may come after the first paint).
inline bool Settle(CMainDialog& main) {
    for (int tries = 0; tries < 2000; ++tries) {
        PumpMessages();
        PaintAll(main.m_hWnd);
        if (ShowsPageOf(main, main.CurrentDevice()))
            return true;
        ::Sleep(1);
    }
    return false;
}

// The page windows of the main window (each page is a dialog of its own), shown or not.
inline int PageWindowCount(HWND main) {
    int count = 0;
    for (HWND child = ::GetWindow(main, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[32] = L"";
        (void)::GetClassNameW(child, className, 32);
        count += ::lstrcmpW(className, L"#32770") == 0 ? 1 : 0;
    }
    return count;
}

// Gives the main window the idle moments it builds the pages of the other attached types
// in, until it has pages pages; false when they did not come within five seconds.
inline bool IdleUntilPages(CMainDialog& main, int pages) {
    const double begin = Now();
    while (PageWindowCount(main.m_hWnd) < pages) {
        if (Now() - begin > 5000.0)
            return false;
        (void)::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        PumpMessages();
    }
    PumpMessages();
    return true;
}

// Creates the main window over these panels (test pages when testMode) and waits for its
// first page; false when it did not come.
inline bool StartMainWindow(CMainDialog& main, CConfiguratorApp& app, const std::vector<tagBGDevHWType>& panels,
                            bool testMode) {
    fake_vuzoz::Reset(panels);
    app.m_bTestMode = testMode ? 1 : 0;
    main.SetStartMode(testMode);
    fake_vuzoz::SetAnswerRequests(true);
    app.m_pMainWnd = &main;
    if (!main.Create(IDD_MAIN, nullptr))
        return false;
    const bool settled = Settle(main);
    fake_vuzoz::ClearCalls();
    return settled;
}

inline void EndMainWindow(CMainDialog& main, CWinApp& app) {
    if (main.m_hWnd != nullptr)
        (void)::DestroyWindow(main.m_hWnd);
    PumpMessages();
    app.m_pMainWnd = nullptr;
}

// Selects item of the device list as a click on it does; the main window hears of it
// from the list and follows once the list is done, as it does for a click.
inline void SelectInDeviceList(const CMainDialog& main, int item) {
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    (void)::SendMessageW(main.DeviceList().m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(item),
                         reinterpret_cast<LPARAM>(&state));
}

// A device switch as the user sees it, in milliseconds: from the selection in the device
// list until the new device's page is shown and the window is painted. Negative when the
// page did not follow.
inline double TimedSwitch(CMainDialog& main, int item) {
    const double start = Now();
    SelectInDeviceList(main, item);
    PumpMessages();
    PaintAll(main.m_hWnd);
    const double elapsed = Now() - start;
    fake_vuzoz::ClearCalls();
    return ShowsPageOf(main, item) ? elapsed : -1.0;
}

}  // namespace bench

#endif
