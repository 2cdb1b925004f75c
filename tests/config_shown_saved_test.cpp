// What a list of a configuration page shows is what Apply stores and what the page shows
// again when it is loaded anew, whatever way the user changed it: keys on the closed and on
// the open list, the mouse wheel, typing, the mouse. Driven with real input (SendInput),
// handled as the modal loop of the main window handles it, on all three page types.
#include "config_page_harness.h"

#include "config/table_statistics.h"
#include "config/list_search.h"
#include "config/vocabulary_tables.h"
#include "real_input.h"
#include "resource.h"
#include "test_settings.h"

#include <commctrl.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

namespace {

using config_test::DescribeValue;

std::wstring Dword(DWORD value) {
    wchar_t hex[16] = L"";
    std::swprintf(hex, 16, L"%#lx", static_cast<unsigned long>(value));
    return L"dword " + std::wstring(hex);
}

class ShownSavedTest : public config_test::ConfigPageFixture, public ::testing::WithParamInterface<tagBGDevHWType> {
protected:
    bool Pushbutton() const { return GetParam() == BG_HW_PUSHBUTTON_8X8; }
    int UpperRowCount() const { return Pushbutton() ? g_nEventCount : g_nToggleCount; }
    std::wstring UpperLabel(int row) const {
        return Pushbutton() ? g_EventTable[row].label : g_ToggleTable[row].label;
    }
    int UpperRowOf(const std::wstring& label) const {
        for (int row = 0; row < UpperRowCount(); ++row) {
            if (UpperLabel(row) == label)
                return row;
        }
        return -1;
    }
    int LedRowOf(const std::wstring& label) const {
        for (int row = 0; row < g_nLedCount; ++row) {
            if (label == g_LedTable[row].label)
                return row;
        }
        return -1;
    }
    // Lets the input arrive and be handled as the main window's modal loop handles it.
    void Pump() {
        for (int round = 0; round < 20; ++round) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (!::IsDialogMessageW(main->m_hWnd, &msg)) {
                    ::TranslateMessage(&msg);
                    ::DispatchMessageW(&msg);
                }
            }
            ::Sleep(5);
        }
    }
    void Send(std::vector<INPUT> inputs) {
        ASSERT_TRUE(real_input::Send(inputs));
        Pump();
    }
    void Key(WORD vk) { Send(real_input::KeyStroke(vk)); }
    void Type(const wchar_t* text) {
        for (const wchar_t* c = text; *c != L'\0'; ++c)
            Send(real_input::CharacterStroke(*c));
    }
    void MoveMouseTo(POINT screen) { Send({real_input::MouseAt(screen)}); }
    void ClickAt(POINT screen) { Send(real_input::ClickAt(screen)); }
    void Wheel(HWND over, int notches) {
        MoveMouseTo(real_input::CentreOf(over));
        for (int n = 0; n < notches; ++n)
            Send({real_input::WheelTurn(-1)});
    }
    HWND List(int id) { return ::GetDlgItem(PageWindow(), id); }
    void FocusList(int id) {
        // A list that opens under the pointer highlights the row there: keep the pointer away.
        MoveMouseTo(POINT{::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1});
        ::SetForegroundWindow(main->m_hWnd);
        ui::Focus(PageWindow(), id);
        ASSERT_TRUE(::GetFocus() == List(id) || ::GetParent(::GetFocus()) == List(id)) << "list " << id;
    }
    // Opens list id with a click on it and clicks the item offset rows below the first
    // one the open list shows; returns that item.
    int ClickItem(int id, int offset) {
        const HWND list = List(id);
        RECT rect = {};
        ::GetWindowRect(list, &rect);
        ClickAt(POINT{rect.right - 5, (rect.top + rect.bottom) / 2});
        EXPECT_TRUE(::SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0)) << "list " << id;
        COMBOBOXINFO info = {};
        info.cbSize = sizeof(info);
        ::GetComboBoxInfo(list, &info);
        const int item = static_cast<int>(::SendMessageW(info.hwndList, LB_GETTOPINDEX, 0, 0)) + offset;
        RECT itemRect = {};
        ::SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&itemRect));
        POINT centre = {(itemRect.left + itemRect.right) / 2, (itemRect.top + itemRect.bottom) / 2};
        ::ClientToScreen(info.hwndList, &centre);
        ClickAt(centre);
        EXPECT_FALSE(::SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0)) << "list " << id;
        return item;
    }

    std::vector<std::wstring> ShownLabels() {
        std::vector<std::wstring> labels;
        for (int k = 0; k < 8; ++k)
            labels.push_back(ui::Text(PageWindow(), IDC_BUTTON_LIST_FIRST + k));
        for (int k = 0; k < 8; ++k)
            labels.push_back(ui::Text(PageWindow(), IDC_LED_LIST_FIRST + k));
        return labels;
    }
    // A list showing "(none)" stores 0 for every number of its row and "" for its text.
    void ExpectStoredAsShown(const std::vector<std::wstring>& shown) {
        const std::wstring section = config_test::ConfigSection(GetParam(), 0);
        for (int k = 0; k < 8; ++k) {
            const std::wstring index = std::to_wstring(k);
            const bool none = shown[static_cast<size_t>(k)] == L"(none)";
            const int row = UpperRowOf(shown[static_cast<size_t>(k)]);
            ASSERT_TRUE(none || row >= 0) << "button " << k << " shows no row";
            if (Pushbutton()) {
                EXPECT_EQ(Dword(none ? 0 : g_EventTable[row].event), DescribeValue(section, L"Button" + index)) << k;
            } else {
                const ToggleEntry entry = none ? ToggleEntry{L"", 0, 0, 0} : g_ToggleTable[row];
                EXPECT_EQ(Dword(entry.onEvent), DescribeValue(section, L"OnButton" + index)) << k;
                EXPECT_EQ(Dword(entry.offEvent), DescribeValue(section, L"OffButton" + index)) << k;
                EXPECT_EQ(Dword(entry.stateVar), DescribeValue(section, L"ButtonVar" + index)) << k;
            }
            const bool noLed = shown[static_cast<size_t>(8 + k)] == L"(none)";
            const int led = LedRowOf(shown[static_cast<size_t>(8 + k)]);
            ASSERT_TRUE(noLed || led >= 0) << "LED " << k << " shows no row";
            const LedEntry entry = noLed ? LedEntry{L"", 0, 0, L""} : g_LedTable[led];
            EXPECT_EQ(Dword(entry.variable), DescribeValue(section, L"LED" + index)) << k;
            EXPECT_EQ(Dword(static_cast<DWORD>(entry.comparison)), DescribeValue(section, L"LEDcomp" + index)) << k;
            EXPECT_EQ(L"sz " + std::wstring(entry.value), DescribeValue(section, L"LEDval" + index)) << k;
        }
    }
};

