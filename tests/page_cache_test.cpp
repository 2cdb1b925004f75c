// One page per panel type, pointed at whichever device is shown: what the device library
// hears on a switch to a kept page is what it heard when that page was new, what the page
// shows is what is stored for its new device, parked pages stay out of the way, and the
// window paints before its first page is built.
#include "app/configurator_app.h"
#include "config/table_statistics.h"
#include "call_log.h"
#include "config/config_panel.h"
#include "config/list_search.h"
#include "config/vocabulary_tables.h"
#include "paneltest/panel_test_page.h"
#include "real_input.h"
#include "resource.h"
#include "test_page_support.h"
#include "test_settings.h"
#include "ui_harness.h"

#include <commctrl.h>

#include <cstdlib>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const tagBGDevHWType B88 = BG_HW_PUSHBUTTON_8X8;
const tagBGDevHWType T88 = BG_HW_TOGGLE_8X8;
const tagBGDevHWType RP = BG_HW_RADIO;

// What the close sends: every LED of each 8x8 panel off, in device order, then BGTerminate.
std::vector<std::string> CloseCalls(std::initializer_list<int> panels) {
    std::vector<std::string> calls;
    for (int device : panels) {
        const std::vector<std::string> off = call_log::LedCommands(device, {0, 0, 0, 0, 0, 0, 0, 0});
        calls.insert(calls.end(), off.begin(), off.end());
    }
    calls.push_back("BGTerminate");
    return calls;
}

// The calls with each call's device (its first argument) renamed as devices says.
std::vector<std::string> MapDevices(const std::vector<std::string>& calls, const std::map<int, int>& devices) {
    std::vector<std::string> mapped;
    for (const std::string& call : calls) {
        const size_t space = call.find(' ');
        if (space == std::string::npos) {
            mapped.push_back(call);
            continue;
        }
        const size_t end = call.find(' ', space + 1);
        const std::string argument = call.substr(space + 1, end == std::string::npos ? std::string::npos : end - space - 1);
        const auto found = devices.find(std::atoi(argument.c_str()));
        if (found == devices.end() || argument.empty() || argument.find_first_not_of("0123456789") != std::string::npos) {
            mapped.push_back(call);
            continue;
        }
        mapped.push_back(call.substr(0, space + 1) + std::to_string(found->second) +
                         (end == std::string::npos ? std::string() : call.substr(end)));
    }
    return mapped;
}

std::wstring FakeKey(tagBGDevHWType type, int device) {
    return L"FAKE-" + std::to_wstring(static_cast<int>(type)) + L"-" + std::to_wstring(device);
}
std::wstring ConfigSection(tagBGDevHWType type, int device) { return L"All aircraft\\" + FakeKey(type, device); }
std::wstring HardwareSection(tagBGDevHWType type, int device) { return L"Hardware\\" + FakeKey(type, device); }

class PageCacheFixture : public ui::MainWindowTest {
protected:
    void StartInFront(const std::vector<tagBGDevHWType>& panels, bool testMode) {
        fake_vuzoz::Reset(panels);
        // Every panel has the same stored brightness and blink periods, which the page sends.
        for (size_t device = 0; device < panels.size(); ++device) {
            const std::wstring section = HardwareSection(panels[device], static_cast<int>(device));
            test_settings::WriteDword(section, L"Brightness", 200);
            test_settings::WriteDword(section, L"Fast On", 3);
            test_settings::WriteDword(section, L"Fast Off", 4);
            test_settings::WriteDword(section, L"Slow On", 30);
            test_settings::WriteDword(section, L"Slow Off", 40);
        }
        StartPrepared(testMode);
        ASSERT_TRUE(ui::BringToFront(main->m_hWnd));
        ::SetFocus(main->DeviceList().m_hWnd);
        ui::PumpDialog(main->m_hWnd);
    }
    HWND Shown() const { return Page(); }
    // The user moves the device list's selection one down with the arrow key; the calls
    // that the switch made.
    std::vector<std::string> SwitchDown() {
        fake_vuzoz::ClearCalls();
        const int before = main->CurrentDevice();
        ui::PressKey(main->m_hWnd, VK_DOWN);
        EXPECT_EQ(before + 1, main->CurrentDevice());
        return fake_vuzoz::Calls();
    }
    void ClickDevice(int item) {
        RECT rect = {};
        rect.left = LVIR_ICON;
        ASSERT_TRUE(::SendMessageW(main->DeviceList().m_hWnd, LVM_GETITEMRECT, static_cast<WPARAM>(item),
                                   reinterpret_cast<LPARAM>(&rect)));
        ui::ClickAt(main->m_hWnd, main->DeviceList().m_hWnd,
                    POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    }
};

// ---- what the device library hears ------------------------------------------------------

class PageCacheCalls : public PageCacheFixture, public ::testing::WithParamInterface<bool> {
protected:
    bool TestMode() const { return GetParam(); }
    // Two panels of type after one of another type: the first switch makes the page of the
    // type, the second finds it kept.
    void ExpectKeptPageOfTheSameTypeHearsWhatANewOneHeard(tagBGDevHWType type) {
        const tagBGDevHWType other = type == RP ? B88 : RP;
        StartInFront({other, type, type}, TestMode());
        const HWND first = Shown();
        const std::vector<std::string> toNewPage = SwitchDown();
        const HWND made = Shown();
        EXPECT_NE(first, made);
        const std::vector<std::string> toKeptPage = SwitchDown();
        EXPECT_EQ(made, Shown()) << "the page of the type was made again";
        ASSERT_FALSE(toNewPage.empty());
        EXPECT_EQ(MapDevices(toNewPage, {{0, 1}, {1, 2}}), toKeptPage);
    }
};

TEST_P(PageCacheCalls, ASwitchToAKeptPushbuttonPageSendsWhatANewPageSent) {
    ExpectKeptPageOfTheSameTypeHearsWhatANewOneHeard(B88);
}

TEST_P(PageCacheCalls, ASwitchToAKeptTogglePageSendsWhatANewPageSent) {
    ExpectKeptPageOfTheSameTypeHearsWhatANewOneHeard(T88);
}

TEST_P(PageCacheCalls, ASwitchToAKeptRadioPageSendsWhatANewPageSent) {
    ExpectKeptPageOfTheSameTypeHearsWhatANewOneHeard(RP);
}

TEST_P(PageCacheCalls, ASwitchToAKeptPageOfAnotherTypeSendsWhatANewPageSent) {
    StartInFront({B88, RP, B88, RP, T88, B88}, TestMode());
    const HWND pushbuttonPage = Shown();
    const std::vector<std::string> toNewRadio = SwitchDown();
    const HWND radioPage = Shown();
    const std::vector<std::string> toKeptPushbutton = SwitchDown();
    EXPECT_EQ(pushbuttonPage, Shown());
    const std::vector<std::string> toKeptRadio = SwitchDown();
    EXPECT_EQ(radioPage, Shown());
    EXPECT_EQ(MapDevices(toNewRadio, {{0, 2}, {1, 3}}), toKeptRadio);
    const std::vector<std::string> toNewToggle = SwitchDown();
    const std::vector<std::string> toKeptPushbuttonAgain = SwitchDown();
    EXPECT_EQ(pushbuttonPage, Shown());
    // From the radio panel's page to the kept pushbutton page, as from the toggle switch page.
    EXPECT_EQ(MapDevices(toKeptPushbutton, {{1, 4}, {2, 5}}), toKeptPushbuttonAgain);
    // Each switch told the old page's device goodbye before the new one heard anything.
    if (!TestMode()) {
        const std::vector<std::string> off = call_log::LedCommands(3, {0, 0, 0, 0, 0, 0, 0, 0});
        ASSERT_GE(toNewToggle.size(), off.size());
        EXPECT_EQ(off, std::vector<std::string>(toNewToggle.begin(), toNewToggle.begin() + off.size()));
    }
}

TEST_P(PageCacheCalls, ClosingWithParkedPagesSendsWhatItAlwaysSent) {
    StartInFront({B88, RP, T88, B88}, TestMode());
    SwitchDown();
    SwitchDown();
    SwitchDown();
    fake_vuzoz::ClearCalls();
    Close();
    EXPECT_EQ(CloseCalls({0, 1, 2, 3}), fake_vuzoz::Calls());
    EXPECT_EQ(nullptr, main->m_hWnd);
}

TEST_P(PageCacheCalls, OkWithParkedPagesSwitchesEveryPanelOffOnce) {
    StartInFront({RP, T88, B88}, TestMode());
    SwitchDown();
    SwitchDown();
    fake_vuzoz::ClearCalls();
    ui::Click(main->m_hWnd, IDOK);
    ui::PumpMessages();
    ASSERT_EQ(nullptr, main->m_hWnd);
    // Every panel once, the radio panel too; the pages, parked or shown, say nothing more.
    EXPECT_EQ(CloseCalls({0, 1, 2}), fake_vuzoz::Calls());
}

TEST_P(PageCacheCalls, ManySwitchesMakeOnePagePerType) {
    StartInFront({B88, T88, RP}, TestMode());
    std::set<HWND> pages;
    for (int round = 0; round < 30; ++round) {
        ui::ActivateDeviceItem(*main, round % 3);
        ASSERT_EQ(round % 3, main->CurrentDevice());
        pages.insert(Shown());
        // Exactly one page of the window is visible.
        int visible = 0;
        for (HWND page : pages)
            visible += ::IsWindowVisible(page) ? 1 : 0;
        EXPECT_EQ(1, visible);
    }
    EXPECT_EQ(3u, pages.size());
}

INSTANTIATE_TEST_SUITE_P(Modes, PageCacheCalls, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Test" : "Config");
                         });

