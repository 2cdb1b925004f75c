// Panels plugged in and out while the main window is open, over the fake library: the
// list follows in the library's order, the panel on show keeps its page and unsaved
// picks (greyed in the list while it is gone, still saved by Apply, hearing nothing),
// the error page of "no panel" comes and goes, and nothing is taken during a question.
#include "call_log.h"
#include "config_page_harness.h"
#include "test_page_support.h"

#include "config/config_panel_t88.h"
#include "mainwnd/error_dialog.h"
#include "paneltest/panel_test_page.h"
#include "resource.h"
#include "test_settings.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using config_test::DescribeValue;
using config_test::EventRow;

const tagBGDevHWType B88 = BG_HW_PUSHBUTTON_8X8;
const tagBGDevHWType T88 = BG_HW_TOGGLE_8X8;
const tagBGDevHWType RP = BG_HW_RADIO;
const char kB88Key[] = "FAKE-1-0";
const char kT88Key[] = "FAKE-2-1";

// The first argument of a call line: the device of a BG_ call.
std::string DeviceOf(const std::string& call) {
    const size_t begin = call.find(' ');
    if (begin == std::string::npos)
        return std::string();
    const size_t end = call.find(' ', begin + 1);
    return call.substr(begin + 1, end == std::string::npos ? std::string::npos : end - begin - 1);
}

// Index of the first call that starts with prefix; the count of calls when none does.
size_t FirstCall(const std::vector<std::string>& calls, const std::string& prefix) {
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].compare(0, prefix.size(), prefix) == 0)
            return i;
    }
    return calls.size();
}

class PanelArrivals : public config_test::ConfigPageFixture {
protected:
    // Lets the window's message loop run until the panels were taken afresh (a BGInit
    // after the last clear of the calls), or two seconds went by.
    bool WaitForFreshTake() {
        const DWORD begin = ::GetTickCount();
        while (::GetTickCount() - begin < 2000) {
            (void)::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            ui::PumpMessages();
            if (!fake_vuzoz::CallsStartingWith("BGInit").empty()) {
                ui::PumpMessages();
                return true;
            }
        }
        return false;
    }
    void Replug(const std::vector<tagBGDevHWType>& types, const std::vector<std::string>& keys) {
        fake_vuzoz::ClearCalls();
        fake_vuzoz::Replug(types, keys);
        ASSERT_TRUE(WaitForFreshTake()) << "the panels were not taken afresh";
    }
    int ListCount() const { return main->DeviceList().GetItemCount(); }
    int ListSelection() const { return main->DeviceList().GetNextItem(-1, LVNI_SELECTED); }
    bool ControlEnabled(int id) const { return ::IsWindowEnabled(::GetDlgItem(main->m_hWnd, id)) != FALSE; }
    // Every call made since the take, none for a device other than the ones allowed.
    std::vector<std::string> CallsNamingDevices() const {
        std::vector<std::string> calls;
        for (const std::string& call : fake_vuzoz::Calls()) {
            if (call.compare(0, 3, "BG_") == 0 && call != "BG_RegisterInputCallback 1")
                calls.push_back(call);
        }
        return calls;
    }
};

TEST_F(PanelArrivals, TheFirstTestPageShowsWhatThePanelReportsAtStart) {
    fake_vuzoz::Reset({B88});
    fake_vuzoz::SetAnswerRequests(true);
    const int leds[8] = {3, 2, 1, 0, 0, 1, 2, 3};
    for (int led = 0; led < 8; ++led)
        fake_vuzoz::Panel(0).led[led] = leds[led];
    fake_vuzoz::Panel(0).buttons = 0x81;
    StartPrepared(/*testMode*/ true);
    ui::PumpMessages();

    const std::vector<std::string> calls = fake_vuzoz::Calls();
    EXPECT_LT(FirstCall(calls, "BG_RegisterInputCallback 1"), FirstCall(calls, "BG_GetLEDStatus"));
    EXPECT_LT(FirstCall(calls, "BG_RegisterInputCallback 1"), FirstCall(calls, "BG_GetButtonStatus"));
    std::vector<std::string> expected;
    for (int led = 0; led < 8; ++led)
        expected.push_back(test_page::Only(leds[led]));
    EXPECT_EQ(test_page::Grid(Page(), 8), expected);
    for (int button = 0; button < 8; ++button)
        EXPECT_EQ(ui::IsEnabled(Page(), test_page::IndicatorId(button)), button != 0 && button != 7)
            << "button " << button;
    EXPECT_EQ(fake_vuzoz::PendingAnswers(), 0u);
}

