// The device list of the main window: the current device stays selected and marked, and
// the page follows the selection however it moves (click, arrow keys, Enter or Space),
// once the user has answered for unsaved changes.
#include "mainwnd/main_dialog.h"

#include "afx/focus_handoff.h"
#include "resource.h"

void CMainDialog::SelectDeviceItem(int item) {
    HWND list = m_listDevices.m_hWnd;
    if (item < 0 || item >= m_listDevices.GetItemCount())
        return;
    const UINT wanted = LVIS_SELECTED | LVIS_FOCUSED;
    if ((::SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), wanted) & wanted) == wanted)
        return;
    LVITEMW state = {};
    state.stateMask = wanted;
    state.state = wanted;
    (void)::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
    (void)::SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE);
}

void CMainDialog::OpenSelectedDevice() {
    const int selected = m_listDevices.GetNextItem(-1, LVNI_SELECTED);
    if (selected < 0) {
        // The current device stays marked: a list without a selection opens nothing.
        SelectDeviceItem(m_nCurDevice);
        return;
    }
    SwitchToDevice(selected);
}

void CMainDialog::SwitchToDevice(int item) {
    // A selection change that arrives while the question is open waits for its answer;
    // one that arrives before the first page is followed once that page is built.
    if (m_bSwitching || m_bStartPending)
        return;
    if (item < 0 || item >= m_listDevices.GetItemCount() || item == m_nCurDevice) {
        SelectDeviceItem(m_nCurDevice);
        return;
    }
    // Asked while the page still belongs to the device it was made for.
    m_bSwitching = true;
    const BOOL goOn = QuerySavePage();
    m_bSwitching = false;
    if (!goOn) {
        SelectDeviceItem(m_nCurDevice);
        return;
    }
    m_nCurDevice = item;
    if (m_bDetached) {
        // Once switched away, the list forgets the panel that went.
        m_bDetached = false;
        m_detachedType = BG_HW_NONE;
        m_detachedKey.clear();
        (void)::SendMessageW(m_listDevices.m_hWnd, LVM_DELETEITEM, static_cast<WPARAM>(AttachedCount()), 0);
    }
    SelectDeviceItem(item);
    m_bBrightnessLive = false;
    EnableKeepingFocus(m_sliderBrightness.m_hWnd, FALSE);
    CreatePage(m_bTestMode);
    RequestHardwareState();
}

void CMainDialog::OnItemActivate(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    const NMITEMACTIVATE* activate = reinterpret_cast<const NMITEMACTIVATE*>(pNMHDR);
    if (activate->iItem >= 0)
        (void)::PostMessageW(m_hWnd, kSelectionSettled, 0, 0);
}

void CMainDialog::OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    if (!(change->uChanged & LVIF_STATE) || ((change->uOldState ^ change->uNewState) & LVIS_SELECTED) == 0)
        return;
    // The list is still busy with the key or click; the page follows when it is done.
    (void)::PostMessageW(m_hWnd, kSelectionSettled, 0, 0);
}

BOOL CMainDialog::OnSelectionSettled(WPARAM, LPARAM, LRESULT* pResult) {
    *pResult = 0;
    if (m_pDevTypes != nullptr)
        OpenSelectedDevice();
    return TRUE;
}

void CMainDialog::OnDeviceListKeyDown(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    const NMLVKEYDOWN* key = reinterpret_cast<const NMLVKEYDOWN*>(pNMHDR);
    if (key->wVKey == VK_SPACE)
        (void)::PostMessageW(m_hWnd, kSelectionSettled, 0, 0);
}

// Enter in the list reaches the dialog as a click of its default id: while the list has
// the focus that is the list itself, so Enter opens the selected device instead of
// ending the program.
void CMainDialog::OnDeviceListSetFocus(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    (void)SendMessage(DM_SETDEFID, IDC_DEVICE_LIST);
    // OK is no longer what Enter presses: it does not look like it either.
    (void)::SendMessageW(::GetDlgItem(m_hWnd, IDOK), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
}

void CMainDialog::OnDeviceListKillFocus(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    (void)SendMessage(DM_SETDEFID, IDOK);
}

void CMainDialog::OnOpenSelectedDevice(UINT) { OpenSelectedDevice(); }