// ---- what a page pointed at another device shows ----------------------------------------

class PageCacheRepoint : public PageCacheFixture {
protected:
    static int ToggleRowOf(DWORD onEvent) {
        for (int row = 0; row < g_nToggleCount; ++row) {
            if (g_ToggleTable[row].onEvent == onEvent)
                return row;
        }
        return -1;
    }
    static void StoreToggle(int device, int k, int row) {
        test_settings::WriteDword(ConfigSection(T88, device), L"OnButton" + std::to_wstring(k),
                                  g_ToggleTable[row].onEvent);
    }
    static void StoreLed(int device, int k, DWORD variable, DWORD comparison, const std::wstring& value) {
        const std::wstring section = ConfigSection(T88, device);
        test_settings::WriteDword(section, L"LED" + std::to_wstring(k), variable);
        test_settings::WriteDword(section, L"LEDcomp" + std::to_wstring(k), comparison);
        test_settings::WriteString(section, L"LEDval" + std::to_wstring(k), value);
    }
    CConfigPanel& Panel() { return *dynamic_cast<CConfigPanel*>(main->ConfigPage()); }
    // The row list id shows: item 0 is "(none)" (CConfigPanel::kNoRow), row r is item r + 1; -1
    // when nothing is selected.
    int Selected(int id) {
        const int item = static_cast<int>(::SendDlgItemMessageW(Shown(), id, CB_GETCURSEL, 0, 0));
        return item < 0 ? -1 : item == 0 ? CConfigPanel::kNoRow : item - 1;
    }
    std::wstring Text(int id) { return ui::Text(Shown(), id); }
    std::wstring Stored(int device, const std::wstring& name) {
        DWORD value = 0;
        if (!test_settings::ReadDword(ConfigSection(T88, device), name, &value))
            return L"absent";
        return std::to_wstring(value);
    }
};

