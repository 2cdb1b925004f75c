// Settings changed outside Tollan while the window runs (an import from the command line,
// a profile switched by a script, regedit, a restore): the page of the panel on show
// follows them, or asks once when it holds unsaved changes. Tollan's own saves leave the
// store as the page has it, so they are not taken for changes from outside.
#include "mainwnd/main_dialog.h"

#include "config/config_dialog.h"
#include "resource.h"

void CMainDialog::WatchSettings() {
    // Not watched (the thread could not start): changes made outside Tollan still show at the
    // next switch of panel, and Apply still asks before it writes over them.
    (void)m_settingsWatcher.Start(AfxGetApp()->GetAppRegistryPath(), m_hWnd, kSettingsChanged);
}

BOOL CMainDialog::OnSettingsChanged(WPARAM, LPARAM, LRESULT* pResult) {
    *pResult = 0;
    // Acknowledged before the store is read: a change made while it is read posts again.
    m_settingsWatcher.Acknowledge();
    // A question, a save or a menu of the window's own is under way: this waits for it.
    if (!IsWindowEnabled() || m_nBusy > 0) {
        (void)::SetTimer(m_hWnd, kSettingsRetryTimer, kSettingsRetryMilliseconds, nullptr);
        return TRUE;
    }
    CConfigDialog* page = m_pConfigPage;
    if (page == nullptr || page->m_hWnd == nullptr || !page->StoreChangedOutside())
        return TRUE;
    if (HasUnsavedChanges()) {
        ++m_nBusy;
        const int answer = AfxMessageBox(IDS_CHANGED_OUTSIDE, MB_YESNO | MB_ICONQUESTION);
        --m_nBusy;
        if (answer != IDYES) {
            // The user keeps the page's changes; Apply writes them.
            page->AcceptStored();
            return TRUE;
        }
    }
    page->PointAtDevice(m_nCurDevice);
    UpdateApply();
    return TRUE;
}

bool CMainDialog::OnSettingsRetryTimer() {
    (void)::KillTimer(m_hWnd, kSettingsRetryTimer);
    LRESULT result = 0;
    return OnSettingsChanged(0, 0, &result) != FALSE;
}
