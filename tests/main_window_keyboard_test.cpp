// The main window driven by real keys and clicks through the system's input queue and the
// dialog manager: the device list, Enter, Tab, Apply and the question about unsaved
// brightness, blink and page changes.
#include "call_log.h"
#include "config/config_dialog.h"
#include "config/config_panel_t88.h"
#include "paneltest/panel_test_dialog.h"
#include "resource.h"
#include "test_settings.h"
#include "ui_harness.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace {

using ui::MainWindowTest;

const tagBGDevHWType B88 = BG_HW_PUSHBUTTON_8X8;
const tagBGDevHWType T88 = BG_HW_TOGGLE_8X8;
const tagBGDevHWType RP = BG_HW_RADIO;

// The ids of the WM_COMMAND messages the main window receives while it lives.
class CommandLog {
public:
    explicit CommandLog(HWND window) : m_window(window) {
        s_log = this;
        m_hook = ::SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~CommandLog() {
        ::UnhookWindowsHookEx(m_hook);
        s_log = nullptr;
    }
    const std::vector<int>& Ids() const { return m_ids; }
    bool Has(int id) const { return std::find(m_ids.begin(), m_ids.end(), id) != m_ids.end(); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const CWPSTRUCT* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && s_log != nullptr && message->hwnd == s_log->m_window &&
            message->message == WM_COMMAND)
            s_log->m_ids.push_back(LOWORD(message->wParam));
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static CommandLog* s_log;
    HWND m_window;
    HHOOK m_hook;
    std::vector<int> m_ids;
};
CommandLog* CommandLog::s_log = nullptr;

class KeyboardTest : public MainWindowTest {
protected:
    void StartInFront(const std::vector<tagBGDevHWType>& panels, bool testMode = false) {
        Start(panels, testMode);
        ASSERT_TRUE(ui::BringToFront(main->m_hWnd));
    }
    void Key(WORD vk, bool shift = false) { ui::PressKey(main->m_hWnd, vk, shift); }
    void FocusControl(int id) {
        ::SetFocus(::GetDlgItem(main->m_hWnd, id));
        ui::PumpDialog(main->m_hWnd);
    }
    // The slider is live once the device told its brightness; one step with the keyboard.
    void NudgeBrightnessByKeyboard(tagBGDevHWType type) {
        fake_vuzoz::DeliverBrightness(type, main->CurrentDevice(), 100);
        FocusControl(IDC_BRIGHTNESS_SLIDER);
        Key(VK_RIGHT);
        ASSERT_EQ(101, ui::BrightnessSlider(*main).GetPos());
    }
    bool Applicable() const { return ui::IsEnabled(main->m_hWnd, IDC_APPLY); }
    bool Ended() const { return main->m_hWnd == nullptr || !::IsWindow(main->m_hWnd); }
    int SelectedDevice() const { return main->DeviceList().GetNextItem(-1, LVNI_SELECTED); }
    // The id of the focused control; inside an editable list, the list's.
    static int FocusedControl() {
        HWND focus = ::GetFocus();
        if (focus == nullptr)
            return 0;
        wchar_t className[32] = L"";
        ::GetClassNameW(::GetParent(focus), className, 32);
        if (::lstrcmpiW(className, L"ComboBox") == 0)
            focus = ::GetParent(focus);
        return ::GetDlgCtrlID(focus);
    }
    // Focus must rest on a window that takes keys.
    static void ExpectUsableFocus() {
        HWND focus = ::GetFocus();
        ASSERT_NE(nullptr, focus);
        EXPECT_TRUE(::IsWindowEnabled(focus));
        EXPECT_TRUE(::IsWindowVisible(focus));
    }
};

// ---- the device list -----------------------------------------------------------------

class MainDialogKeyboard : public KeyboardTest {};

TEST_F(MainDialogKeyboard, StartsOnTheDeviceListWithTheCurrentDeviceSelected) {
    StartInFront({B88, T88});
    EXPECT_EQ(main->DeviceList().m_hWnd, ::GetFocus());
    EXPECT_EQ(0, SelectedDevice());
    EXPECT_EQ(0, main->CurrentDevice());
}

TEST_F(MainDialogKeyboard, ArrowKeysOpenThePageOfTheSelectedDevice) {
    StartInFront({B88, T88, RP});
    Key(VK_DOWN);
    EXPECT_EQ(1, main->CurrentDevice());
    EXPECT_EQ(1, SelectedDevice());
    ASSERT_NE(nullptr, dynamic_cast<CConfigPanelT88*>(main->ConfigPage()));
    EXPECT_EQ(1, main->ConfigPage()->m_nDevice);
    EXPECT_EQ(main->DeviceList().m_hWnd, ::GetFocus());
    Key(VK_DOWN);
    EXPECT_EQ(2, main->CurrentDevice());
    Key(VK_HOME);
    EXPECT_EQ(0, main->CurrentDevice());
    EXPECT_EQ(0, main->ConfigPage()->m_nDevice);
    EXPECT_GE(call_log::IndexOf("BG_GetCurBrightness 2"), 0);
}

TEST_F(MainDialogKeyboard, EnterAndSpaceInTheListNeverEndTheProgram) {
    StartInFront({B88, T88});
    CommandLog log(main->m_hWnd);
    Key(VK_RETURN);
    Key(VK_SPACE);
    ASSERT_FALSE(Ended());
    EXPECT_FALSE(log.Has(IDOK));
    // Enter reached the dialog as the list's own command.
    EXPECT_TRUE(log.Has(IDC_DEVICE_LIST));
    EXPECT_EQ(0, main->CurrentDevice());
    EXPECT_EQ(0, SelectedDevice());

    // Enter in a list of the page stays there: the row the list shows is the pick already.
    Key(VK_TAB);
    EXPECT_EQ(IDC_BUTTON_LIST_FIRST, FocusedControl());
    Key(VK_DOWN);
    ASSERT_TRUE(Applicable());
    {
        ui::MessageBoxAnswerer nothingAsked({IDCANCEL});
        Key(VK_RETURN);
        ASSERT_FALSE(Ended());
        EXPECT_TRUE(nothingAsked.Texts().empty());
    }
    EXPECT_EQ(IDC_BUTTON_LIST_FIRST, FocusedControl());

    // The OK button itself still ends the program, after the question about the pick.
    FocusControl(IDOK);
    ui::MessageBoxAnswerer answerer({IDNO});
    Key(VK_SPACE);
    EXPECT_EQ(1u, answerer.Texts().size());
    EXPECT_TRUE(log.Has(IDOK));
    EXPECT_TRUE(Ended());
}

TEST_F(MainDialogKeyboard, AClickOnAnotherDeviceStillOpensIt) {
    StartInFront({B88, T88});
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    ASSERT_TRUE(::SendMessageW(main->DeviceList().m_hWnd, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rect)));
    ui::ClickAt(main->m_hWnd, main->DeviceList().m_hWnd,
                POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    EXPECT_EQ(1, main->CurrentDevice());
    EXPECT_EQ(1, SelectedDevice());
    ASSERT_NE(nullptr, main->ConfigPage());
    EXPECT_EQ(1, main->ConfigPage()->m_nDevice);
}

TEST_F(MainDialogKeyboard, TabWalksListPageBrightnessBlinkOkApplyHelpAndTheProfileRow) {
    StartInFront({B88});
    NudgeBrightnessByKeyboard(B88);
    ASSERT_TRUE(Applicable());
    FocusControl(IDC_DEVICE_LIST);
    std::vector<int> expected;
    for (int k = 0; k < 8; ++k)
        expected.push_back(IDC_BUTTON_LIST_FIRST + k);
    for (int k = 0; k < 8; ++k)
        expected.push_back(IDC_LED_LIST_FIRST + k);
    for (int id : {IDC_BRIGHTNESS_SLIDER, IDC_FAST_ON, IDC_FAST_OFF, IDC_SLOW_ON, IDC_SLOW_OFF, IDOK, IDC_APPLY,
                   ID_HELP, IDC_PROFILE_LIST, IDC_PROFILE_SAVE, IDC_PROFILE_RENAME, IDC_PROFILE_DELETE,
                   IDC_PROFILE_FOLDER, IDC_DEVICE_LIST}) {
        // Rename and Delete wait for a profile.
        if (ui::IsEnabled(main->m_hWnd, id))
            expected.push_back(id);
    }
    std::vector<int> visited;
    for (size_t i = 0; i < expected.size(); ++i) {
        Key(VK_TAB);
        visited.push_back(FocusedControl());
    }
    EXPECT_EQ(expected, visited);
    // Back again.
    Key(VK_TAB, true);
    EXPECT_EQ(IDC_PROFILE_FOLDER, FocusedControl());
}

TEST_F(MainDialogKeyboard, TabEntersTheEditableListsAndTheTestPage) {
    StartInFront({T88, RP}, false);
    Key(VK_TAB);
    EXPECT_EQ(IDC_BUTTON_LIST_FIRST, FocusedControl());
    EXPECT_TRUE(::IsChild(main->ConfigPage()->m_hWnd, ::GetFocus()));
    main->DestroyWindow();
    main.reset();

    StartInFront({RP}, true);
    ASSERT_NE(nullptr, main->TestPage());
    // The slider takes the focus once the device has told its brightness.
    fake_vuzoz::DeliverBrightness(RP, 0, 50);
    HWND page = main->TestPage()->m_hWnd;
    Key(VK_TAB);
    int inPage = 0;
    while (::IsChild(page, ::GetFocus()) && inPage < 40) {
        ++inPage;
        Key(VK_TAB);
    }
    // One stop for each of the radio panel's five LEDs, then the controls below.
    EXPECT_EQ(5, inPage);
    EXPECT_EQ(IDC_BRIGHTNESS_SLIDER, FocusedControl());
}

// ---- Apply -------------------------------------------------------------------------------

class MainDialogApplyState : public KeyboardTest {};

TEST_F(MainDialogApplyState, DisabledAfterStartAndDeviceReportsInEveryMode) {
    ui::MessageBoxAnswerer answerer({});
    for (bool testMode : {false, true}) {
        SCOPED_TRACE(testMode ? "test mode" : "configuration mode");
        Start({B88, T88}, testMode);
        EXPECT_FALSE(Applicable());
        fake_vuzoz::DeliverBrightness(B88, 0, 200);
        fake_vuzoz::DeliverBlink(B88, 0, 1, 2, 3, 4);
        // Still sent on to the device as they are shown.
        EXPECT_EQ("BG_SetBlinkPeriod 0 3 1 4 2", fake_vuzoz::CallsStartingWith("BG_SetBlinkPeriod").back());
        EXPECT_FALSE(Applicable());
        ui::ActivateDeviceItem(*main, 1);
        fake_vuzoz::DeliverBrightness(T88, 1, 20);
        EXPECT_FALSE(Applicable());
        Close();
        main.reset();
    }
    // Nothing was unsaved, so nothing asked.
    EXPECT_TRUE(answerer.Texts().empty());
}

TEST_F(MainDialogApplyState, NothingToStoreNothingToAsk) {
    ui::MessageBoxAnswerer answerer({});
    for (bool testMode : {true, false}) {
        SCOPED_TRACE(testMode ? "test mode" : "error page");
        if (testMode)
            StartInFront({B88, T88}, true);
        else
            StartInFront({});
        fake_vuzoz::DeliverBrightness(B88, 0, 100);
        FocusControl(IDC_FAST_ON);
        ui::TypeDigits(main->m_hWnd, "9");
        FocusControl(IDC_BRIGHTNESS_SLIDER);
        Key(VK_RIGHT);
        EXPECT_FALSE(Applicable());
        if (testMode)
            ui::ActivateDeviceItem(*main, 1);
        Key(VK_ESCAPE);
        EXPECT_TRUE(Ended());
        main.reset();
    }
    EXPECT_TRUE(answerer.Texts().empty());
    EXPECT_FALSE(test_settings::SectionExists(L"Hardware"));
}

TEST_F(MainDialogApplyState, SliderKeyEnablesApplyWhichSavesAndHandsTheFocusOn) {
    StartInFront({B88});
    NudgeBrightnessByKeyboard(B88);
    EXPECT_TRUE(Applicable());
    EXPECT_EQ(std::vector<std::string>{"BG_SetBrightness 0 101"}, fake_vuzoz::CallsStartingWith("BG_SetBrightness 0 101"));
    // Tab to Apply and press it with Space.
    for (int i = 0; i < 6; ++i)
        Key(VK_TAB);
    ASSERT_EQ(IDC_APPLY, FocusedControl());
    Key(VK_SPACE);
    DWORD stored = 0;
    ASSERT_TRUE(test_settings::ReadDword(L"Hardware\\FAKE-1-0", L"Brightness", &stored));
    EXPECT_EQ(101u, stored);
    EXPECT_FALSE(Applicable());
    EXPECT_EQ(ID_HELP, FocusedControl());
    ExpectUsableFocus();
    // The keys still work: on to the profile row.
    Key(VK_TAB);
    EXPECT_EQ(IDC_PROFILE_LIST, FocusedControl());
}

TEST_F(MainDialogApplyState, TypingInABlinkEditEnablesApplyAndEnterAppliesThePeriods) {
    StartInFront({B88});
    CommandLog log(main->m_hWnd);
    FocusControl(IDC_FAST_ON);
    ::SendDlgItemMessageW(main->m_hWnd, IDC_FAST_ON, EM_SETSEL, 0, -1);
    ui::TypeDigits(main->m_hWnd, "40");
    EXPECT_EQ(L"40", ui::Text(main->m_hWnd, IDC_FAST_ON));
    EXPECT_TRUE(Applicable());
    fake_vuzoz::ClearCalls();
    Key(VK_RETURN);
    ASSERT_FALSE(Ended());
    EXPECT_FALSE(log.Has(IDOK));
    EXPECT_TRUE(log.Has(IDC_BLINK_APPLY));
    EXPECT_EQ(std::vector<std::string>{"BG_SetBlinkPeriod 0 25 40 25 12"}, fake_vuzoz::CallsStartingWith("BG_SetBlinkPeriod"));
    EXPECT_EQ(IDC_FAST_ON, FocusedControl());

    // A click on Apply stores the periods and leaves the focus on a usable control.
    ui::ClickControl(main->m_hWnd, IDC_APPLY);
    DWORD stored = 0;
    ASSERT_TRUE(test_settings::ReadDword(L"Hardware\\FAKE-1-0", L"Fast On", &stored));
    EXPECT_EQ(40u, stored);
    EXPECT_FALSE(Applicable());
    ExpectUsableFocus();
}

TEST_F(MainDialogApplyState, ATestPageIndicatorWithTheFocusPassesItOn) {
    StartInFront({B88}, true);
    HWND page = main->TestPage()->m_hWnd;
    ui::ClickControl(page, IDC_INDICATOR_FIRST + 2);
    ASSERT_EQ(::GetDlgItem(page, IDC_INDICATOR_FIRST + 2), ::GetFocus());
    fake_vuzoz::DeliverButtons(B88, 0, 0x04);
    EXPECT_FALSE(ui::IsEnabled(page, IDC_INDICATOR_FIRST + 2));
    ExpectUsableFocus();
    EXPECT_TRUE(::IsChild(main->m_hWnd, ::GetFocus()));
    HWND before = ::GetFocus();
    Key(VK_TAB);
    EXPECT_NE(before, ::GetFocus());
}

// ---- the question about unsaved changes ----------------------------------------------------

class MainDialogUnsavedHardware : public KeyboardTest {};

TEST_F(MainDialogUnsavedHardware, ArrowKeySwitchAsksCancelKeepsYesSaves) {
    StartInFront({B88, B88});
    NudgeBrightnessByKeyboard(B88);
    FocusControl(IDC_DEVICE_LIST);
    CConfigDialog* page = main->ConfigPage();
    ui::MessageBoxAnswerer answerer({IDCANCEL, IDYES});

    Key(VK_DOWN);
    ASSERT_EQ(1u, answerer.Texts().size());
    EXPECT_EQ(static_cast<UINT>(MB_YESNOCANCEL), answerer.Buttons()[0]);
    EXPECT_EQ(L"Configuration not saved.\nSave ?", answerer.Texts()[0]);
    EXPECT_EQ(0, main->CurrentDevice());
    EXPECT_EQ(page, main->ConfigPage());
    EXPECT_EQ(0, SelectedDevice());
    EXPECT_EQ(101, ui::BrightnessSlider(*main).GetPos());
    EXPECT_TRUE(Applicable());
    EXPECT_FALSE(test_settings::SectionExists(L"Hardware"));

    Key(VK_DOWN);
    EXPECT_EQ(2u, answerer.Texts().size());
    EXPECT_EQ(1, main->CurrentDevice());
    EXPECT_EQ(1, SelectedDevice());
    DWORD stored = 0;
    ASSERT_TRUE(test_settings::ReadDword(L"Hardware\\FAKE-1-0", L"Brightness", &stored));
    EXPECT_EQ(101u, stored);
    // The new page shows what is stored for its device: nothing unsaved.
    EXPECT_FALSE(Applicable());
}

TEST_F(MainDialogUnsavedHardware, NoLetsTheBlinkChangeGo) {
    StartInFront({B88, B88});
    FocusControl(IDC_SLOW_ON);
    ::SendDlgItemMessageW(main->m_hWnd, IDC_SLOW_ON, EM_SETSEL, 0, -1);
    ui::TypeDigits(main->m_hWnd, "7");
    ui::MessageBoxAnswerer answerer({IDNO});
    ui::ActivateDeviceItem(*main, 1);
    EXPECT_EQ(1u, answerer.Texts().size());
    EXPECT_EQ(1, main->CurrentDevice());
    EXPECT_FALSE(test_settings::SectionExists(L"Hardware"));
    EXPECT_EQ(L"25", ui::Text(main->m_hWnd, IDC_SLOW_ON));
}

TEST_F(MainDialogUnsavedHardware, EscapeOkAndCloseAskAndCancelKeepsTheWindow) {
    StartInFront({B88});
    NudgeBrightnessByKeyboard(B88);
    ui::MessageBoxAnswerer answerer({IDCANCEL, IDCANCEL, IDCANCEL, IDYES});
    Key(VK_ESCAPE);
    ASSERT_FALSE(Ended());
    FocusControl(IDOK);
    Key(VK_SPACE);
    ASSERT_FALSE(Ended());
    Close();
    ASSERT_FALSE(Ended());
    EXPECT_EQ(3u, answerer.Texts().size());
    EXPECT_TRUE(Applicable());
    EXPECT_EQ(-1, call_log::IndexOf("BGTerminate"));

    FocusControl(IDC_BRIGHTNESS_SLIDER);
    Key(VK_RETURN);
    EXPECT_EQ(4u, answerer.Texts().size());
    EXPECT_TRUE(Ended());
    DWORD stored = 0;
    ASSERT_TRUE(test_settings::ReadDword(L"Hardware\\FAKE-1-0", L"Brightness", &stored));
    EXPECT_EQ(101u, stored);
}

}  // namespace