TEST_F(PageCacheRepoint, TheKeptPageShowsAndStoresWhatBelongsToTheNewDevice) {
    fake_vuzoz::Reset({T88, T88});
    const int rowA = ToggleRowOf(g_ToggleTable[7].onEvent);
    const int rowC = ToggleRowOf(g_ToggleTable[12].onEvent);
    const int ledB = 5;
    ASSERT_GT(rowA, 0);
    ASSERT_GT(rowC, 0);
    // Device 0: picks in upper list 1 and LED list 2, identifiers no row has in upper list 3
    // and LED list 4.
    StoreToggle(0, 1, rowA);
    StoreLed(0, 2, g_LedTable[ledB].variable, static_cast<DWORD>(g_LedTable[ledB].comparison), g_LedTable[ledB].value);
    test_settings::WriteDword(ConfigSection(T88, 0), L"OnButton3", 0x12345);
    test_settings::WriteDword(ConfigSection(T88, 0), L"OffButton3", 0x54321);
    StoreLed(0, 4, 0xABCDE, 7, L"x");
    // Device 1: a pick in upper list 3, an unknown identifier in LED list 2.
    StoreToggle(1, 3, rowC);
    StoreLed(1, 2, 0x9999, 5, L"nine");
    test_settings::WriteDword(HardwareSection(T88, 1), L"Brightness", 33);
    StartPrepared(false);
    ASSERT_TRUE(ui::BringToFront(main->m_hWnd));

    const HWND page = Shown();
    EXPECT_EQ(rowA, Selected(IDC_BUTTON_LIST_FIRST + 1));
    EXPECT_EQ(ledB, Selected(IDC_LED_LIST_FIRST + 2));
    EXPECT_EQ(L"0x12345", Text(IDC_BUTTON_LIST_FIRST + 3));
    EXPECT_EQ(L"0xABCDE", Text(IDC_LED_LIST_FIRST + 4));

    // The user searches in upper list 0 (a pick), then clicks the second panel and lets
    // the pick go.
    ::SetFocus(main->DeviceList().m_hWnd);
    ui::PressKey(main->m_hWnd, VK_TAB);
    // The focus is in the edit field of the editable list.
    ASSERT_EQ(::GetDlgItem(page, IDC_BUTTON_LIST_FIRST), ::GetParent(::GetFocus()));
    for (WORD key : {'V', 'O', 'R'})
        ui::PressKey(main->m_hWnd, key);
    const int searched = Selected(IDC_BUTTON_LIST_FIRST);
    ASSERT_GE(searched, 0);
    ASSERT_TRUE(Panel().m_bChanged);
    {
        ui::MessageBoxAnswerer answerer({IDNO});
        ClickDevice(1);
        EXPECT_EQ(1u, answerer.Texts().size());
    }
    ASSERT_EQ(1, main->CurrentDevice());
    ASSERT_EQ(page, Shown()) << "the page of the type was made again";
    EXPECT_EQ(1, Panel().m_nDevice);
    EXPECT_FALSE(Panel().m_bChanged);
    EXPECT_FALSE(ui::IsEnabled(main->m_hWnd, IDC_APPLY));
    // Nothing of device 0 and nothing of the search is left.
    EXPECT_EQ(CConfigPanel::kNoRow, Selected(IDC_BUTTON_LIST_FIRST + 0));
    EXPECT_EQ(CConfigPanel::kNoRow, Selected(IDC_BUTTON_LIST_FIRST + 1));
    EXPECT_EQ(rowC, Selected(IDC_BUTTON_LIST_FIRST + 3));
    EXPECT_EQ(std::wstring(g_ToggleTable[rowC].label), Text(IDC_BUTTON_LIST_FIRST + 3));
    EXPECT_EQ(-1, Selected(IDC_LED_LIST_FIRST + 2));
    EXPECT_EQ(L"0x9999", Text(IDC_LED_LIST_FIRST + 2));
    EXPECT_EQ(CConfigPanel::kNoRow, Selected(IDC_LED_LIST_FIRST + 4));
    EXPECT_EQ(L"(none)", Text(IDC_LED_LIST_FIRST + 4));
    const HWND searchBox = ::GetDlgItem(page, list_search::kTextWindowId);
    ASSERT_NE(nullptr, searchBox);
    EXPECT_FALSE(::IsWindowVisible(searchBox));
    EXPECT_EQ(L"", ui::Text(page, list_search::kTextWindowId));
    EXPECT_EQ(33, ui::BrightnessSlider(*main).GetPos());

    // F3 in upper list 0 has no search text of the device before to look for.
    ui::PressKey(main->m_hWnd, VK_TAB);
    ui::PressKey(main->m_hWnd, VK_F3);
    EXPECT_EQ(CConfigPanel::kNoRow, Selected(IDC_BUTTON_LIST_FIRST));
    EXPECT_FALSE(ui::IsEnabled(main->m_hWnd, IDC_APPLY));

    // A pick with the arrow key, then Apply: into device 1's section, device 0's untouched,
    // device 1's unknown identifier written back as it was.
    ui::PressKey(main->m_hWnd, VK_DOWN);
    ASSERT_EQ(0, Selected(IDC_BUTTON_LIST_FIRST));
    ASSERT_TRUE(ui::IsEnabled(main->m_hWnd, IDC_APPLY));
    ui::ClickControl(main->m_hWnd, IDC_APPLY);
    EXPECT_FALSE(ui::IsEnabled(main->m_hWnd, IDC_APPLY));
    EXPECT_EQ(std::to_wstring(g_ToggleTable[0].onEvent), Stored(1, L"OnButton0"));
    EXPECT_EQ(L"0", Stored(1, L"OnButton1"));
    EXPECT_EQ(std::to_wstring(g_ToggleTable[rowC].onEvent), Stored(1, L"OnButton3"));
    EXPECT_EQ(std::to_wstring(0x9999), Stored(1, L"LED2"));
    EXPECT_EQ(L"5", Stored(1, L"LEDcomp2"));
    std::wstring value;
    EXPECT_TRUE(test_settings::ReadString(ConfigSection(T88, 1), L"LEDval2", &value));
    EXPECT_EQ(L"nine", value);
    EXPECT_EQ(L"0", Stored(1, L"LED4"));
    DWORD brightness = 0;
    EXPECT_TRUE(test_settings::ReadDword(HardwareSection(T88, 1), L"Brightness", &brightness));
    EXPECT_EQ(33u, brightness);
    EXPECT_EQ(L"absent", Stored(0, L"OnButton0"));
    EXPECT_EQ(std::to_wstring(0x12345), Stored(0, L"OnButton3"));
    EXPECT_FALSE(test_settings::SectionExists(HardwareSection(T88, 0)));

    // Back on device 0, without a question: its own picks and identifiers again.
    {
        ui::MessageBoxAnswerer answerer({IDCANCEL});
        ClickDevice(0);
        EXPECT_TRUE(answerer.Texts().empty());
    }
    ASSERT_EQ(0, main->CurrentDevice());
    EXPECT_EQ(page, Shown());
    EXPECT_EQ(CConfigPanel::kNoRow, Selected(IDC_BUTTON_LIST_FIRST + 0));
    EXPECT_EQ(rowA, Selected(IDC_BUTTON_LIST_FIRST + 1));
    EXPECT_EQ(L"0x12345", Text(IDC_BUTTON_LIST_FIRST + 3));
    EXPECT_EQ(ledB, Selected(IDC_LED_LIST_FIRST + 2));
    EXPECT_EQ(L"0xABCDE", Text(IDC_LED_LIST_FIRST + 4));
    EXPECT_FALSE(ui::IsEnabled(main->m_hWnd, IDC_APPLY));
}

// ---- parked pages ------------------------------------------------------------------------

