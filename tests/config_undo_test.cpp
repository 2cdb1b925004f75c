// Undo and redo on the page on show: Ctrl+Z takes back picks and rows set to nothing, Ctrl+Y
// and Ctrl+Shift+Z make them again, until Apply or a switch of panel. Apply is enabled
// exactly while what the page shows differs from what is stored. Driven with real keys and
// clicks; the history itself is checked on its own first.
#include "config_page_harness.h"

#include "config/edit_history.h"
#include "mainwnd/device_context_menu.h"
#include "menu_keys.h"
#include "config/vocabulary_tables.h"
#include "resource.h"
#include "test_settings.h"

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using config_test::DescribeValue;
using config_test::LedRow;

// ---- the history ---------------------------------------------------------------------------

std::vector<int> UndoAll(CEditHistory& history) {
    std::vector<int> values;
    CEditHistory::Change change = {};
    while (history.Undo(&change)) {
        values.push_back(change.target);
        values.push_back(change.before);
    }
    return values;
}

TEST(ConfigPageEditHistory, UndoesLastFirstAndRedoesInOrder) {
    CEditHistory history;
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    history.Record(1011, -2, 5);
    history.Record(1020, -2, 7);
    history.Record(1011, 5, 9);
    CEditHistory::Change change = {};
    ASSERT_TRUE(history.Undo(&change));
    EXPECT_EQ(1011, change.target);
    EXPECT_EQ(5, change.before);
    EXPECT_EQ(9, change.after);
    ASSERT_TRUE(history.Undo(&change));
    EXPECT_EQ(1020, change.target);
    EXPECT_TRUE(history.CanRedo());
    ASSERT_TRUE(history.Redo(&change));
    EXPECT_EQ(1020, change.target);
    EXPECT_EQ(7, change.after);
    ASSERT_TRUE(history.Redo(&change));
    EXPECT_EQ(9, change.after);
    EXPECT_FALSE(history.Redo(&change));
    EXPECT_EQ((std::vector<int>{1011, 5, 1020, -2, 1011, -2}), UndoAll(history));
    EXPECT_FALSE(history.Undo(&change));
}

TEST(ConfigPageEditHistory, ANewChangeDropsWhatCouldBeRedoneAndNoChangeIsNotRecorded) {
    CEditHistory history;
    history.Record(1011, 0, 1);
    history.Record(1012, 0, 2);
    CEditHistory::Change change = {};
    ASSERT_TRUE(history.Undo(&change));
    history.Record(1013, 3, 3);  // no change: the redo stays
    EXPECT_TRUE(history.CanRedo());
    history.Record(1013, 0, 3);
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ((std::vector<int>{1013, 0, 1011, 0}), UndoAll(history));
    history.Record(1014, 0, 4);
    history.Clear();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
}

// The steps of one slider drag make one change; back where it began, it is none.
TEST(ConfigPageEditHistory, MergedStepsOfOneTargetAreOneChange) {
    CEditHistory history;
    history.Record(1011, 0, 1);
    history.Record(1041, 128, 130, true);
    history.Record(1041, 130, 140, true);
    history.Record(1041, 140, 150, true);
    EXPECT_EQ((std::vector<int>{1041, 128, 1011, 0}), UndoAll(history));

    CEditHistory back;
    back.Record(1041, 128, 140, true);
    back.Record(1041, 140, 128, true);
    EXPECT_FALSE(back.CanUndo());
    // Merging never reaches into a change that was undone.
    back.Record(1043, 12, 13, true);
    CEditHistory::Change change = {};
    ASSERT_TRUE(back.Undo(&change));
    back.Record(1043, 12, 20, true);
    EXPECT_EQ((std::vector<int>{1043, 12}), UndoAll(back));
}

TEST(ConfigPageEditHistory, KeepsTheLatestChangesOnly) {
    CEditHistory history;
    for (int n = 0; n < static_cast<int>(CEditHistory::kMaxChanges) + 5; ++n)
        history.Record(1011, n, n + 1);
    const std::vector<int> undone = UndoAll(history);
    ASSERT_EQ(2 * CEditHistory::kMaxChanges, undone.size());
    EXPECT_EQ(static_cast<int>(CEditHistory::kMaxChanges) + 4, undone[1]);
    EXPECT_EQ(5, undone.back());
}

// ---- on the page -----------------------------------------------------------------------------