// Item 0 of every list is "(none)": the first row of a table is one key down from it. The
// upper lists 0 to 3 are those every panel type has (the radio panel has four buttons), so
// the ways are tried in two rounds on them.
TEST_P(ShownSavedTest, EveryWayOfChangingAListIsStoredAsShownAndReloadedAsShown) {
    Start({GetParam(), GetParam()});
    const int button = IDC_BUTTON_LIST_FIRST;
    const int led = IDC_LED_LIST_FIRST;

    FocusList(button + 0);  // arrow keys on the closed list
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(1, Panel().m_nButtonRow[0]);
    EXPECT_TRUE(ApplyEnabled());

    FocusList(button + 1);  // the open list: F4, arrows, Enter
    Key(VK_F4);
    EXPECT_TRUE(::SendMessageW(List(button + 1), CB_GETDROPPEDSTATE, 0, 0));
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(CConfigPanel::kNoRow, Panel().m_nButtonRow[1]) << "the highlight of an open list is no pick yet";
    Key(VK_RETURN);
    EXPECT_FALSE(::SendMessageW(List(button + 1), CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(2, Panel().m_nButtonRow[1]);

    FocusList(button + 2);  // the wheel
    Wheel(List(button + 2), 2);
    EXPECT_EQ(1, Panel().m_nButtonRow[2]);

    FocusList(button + 3);  // typing part of a label
    Type(L"gear");
    EXPECT_EQ(UpperRowOf(L"Landing Gear"), Panel().m_nButtonRow[3]);

    FocusList(led + 0);
    Type(L"nose");
    EXPECT_EQ(LedRowOf(L"GEAR_NOSE_UP"), Panel().m_nLEDRow[0]);
    EXPECT_EQ(L"GEAR_NOSE_UP", ui::Text(PageWindow(), led + 0));

    FocusList(led + 1);  // End selects the last row; in an editable list it moves the caret
    Key(Pushbutton() ? VK_END : VK_DOWN);
    EXPECT_EQ(Pushbutton() ? g_nLedCount - 1 : 0, Panel().m_nLEDRow[1]);

    FocusList(led + 2);
    Wheel(List(led + 2), 3);
    EXPECT_EQ(2, Panel().m_nLEDRow[2]);

    FocusList(led + 3);  // searching in the open list, Enter picks
    Key(VK_F4);
    Type(L"brake");
    EXPECT_EQ(CConfigPanel::kNoRow, Panel().m_nLEDRow[3]);
    Key(VK_RETURN);
    EXPECT_EQ(LedRowOf(L"BRAKE_IND"), Panel().m_nLEDRow[3]);

    FocusList(led + 4);
    EXPECT_EQ(ClickItem(led + 4, 7) - 1, Panel().m_nLEDRow[4]);
    FocusList(button + 0);  // the last focus change shows every list's row again

    std::vector<std::wstring> shown = ShownLabels();
    EXPECT_EQ(L"(none)", shown[8 + 5]) << "a list never touched shows (none)";
    Apply();
    ExpectStoredAsShown(shown);
    ui::ActivateDeviceItem(*main, 1);
    ui::ActivateDeviceItem(*main, 0);
    ASSERT_EQ(0, Panel().m_nDevice);
    EXPECT_EQ(shown, ShownLabels());

    FocusList(button + 0);  // the mouse
    const int clicked = ClickItem(button + 0, 5);
    EXPECT_EQ(clicked - 1, Panel().m_nButtonRow[0]);
    EXPECT_GT(clicked, 1);

    FocusList(button + 1);  // Escape gives the row back
    Key(VK_F4);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_ESCAPE);
    EXPECT_EQ(2, Panel().m_nButtonRow[1]);
    EXPECT_EQ(UpperLabel(2), ui::Text(PageWindow(), button + 1));

    FocusList(button + 3);  // F3: the next row with the text
    Type(L"GEAR");
    Key(VK_F3);
    // The toggle table has one row with "gear": F3 comes round to it again.
    EXPECT_EQ(UpperRowOf(Pushbutton() ? L"GEAR PUMP" : L"Landing Gear"), Panel().m_nButtonRow[3]);
    FocusList(led + 0);

    shown = ShownLabels();
    Apply();
    ExpectStoredAsShown(shown);
    ui::ActivateDeviceItem(*main, 1);
    ui::ActivateDeviceItem(*main, 0);
    EXPECT_EQ(shown, ShownLabels());
}

TEST_P(ShownSavedTest, AnOpenListClosedWithAClickElsewhereKeepsItsRow) {
    Start({GetParam()});
    const int id = IDC_LED_LIST_FIRST + 2;
    FocusList(id);
    Key(VK_F4);
    Key(VK_DOWN);
    Key(VK_DOWN);
    RECT group = {};
    ::GetWindowRect(PageWindow(), &group);
    ClickAt(POINT{group.left + 5, group.bottom - 5});
    EXPECT_FALSE(::SendMessageW(List(id), CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(CConfigPanel::kNoRow, Panel().m_nLEDRow[2]);
    EXPECT_EQ(L"(none)", ui::Text(PageWindow(), id));
    EXPECT_FALSE(ApplyEnabled());
}

// Finding a row by a part of its label.
class ListSearchTest : public ShownSavedTest {
protected:
    // The box that shows the search text, when it is shown.
    std::wstring TipText() {
        const HWND box = ::GetDlgItem(PageWindow(), list_search::kTextWindowId);
        if (box == nullptr || !::IsWindowVisible(box))
            return L"<no tip>";
        return ui::Text(PageWindow(), list_search::kTextWindowId);
    }
};

TEST_P(ListSearchTest, TypedTextIsShownAndLettersWithinASecondExtendIt) {
    Start({GetParam()});
    const int id = IDC_LED_LIST_FIRST + 1;
    FocusList(id);
    Type(L"GeAr_n");
    EXPECT_EQ(L"GeAr_n", TipText());
    EXPECT_EQ(LedRowOf(L"GEAR_NOSE_UP"), Panel().m_nLEDRow[1]) << "the later letters narrowed the search";
    // Backspace takes a letter back and searches again.
    Key(VK_BACK);
    EXPECT_EQ(L"GeAr_", TipText());
    EXPECT_EQ(LedRowOf(L"GEAR_HANDLE_POS"), Panel().m_nLEDRow[1]);

    // Text that no label contains picks nothing: the row found so far stays.
    Type(L"~");
    EXPECT_EQ(L"GeAr_~", TipText());
    EXPECT_EQ(LedRowOf(L"GEAR_HANDLE_POS"), Panel().m_nLEDRow[1]);

    // After a pause the next letter starts a new text.
    ::Sleep(CListSearch::kKeystrokeGapMs + 200);
    Type(L"brake");
    EXPECT_EQ(L"brake", TipText());
    EXPECT_EQ(LedRowOf(L"BRAKE_IND"), Panel().m_nLEDRow[1]);

    FocusList(id + 1);
    EXPECT_EQ(L"<no tip>", TipText());
    EXPECT_EQ(L"BRAKE_IND", ui::Text(PageWindow(), id));
}

TEST_P(ListSearchTest, InTheOpenListTheHighlightMovesAndEscapeGivesTheRowBack) {
    Start({GetParam()});
    const int id = IDC_LED_LIST_FIRST + 3;
    FocusList(id);
    Key(VK_F4);
    Type(L"nose");
    EXPECT_EQ(LedRowOf(L"GEAR_NOSE_UP"), ShownRow(id));
    Key(VK_F3);
    EXPECT_EQ(LedRowOf(L"GEAR_NOSE_DOWN"), ShownRow(id));
    EXPECT_EQ(CConfigPanel::kNoRow, Panel().m_nLEDRow[3]);
    EXPECT_FALSE(Panel().m_bChanged);

    Key(VK_ESCAPE);
    EXPECT_FALSE(::SendMessageW(List(id), CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(CConfigPanel::kNoRow, Panel().m_nLEDRow[3]);
    EXPECT_EQ(CConfigPanel::kNoRow, ShownRow(id));
    EXPECT_EQ(L"(none)", ui::Text(PageWindow(), id));
    EXPECT_FALSE(ApplyEnabled());
}

TEST_P(ListSearchTest, F3InAClosedListPicksTheNextRowAndComesRound) {
    Start({GetParam()});
    const int id = IDC_LED_LIST_FIRST + 0;
    FocusList(id);
    Type(L"gear_left");
    const int first = LedRowOf(L"GEAR_LEFT_UP");
    const int second = LedRowOf(L"GEAR_LEFT_DOWN");
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    EXPECT_EQ(first, Panel().m_nLEDRow[0]);
    Key(VK_F3);
    EXPECT_EQ(second, Panel().m_nLEDRow[0]);
    Key(VK_F3);
    EXPECT_EQ(first, Panel().m_nLEDRow[0]);
    EXPECT_TRUE(ApplyEnabled());
}

// "light" begins a word in "All Lights" and "BEACON_LIGHTS" but not in "Flight Director":
// every label of the first kind comes first, in table order, then the others; F3 goes on in
// that order and comes round.
TEST_P(ListSearchTest, AMatchAtTheStartOfAWordComesBeforeOneInsideAWord) {
    Start({GetParam()});
    const int id = IDC_BUTTON_LIST_FIRST + 1;
    FocusList(id);
    Type(L"light");
    EXPECT_EQ(Pushbutton() ? L"All Lights" : L"Panel Lights", UpperLabel(Panel().m_nButtonRow[1]));
    std::vector<std::wstring> visited = {ui::Text(PageWindow(), id)};
    // Every label with the text is visited once before F3 comes round; in table order but
    // for one step back, where the labels with the text inside a word begin.
    std::vector<std::wstring> containing;
    for (int row = 0; row < UpperRowCount(); ++row) {
        std::wstring label = UpperLabel(row);
        for (wchar_t& c : label)
            c = static_cast<wchar_t>(std::towlower(c));
        if (label.find(L"light") != std::wstring::npos)
            containing.push_back(UpperLabel(row));
    }
    for (size_t n = 1; n <= containing.size(); ++n) {
        Key(VK_F3);
        visited.push_back(ui::Text(PageWindow(), id));
    }
    ASSERT_EQ(containing.size() + 1, visited.size());
    EXPECT_EQ(visited.front(), visited.back()) << "F3 comes round";
    std::vector<std::wstring> once(visited.begin(), visited.end() - 1);
    std::sort(once.begin(), once.end());
    std::sort(containing.begin(), containing.end());
    EXPECT_EQ(containing, once);
    int stepsBack = 0;
    for (size_t n = 1; n + 1 < visited.size(); ++n)
        stepsBack += UpperRowOf(visited[n]) < UpperRowOf(visited[n - 1]) ? 1 : 0;
    EXPECT_EQ(1, stepsBack);
    const auto director = std::find(visited.begin(), visited.end(), L"Flight Director");
    ASSERT_NE(visited.end(), director);
    for (auto label = director; label != visited.end() - 1; ++label)
        EXPECT_EQ(std::wstring::npos, label->find(L"Lights")) << "after Flight Director: " << *label;

    FocusList(IDC_LED_LIST_FIRST + 1);
    Type(L"light");
    EXPECT_EQ(L"Panel Lights On", ui::Text(PageWindow(), IDC_LED_LIST_FIRST + 1));
}

INSTANTIATE_TEST_SUITE_P(ConfigPage, ListSearchTest,
                         ::testing::Values(BG_HW_PUSHBUTTON_8X8, BG_HW_TOGGLE_8X8, BG_HW_RADIO),
                         [](const ::testing::TestParamInfo<tagBGDevHWType>& info) {
                             return std::string(config_test::PanelName(info.param));
                         });

INSTANTIATE_TEST_SUITE_P(ConfigPage, ShownSavedTest,
                         ::testing::Values(BG_HW_PUSHBUTTON_8X8, BG_HW_TOGGLE_8X8, BG_HW_RADIO),
                         [](const ::testing::TestParamInfo<tagBGDevHWType>& info) {
                             return std::string(config_test::PanelName(info.param));
                         });

}  // namespace
