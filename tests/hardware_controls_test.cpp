// The brightness slider and the blink period edits of the main window.
#include "call_log.h"
#include "resource.h"
#include "test_settings.h"
#include "ui_harness.h"

#include <commctrl.h>

namespace {

using call_log::IndexOf;
using ui::MainWindowTest;

const tagBGDevHWType B88 = BG_HW_PUSHBUTTON_8X8;
const tagBGDevHWType T88 = BG_HW_TOGGLE_8X8;

// The user drags the slider's thumb to position: the slider moves and paints.
void DragSlider(CMainDialog& main, int position) {
    HWND slider = ui::BrightnessSlider(main).m_hWnd;
    ::SendMessageW(slider, TBM_SETPOS, TRUE, position);
    ::UpdateWindow(slider);
    ui::PumpMessages();
}

// The user types text at the end of a blink edit, one character at a time.
void Type(HWND dialog, int id, const wchar_t* text) {
    HWND edit = ::GetDlgItem(dialog, id);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    ::SendMessageW(edit, WM_CLEAR, 0, 0);
    for (const wchar_t* c = text; *c != L'\0'; ++c)
        ::SendMessageW(edit, WM_CHAR, *c, 1);
}

class BrightnessControls : public MainWindowTest {};

TEST_F(BrightnessControls, NeverSavedDeviceGetsTheDefaults) {
    Start({B88});
    EXPECT_EQ(127, ui::BrightnessSlider(*main).GetPos());
    EXPECT_EQ(L"127", ui::Text(main->m_hWnd, IDC_BRIGHTNESS_VALUE));
    EXPECT_EQ(L"12", ui::Text(main->m_hWnd, IDC_FAST_ON));
    EXPECT_EQ(L"12", ui::Text(main->m_hWnd, IDC_FAST_OFF));
    EXPECT_EQ(L"25", ui::Text(main->m_hWnd, IDC_SLOW_ON));
    EXPECT_EQ(L"25", ui::Text(main->m_hWnd, IDC_SLOW_OFF));
    int key = IndexOf("BGGetDevKey 0");
    int blink = IndexOf("BG_SetBlinkPeriod 0 25 12 25 12", key);
    int brightness = IndexOf("BG_SetBrightness 0 127", key);
    EXPECT_GT(blink, key);
    EXPECT_GT(brightness, blink);
}

TEST_F(BrightnessControls, ReportMovesTheSliderButSendsNothingBack) {
    Start({B88});
    BOOL applyBefore = ui::IsEnabled(main->m_hWnd, IDC_APPLY);
    fake_vuzoz::ClearCalls();
    EXPECT_EQ(1, fake_vuzoz::DeliverBrightness(B88, 0, 200));
    ui::PumpMessages();
    EXPECT_EQ(200, ui::BrightnessSlider(*main).GetPos());
    EXPECT_EQ(L"200", ui::Text(main->m_hWnd, IDC_BRIGHTNESS_VALUE));
    EXPECT_EQ(200, ui::BrightnessSlider(*main).GetPos());
    EXPECT_TRUE(main->IsBrightnessLive());
    EXPECT_TRUE(ui::IsEnabled(main->m_hWnd, IDC_BRIGHTNESS_SLIDER));
    EXPECT_TRUE(fake_vuzoz::CallsStartingWith("BG_SetBrightness").empty());
    EXPECT_EQ(applyBefore, ui::IsEnabled(main->m_hWnd, IDC_APPLY));
}

TEST_F(BrightnessControls, MovingTheLiveSliderSendsAndEnablesApply) {
    Start({B88});
    fake_vuzoz::DeliverBrightness(B88, 0, 100);
    main->EnableApply(FALSE);
    fake_vuzoz::ClearCalls();
    DragSlider(*main, 150);
    EXPECT_EQ(std::vector<std::string>{"BG_SetBrightness 0 150"}, fake_vuzoz::CallsStartingWith("BG_SetBrightness"));
    EXPECT_EQ(L"150", ui::Text(main->m_hWnd, IDC_BRIGHTNESS_VALUE));
    EXPECT_TRUE(ui::IsEnabled(main->m_hWnd, IDC_APPLY));
    // Painting again at the same position sends nothing more.
    ::InvalidateRect(ui::BrightnessSlider(*main).m_hWnd, nullptr, TRUE);
    ::UpdateWindow(ui::BrightnessSlider(*main).m_hWnd);
    EXPECT_EQ(1u, fake_vuzoz::CallsStartingWith("BG_SetBrightness").size());
}

TEST_F(BrightnessControls, NotLiveBeforeTheDeviceReports) {
    Start({B88, T88}, true);
    fake_vuzoz::DeliverBrightness(B88, 0, 60);
    // A device activation makes the brightness wait for the new device's report.
    ui::ActivateDeviceItem(*main, 1);
    EXPECT_FALSE(main->IsBrightnessLive());
    fake_vuzoz::ClearCalls();
    ui::BrightnessSlider(*main).EnableWindow(TRUE);
    DragSlider(*main, 40);
    EXPECT_TRUE(fake_vuzoz::CallsStartingWith("BG_SetBrightness").empty());
    EXPECT_EQ(L"40", ui::Text(main->m_hWnd, IDC_BRIGHTNESS_VALUE));
    // Test mode stores nothing: Apply stays disabled.
    EXPECT_FALSE(ui::IsEnabled(main->m_hWnd, IDC_APPLY));
}

TEST_F(BrightnessControls, SavedWithThePageAndRestored) {
    Start({B88});
    fake_vuzoz::DeliverBrightness(B88, 0, 90);
    DragSlider(*main, 33);
    ui::Click(main->m_hWnd, IDC_APPLY);
    EXPECT_FALSE(ui::IsEnabled(main->m_hWnd, IDC_APPLY));
    DWORD value = 0;
    ASSERT_TRUE(test_settings::ReadDword(L"Hardware\\FAKE-1-0", L"Brightness", &value));
    EXPECT_EQ(33u, value);
    ASSERT_TRUE(test_settings::ReadDword(L"Hardware\\FAKE-1-0", L"Type", &value));
    EXPECT_EQ(1u, value);

    Close();
    main.reset();
    Start({B88});
    EXPECT_EQ(33, ui::BrightnessSlider(*main).GetPos());
    EXPECT_GE(IndexOf("BG_SetBrightness 0 33"), 0);
}

TEST_F(BrightnessControls, TestModeStoresNothing) {
    Start({B88}, true);
    fake_vuzoz::DeliverBrightness(B88, 0, 100);
    DragSlider(*main, 20);
    EXPECT_GE(IndexOf("BG_SetBrightness 0 20"), 0);
    ui::Click(main->m_hWnd, IDC_APPLY);
    Close();
    EXPECT_FALSE(test_settings::SectionExists(L"Hardware"));
    EXPECT_FALSE(test_settings::SectionExists(L"All aircraft"));
    // Only the device list asked for the key, at the start.
    EXPECT_EQ(1, call_log::Count("BGGetDevKey 0"));
}

class BlinkControls : public MainWindowTest {};

TEST_F(BlinkControls, TypingSendsEveryStepAndEnablesApply) {
    Start({B88});
    main->EnableApply(FALSE);
    fake_vuzoz::ClearCalls();
    Type(main->m_hWnd, IDC_FAST_ON, L"40");
    std::vector<std::string> expected = {"BG_SetBlinkPeriod 0 25 0 25 12", "BG_SetBlinkPeriod 0 25 4 25 12",
                                         "BG_SetBlinkPeriod 0 25 40 25 12"};
    EXPECT_EQ(expected, fake_vuzoz::CallsStartingWith("BG_SetBlinkPeriod"));
    EXPECT_TRUE(ui::IsEnabled(main->m_hWnd, IDC_APPLY));
}

TEST_F(BlinkControls, PeriodsAboveAByteAreKeptAt255) {
    Start({B88});
    fake_vuzoz::ClearCalls();
    Type(main->m_hWnd, IDC_SLOW_OFF, L"3000");
    // The edit takes three digits; what it holds is sent as at most 255.
    EXPECT_EQ(L"300", ui::Text(main->m_hWnd, IDC_SLOW_OFF));
    EXPECT_EQ("BG_SetBlinkPeriod 0 25 12 255 12", fake_vuzoz::CallsStartingWith("BG_SetBlinkPeriod").back());
    ui::Click(main->m_hWnd, IDC_APPLY);
    DWORD stored = 0;
    ASSERT_TRUE(test_settings::ReadDword(L"Hardware\\FAKE-1-0", L"Slow Off", &stored));
    EXPECT_EQ(255u, stored);
}

TEST_F(BlinkControls, StoredValuesComeBackAsTheirLowByte) {
    // A value written by an older version or by hand.
    test_settings::WriteDword(L"Hardware\\FAKE-1-0", L"Fast On", 300);
    Start({B88});
    EXPECT_EQ(L"44", ui::Text(main->m_hWnd, IDC_FAST_ON));
    EXPECT_GE(IndexOf("BG_SetBlinkPeriod 0 25 44 25 12"), 0);
}

TEST_F(BlinkControls, EmptyOrNonNumericTextCountsAsZero) {
    Start({B88});
    fake_vuzoz::ClearCalls();
    ::SetDlgItemTextW(main->m_hWnd, IDC_FAST_OFF, L"");
    EXPECT_EQ("BG_SetBlinkPeriod 0 25 12 25 0", fake_vuzoz::Calls().back());
    ::SetDlgItemTextW(main->m_hWnd, IDC_FAST_OFF, L"x7");
    EXPECT_EQ("BG_SetBlinkPeriod 0 25 12 25 0", fake_vuzoz::Calls().back());
    ::SetDlgItemTextW(main->m_hWnd, IDC_FAST_OFF, L"7x");
    EXPECT_EQ("BG_SetBlinkPeriod 0 25 12 25 7", fake_vuzoz::Calls().back());
}

TEST_F(BlinkControls, HiddenApplyButtonSendsThePeriods) {
    Start({T88});
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(main->m_hWnd, IDC_BLINK_APPLY)));
    fake_vuzoz::ClearCalls();
    ui::Click(main->m_hWnd, IDC_BLINK_APPLY);
    EXPECT_EQ(std::vector<std::string>{"BG_SetBlinkPeriod 0 25 12 25 12"}, fake_vuzoz::Calls());
}