class PageCacheParked : public PageCacheFixture {
protected:
    // The controls the focus visits with Tab from the device list round to it again.
    // Three pages made, the last one shown: Tab goes round its controls and never into a
    // parked page.
    void ExpectTabVisitsOnlyTheShownPage(bool testMode) {
        StartInFront({T88, RP, B88}, testMode);
        fake_vuzoz::DeliverBrightness(T88, 0, 50);
        const HWND togglePage = Shown();
        SwitchDown();
        const HWND radioPage = Shown();
        SwitchDown();
        const HWND pushbuttonPage = Shown();
        fake_vuzoz::DeliverBrightness(B88, 2, 50);
        const std::vector<HWND> visited = TabRound();
        int onThePage = 0;
        for (HWND focus : visited) {
            EXPECT_FALSE(::IsChild(togglePage, focus)) << "a parked page's control took the focus";
            EXPECT_FALSE(::IsChild(radioPage, focus)) << "a parked page's control took the focus";
            onThePage += ::IsChild(pushbuttonPage, focus) ? 1 : 0;
        }
        // Sixteen lists, or eight LED rows.
        EXPECT_EQ(testMode ? 8 : 16, onThePage);
    }
    std::vector<HWND> TabRound() {
        ::SetFocus(main->DeviceList().m_hWnd);
        ui::PumpDialog(main->m_hWnd);
        std::vector<HWND> visited;
        for (int stop = 0; stop < 80; ++stop) {
            ui::PressKey(main->m_hWnd, VK_TAB);
            HWND focus = ::GetFocus();
            if (focus == main->DeviceList().m_hWnd || focus == nullptr)
                break;
            visited.push_back(focus);
        }
        return visited;
    }
};

TEST_F(PageCacheParked, ReportsReachOnlyTheShownPageOfTheShownDevice) {
    StartInFront({B88, RP}, /*testMode*/ true);
    const HWND pushbuttonPage = Shown();
    fake_vuzoz::DeliverLedState(B88, 0, 2, 3);
    fake_vuzoz::DeliverButtons(B88, 0, 0x05);
    ASSERT_EQ(test_page::Only(3), test_page::Column(pushbuttonPage, 2));
    ASSERT_FALSE(ui::IsEnabled(pushbuttonPage, test_page::IndicatorId(0)));

    SwitchDown();
    const HWND radioPage = Shown();
    ASSERT_NE(pushbuttonPage, radioPage);
    EXPECT_FALSE(::IsWindowVisible(pushbuttonPage));
    // Packets of the device shown before change nothing, on no page.
    EXPECT_EQ(0, fake_vuzoz::DeliverLedState(B88, 0, 2, 1));
    EXPECT_EQ(0, fake_vuzoz::DeliverButtons(B88, 0, 0x00));
    EXPECT_EQ(test_page::Only(3), test_page::Column(pushbuttonPage, 2));
    EXPECT_EQ(test_page::AllOff(5), test_page::Grid(radioPage, 5));
    // The shown device's packets reach its page.
    EXPECT_EQ(1, fake_vuzoz::DeliverLedState(RP, 1, 4, 2));
    EXPECT_EQ(test_page::Only(2), test_page::Column(radioPage, 4));
    EXPECT_EQ(test_page::Only(3), test_page::Column(pushbuttonPage, 2));

    // Back on the kept pushbutton page: shown as a new page, and the device's answers reach it.
    fake_vuzoz::SetAnswerRequests(true);
    fake_vuzoz::Panel(0).led[6] = 1;
    fake_vuzoz::Panel(0).buttons = 0x80;
    ui::PressKey(main->m_hWnd, VK_UP);
    ASSERT_EQ(pushbuttonPage, Shown());
    EXPECT_EQ(test_page::Only(0), test_page::Column(pushbuttonPage, 2));
    EXPECT_EQ(test_page::Only(1), test_page::Column(pushbuttonPage, 6));
    EXPECT_TRUE(ui::IsEnabled(pushbuttonPage, test_page::IndicatorId(0)));
    EXPECT_FALSE(ui::IsEnabled(pushbuttonPage, test_page::IndicatorId(7)));
}

TEST_F(PageCacheParked, TabNeverEntersAParkedConfigurationPage) {
    ExpectTabVisitsOnlyTheShownPage(false);
}

TEST_F(PageCacheParked, TabNeverEntersAParkedTestPage) {
    ExpectTabVisitsOnlyTheShownPage(true);
}