TEST_F(PanelArrivals, APanelPluggedInJoinsTheListAndThePageOnShowKeepsItsPicks) {
    Start({B88});
    PickButton(3, EventRow(L"Landing Gear"));
    ui::Focus(PageWindow(), IDC_LED_LIST_FIRST + 2);
    CConfigPanel* const page = &Panel();

    // The new panel comes first in the library's order: the page's panel is now device 1.
    Replug({T88, B88}, {"NEW-T88", kB88Key});
    EXPECT_EQ(ListCount(), 2);
    EXPECT_EQ(main->CurrentDevice(), 1);
    EXPECT_EQ(ListSelection(), 1);
    EXPECT_FALSE(main->IsCurrentDetached());
    ASSERT_EQ(&Panel(), page);
    EXPECT_EQ(page->m_nDevice, 1);
    EXPECT_TRUE(page->m_bChanged);
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_EQ(SelectedLabel(IDC_BUTTON_LIST_FIRST + 3), L"Landing Gear");
    // The callback before anything asks; the page's LEDs again, the focused row blinking.
    const std::vector<std::string> calls = fake_vuzoz::Calls();
    EXPECT_LT(FirstCall(calls, "BGTerminate"), FirstCall(calls, "BGInit"));
    EXPECT_LT(FirstCall(calls, "BG_RegisterInputCallback 1"), FirstCall(calls, "BG_Get"));
    EXPECT_EQ(LedStates(1), (std::vector<int>{0, 0, 2, 0, 0, 0, 0, 0}));
    for (const std::string& call : CallsNamingDevices())
        EXPECT_EQ(DeviceOf(call), "1") << call;

    Apply();
    EXPECT_EQ(DescribeValue(L"All aircraft\\FAKE-1-0", L"Button3"), L"dword 0x10022");
}

TEST_F(PanelArrivals, ThePanelOnShowGoesAndItsPageStaysSavedByApplyUntilItComesBack) {
    Start({B88, T88});
    PickButton(3, EventRow(L"Landing Gear"));
    CConfigPanel* const page = &Panel();

    Replug({T88}, {kT88Key});
    EXPECT_TRUE(main->IsCurrentDetached());
    EXPECT_EQ(ListCount(), 2);  // the toggle switch panel and the one that went
    EXPECT_EQ(ListSelection(), 1);
    ASSERT_EQ(&Panel(), page);
    EXPECT_TRUE(page->m_bChanged);
    EXPECT_TRUE(page->IsDetached());
    // Device 0 is the toggle switch panel now: nothing of the page's reaches it.
    EXPECT_EQ(CallsNamingDevices(), std::vector<std::string>());

    // The user goes on picking and moving the slider: still nothing is sent.
    PickButton(4, EventRow(L"Landing Gear"));
    ui::Focus(PageWindow(), IDC_BUTTON_LIST_FIRST + 5);
    EXPECT_EQ(CallsNamingDevices(), std::vector<std::string>());

    Apply();
    EXPECT_EQ(DescribeValue(L"All aircraft\\FAKE-1-0", L"Button3"), L"dword 0x10022");
    EXPECT_EQ(DescribeValue(L"All aircraft\\FAKE-1-0", L"Button4"), L"dword 0x10022");
    EXPECT_EQ(DescribeValue(L"Hardware\\FAKE-1-0", L"Type"), L"dword 0x1");
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_EQ(CallsNamingDevices(), std::vector<std::string>());

    // Back, now after the toggle switch panel: attached again, same page.
    Replug({T88, B88}, {kT88Key, kB88Key});
    EXPECT_FALSE(main->IsCurrentDetached());
    EXPECT_FALSE(page->IsDetached());
    EXPECT_EQ(ListCount(), 2);
    EXPECT_EQ(main->CurrentDevice(), 1);
    EXPECT_EQ(page->m_nDevice, 1);
    EXPECT_EQ(LedStates(1), (std::vector<int>{0, 0, 0, 0, 0, 2, 0, 0}));
}

