// Panels plugged in and out while Tollan runs. Windows sends WM_DEVICECHANGE several times
// for one plug (DBT_DEVNODES_CHANGED, and the arrival or removal of the HID interface the
// window registered for); each notice re-arms a short timer, and when it runs out the
// panels are taken afresh from the library: BGTerminate, BGInit, the input callback, the
// types and keys. The panel on show keeps its page (matched by its key, its unsaved picks,
// brightness and blink periods kept); one that went stays on show, greyed in the list and
// hearing nothing, until the user switches away. Notices that come during a question, a
// menu, a save or an export wait until it is over.
#include "mainwnd/main_dialog.h"

#include "config/config_dialog.h"
#include "device/device_library.h"
#include "device/device_types.h"
#include "mainwnd/error_dialog.h"
#include "paneltest/panel_test_dialog.h"
#include "resource.h"

#include <dbt.h>

namespace {

// Long enough for the notices of one plug to arrive, short enough that the list follows
// within half a second.
const UINT kPanelsSettleMs = 150;

// The device interface class of HID devices, which the panels are.
const GUID kHidInterfaceClass = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

bool IsHidInterfaceNotice(LPARAM lParam) {
    const DEV_BROADCAST_HDR* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
    if (header == nullptr || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE)
        return false;
    const DEV_BROADCAST_DEVICEINTERFACE_W* device = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
    return ::IsEqualGUID(device->dbcc_classguid, kHidInterfaceClass) != FALSE;
}

}  // namespace

void CMainDialog::RegisterForPanelNotices() {
    if (m_hPanelNotices != nullptr)
        return;
    DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kHidInterfaceClass;
    // Without it DBT_DEVNODES_CHANGED, which every top-level window gets, still tells.
    m_hPanelNotices = ::RegisterDeviceNotificationW(m_hWnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void CMainDialog::UnregisterPanelNotices() {
    if (m_hPanelNotices != nullptr)
        (void)::UnregisterDeviceNotification(m_hPanelNotices);
    m_hPanelNotices = nullptr;
}

BOOL CMainDialog::OnDeviceChange(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    *pResult = TRUE;
    if (wParam == DBT_DEVNODES_CHANGED ||
        ((wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) && IsHidInterfaceNotice(lParam)))
        ArmPanelsSettle();
    return TRUE;
}

void CMainDialog::ArmPanelsSettle() {
    // Without a library in use (none loaded, BGInit failed, or the window ended) no panel can come.
    if (m_bEnded || m_pDevTypes == nullptr || m_hWnd == nullptr)
        return;
    (void)::SetTimer(m_hWnd, kPanelsSettleTimer, kPanelsSettleMs, nullptr);
}

bool CMainDialog::IsInTheMiddleOfSomething() const {
    // A modal box (a question, a message, a file dialog of an export) disables the window.
    if (m_bStartPending || m_bSwitching || !IsWindowEnabled())
        return true;
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    if (::GetGUIThreadInfo(::GetCurrentThreadId(), &thread) &&
        (thread.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE)) != 0)
        return true;
    return false;
}

void CMainDialog::OnPanelsSettled() {
    (void)::KillTimer(m_hWnd, kPanelsSettleTimer);
    if (m_bEnded || m_pDevTypes == nullptr)
        return;
    if (IsInTheMiddleOfSomething()) {
        ArmPanelsSettle();
        return;
    }
    TakePanelsAfresh();
}

void CMainDialog::TakePanelsAfresh() {
    StopBuildingAhead();
    const bool onPanelPage = m_pConfigPage != nullptr || m_pTestPage != nullptr;
    const bool onErrorPage = m_pErrorPage != nullptr;
    const int attachedBefore = AttachedCount();
    const std::string shownKey = m_bDetached ? m_detachedKey : AttachedKey(m_nCurDevice);
    const tagBGDevHWType shownType = CurrentDeviceType();
    const bool shownWasAttached = m_nCurDevice < attachedBefore && !m_bDetached;

    // The page on show holds an index of the library's last take: until it is pointed at
    // its panel's new index, it says nothing to the library.
    if (m_pConfigPage != nullptr)
        m_pConfigPage->Detach(shownKey);
    if (m_pTestPage != nullptr)
        m_pTestPage->Detach();

    (void)BGTerminate();
    m_pDevTypes = nullptr;
    if (BGInit(m_hWnd) == BG_OK) {
        BG_RegisterInputCallback(InputCallback);
        TakeDeviceTypesAndKeys();
    } else {
        // Like a library without panels: the next notice tries again.
        m_types.assign(1, BG_HW_NONE);
        m_keys.clear();
        m_pDevTypes = m_types.data();
    }
    const int attached = AttachedCount();

    int found = -1;
    if ((onPanelPage || (onErrorPage && shownWasAttached)) && !shownKey.empty()) {
        for (int device = 0; device < attached && found < 0; ++device) {
            if (m_keys[static_cast<size_t>(device)] == shownKey && m_pDevTypes[device] == shownType)
                found = device;
        }
    }

    if (found >= 0) {
        m_bDetached = false;
        m_detachedType = BG_HW_NONE;
        m_detachedKey.clear();
        m_nCurDevice = found;
        FillDeviceList();
        if (onPanelPage)
            ReattachShownPage(found);
    } else if (onPanelPage && (attached > 0 || HasUnsavedChanges())) {
        m_bDetached = true;
        m_detachedType = shownType;
        m_detachedKey = shownKey;
        m_nCurDevice = attached;
        FillDeviceList();
        DetachShownPage();
    } else if (attached > 0) {
        // The error page gives way to the first panel's page.
        m_bDetached = false;
        m_nCurDevice = 0;
        FillDeviceList();
        m_bBrightnessLive = false;
        CreatePage(m_bTestMode);
        RequestHardwareState();
    } else {
        m_bDetached = false;
        m_nCurDevice = 0;
        FillDeviceList();
        if (!onErrorPage || attachedBefore > 0)
            CreatePage(m_bTestMode);  // the error page of "no panel"
    }
    (void)::InvalidateRect(m_listDevices.m_hWnd, nullptr, TRUE);
    UpdateApply();
    BuildPagesAheadWhenIdle();
}

void CMainDialog::ReattachShownPage(int device) {
    if (m_pConfigPage != nullptr) {
        m_pConfigPage->Reattach(device);
        // The panel takes the brightness and blink periods the controls show, saved or not.
        ApplyBlinkPeriods();
        BG_SetBrightness(device, m_sliderBrightness.GetPos());
    } else if (m_pTestPage != nullptr) {
        m_pTestPage->Reattach(device);
        ApplyBlinkPeriods();
        BG_SetBrightness(device, m_sliderBrightness.GetPos());
    }
    RequestHardwareState();
}

void CMainDialog::DetachShownPage() {
    // The page keeps what it shows; the list shows its panel greyed as not attached.
    if (m_pConfigPage != nullptr && !m_pConfigPage->IsDetached())
        m_pConfigPage->Detach(m_detachedKey);
    if (m_pTestPage != nullptr)
        m_pTestPage->Detach();
}
