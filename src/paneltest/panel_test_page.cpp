#include "paneltest/panel_test_page.h"

#include "afx/focus_handoff.h"
#include "resource.h"
#include "scaling/display_scale.h"
#include "scaling/page_scaling.h"
#include "VUZoz.h"

namespace {

int Clamp(int value, int highest) {
    if (value < 0)
        return 0;
    return value > highest ? highest : value;
}

// The state codes of the device: 0 Off, 1 Slow, 2 Fast, 3 On.
const int kLEDStateMask = 3;

}  // namespace

// Clicks on the radios of LEDs the page does not have are dropped by the handler.
const MessageMapEntry<CTestPanel> CTestPanel::s_messageMap[] = {
    OnCommand(BN_CLICKED, IDC_LED_RADIO_FIRST, IDC_LED_RADIO_FIRST + kMaxLEDs * kStateCount - 1,
              &CTestPanel::OnLEDRadioClicked),
};

CTestPanel::CTestPanel(const TestPanelLayout& layout, CWnd* pParent)
    : CTestDialog(layout.templateId, pParent), m_layout(layout) {
    m_layout.ledCount = Clamp(layout.ledCount, kMaxLEDs);
    m_layout.indicatorCount = Clamp(layout.indicatorCount, kMaxIndicators);
}

void CTestPanel::DoDataExchange(CDataExchange* pDX) {
    CTestDialog::DoDataExchange(pDX);
    for (int i = 0; i < m_layout.ledCount * kStateCount; ++i)
        DDX_Control(pDX, IDC_LED_RADIO_FIRST + i, m_radioLED[i]);
    for (int i = 0; i < m_layout.indicatorCount; ++i)
        DDX_Control(pDX, IDC_INDICATOR_FIRST + i, m_indicators[i]);
}

BOOL CTestPanel::OnInitDialog() {
    CTestDialog::OnInitDialog();
    scaling::ScalePage(m_hWnd, m_nIDTemplate);

    for (int i = 0; i < m_layout.indicatorCount; ++i) {
        CBitmapButton& indicator = m_indicators[i];
        if (indicator.m_hWnd == nullptr)
            continue;
        // Without its pictures an indicator stays blank; the page works on.
        (void)scaling::LoadIndicatorPictures(indicator, m_layout.bitClearBitmap, m_layout.bitSetBitmap,
                                             scaling::PictureScaleOf(m_hWnd));
    }
    if (m_nDevice != kNoDevice)
        PointAtDevice(m_nDevice);
    return TRUE;
}

void CTestPanel::PointAtDevice(int device) {
    CTestDialog::PointAtDevice(device);

    // Every LED shows Off until the device tells otherwise; nothing is sent to it.
    for (int led = 0; led < m_layout.ledCount; ++led)
        ShowLEDState(led, BG_LED_OFF);
    for (int i = 0; i < m_layout.indicatorCount; ++i) {
        const CBitmapButton& indicator = m_indicators[i];
        if (indicator.m_hWnd != nullptr)
            (void)indicator.EnableWindow(TRUE);
    }

    // The answers come back as reports through the main window.
    for (int led = 0; led < m_layout.ledCount; ++led)
        (void)BG_GetLEDStatus(m_nDevice, led);
    (void)BG_GetButtonStatus(m_nDevice);
}

BOOL CTestPanel::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (DispatchMessageMap(*this, s_messageMap, message, wParam, lParam, pResult))
        return TRUE;
    return CTestDialog::OnWndMsg(message, wParam, lParam, pResult);
}

void CTestPanel::Detach() {
    CTestDialog::Detach();
    for (int i = 0; i < m_layout.indicatorCount; ++i) {
        const CBitmapButton& indicator = m_indicators[i];
        if (indicator.m_hWnd != nullptr)
            EnableKeepingFocus(indicator.m_hWnd, FALSE);
    }
}

void CTestPanel::Reattach(int device) {
    CTestDialog::Reattach(device);
    for (int i = 0; i < m_layout.indicatorCount; ++i) {
        const CBitmapButton& indicator = m_indicators[i];
        if (indicator.m_hWnd != nullptr)
            (void)indicator.EnableWindow(TRUE);
    }
    for (int led = 0; led < m_layout.ledCount; ++led)
        (void)BG_SetLEDState(m_nDevice, led, ShownLEDState(led), 0);
    (void)BG_GetButtonStatus(m_nDevice);
}

int CTestPanel::ShownLEDState(int led) const {
    for (int s = 0; s < kStateCount; ++s) {
        const CButton& radio = m_radioLED[kStateCount * led + s];
        if (radio.m_hWnd != nullptr && radio.GetCheck() == BST_CHECKED)
            return s;
    }
    return BG_LED_OFF;
}

void CTestPanel::OnLEDRadioClicked(UINT nID) {
    const int index = static_cast<int>(nID - IDC_LED_RADIO_FIRST);
    const int led = index / kStateCount;
    // A page whose panel went sends nothing.
    if (led >= m_layout.ledCount || m_nDevice < 0)
        return;
    // Sent on every click, also when the radio was checked already.
    (void)BG_SetLEDState(m_nDevice, led, index % kStateCount, 0);
}

void CTestPanel::UpdateLEDState(BYTE led, BYTE state) {
    if (led >= m_layout.ledCount)
        return;
    ShowLEDState(led, state & kLEDStateMask);
}

void CTestPanel::UpdateButtonStatus(BYTE bits) {
    if (m_hWnd == nullptr)
        return;
    for (int i = 0; i < m_layout.indicatorCount; ++i) {
        const CBitmapButton& indicator = m_indicators[i];
        if (indicator.m_hWnd == nullptr)
            continue;
        const bool bitSet = ((bits >> i) & 1) != 0;
        // An indicator the user clicked holds the focus: it passes it on before it greys.
        EnableKeepingFocus(indicator.m_hWnd, bitSet ? FALSE : TRUE);
    }
}

void CTestPanel::ShowLEDState(int led, int state) {
    // The controls are bound only once the window is up (reports may come earlier).
    if (m_hWnd == nullptr)
        return;
    for (int s = 0; s < kStateCount; ++s) {
        const CButton& radio = m_radioLED[kStateCount * led + s];
        const int check = s == state ? BST_CHECKED : BST_UNCHECKED;
        // Checking a radio restyles it (its tab stop goes with the check): only changes count.
        if (radio.m_hWnd != nullptr && radio.GetCheck() != check)
            radio.SetCheck(check);
    }
}