TEST_F(PanelArrivals, SwitchingAwayFromAPanelThatWentAsksAndTheListForgetsIt) {
    Start({B88, T88});
    PickButton(3, EventRow(L"Landing Gear"));
    Replug({T88}, {kT88Key});
    ASSERT_TRUE(main->IsCurrentDetached());

    ui::MessageBoxAnswerer answerer({IDCANCEL, IDNO});
    ui::ActivateDeviceItem(*main, 0);
    EXPECT_EQ(answerer.Texts().size(), 1u);
    EXPECT_TRUE(main->IsCurrentDetached());
    EXPECT_EQ(ListCount(), 2);

    ui::ActivateDeviceItem(*main, 0);
    EXPECT_EQ(answerer.Texts().size(), 2u);
    EXPECT_FALSE(main->IsCurrentDetached());
    EXPECT_EQ(ListCount(), 1);
    EXPECT_EQ(main->CurrentDevice(), 0);
    EXPECT_NE(dynamic_cast<CConfigPanelT88*>(main->ConfigPage()), nullptr);
    EXPECT_FALSE(test_settings::SectionExists(L"All aircraft\\FAKE-1-0"));
}

TEST_F(PanelArrivals, TheLastPanelGoingShowsTheErrorPageAndTheFirstToComeEndsIt) {
    Start({B88});
    ASSERT_TRUE(ControlEnabled(IDC_FAST_ON));
    Replug({}, {});
    ASSERT_NE(main->ErrorPage(), nullptr);
    EXPECT_EQ(ListCount(), 0);
    EXPECT_FALSE(main->IsCurrentDetached());
    for (int id : {IDC_FAST_ON, IDC_FAST_OFF, IDC_SLOW_ON, IDC_SLOW_OFF, IDC_BRIGHTNESS_SLIDER})
        EXPECT_FALSE(ControlEnabled(id)) << id;

    Replug({RP, B88}, {"RADIO", kB88Key});
    EXPECT_EQ(main->ErrorPage(), nullptr);
    EXPECT_EQ(ListCount(), 2);
    EXPECT_EQ(main->CurrentDevice(), 0);
    ASSERT_NE(main->ConfigPage(), nullptr);
    EXPECT_EQ(main->ConfigPage()->m_nDevice, 0);
    for (int id : {IDC_FAST_ON, IDC_FAST_OFF, IDC_SLOW_ON, IDC_SLOW_OFF})
        EXPECT_TRUE(ControlEnabled(id)) << id;
}

TEST_F(PanelArrivals, TheLastPanelGoingWithUnsavedPicksKeepsThePage) {
    Start({B88});
    PickButton(1, EventRow(L"Landing Gear"));
    Replug({}, {});
    EXPECT_EQ(main->ErrorPage(), nullptr);
    EXPECT_TRUE(main->IsCurrentDetached());
    EXPECT_EQ(ListCount(), 1);
    Apply();
    EXPECT_EQ(DescribeValue(L"All aircraft\\FAKE-1-0", L"Button1"), L"dword 0x10022");
}

TEST_F(PanelArrivals, ATestPageWhosePanelWentShowsItsIndicatorsDisabledAndSendsNothing) {
    Start({B88, T88}, /*testMode*/ true);
    ASSERT_TRUE(ui::IsEnabled(Page(), test_page::IndicatorId(0)));
    Replug({T88}, {kT88Key});
    ASSERT_NE(main->TestPage(), nullptr);
    EXPECT_TRUE(main->IsCurrentDetached());
    for (int button = 0; button < 8; ++button)
        EXPECT_FALSE(ui::IsEnabled(Page(), test_page::IndicatorId(button))) << button;
    ::SendMessageW(::GetDlgItem(Page(), test_page::RadioId(2, 3)), BM_CLICK, 0, 0);
    EXPECT_EQ(CallsNamingDevices(), std::vector<std::string>());

    Replug({B88, T88}, {kB88Key, kT88Key});
    EXPECT_FALSE(main->IsCurrentDetached());
    // The LEDs again as the page shows them.
    EXPECT_EQ(fake_vuzoz::Panel(0).led[2], 3);
    EXPECT_TRUE(ui::IsEnabled(Page(), test_page::IndicatorId(0)));
}