TEST_F(PageCacheParked, APageWithTheFocusHandsItToTheListBeforeItIsParked) {
    StartInFront({T88, RP}, false);
    ui::PressKey(main->m_hWnd, VK_TAB);
    const HWND togglePage = Shown();
    ASSERT_TRUE(::IsChild(togglePage, ::GetFocus()));
    // The switch comes from the list's selection moving while a list of the page has the focus.
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(main->DeviceList().m_hWnd, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    ui::PumpDialog(main->m_hWnd);
    ASSERT_EQ(1, main->CurrentDevice());
    EXPECT_FALSE(::IsWindowVisible(togglePage));
    EXPECT_FALSE(::IsChild(togglePage, ::GetFocus()));
    EXPECT_EQ(main->DeviceList().m_hWnd, ::GetFocus());
}

// ---- the start ----------------------------------------------------------------------------

// Watches, on this thread, the paints of the main window and its device list and the moment
// a page gets its WM_INITDIALOG.
class StartWatch {
public:
    StartWatch() {
        s_watch = this;
        m_sent = ::SetWindowsHookExW(WH_CALLWNDPROC, Sent, nullptr, ::GetCurrentThreadId());
        m_posted = ::SetWindowsHookExW(WH_GETMESSAGE, Posted, nullptr, ::GetCurrentThreadId());
    }
    ~StartWatch() {
        ::UnhookWindowsHookEx(m_sent);
        ::UnhookWindowsHookEx(m_posted);
        s_watch = nullptr;
    }
    // Calls the fake had received when the device list first painted; -1 when it never did.
    int callsAtListPaint = -1;
    int callsAtMainPaint = -1;
    int callsAtPageInit = -1;
    // Whether the main window and the device list still waited for a paint as the page began.
    bool mainInvalidAtPageInit = false;
    bool listInvalidAtPageInit = false;

private:
    static void Seen(HWND window, UINT message) {
        if (s_watch == nullptr || window == nullptr)
            return;
        HWND parent = ::GetParent(window);
        const int calls = static_cast<int>(fake_vuzoz::Calls().size());
        if (message == WM_PAINT && ::GetDlgCtrlID(window) == IDC_DEVICE_LIST && s_watch->callsAtListPaint < 0)
            s_watch->callsAtListPaint = calls;
        if (message == WM_PAINT && ::GetDlgItem(window, IDC_DEVICE_LIST) != nullptr && s_watch->callsAtMainPaint < 0)
            s_watch->callsAtMainPaint = calls;
        if (message == WM_INITDIALOG && parent != nullptr && ::GetDlgItem(parent, IDC_DEVICE_LIST) != nullptr &&
            s_watch->callsAtPageInit < 0) {
            s_watch->callsAtPageInit = calls;
            s_watch->mainInvalidAtPageInit = ::GetUpdateRect(parent, nullptr, FALSE) != FALSE;
            s_watch->listInvalidAtPageInit = ::GetUpdateRect(::GetDlgItem(parent, IDC_DEVICE_LIST), nullptr, FALSE) != FALSE;
        }
    }
    static LRESULT CALLBACK Sent(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION) {
            const CWPSTRUCT* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
            Seen(message->hwnd, message->message);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK Posted(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && wParam == PM_REMOVE) {
            const MSG* message = reinterpret_cast<const MSG*>(lParam);
            Seen(message->hwnd, message->message);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static StartWatch* s_watch;
    HHOOK m_sent;
    HHOOK m_posted;
};
StartWatch* StartWatch::s_watch = nullptr;

// What the fake hears before the first page: the four blink periods, BGInit, the
// callback, BGGetDevType and each panel's key for the device list.
int CallsBeforePage(int panels) { return 7 + panels; }

// What the fake hears until the start is done, for panels in a mode.
std::vector<std::string> StartCalls(tagBGDevHWType first, bool testMode, int panels = 2) {
    std::vector<std::string> calls = {"BG_SetBlinkPeriod 0 0 12 0 0", "BG_SetBlinkPeriod 0 0 12 0 12",
                                      "BG_SetBlinkPeriod 0 25 12 0 12", "BG_SetBlinkPeriod 0 25 12 25 12", "BGInit",
                                      "BG_RegisterInputCallback 1", "BGGetDevType"};
    for (int device = 0; device < panels; ++device)
        calls.push_back("BGGetDevKey " + std::to_string(device));
    if (testMode) {
        const int leds = first == RP ? 5 : 8;
        for (int led = 0; led < leds; ++led)
            calls.push_back("BG_GetLEDStatus 0 " + std::to_string(led));
        calls.push_back("BG_GetButtonStatus 0");
    } else {
        const std::vector<std::string> fast = call_log::LedCommands(0, {2, 2, 2, 2, 2, 2, 2, 2});
        calls.insert(calls.end(), fast.begin(), fast.end());
        calls.push_back("BGGetDevKey 0");
        // The stored periods (none: the defaults) as each edit takes its text, then at once,
        // and the brightness; then the positions of the buttons or switches.
        for (const char* line : {"BG_SetBlinkPeriod 0 25 12 25 12", "BG_SetBlinkPeriod 0 25 12 25 12",
                                 "BG_SetBlinkPeriod 0 25 12 25 12", "BG_SetBlinkPeriod 0 25 12 25 12",
                                 "BG_SetBlinkPeriod 0 25 12 25 12", "BG_SetBrightness 0 127",
                                 "BG_GetButtonStatus 0"})
            calls.push_back(line);
    }
    for (const char* line : {"BG_GetCurBrightness 0", "BG_GetCurBlinkPeriod 0"})
        calls.push_back(line);
    return calls;
}

class PageCacheStart : public ui::MainWindowTest {
protected:
    void ExpectPaintedBeforeThePageAndCallsInOrder(bool testMode) {
        fake_vuzoz::Reset({B88, RP});
        const int beforePage = CallsBeforePage(2);
        StartWatch watch;
        StartPrepared(testMode);
        ASSERT_NE(nullptr, Page());
        EXPECT_EQ(StartCalls(B88, testMode), fake_vuzoz::Calls());
        EXPECT_EQ(beforePage, watch.callsAtMainPaint);
        EXPECT_EQ(beforePage, watch.callsAtListPaint);
        EXPECT_EQ(beforePage, watch.callsAtPageInit);
        EXPECT_FALSE(watch.mainInvalidAtPageInit);
        EXPECT_FALSE(watch.listInvalidAtPageInit);
    }
};

TEST_F(PageCacheStart, TheWindowPaintsCompletelyBeforeTheConfigurationPageIsBuiltAndTheCallsKeepTheirOrder) {
    ExpectPaintedBeforeThePageAndCallsInOrder(false);
}

TEST_F(PageCacheStart, TheWindowPaintsCompletelyBeforeTheTestPageIsBuiltAndTheCallsKeepTheirOrder) {
    ExpectPaintedBeforeThePageAndCallsInOrder(true);
}

struct ModalWatch {
    CMainDialog* main = nullptr;
    int ticks = 0;
    bool hadPage = false;
    bool visibleAtPage = false;
};
ModalWatch s_modal;

// Closes the modal main window once its page is there (or after five seconds without one).
void CALLBACK CloseOnceStarted(HWND, UINT, UINT_PTR, DWORD) {
    ++s_modal.ticks;
    if (s_modal.main == nullptr || s_modal.main->m_hWnd == nullptr)
        return;
    if (s_modal.main->IsStarted() && s_modal.main->ConfigPage() != nullptr && !s_modal.hadPage) {
        s_modal.hadPage = true;
        s_modal.visibleAtPage = ::IsWindowVisible(s_modal.main->m_hWnd) != FALSE;
    }
    if (s_modal.hadPage || s_modal.ticks > 100)
        ::PostMessageW(s_modal.main->m_hWnd, WM_CLOSE, 0, 0);
}

// The program's own way: a modal dialog, shown by its message loop once the queue is idle.
TEST_F(PageCacheStart, AsAModalDialogToo) {
    fake_vuzoz::Reset({RP, B88});
    main.reset(new CMainDialog);
    s_modal = ModalWatch();
    s_modal.main = main.get();
    AfxGetApp()->m_pMainWnd = main.get();
    static_cast<CConfiguratorApp*>(AfxGetApp())->m_bTestMode = 0;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, CloseOnceStarted);
    ASSERT_NE(0u, timer);
    StartWatch watch;
    const INT_PTR result = main->DoModal();
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_TRUE(s_modal.hadPage);
    EXPECT_TRUE(s_modal.visibleAtPage);
    EXPECT_EQ(CallsBeforePage(2), watch.callsAtListPaint);
    EXPECT_EQ(CallsBeforePage(2), watch.callsAtPageInit);
    EXPECT_FALSE(watch.mainInvalidAtPageInit);
    EXPECT_FALSE(watch.listInvalidAtPageInit);
    std::vector<std::string> expected = StartCalls(RP, false);
    const std::vector<std::string> close = CloseCalls({0, 1});
    expected.insert(expected.end(), close.begin(), close.end());
    EXPECT_EQ(expected, fake_vuzoz::Calls());
}

// Windows shows a modal dialog only once its queue is idle: the page waits for the window.
TEST_F(PageCacheStart, AWindowShownLaterGetsItsPageOnceItHasPainted) {
    fake_vuzoz::Reset({T88});
    static_cast<CConfiguratorApp*>(AfxGetApp())->m_bTestMode = 0;
    main.reset(new CMainDialog);
    AfxGetApp()->m_pMainWnd = main.get();
    ASSERT_TRUE(main->Create(IDD_MAIN, nullptr));
    main->ShowWindow(SW_HIDE);
    ui::PumpDialog(main->m_hWnd);
    EXPECT_FALSE(main->IsStarted());
    EXPECT_EQ(nullptr, Page());
    EXPECT_EQ(static_cast<size_t>(CallsBeforePage(1)), fake_vuzoz::Calls().size());

    StartWatch watch;
    main->ShowWindow(SW_SHOW);
    ui::PumpDialog(main->m_hWnd);
    ASSERT_TRUE(main->IsStarted());
    ASSERT_NE(nullptr, main->ConfigPage());
    EXPECT_TRUE(::IsWindowVisible(main->ConfigPage()->m_hWnd));
    EXPECT_EQ(CallsBeforePage(1), watch.callsAtListPaint);
    EXPECT_EQ(CallsBeforePage(1), watch.callsAtPageInit);
    EXPECT_FALSE(watch.listInvalidAtPageInit);
    EXPECT_EQ(StartCalls(T88, false, 1), fake_vuzoz::Calls());
}

// The user acts between the window's creation and its first page.
class PageCacheEarlyInput : public ui::MainWindowTest {
protected:
    void CreateOnly(const std::vector<tagBGDevHWType>& panels) {
        fake_vuzoz::Reset(panels);
        static_cast<CConfiguratorApp*>(AfxGetApp())->m_bTestMode = 0;
        main.reset(new CMainDialog);
        AfxGetApp()->m_pMainWnd = main.get();
        ASSERT_TRUE(main->Create(IDD_MAIN, nullptr));
        ASSERT_FALSE(main->IsStarted());
        ASSERT_EQ(nullptr, Page());
    }
    void WaitForStart() {
        const DWORD begin = ::GetTickCount();
        while (!main->IsStarted() && ::GetTickCount() - begin < 5000) {
            ui::PumpMessages();
            (void)::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        ui::PumpMessages();
    }
};

TEST_F(PageCacheEarlyInput, ASelectionMadeBeforeThePageIsFollowedAfterTheStart) {
    CreateOnly({B88, RP});
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(main->DeviceList().m_hWnd, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    // Enter in the list, Apply, a blink period typed: nothing reaches the device yet.
    ui::Click(main->m_hWnd, IDC_DEVICE_LIST);
    ui::Click(main->m_hWnd, IDC_APPLY);
    ::SetDlgItemTextW(main->m_hWnd, IDC_FAST_ON, L"99");
    ui::SendCommand(main->m_hWnd, IDC_FAST_ON, EN_SETFOCUS);
    EXPECT_EQ(static_cast<size_t>(CallsBeforePage(2)), fake_vuzoz::Calls().size());
    EXPECT_EQ(nullptr, Page());
    EXPECT_EQ(0, main->CurrentDevice());

    WaitForStart();
    ASSERT_TRUE(main->IsStarted());
    const std::vector<std::string> start = StartCalls(B88, false);
    const std::vector<std::string>& calls = fake_vuzoz::Calls();
    ASSERT_GT(calls.size(), start.size());
    EXPECT_EQ(start, std::vector<std::string>(calls.begin(), calls.begin() + start.size()));
    EXPECT_EQ(1, main->CurrentDevice());
    ASSERT_NE(nullptr, main->ConfigPage());
    EXPECT_EQ(1, main->ConfigPage()->m_nDevice);
    EXPECT_EQ("BG_GetCurBlinkPeriod 1", calls.back());
    // The page loaded the stored periods over what was typed.
    EXPECT_EQ(L"12", ui::Text(main->m_hWnd, IDC_FAST_ON));
}

TEST_F(PageCacheEarlyInput, ClosingBeforeThePageBuildsNone) {
    CreateOnly({B88, T88});
    ::SendMessageW(main->m_hWnd, WM_CLOSE, 0, 0);
    ui::PumpMessages();
    std::vector<std::string> expected = StartCalls(B88, false);
    expected.resize(static_cast<size_t>(CallsBeforePage(2)));
    const std::vector<std::string> close = CloseCalls({0, 1});
    expected.insert(expected.end(), close.begin(), close.end());
    EXPECT_EQ(expected, fake_vuzoz::Calls());
    EXPECT_EQ(nullptr, main->m_hWnd);
    EXPECT_EQ(nullptr, main->ConfigPage());
}

// ---- pages built ahead -------------------------------------------------------------------

// Every value under the tests' registry key, as "path\name=type:bytes".
void DumpKey(HKEY parent, const std::wstring& path, std::set<std::wstring>& into) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256] = L"";
        BYTE data[2048] = {};
        DWORD nameLength = 256, dataLength = sizeof(data), type = 0;
        if (::RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS)
            break;
        std::wstring entry = path + L"\\" + name + L"=" + std::to_wstring(type) + L":";
        for (DWORD b = 0; b < dataLength; ++b)
            entry += std::to_wstring(data[b]) + L",";
        into.insert(entry);
    }
    std::vector<std::wstring> subkeys;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256] = L"";
        DWORD nameLength = 256;
        if (::RegEnumKeyExW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subkeys.push_back(name);
    }
    ::RegCloseKey(key);
    for (const std::wstring& subkey : subkeys) {
        into.insert(path + L"\\" + subkey + L"\\");
        DumpKey(parent, path + L"\\" + subkey, into);
    }
}

