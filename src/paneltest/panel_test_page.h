// CTestPanel: the test page of one panel type. A grid of radio buttons drives each LED
// to Off, Slow, Fast or On at once; a row of indicator pictures shows the live state of
// the panel's buttons or switches. The page classes differ only in their layout.
#ifndef TOLLAN_PANELTEST_PANEL_TEST_PAGE_H
#define TOLLAN_PANELTEST_PANEL_TEST_PAGE_H

#include "paneltest/panel_test_dialog.h"

// What one panel type's test page shows and where it comes from.
struct TestPanelLayout {
    UINT templateId;
    int ledCount;        // LEDs 0 .. ledCount - 1 in the grid
    int indicatorCount;  // buttons or switches 0 .. indicatorCount - 1
    UINT bitClearBitmap;
    UINT bitSetBitmap;
};

class CTestPanel : public CTestDialog {
public:
    enum { kMaxLEDs = 8, kStateCount = 4, kMaxIndicators = 8 };

    CTestPanel(const TestPanelLayout& layout, CWnd* pParent);

    void UpdateButtonStatus(BYTE bits) override;
    void UpdateLEDState(BYTE led, BYTE state) override;
    // Every LED shown Off and every indicator enabled, then the device is asked for its state.
    void PointAtDevice(int device) override;
    void Detach() override;
    void Reattach(int device) override;

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    int GetLEDCount() const { return m_layout.ledCount; }
    int GetIndicatorCount() const { return m_layout.indicatorCount; }

    // The radio of LED L and state S is m_radioLED[kStateCount * L + S], control
    // IDC_LED_RADIO_FIRST + kStateCount * L + S; only the first ledCount columns are bound.
    CButton m_radioLED[kMaxLEDs * kStateCount];
    // The indicator of button i is control IDC_INDICATOR_FIRST + i; only the first
    // indicatorCount are bound. A set bit shows as a disabled indicator.
    CBitmapButton m_indicators[kMaxIndicators];

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    void OnLEDRadioClicked(UINT nID);
    void ShowLEDState(int led, int state);
    // The state whose radio is checked for led (Off when none is).
    int ShownLEDState(int led) const;

    static const MessageMapEntry<CTestPanel> s_messageMap[];

    TestPanelLayout m_layout;
};

#endif