TEST_F(PanelArrivals, NoticesDuringAQuestionAreHandledAfterIt) {
    Start({B88});
    // A modal box disables the window it belongs to.
    ::EnableWindow(main->m_hWnd, FALSE);
    fake_vuzoz::ClearCalls();
    fake_vuzoz::Replug({B88, T88}, {kB88Key, kT88Key});
    const DWORD begin = ::GetTickCount();
    while (::GetTickCount() - begin < 600) {
        (void)::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        ui::PumpMessages();
    }
    EXPECT_EQ(fake_vuzoz::CallsStartingWith("BGTerminate"), std::vector<std::string>());
    EXPECT_EQ(ListCount(), 1);
    ::EnableWindow(main->m_hWnd, TRUE);
    EXPECT_TRUE(WaitForFreshTake());
    EXPECT_EQ(ListCount(), 2);
}

TEST_F(PanelArrivals, SeveralNoticesForOnePlugTakeThePanelsOnce) {
    Start({B88});
    fake_vuzoz::ClearCalls();
    fake_vuzoz::Replug({B88, T88}, {kB88Key, kT88Key});
    for (int i = 0; i < 4; ++i)
        ::PostMessageW(main->m_hWnd, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    ASSERT_TRUE(WaitForFreshTake());
    const DWORD begin = ::GetTickCount();
    while (::GetTickCount() - begin < 400) {
        (void)::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        ui::PumpMessages();
    }
    EXPECT_EQ(fake_vuzoz::CallsStartingWith("BGInit").size(), 1u);
}

// Keys that cannot name a registry section: the panel is listed, its page says why, and
// nothing is stored for it.
TEST_F(PanelArrivals, UnusableDeviceKeysStoreNothing) {
    const std::string keys[] = {"", "A\\B", std::string("A\tB"), std::string(201, 'K')};
    for (const std::string& key : keys) {
        test_settings::Clear();
        fake_vuzoz::Reset({T88, B88});
        fake_vuzoz::SetDevKey(1, key);
        StartPrepared();
        ui::ActivateDeviceItem(*main, 1);
        EXPECT_EQ(ListCount(), 2);
        ASSERT_NE(main->ErrorPage(), nullptr) << key;
        const std::wstring text = main->ErrorPage()->m_staticText.GetWindowText();
        EXPECT_NE(text.find(L"cannot name its settings"), std::wstring::npos) << key;
        ui::Click(main->m_hWnd, IDC_APPLY);
        EXPECT_FALSE(test_settings::SectionExists(L"All aircraft")) << key;
        ui::ActivateDeviceItem(*main, 0);
        EXPECT_NE(main->ConfigPage(), nullptr);
        ::DestroyWindow(main->m_hWnd);
        ui::PumpMessages();
        AfxGetApp()->m_pMainWnd = nullptr;
        main.reset();
    }
}

TEST_F(PanelArrivals, AKeyOutsideAsciiIsStoredAsItIs) {
    fake_vuzoz::Reset({B88});
    fake_vuzoz::SetDevKey(0, "\xD0\x9F\xD0\xB0\xD0\xBD\xD0\xB5\xD0\xBB\xD1\x8C 7");  // "Панель 7" in UTF-8
    StartPrepared();
    PickButton(3, EventRow(L"Landing Gear"));
    Apply();
    EXPECT_EQ(DescribeValue(L"All aircraft\\\x041F\x0430\x043D\x0435\x043B\x044C 7", L"Button3"), L"dword 0x10022");
}

}  // namespace
