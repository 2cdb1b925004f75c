// The pages of the other attached panel types, built while the window has nothing else to
// do: a timer (the lowest of all messages: input, posted messages and painting go first)
// builds one page per tick, and a tick that finds input waiting leaves it to the next.
// A page built ahead is hidden, its lists filled and its pictures scaled, and holds no
// device: it reads no settings and the device library hears nothing of it. A switch to its
// type points it at the device exactly as it points a page kept from an earlier switch.
#include "mainwnd/main_dialog.h"

#include "config/config_dialog.h"
#include "paneltest/panel_test_dialog.h"

namespace {

// As often as the system lets a timer tick; each tick builds at most one page.
const UINT kBuildAheadTickMs = USER_TIMER_MINIMUM;

template <class Page>
void BuildAhead(Page* page, tagBGDevHWType type, CPageCache& pages, CWnd* parent) {
    if (page == nullptr)
        return;
    (void)pages.Keep(type, page);
    page->m_nDevice = Page::kNoDevice;
    // The page templates are not visible: the page is created hidden and out of the tab
    // order. A page whose creation failed stays kept without a window and is not built
    // again here; a switch to its type makes it anew.
    (void)page->Create(parent);
}

}  // namespace

void CMainDialog::BuildPagesAheadWhenIdle() {
    if (m_hWnd == nullptr || m_pDevTypes == nullptr || m_pErrorPage != nullptr)
        return;
    if (m_pages.MissingType(m_pDevTypes, m_bTestMode != 0) == BG_HW_NONE)
        return;
    (void)::SetTimer(m_hWnd, kBuildAheadTimer, kBuildAheadTickMs, nullptr);
}

void CMainDialog::StopBuildingAhead() {
    if (m_hWnd != nullptr)
        (void)::KillTimer(m_hWnd, kBuildAheadTimer);
}

bool CMainDialog::BuildOnePageAhead() {
    const tagBGDevHWType type = m_pages.MissingType(m_pDevTypes, m_bTestMode != 0);
    if (type == BG_HW_NONE)
        return false;
    if (m_bTestMode)
        BuildAhead(CPageCache::NewTestPage(type), type, m_pages, this);
    else
        BuildAhead(CPageCache::NewConfigPage(type), type, m_pages, this);
    return true;
}

BOOL CMainDialog::OnTimer(WPARAM wParam, LPARAM, LRESULT* pResult) {
    if (wParam == kSettingsRetryTimer)
        return OnSettingsRetryTimer() ? TRUE : FALSE;
    if (wParam == kPanelsSettleTimer) {
        *pResult = 0;
        OnPanelsSettled();  // panel_arrivals.cpp
        return TRUE;
    }
    if (wParam != kBuildAheadTimer)
        return FALSE;
    *pResult = 0;
    // Closed, or showing the error page: nothing is built any more.
    if (m_pDevTypes == nullptr || m_pErrorPage != nullptr) {
        StopBuildingAhead();
        return TRUE;
    }
    // Not yet started, or asking about unsaved changes: the next tick looks again. So does
    // a tick that finds the user's input or a posted message waiting.
    if (m_bStartPending || m_bSwitching || HIWORD(::GetQueueStatus(QS_INPUT | QS_POSTMESSAGE)) != 0)
        return TRUE;
    if (!BuildOnePageAhead() || m_pages.MissingType(m_pDevTypes, m_bTestMode != 0) == BG_HW_NONE)
        StopBuildingAhead();
    return TRUE;
}