std::set<std::wstring> StoredEverything() {
    std::set<std::wstring> values;
    DumpKey(HKEY_CURRENT_USER, L"Software\\" + test_settings::RegistryKeyName(), values);
    return values;
}

// The page windows of the main window (the pages are dialogs of their own), shown or not.
std::vector<HWND> PageWindows(HWND main) {
    std::vector<HWND> pages;
    for (HWND child = ::GetWindow(main, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[32] = L"";
        ::GetClassNameW(child, className, 32);
        if (::lstrcmpW(className, L"#32770") == 0)
            pages.push_back(child);
    }
    return pages;
}

// Records, for every page the main window gets, which device it was showing as the page
// was created. (A hook on every sent message would slow the filling of the lists tenfold.)
class PageInitWatch {
public:
    explicit PageInitWatch(const std::unique_ptr<CMainDialog>& main) : m_main(main) {
        s_watch = this;
        m_hook = ::SetWindowsHookExW(WH_CBT, Created, nullptr, ::GetCurrentThreadId());
    }
    ~PageInitWatch() {
        ::UnhookWindowsHookEx(m_hook);
        s_watch = nullptr;
    }
    std::vector<int> devicesAtInit;

private:
    static LRESULT CALLBACK Created(int code, WPARAM wParam, LPARAM lParam) {
        const CMainDialog* main = s_watch != nullptr ? s_watch->m_main.get() : nullptr;
        if (code == HCBT_CREATEWND && main != nullptr && main->m_hWnd != nullptr) {
            const CBT_CREATEWNDW* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
            wchar_t className[32] = L"";
            ::GetClassNameW(reinterpret_cast<HWND>(wParam), className, 32);
            if (create->lpcs->hwndParent == main->m_hWnd && ::lstrcmpW(className, L"#32770") == 0)
                s_watch->devicesAtInit.push_back(main->CurrentDevice());
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static PageInitWatch* s_watch;
    const std::unique_ptr<CMainDialog>& m_main;
    HHOOK m_hook;
};
PageInitWatch* PageInitWatch::s_watch = nullptr;

class PageCacheAhead : public PageCacheParked, public ::testing::WithParamInterface<bool> {
protected:
    bool TestMode() const { return GetParam(); }
    // Lets the window be idle until it has count pages (or five seconds have passed), one
    // message at a time: it stops as soon as the window has them.
    void IdleUntilPages(size_t count) {
        IdleUntil([this, count] { return PageWindows(main->m_hWnd).size() >= count; });
    }
    template <class Done>
    void IdleUntil(Done done) {
        const DWORD begin = ::GetTickCount();
        while (main->m_hWnd != nullptr && !done() && ::GetTickCount() - begin < 5000) {
            MSG msg;
            if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                (void)::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
                continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    // Created and shown, not started: the first page is still to come.
    void CreateOnly(const std::vector<tagBGDevHWType>& panels) {
        fake_vuzoz::Reset(panels);
        static_cast<CConfiguratorApp*>(AfxGetApp())->m_bTestMode = TestMode() ? 1 : 0;
        main.reset(new CMainDialog);
        main->SetStartMode(TestMode());
        AfxGetApp()->m_pMainWnd = main.get();
        ASSERT_TRUE(main->Create(IDD_MAIN, nullptr));
        ASSERT_FALSE(main->IsStarted());
    }
    // Ends the window (0: the close box, else the button) while one page is built ahead
    // and one is still to come.
    void EndWhilePagesAreBuiltAhead(int ending) {
        CreateOnly({B88, T88, RP});
        IdleUntil([this] { return main->IsStarted(); });
        ASSERT_EQ(1u, PageWindows(main->m_hWnd).size());
        IdleUntilPages(2);
        ASSERT_EQ(2u, PageWindows(main->m_hWnd).size());
        fake_vuzoz::ClearCalls();
        if (ending == 0)
            Close();
        else
            ui::Click(main->m_hWnd, ending);
        // Long enough for many ticks of building ahead.
        for (int wait = 0; wait < 20; ++wait) {
            (void)::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            ui::PumpMessages();
        }
        // Every way out switches every panel off once and ends the library; the pages built
        // ahead say nothing.
        EXPECT_EQ(CloseCalls({0, 1, 2}), fake_vuzoz::Calls());
        EXPECT_EQ(nullptr, main->m_hWnd);
    }
    static void StorePicks(int device) {
        const std::wstring section = ConfigSection(T88, device);
        test_settings::WriteDword(section, L"OnButton2", g_ToggleTable[9].onEvent);
        test_settings::WriteDword(section, L"LED3", g_LedTable[6].variable);
        test_settings::WriteDword(section, L"LEDcomp3", static_cast<DWORD>(g_LedTable[6].comparison));
        test_settings::WriteString(section, L"LEDval3", g_LedTable[6].value);
    }
    // The device's stored picks are what the shown page of the toggle switch panel shows;
    // a test page shows its indicators' pictures.
    void ExpectStoredPicksShown() {
        if (TestMode()) {
            const CTestPanel& page = *dynamic_cast<CTestPanel*>(main->TestPage());
            EXPECT_EQ(test_page::kTogglePage.bitClearPicture, test_page::PaintedPicture(page, test_page::kTogglePage, 0));
            return;
        }
        // Item 0 is "(none)", row r item r + 1.
        EXPECT_EQ(1 + 9, ::SendDlgItemMessageW(Shown(), IDC_BUTTON_LIST_FIRST + 2, CB_GETCURSEL, 0, 0));
        EXPECT_EQ(std::wstring(g_ToggleTable[9].label), ui::Text(Shown(), IDC_BUTTON_LIST_FIRST + 2));
        EXPECT_EQ(1 + 6, ::SendDlgItemMessageW(Shown(), IDC_LED_LIST_FIRST + 3, CB_GETCURSEL, 0, 0));
        EXPECT_EQ(0, ::SendDlgItemMessageW(Shown(), IDC_BUTTON_LIST_FIRST + 0, CB_GETCURSEL, 0, 0));
    }
};

TEST_P(PageCacheAhead, AfterTheStartAndAnIdleMomentEveryAttachedTypeHasAHiddenSilentPage) {
    fake_vuzoz::Reset({B88, T88, RP, T88});
    StorePicks(1);
    const std::set<std::wstring> storedBefore = StoredEverything();
    PageInitWatch inits(main);
    StartPrepared(TestMode());
    ASSERT_TRUE(ui::BringToFront(main->m_hWnd));
    ::SetFocus(main->DeviceList().m_hWnd);
    IdleUntilPages(3);

    const HWND shown = Shown();
    const std::vector<HWND> pages = PageWindows(main->m_hWnd);
    ASSERT_EQ(3u, pages.size());
    for (HWND page : pages) {
        EXPECT_EQ(page == shown, ::IsWindowVisible(page) != FALSE);
        // Its lists are filled already.
        if (!TestMode()) {
            EXPECT_EQ(1 + g_nLedCount, ::SendDlgItemMessageW(page, IDC_LED_LIST_FIRST + 7, CB_GETCOUNT, 0, 0));
        }
    }
    // All three pages were made while the first device was shown: two of them ahead.
    EXPECT_EQ(std::vector<int>({0, 0, 0}), inits.devicesAtInit);
    // Building them asked the device library nothing, read no device's key and stored nothing.
    EXPECT_EQ(StartCalls(B88, TestMode(), 4), fake_vuzoz::Calls());
    EXPECT_EQ(storedBefore, StoredEverything());
    // The focus stayed where it was, and Tab visits only the shown page.
    EXPECT_EQ(main->DeviceList().m_hWnd, ::GetFocus());
    const std::vector<HWND> visited = TabRound();
    int onThePage = 0;
    for (HWND focus : visited) {
        for (HWND page : pages)
            EXPECT_TRUE(page == shown || !::IsChild(page, focus)) << "a page built ahead took the focus";
        onThePage += ::IsChild(shown, focus) ? 1 : 0;
    }
    EXPECT_EQ(TestMode() ? 8 : 16, onThePage);
}

// What the switch from the pushbutton panel (device 0) to the toggle switch panel (device 1)
// sends, whether it makes the page or finds it built ahead.
std::vector<std::string> SwitchCalls(bool testMode) {
    std::vector<std::string> calls;
    if (testMode) {
        for (int led = 0; led < 8; ++led)
            calls.push_back("BG_GetLEDStatus 1 " + std::to_string(led));
        calls.push_back("BG_GetButtonStatus 1");
    } else {
        // The pushbutton panel's LEDs off, the toggle switch panel's blinking fast, its key,
        // its stored periods (none: the defaults) as each edit takes its text, then at once,
        // the brightness, and the positions of its switches.
        calls = call_log::LedCommands(0, {0, 0, 0, 0, 0, 0, 0, 0});
        const std::vector<std::string> fast = call_log::LedCommands(1, {2, 2, 2, 2, 2, 2, 2, 2});
        calls.insert(calls.end(), fast.begin(), fast.end());
        calls.push_back("BGGetDevKey 1");
        calls.insert(calls.end(), 5, "BG_SetBlinkPeriod 1 25 12 25 12");
        calls.push_back("BG_SetBrightness 1 127");
        calls.push_back("BG_GetButtonStatus 1");
    }
    calls.push_back("BG_GetCurBrightness 1");
    calls.push_back("BG_GetCurBlinkPeriod 1");
    return calls;
}

// A switch made before the window had an idle moment: the key is pressed before the start,
// and the page of the toggle switch panel is made by the switch.
TEST_P(PageCacheAhead, ASwitchMadeBeforeTheWindowWasIdleMakesThePage) {
    StorePicks(1);
    PageInitWatch inits(main);
    CreateOnly({B88, T88, RP});
    (void)::SetForegroundWindow(main->m_hWnd);
    ::SetFocus(main->DeviceList().m_hWnd);
    // Only sent: the key waits in the queue until the window is started.
    ASSERT_TRUE(real_input::Send(real_input::KeyStroke(VK_DOWN)));
    const DWORD begin = ::GetTickCount();
    while (main->CurrentDevice() != 1 && ::GetTickCount() - begin < 5000) {
        (void)::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        ui::PumpMessages();
    }
    ASSERT_EQ(1, main->CurrentDevice());
    ui::PumpDialog(main->m_hWnd);
    ASSERT_GE(inits.devicesAtInit.size(), 2u);
    ASSERT_EQ(1, inits.devicesAtInit[1]) << "the page was built before the switch";
    const std::vector<std::string> start = StartCalls(B88, TestMode(), 3);
    const std::vector<std::string>& calls = fake_vuzoz::Calls();
    ASSERT_GT(calls.size(), start.size());
    ASSERT_EQ(start, std::vector<std::string>(calls.begin(), calls.begin() + start.size()));
    EXPECT_EQ(SwitchCalls(TestMode()), std::vector<std::string>(calls.begin() + start.size(), calls.end()));
    ExpectStoredPicksShown();
}

// The same switch once the window was idle: the page was there, only pointed at the device.
TEST_P(PageCacheAhead, ASwitchToAPageBuiltAheadSendsWhatASwitchThatMakesThePageSends) {
    StorePicks(1);
    PageInitWatch inits(main);
    fake_vuzoz::Reset({B88, T88, RP});
    StartPrepared(TestMode());
    ASSERT_TRUE(ui::BringToFront(main->m_hWnd));
    ::SetFocus(main->DeviceList().m_hWnd);
    IdleUntilPages(3);
    ASSERT_EQ(std::vector<int>({0, 0, 0}), inits.devicesAtInit);
    const std::vector<HWND> pages = PageWindows(main->m_hWnd);
    const std::vector<std::string> toPageBuiltAhead = SwitchDown();
    EXPECT_EQ(3u, inits.devicesAtInit.size()) << "the switch made a page";
    const std::vector<HWND> pagesAfter = PageWindows(main->m_hWnd);
    EXPECT_EQ(std::set<HWND>(pages.begin(), pages.end()), std::set<HWND>(pagesAfter.begin(), pagesAfter.end()));
    EXPECT_TRUE(::IsWindowVisible(Shown()));
    EXPECT_EQ(SwitchCalls(TestMode()), toPageBuiltAhead);
    ExpectStoredPicksShown();
    // A page built ahead says goodbye to its device like any other once it has held one.
    fake_vuzoz::ClearCalls();
    Close();
    EXPECT_EQ(CloseCalls({0, 1, 2}), fake_vuzoz::Calls());
}

TEST_P(PageCacheAhead, ClosingWhilePagesAreBuiltAheadSendsWhatItAlwaysSent) {
    EndWhilePagesAreBuiltAhead(0);
}

TEST_P(PageCacheAhead, OkWhilePagesAreBuiltAheadSendsWhatItAlwaysSent) {
    EndWhilePagesAreBuiltAhead(IDOK);
}

TEST_P(PageCacheAhead, CancelWhilePagesAreBuiltAheadSendsWhatItAlwaysSent) {
    EndWhilePagesAreBuiltAhead(IDCANCEL);
}

INSTANTIATE_TEST_SUITE_P(Modes, PageCacheAhead, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Test" : "Config");
                         });

}  // namespace