class UndoTest : public config_test::ConfigPageFixture, public ::testing::WithParamInterface<tagBGDevHWType> {
protected:
    bool Pushbutton() const { return GetParam() == BG_HW_PUSHBUTTON_8X8; }
    std::wstring Section() const { return config_test::ConfigSection(GetParam(), 0); }
    std::wstring UpperLabel(int row) const {
        return Pushbutton() ? g_EventTable[row].label : g_ToggleTable[row].label;
    }
    void Undo() { Press('Z', false, true); }
    void Redo() { Press('Y', false, true); }
    void RedoWithShift() { Press('Z', true, true); }
    std::wstring Shown(int id) { return ui::Text(PageWindow(), id); }
    // Stores row 3 of the upper table for input 1 and the autopilot row for LED 0.
    void StoreTwoRows() {
        test_settings::WriteDword(Section(), (Pushbutton() ? L"Button1" : L"OnButton1"),
                                  Pushbutton() ? g_EventTable[3].event : g_ToggleTable[3].onEvent);
        test_settings::WriteDword(Section(), L"LED0", 0x67);
    }
};

const int kList1 = IDC_BUTTON_LIST_FIRST + 1;
const int kLed0 = IDC_LED_LIST_FIRST + 0;

TEST_P(UndoTest, UndoAndRedoStepThroughTheChangesAndApplyFollowsTheStoredState) {
    fake_vuzoz::Reset({GetParam()});
    StoreTwoRows();
    StartPrepared();
    ASSERT_EQ(UpperLabel(3), Shown(kList1));
    ASSERT_EQ(L"AUTOPILOT ACTIVE", Shown(kLed0));
    ASSERT_FALSE(ApplyEnabled());

    FocusList(kList1);
    Press(VK_DOWN);  // row 4
    EXPECT_EQ(UpperLabel(4), Shown(kList1));
    EXPECT_TRUE(ApplyEnabled());
    FocusList(kLed0);
    Press(VK_DELETE);
    EXPECT_EQ(L"(none)", Shown(kLed0));
    EXPECT_TRUE(ApplyEnabled());

    Undo();  // the LED's row comes back; the pick above is still unsaved
    EXPECT_EQ(L"AUTOPILOT ACTIVE", Shown(kLed0));
    EXPECT_EQ(UpperLabel(4), Shown(kList1));
    EXPECT_TRUE(ApplyEnabled());
    Undo();  // and the pick: the page is as stored
    EXPECT_EQ(UpperLabel(3), Shown(kList1));
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_FALSE(Panel().m_bChanged);
    Undo();  // nothing more to take back
    EXPECT_EQ(UpperLabel(3), Shown(kList1));
    EXPECT_EQ(L"AUTOPILOT ACTIVE", Shown(kLed0));

    Redo();
    EXPECT_EQ(UpperLabel(4), Shown(kList1));
    EXPECT_TRUE(ApplyEnabled());
    RedoWithShift();
    EXPECT_EQ(L"(none)", Shown(kLed0));
    Redo();  // nothing more to make again
    EXPECT_EQ(L"(none)", Shown(kLed0));

    ui::ClickControl(main->m_hWnd, IDC_APPLY);
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_EQ(L"dword 0", DescribeValue(Section(), L"LED0"));
    EXPECT_EQ(UpperLabel(4), Shown(kList1));
}

TEST_P(UndoTest, PickingTheStoredRowAgainByHandLeavesNothingToApply) {
    fake_vuzoz::Reset({GetParam()});
    StoreTwoRows();
    StartPrepared();
    FocusList(kList1);
    Press(VK_DOWN);
    ASSERT_TRUE(ApplyEnabled());
    Press(VK_UP);
    EXPECT_EQ(UpperLabel(3), Shown(kList1));
    EXPECT_FALSE(ApplyEnabled());

    FocusList(kLed0);  // with the mouse: another row, then the stored one again
    ClickListItem(kLed0, 1 + LedRow(L"BRAKE_IND"));
    ASSERT_TRUE(ApplyEnabled());
    ClickListItem(kLed0, 1 + LedRow(L"AUTOPILOT ACTIVE"));
    EXPECT_EQ(L"AUTOPILOT ACTIVE", Shown(kLed0));
    EXPECT_FALSE(ApplyEnabled());
}

