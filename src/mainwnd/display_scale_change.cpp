// The main window moved to a monitor of another scale: it takes the size the system
// suggests, and the device list, the window icons and the page show their pictures at the
// new scale. The system scales a dialog's fonts and dialog units itself (Windows 10 with
// per-monitor awareness v2) after this handler: the page is laid out again once it has.
#include "mainwnd/main_dialog.h"

#include "config/config_dialog.h"
#include "paneltest/panel_test_dialog.h"
#include "paneltest/panel_test_page.h"
#include "resource.h"
#include "scaling/display_scale.h"
#include "scaling/page_scaling.h"
#include "scaling/scaled_pictures.h"

BOOL CMainDialog::OnDpiChanged(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    *pResult = 0;
    const int dpi = LOWORD(wParam);
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    if (dpi <= 0 || suggested == nullptr)
        return FALSE;
    (void)::SetWindowPos(m_hWnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);

    scaling::ShowWindowIcons(m_hWnd, IDI_TOLLAN, dpi);
    // The list keeps its pictures until those of the new scale are there.
    if (m_listDevices.m_hWnd != nullptr && m_imageDevices.m_hImageList != nullptr)
        ShowDevicePictures(scaling::PictureScale(dpi));

    (void)::PostMessageW(m_hWnd, kScaleSettled, static_cast<WPARAM>(dpi), 0);
    // The default processing scales the dialog where the system does that.
    return FALSE;
}

namespace {

void RescaleTestPage(CTestDialog* testPage, int dpi) {
    if (testPage == nullptr || testPage->m_hWnd == nullptr)
        return;
    scaling::RescalePage(testPage->m_hWnd, dpi);
    // Every test page is a CTestPanel (see NewTestPage).
    CTestPanel& page = *static_cast<CTestPanel*>(testPage);
    for (int i = 0; i < page.GetIndicatorCount(); ++i) {
        if (page.m_indicators[i].m_hWnd != nullptr)
            (void)scaling::RescaleIndicator(page.m_indicators[i], scaling::PictureScale(dpi));
    }
}

}  // namespace

// The page shown and the pages kept for other panel types.
BOOL CMainDialog::OnScaleSettled(WPARAM wParam, LPARAM, LRESULT* pResult) {
    *pResult = 0;
    const int dpi = static_cast<int>(wParam);
    const tagBGDevHWType types[] = {BG_HW_PUSHBUTTON_8X8, BG_HW_TOGGLE_8X8, BG_HW_RADIO};
    for (tagBGDevHWType type : types) {
        if (CConfigDialog* page = m_pages.ConfigPage(type); page != nullptr && page->m_hWnd != nullptr)
            scaling::RescalePage(page->m_hWnd, dpi);
        RescaleTestPage(m_pages.TestPage(type), dpi);
    }
    return TRUE;
}
