// Undo and redo on the page on show: Ctrl+Z takes back picks and rows set to nothing, Ctrl+Y
// and Ctrl+Shift+Z make them again, until Apply or a switch of panel. Apply is enabled
// exactly while what the page shows differs from what is stored. Driven with real keys and
// clicks; the history itself is checked on its own first.
#include "config_page_harness.h"

#include "config/edit_history.h"
#include "config/vocabulary_tables.h"
#include "resource.h"
#include "test_settings.h"

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

// A change of a control outside the page, recorded by its owner in the page's history,
// goes back to that owner; the commands do what the keys do.
TEST_P(UndoTest, ChangesOfOtherControlsGoBackToTheirOwner) {
    Start({GetParam()});
    std::vector<std::pair<int, int>> set;
    Panel().SetOtherChangeTarget([&set](int target, int value) { set.emplace_back(target, value); });
    FocusList(kLed0);
    Press(VK_DOWN);
    Panel().History().Record(IDC_BRIGHTNESS_SLIDER, 128, 200);

    Undo();
    EXPECT_EQ((std::vector<std::pair<int, int>>{{IDC_BRIGHTNESS_SLIDER, 128}}), set);
    EXPECT_EQ(std::wstring(g_LedTable[0].label), Shown(kLed0));
    ::SendMessageW(PageWindow(), WM_COMMAND, ID_PAGE_UNDO, 0);
    EXPECT_EQ(L"(none)", Shown(kLed0));
    ::SendMessageW(PageWindow(), WM_COMMAND, ID_PAGE_REDO, 0);
    ::SendMessageW(PageWindow(), WM_COMMAND, ID_PAGE_REDO, 0);
    EXPECT_EQ(std::wstring(g_LedTable[0].label), Shown(kLed0));
    EXPECT_EQ(std::make_pair(static_cast<int>(IDC_BRIGHTNESS_SLIDER), 200), set.back());
    EXPECT_TRUE(ApplyEnabled());

    // Revert: the page as stored, nothing left to undo.
    Panel().RevertToStored();
    EXPECT_EQ(L"(none)", Shown(kLed0));
    EXPECT_FALSE(Panel().DiffersFromStored());
    EXPECT_FALSE(Panel().History().CanUndo());
}

INSTANTIATE_TEST_SUITE_P(ConfigPage, UndoTest, ::testing::Values(BG_HW_PUSHBUTTON_8X8, BG_HW_TOGGLE_8X8, BG_HW_RADIO),
                         [](const ::testing::TestParamInfo<tagBGDevHWType>& info) {
                             return std::string(config_test::PanelName(info.param));
                         });

}  // namespace