// An open list left with Escape picked nothing: nothing to apply, and nothing to ask about.
TEST_P(UndoTest, EscapeOnAnOpenListEnablesNothingAndAsksNothing) {
    Start({GetParam(), GetParam()});
    FocusList(kLed0);
    Press(VK_F4);
    Press(VK_DOWN);
    Press(VK_DOWN);
    Press(VK_ESCAPE);
    EXPECT_EQ(L"(none)", Shown(kLed0));
    EXPECT_FALSE(ApplyEnabled());
    FocusList(kList1);  // opened and closed with the mouse, on the row it held
    ClickListItem(kList1, 0);
    EXPECT_FALSE(ApplyEnabled());

    ui::MessageBoxAnswerer answerer({IDCANCEL});
    ui::ActivateDeviceItem(*main, 1);
    EXPECT_TRUE(answerer.Texts().empty());
    EXPECT_EQ(1, main->CurrentDevice());
}

TEST_P(UndoTest, ApplyAndASwitchOfPanelEachEndTheHistory) {
    Start({GetParam(), GetParam()});
    FocusList(kList1);
    Press(VK_DOWN);
    ui::ClickControl(main->m_hWnd, IDC_APPLY);
    ASSERT_FALSE(ApplyEnabled());
    FocusList(kList1);
    Undo();
    EXPECT_EQ(UpperLabel(0), Shown(kList1));
    EXPECT_FALSE(ApplyEnabled());

    Press(VK_DOWN);  // unsaved, then dropped at the switch
    ui::MessageBoxAnswerer answerer({IDNO});
    ui::ActivateDeviceItem(*main, 1);
    ASSERT_EQ(1u, answerer.Texts().size());
    ui::ActivateDeviceItem(*main, 0);
    FocusList(kList1);
    EXPECT_EQ(UpperLabel(0), Shown(kList1));
    Undo();
    Redo();
    EXPECT_EQ(UpperLabel(0), Shown(kList1));
    EXPECT_FALSE(ApplyEnabled());
}

// The brightness and the blink periods are changes of the page like its picks: Ctrl+Z and
// Ctrl+Y on their controls, on the device list or on the page's lists take them back and
// make them again in turn, on the screen and on the panel, and Apply follows; "Revert
// unsaved changes" in the device list's menu takes back everything at once.
TEST_P(UndoTest, BrightnessAndBlinkPeriodsGoInTheHistoryWithThePicks) {
    Start({GetParam()});
    const HWND window = main->m_hWnd;
    const HWND slider = ::GetDlgItem(window, IDC_BRIGHTNESS_SLIDER);
    const auto brightness = [slider] { return static_cast<int>(::SendMessageW(slider, TBM_GETPOS, 0, 0)); };
    const auto lastSent = [](const char* call) {
        const std::vector<std::string> calls = fake_vuzoz::CallsStartingWith(call);
        return calls.empty() ? std::string() : calls.back();
    };
    // The panel reports the brightness it was given: the slider follows it from then on.
    ASSERT_EQ(1, fake_vuzoz::DeliverBrightness(GetParam(), 0, 127));
    ui::PumpMessages();
    ASSERT_TRUE(ui::IsEnabled(window, IDC_BRIGHTNESS_SLIDER));
    const int storedLevel = brightness();
    ASSERT_EQ(L"12", ui::Text(window, IDC_FAST_ON));
    const std::string storedPeriods = "BG_SetBlinkPeriod 0 25 12 25 12";  // slow on, fast on, slow off, fast off
    ASSERT_EQ(storedPeriods, lastSent("BG_SetBlinkPeriod"));

    FocusList(kLed0);
    Press(VK_DOWN);
    ASSERT_EQ(std::wstring(g_LedTable[0].label), Shown(kLed0));
    ::SetFocus(slider);
    Press(VK_RIGHT);  // three steps of the slider: one change
    Press(VK_RIGHT);
    Press(VK_RIGHT);
    ASSERT_EQ(storedLevel + 3, brightness());
    ::SetFocus(::GetDlgItem(window, IDC_FAST_ON));
    Press(VK_END);
    Press(VK_BACK);
    Press(VK_BACK);
    Press('7');  // the digits typed into one field: one change
    ASSERT_EQ(L"7", ui::Text(window, IDC_FAST_ON));
    ASSERT_EQ("BG_SetBlinkPeriod 0 25 7 25 12", lastSent("BG_SetBlinkPeriod"));

    Undo();  // in the blink field: the period
    EXPECT_EQ(L"12", ui::Text(window, IDC_FAST_ON));
    EXPECT_EQ(storedPeriods, lastSent("BG_SetBlinkPeriod"));
    EXPECT_EQ(storedLevel + 3, brightness());
    ::SetFocus(slider);
    Undo();  // on the slider: the brightness
    EXPECT_EQ(storedLevel, brightness());
    EXPECT_EQ("BG_SetBrightness 0 " + std::to_string(storedLevel), lastSent("BG_SetBrightness"));
    EXPECT_EQ(std::to_wstring(storedLevel), ui::Text(window, IDC_BRIGHTNESS_VALUE));
    EXPECT_TRUE(ApplyEnabled()) << "the LED's pick is left";
    ::SetFocus(main->DeviceList().m_hWnd);
    Undo();  // in the device list: the pick
    EXPECT_EQ(L"(none)", Shown(kLed0));
    EXPECT_FALSE(ApplyEnabled());

    Redo();
    Redo();
    EXPECT_EQ(storedLevel + 3, brightness());
    EXPECT_EQ("BG_SetBrightness 0 " + std::to_string(storedLevel + 3), lastSent("BG_SetBrightness"));
    FocusList(kList1);
    Redo();
    EXPECT_EQ(L"7", ui::Text(window, IDC_FAST_ON));
    EXPECT_EQ("BG_SetBlinkPeriod 0 25 7 25 12", lastSent("BG_SetBlinkPeriod"));
    EXPECT_EQ(std::wstring(g_LedTable[0].label), Shown(kLed0));
    EXPECT_TRUE(ApplyEnabled());

    ::SetFocus(main->DeviceList().m_hWnd);  // the first item of the menu
    ASSERT_TRUE(menu_keys::ChooseInMenu(real_input::KeyStroke(VK_F10, /*shift*/ true), {VK_DOWN, VK_RETURN}));
    EXPECT_EQ(L"(none)", Shown(kLed0));
    EXPECT_EQ(storedLevel, brightness());
    EXPECT_EQ(L"12", ui::Text(window, IDC_FAST_ON));
    EXPECT_EQ(storedPeriods, lastSent("BG_SetBlinkPeriod"));
    EXPECT_FALSE(ApplyEnabled());
    Undo();  // the history went with the revert
    EXPECT_EQ(L"(none)", Shown(kLed0));
    EXPECT_EQ(L"12", ui::Text(window, IDC_FAST_ON));
    EXPECT_EQ(L"absent", DescribeValue(Section(), L"LED0")) << "nothing was stored";
}