TEST_F(BlinkControls, FocusPreviewsBothRates) {
    Start({B88});
    fake_vuzoz::ClearCalls();
    ui::Focus(main->m_hWnd, IDC_SLOW_ON);
    EXPECT_EQ(call_log::LedCommands(0, {2, 2, 2, 2, 1, 1, 1, 1}), fake_vuzoz::CallsStartingWith("BG_SetLEDState"));
    fake_vuzoz::ClearCalls();
    ui::Focus(main->m_hWnd, IDC_SLOW_OFF);
    std::vector<std::string> expected = call_log::LedCommands(0, {2, 2, 2, 2, 2, 2, 2, 2});
    std::vector<std::string> preview = call_log::LedCommands(0, {2, 2, 2, 2, 1, 1, 1, 1});
    expected.insert(expected.end(), preview.begin(), preview.end());
    EXPECT_EQ(expected, fake_vuzoz::CallsStartingWith("BG_SetLEDState"));
    fake_vuzoz::ClearCalls();
    ui::Focus(main->m_hWnd, IDOK);
    EXPECT_EQ(call_log::LedCommands(0, {2, 2, 2, 2, 2, 2, 2, 2}), fake_vuzoz::CallsStartingWith("BG_SetLEDState"));
}

TEST_F(BlinkControls, ReportInTestModeIsShownAndNotStored) {
    Start({T88}, true);
    fake_vuzoz::DeliverBlink(T88, 0, 5, 6, 7, 8);
    EXPECT_EQ(L"5", ui::Text(main->m_hWnd, IDC_FAST_ON));
    EXPECT_EQ(L"8", ui::Text(main->m_hWnd, IDC_SLOW_OFF));
    Close();
    EXPECT_FALSE(test_settings::SectionExists(L"Hardware"));
}

}  // namespace