// A brightness moved away and back by hand, or a period typed anew as it was, leaves nothing
// to apply; "Revert unsaved changes" is greyed then.
TEST_P(UndoTest, HardwareChangedBackByHandLeavesNothingToApply) {
    Start({GetParam()});
    const HWND window = main->m_hWnd;
    const HWND slider = ::GetDlgItem(window, IDC_BRIGHTNESS_SLIDER);
    ASSERT_EQ(1, fake_vuzoz::DeliverBrightness(GetParam(), 0, 127));
    FocusList(kList1);  // the window to the front
    ::SetFocus(slider);
    Press(VK_LEFT);
    ASSERT_TRUE(ApplyEnabled());
    Press(VK_RIGHT);
    EXPECT_FALSE(ApplyEnabled());
    ::SetFocus(::GetDlgItem(window, IDC_SLOW_OFF));
    Press(VK_END);
    Press(VK_BACK);
    ASSERT_TRUE(ApplyEnabled());
    Press('5');
    EXPECT_EQ(L"25", ui::Text(window, IDC_SLOW_OFF));
    EXPECT_FALSE(ApplyEnabled());

    device_menu::CDeviceContextMenu menu(*main, 0);
    const HMENU built = menu.Build();
    ASSERT_NE(nullptr, built);
    EXPECT_EQ(ID_REVERT_CHANGES, static_cast<int>(::GetMenuItemID(built, 0)));
    EXPECT_NE(0u, ::GetMenuState(built, 0, MF_BYPOSITION) & MF_GRAYED);
    ::DestroyMenu(built);
}

INSTANTIATE_TEST_SUITE_P(ConfigPage, UndoTest, ::testing::Values(BG_HW_PUSHBUTTON_8X8, BG_HW_TOGGLE_8X8, BG_HW_RADIO),
                         [](const ::testing::TestParamInfo<tagBGDevHWType>& info) {
                             return std::string(config_test::PanelName(info.param));
                         });

}  // namespace
