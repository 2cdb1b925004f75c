// The main window over the recording fake: start-up, the device list, the page factory,
// device activation, the error page, the About box and the close sequence.
#include "call_log.h"
#include "config/config_dialog.h"
#include "device/device_library.h"
#include "mainwnd/error_dialog.h"
#include "paneltest/panel_test_dialog.h"
#include "resource.h"
#include "test_settings.h"
#include "ui_harness.h"

#include <commctrl.h>

namespace {

using call_log::IndexOf;
using ui::MainWindowTest;

const tagBGDevHWType B88 = BG_HW_PUSHBUTTON_8X8;
const tagBGDevHWType T88 = BG_HW_TOGGLE_8X8;
const tagBGDevHWType RP = BG_HW_RADIO;

class MainDialogStart : public MainWindowTest {};

TEST_F(MainDialogStart, CallsTheLibraryInOrder) {
    Start({B88, T88, RP});
    // The callback first, then the panels' types and keys, the page (its LEDs, its
    // settings) and the first requests.
    int init = IndexOf("BGInit");
    int registered = IndexOf("BG_RegisterInputCallback 1");
    int types = IndexOf("BGGetDevType");
    int listKeys = IndexOf("BGGetDevKey 0");
    int pageLeds = IndexOf("BG_SetLEDState 0 0 2 0");
    int key = IndexOf("BGGetDevKey 0", pageLeds);
    int brightness = IndexOf("BG_GetCurBrightness 0");
    int blink = IndexOf("BG_GetCurBlinkPeriod 0");
    ASSERT_GE(init, 0);
    EXPECT_EQ(init + 1, registered);
    EXPECT_EQ(registered + 1, types);
    EXPECT_EQ(types + 1, listKeys);
    EXPECT_EQ(listKeys + 2, IndexOf("BGGetDevKey 2"));
    EXPECT_LT(listKeys, pageLeds);
    EXPECT_LT(pageLeds, key);
    EXPECT_LT(key, brightness);
    EXPECT_EQ(brightness + 1, blink);
    EXPECT_EQ(static_cast<int>(fake_vuzoz::Calls().size()) - 1, blink);
    EXPECT_EQ(1, call_log::Count("BGInit"));
}

TEST_F(MainDialogStart, BlinkEditsSendTheirPeriodsBeforeTheLibraryIsReady) {
    Start({B88});
    // Each of the four texts that initialisation sets is sent as it stands.
    std::vector<std::string> expected = {"BG_SetBlinkPeriod 0 0 12 0 0", "BG_SetBlinkPeriod 0 0 12 0 12",
                                         "BG_SetBlinkPeriod 0 25 12 0 12", "BG_SetBlinkPeriod 0 25 12 25 12"};
    const std::vector<std::string>& calls = fake_vuzoz::Calls();
    ASSERT_GE(calls.size(), 5u);
    EXPECT_EQ(expected, std::vector<std::string>(calls.begin(), calls.begin() + 4));
    EXPECT_EQ("BGInit", calls[4]);
}

TEST_F(MainDialogStart, ListsOnePicturePerPanelAndSelectsTheCurrentOne) {
    Start({RP, B88, T88, B88});
    CListCtrl list = main->DeviceList();
    ASSERT_EQ(4, list.GetItemCount());
    const int expectedImages[] = {3, 1, 2, 1};
    for (int i = 0; i < 4; ++i) {
        LVITEMW item = {};
        item.mask = LVIF_IMAGE | LVIF_TEXT | LVIF_STATE;
        item.iItem = i;
        wchar_t text[16] = L"x";
        item.pszText = text;
        item.cchTextMax = 16;
        item.stateMask = LVIS_SELECTED;
        ASSERT_TRUE(list.GetItem(&item));
        EXPECT_EQ(expectedImages[i], item.iImage) << "item " << i;
        EXPECT_STREQ(L"", text) << "item " << i;
        EXPECT_EQ(i == 0 ? static_cast<UINT>(LVIS_SELECTED) : 0u, item.state & LVIS_SELECTED) << "item " << i;
    }
    EXPECT_EQ(0, list.GetNextItem(-1, LVNI_SELECTED));
    EXPECT_EQ(0, list.GetNextItem(-1, LVNI_FOCUSED));
    // Marked also while another control has the focus.
    EXPECT_TRUE(list.GetStyle() & LVS_SHOWSELALWAYS);

    // The list lays its items out for a 104 x 34 picture with room around it for the
    // selection frame (what it shows is checked on the screen: device_list_pictures_test.cpp).
    HIMAGELIST images = list.GetImageList(LVSIL_NORMAL);
    ASSERT_NE(nullptr, images);
    EXPECT_EQ(images, list.GetImageList(LVSIL_SMALL));
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(images, &cx, &cy));
    EXPECT_GT(cx, 104);
    EXPECT_GT(cy, 34);
    EXPECT_EQ(cx - 104, cy - 34) << "a frame as wide on every side";
    DWORD exStyle = list.GetExtendedStyle();
    EXPECT_TRUE(exStyle & LVS_EX_ONECLICKACTIVATE);
}

TEST_F(MainDialogStart, MakesThePageOfTheFirstPanelForTheMode) {
    Start({T88, B88});
    ASSERT_NE(nullptr, main->ConfigPage());
    EXPECT_EQ(nullptr, main->TestPage());
    EXPECT_EQ(nullptr, main->ErrorPage());
    EXPECT_EQ(0, main->ConfigPage()->m_nDevice);
    EXPECT_TRUE(::IsWindowVisible(main->ConfigPage()->m_hWnd));
    EXPECT_EQ(main->m_hWnd, ::GetParent(main->ConfigPage()->m_hWnd));
    EXPECT_FALSE(main->IsTestMode());
}

TEST_F(MainDialogStart, TestModeMakesATestPage) {
    Start({RP}, true);
    ASSERT_NE(nullptr, main->TestPage());
    EXPECT_EQ(nullptr, main->ConfigPage());
    EXPECT_TRUE(main->IsTestMode());
    EXPECT_TRUE(::IsWindowVisible(main->TestPage()->m_hWnd));
}

TEST_F(MainDialogStart, UnknownPanelTypeGetsNoPage) {
    Start({static_cast<tagBGDevHWType>(7)});
    EXPECT_EQ(1, main->DeviceList().GetItemCount());
    EXPECT_EQ(nullptr, main->ConfigPage());
    EXPECT_EQ(nullptr, main->TestPage());
    EXPECT_EQ(nullptr, main->ErrorPage());
    // Its brightness reports are still shown, and Apply does nothing.
    EXPECT_EQ(1, fake_vuzoz::DeliverBrightness(static_cast<tagBGDevHWType>(7), 0, 77));
    EXPECT_EQ(77, ui::BrightnessSlider(*main).GetPos());
    fake_vuzoz::ClearCalls();
    ui::Click(main->m_hWnd, IDC_APPLY);
    EXPECT_TRUE(fake_vuzoz::Calls().empty());
}

TEST_F(MainDialogStart, ApplyIsDisabledAndSliderWaitsForTheDevice) {
    Start({B88});
    EXPECT_FALSE(main->IsBrightnessLive());
    EXPECT_FALSE(ui::IsEnabled(main->m_hWnd, IDC_BRIGHTNESS_SLIDER));
    EXPECT_FALSE(ui::IsEnabled(main->m_hWnd, IDC_APPLY));
    EXPECT_EQ(0, main->CurrentDevice());
}

TEST_F(MainDialogStart, SystemMenuHasTheAboutItem) {
    Start({B88});
    HMENU menu = ::GetSystemMenu(main->m_hWnd, FALSE);
    ASSERT_NE(nullptr, menu);
    int count = ::GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    wchar_t text[64] = L"";
    ASSERT_GT(::GetMenuStringW(menu, IDM_ABOUTBOX, text, 64, MF_BYCOMMAND), 0);
    EXPECT_EQ(L"&About Tollan...", std::wstring(text));
    EXPECT_EQ(static_cast<UINT>(IDM_ABOUTBOX), ::GetMenuItemID(menu, count - 1));
    MENUITEMINFOW separator = {};
    separator.cbSize = sizeof(separator);
    separator.fMask = MIIM_FTYPE;
    ASSERT_TRUE(::GetMenuItemInfoW(menu, count - 2, TRUE, &separator));
    EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
}

TEST_F(MainDialogStart, IconIsSetAndGivenForDragging) {
    Start({B88});
    ASSERT_NE(nullptr, main->Icon());
    EXPECT_EQ(reinterpret_cast<LRESULT>(main->Icon()), ::SendMessageW(main->m_hWnd, WM_GETICON, ICON_BIG, 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(main->Icon()), ::SendMessageW(main->m_hWnd, WM_QUERYDRAGICON, 0, 0));
}

class MainDialogInitFailure : public MainWindowTest {};

TEST_F(MainDialogInitFailure, SaysTheLibraryCouldNotStartAndStillTerminates) {
    fake_vuzoz::Reset({B88, RP});
    fake_vuzoz::SetInitFails(true);
    StartPrepared();
    EXPECT_EQ(0, main->DeviceList().GetItemCount());
    ASSERT_NE(nullptr, main->ErrorPage());
    EXPECT_EQ(main->ErrorPage()->m_hWnd, Page());
    std::wstring text = main->ErrorPage()->m_staticText.GetWindowText();
    EXPECT_EQ(L"The panel library could not start (result code 4).\r\n\r\nCheck that the panels are connected, then "
              L"start Tollan again.",
              text);
    EXPECT_EQ(nullptr, fake_vuzoz::Callback());
    EXPECT_EQ(-1, IndexOf("BGGetDevType"));
    EXPECT_EQ(-1, IndexOf("BG_GetCurBrightness 0"));
    // Without a panel the brightness and blink controls are greyed.
    for (int id : {IDC_BRIGHTNESS_SLIDER, IDC_FAST_ON, IDC_FAST_OFF, IDC_SLOW_ON, IDC_SLOW_OFF})
        EXPECT_FALSE(ui::IsEnabled(main->m_hWnd, id)) << id;
    fake_vuzoz::ClearCalls();
    Close();
    EXPECT_EQ(std::vector<std::string>{"BGTerminate"}, fake_vuzoz::Calls());
    EXPECT_EQ(nullptr, main->m_hWnd);
}

TEST_F(MainDialogInitFailure, NullTypeArrayMeansNoPanel) {
    fake_vuzoz::Reset({B88});
    fake_vuzoz::SetDevTypeNull(true);
    StartPrepared();
    EXPECT_EQ(0, main->DeviceList().GetItemCount());
    ASSERT_NE(nullptr, main->ErrorPage());
    EXPECT_EQ(L"Can not detect any device.\nProgramm closed now.", main->ErrorPage()->m_staticText.GetWindowText());
    // A packet finds no device to belong to.
    EXPECT_EQ(0, fake_vuzoz::DeliverBrightness(BG_HW_NONE, 0, 5));
    Close();
}

class ErrorPage : public MainWindowTest {};

TEST_F(ErrorPage, ShowsStringWhenNoPanelIsAttached) {
    Start({});
    ASSERT_NE(nullptr, main->ErrorPage());
    EXPECT_EQ(nullptr, main->ConfigPage());
    EXPECT_EQ(nullptr, main->TestPage());
    HWND page = main->ErrorPage()->m_hWnd;
    EXPECT_TRUE(::IsWindowVisible(page));
    EXPECT_EQ(main->m_hWnd, ::GetParent(page));
    EXPECT_TRUE(::GetWindowLongPtrW(page, GWL_STYLE) & WS_CHILD);
    std::wstring text = ui::Text(page, IDC_ERROR_TEXT);
    EXPECT_EQ(L"Can not detect any device.\nProgramm closed now.", text);
    // Apply finds no configuration page.
    fake_vuzoz::ClearCalls();
    ui::Click(main->m_hWnd, IDC_APPLY);
    EXPECT_TRUE(fake_vuzoz::Calls().empty());
}

// The error page's text and the window caption in the language of the user interface;
// CTest runs this suite a second time under LC_ALL=ru_RU.UTF-8.
TEST_F(ErrorPage, TextIsInTheUserInterfaceLanguage) {
    Start({});
    const char* locale = std::getenv("LC_ALL");
    bool russian = locale != nullptr && std::string(locale).compare(0, 2, "ru") == 0;
    std::wstring text = ui::Text(main->ErrorPage()->m_hWnd, IDC_ERROR_TEXT);
    wchar_t caption[128] = L"";
    ::GetWindowTextW(main->m_hWnd, caption, 128);
    if (russian) {
        EXPECT_EQ(L"Не обнаружено доступных устройств. \nПрограмма будет завершена.", text);
        EXPECT_STREQ(L"Настройка конфигурации", caption);
        EXPECT_EQ(L"Применить", ui::Text(main->m_hWnd, IDC_APPLY));
    } else {
        EXPECT_EQ(L"Can not detect any device.\nProgramm closed now.", text);
        EXPECT_STREQ(L"BG Brellow Config", caption);
        EXPECT_EQ(L"Apply", ui::Text(main->m_hWnd, IDC_APPLY));
    }
}

class MainDialogActivation : public MainWindowTest {};

TEST_F(MainDialogActivation, TheSelectedItemChangesNothing) {
    Start({B88, RP});
    CConfigDialog* page = main->ConfigPage();
    fake_vuzoz::ClearCalls();
    ui::ActivateDeviceItem(*main, 0);
    EXPECT_EQ(page, main->ConfigPage());
    EXPECT_TRUE(fake_vuzoz::Calls().empty());
    EXPECT_EQ(0, main->CurrentDevice());
}

TEST_F(MainDialogActivation, AnotherItemMakesItsPageThenAsks) {
    Start({B88, RP});
    HWND oldPage = main->ConfigPage()->m_hWnd;
    fake_vuzoz::ClearCalls();
    ui::ActivateDeviceItem(*main, 1);
    EXPECT_EQ(1, main->CurrentDevice());
    // The page of the other type is parked, hidden, for the next device of its type.
    EXPECT_FALSE(::IsWindowVisible(oldPage));
    ASSERT_NE(nullptr, main->ConfigPage());
    EXPECT_NE(oldPage, main->ConfigPage()->m_hWnd);
    EXPECT_EQ(1, main->ConfigPage()->m_nDevice);
    EXPECT_NE(nullptr, ::GetDlgItem(main->ConfigPage()->m_hWnd, IDC_BUTTON_LIST_FIRST));
    const std::vector<std::string>& calls = fake_vuzoz::Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ("BG_GetCurBrightness 1", calls[calls.size() - 2]);
    EXPECT_EQ("BG_GetCurBlinkPeriod 1", calls.back());
    // The old page switched its panel's LEDs off as it went.
    for (const std::string& line : call_log::LedCommands(0, {0, 0, 0, 0, 0, 0, 0, 0}))
        EXPECT_GE(IndexOf(line), 0) << line;
    // The new page's stored brightness made the slider live again.
    EXPECT_TRUE(main->IsBrightnessLive());
}

TEST_F(MainDialogActivation, InTestModeTheSliderWaitsForTheNewDevice) {
    Start({B88, RP}, true);
    fake_vuzoz::DeliverBrightness(B88, 0, 10);
    EXPECT_TRUE(main->IsBrightnessLive());
    ui::ActivateDeviceItem(*main, 1);
    EXPECT_FALSE(main->IsBrightnessLive());
    EXPECT_FALSE(ui::IsEnabled(main->m_hWnd, IDC_BRIGHTNESS_SLIDER));
    EXPECT_EQ(1, fake_vuzoz::DeliverBrightness(RP, 1, 11));
    EXPECT_TRUE(main->IsBrightnessLive());
    EXPECT_TRUE(ui::IsEnabled(main->m_hWnd, IDC_BRIGHTNESS_SLIDER));
}

TEST_F(MainDialogActivation, TheListsSelectionIsTheCurrentDeviceHoweverItMoves) {
    Start({B88, T88});
    CConfigDialog* page = main->ConfigPage();
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(main->DeviceList().m_hWnd, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));
    // The page follows once the list is done with the change.
    EXPECT_EQ(page, main->ConfigPage());
    ui::PumpMessages();
    EXPECT_EQ(1, main->CurrentDevice());
    ASSERT_NE(nullptr, main->ConfigPage());
    EXPECT_EQ(1, main->ConfigPage()->m_nDevice);

    // A list left without a selection marks the current device again.
    item.state = 0;
    ::SendMessageW(main->DeviceList().m_hWnd, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));
    ui::PumpMessages();
    EXPECT_EQ(1, main->DeviceList().GetNextItem(-1, LVNI_SELECTED));
    EXPECT_EQ(1, main->CurrentDevice());
}

TEST_F(MainDialogActivation, AClickOnAnItemActivatesIt) {
    Start({B88, T88});
    RECT rect = {};
    rect.left = LVIR_BOUNDS;
    ASSERT_TRUE(::SendMessageW(main->DeviceList().m_hWnd, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rect)));
    LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::SendMessageW(main->DeviceList().m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(main->DeviceList().m_hWnd, WM_LBUTTONUP, 0, point);
    ui::PumpMessages();
    EXPECT_EQ(1, main->CurrentDevice());
    ASSERT_NE(nullptr, main->ConfigPage());
    EXPECT_EQ(1, main->ConfigPage()->m_nDevice);
}

class InputCallback : public MainWindowTest {};

TEST_F(InputCallback, OnlyPacketsOfTheSelectedDeviceAndTypeCount) {
    Start({B88, B88, RP});
    EXPECT_EQ(1, fake_vuzoz::DeliverBrightness(B88, 0, 10));
    EXPECT_EQ(0, fake_vuzoz::DeliverBrightness(B88, 1, 20));
    EXPECT_EQ(0, fake_vuzoz::DeliverBrightness(RP, 0, 30));
    EXPECT_EQ(0, fake_vuzoz::DeliverBrightness(RP, 2, 40));
    EXPECT_EQ(10, ui::BrightnessSlider(*main).GetPos());
    EXPECT_EQ(L"10", ui::Text(main->m_hWnd, IDC_BRIGHTNESS_VALUE));
}

TEST_F(InputCallback, EveryPacketOfTheConfigurationPagesPanelIsTakenWithResultOne) {
    Start({B88});
    EXPECT_EQ(1, fake_vuzoz::DeliverButtons(B88, 0, 0xFF));
    EXPECT_EQ(1, fake_vuzoz::DeliverLedState(B88, 0, 1, 3));
    EXPECT_EQ(1, fake_vuzoz::DeliverButtonReport(B88, 0, 0x0F));
    EXPECT_EQ(1, fake_vuzoz::DeliverReport(B88, 0, {9, 1, 2}));
    EXPECT_EQ(1, fake_vuzoz::DeliverRaw(B88, 0, 7, nullptr));
}

TEST_F(InputCallback, BadPacketsTouchNothing) {
    Start({B88, T88});
    // A report without data, and devices outside the type array.
    EXPECT_EQ(0, fake_vuzoz::DeliverRaw(B88, 0, BG_PACKET_REPORT, nullptr));
    EXPECT_EQ(0, fake_vuzoz::DeliverBrightness(B88, 2, 50));
    EXPECT_EQ(0, fake_vuzoz::DeliverBrightness(BG_HW_NONE, 9, 50));
    EXPECT_NE(50, ui::BrightnessSlider(*main).GetPos());
}

TEST_F(InputCallback, BlinkReportFillsTheEditsInOrder) {
    Start({T88});
    EXPECT_EQ(1, fake_vuzoz::DeliverBlink(T88, 0, 1, 2, 3, 4));
    EXPECT_EQ(L"1", ui::Text(main->m_hWnd, IDC_FAST_ON));
    EXPECT_EQ(L"2", ui::Text(main->m_hWnd, IDC_FAST_OFF));
    EXPECT_EQ(L"3", ui::Text(main->m_hWnd, IDC_SLOW_ON));
    EXPECT_EQ(L"4", ui::Text(main->m_hWnd, IDC_SLOW_OFF));
    // Each text change sends the periods as they stand: slow on, fast on, slow off, fast off.
    EXPECT_EQ("BG_SetBlinkPeriod 0 3 1 4 2", fake_vuzoz::Calls().back());
}

TEST_F(InputCallback, PacketsAfterTheDialogEndedTouchNoWindow) {
    Start({B88});
    BGInputCallback callback = fake_vuzoz::Callback();
    ASSERT_NE(nullptr, callback);
    ui::Click(main->m_hWnd, IDOK);
    ui::PumpMessages();
    EXPECT_EQ(nullptr, main->m_hWnd);
    // The library let the callback go with BGTerminate; a late packet still finds no window.
    unsigned char report[8] = {BG_REPORT_BRIGHTNESS, 99};
    EXPECT_EQ(0, callback(B88, 0, BG_PACKET_REPORT, report));
    AfxGetApp()->m_pMainWnd = nullptr;
    EXPECT_EQ(0, callback(B88, 0, BG_PACKET_REPORT, report));
}

class CloseSequence : public MainWindowTest {
protected:
    // A pick on the page shown, not saved: the user picks the second row of the first list.
    void PickUnsaved() {
        ui::CloseUp(Page(), IDC_BUTTON_LIST_FIRST, 1);
        ASSERT_TRUE(main->HasUnsavedChanges());
    }
};

// Every way out leaves every panel dark and ends the library once: the close box, OK,
// Escape and Windows ending the session.
std::vector<std::string> EveryPanelOffThenTerminate(int panels) {
    std::vector<std::string> expected;
    for (int device = 0; device < panels; ++device) {
        std::vector<std::string> off = call_log::LedCommands(device, {0, 0, 0, 0, 0, 0, 0, 0});
        expected.insert(expected.end(), off.begin(), off.end());
    }
    expected.push_back("BGTerminate");
    return expected;
}

TEST_F(CloseSequence, TheCloseBoxSwitchesOffEveryPanelThenTerminates) {
    Start({B88, B88, RP});
    fake_vuzoz::ClearCalls();
    Close();
    EXPECT_EQ(EveryPanelOffThenTerminate(3), fake_vuzoz::Calls());
    EXPECT_EQ(nullptr, main->m_hWnd);
    EXPECT_EQ(nullptr, main->ConfigPage());
    EXPECT_EQ(nullptr, main->TestPage());
    EXPECT_EQ(IDCANCEL, main->GetResult());
}

TEST_F(CloseSequence, InTestModeToo) {
    Start({RP, T88}, true);
    fake_vuzoz::ClearCalls();
    Close();
    EXPECT_EQ(EveryPanelOffThenTerminate(2), fake_vuzoz::Calls());
}

TEST_F(CloseSequence, OkEndsTheSameWay) {
    Start({B88, RP});
    fake_vuzoz::ClearCalls();
    ui::Click(main->m_hWnd, IDOK);
    ui::PumpMessages();
    EXPECT_EQ(nullptr, main->m_hWnd);
    EXPECT_EQ(IDOK, main->GetResult());
    EXPECT_EQ(EveryPanelOffThenTerminate(2), fake_vuzoz::Calls());
}

TEST_F(CloseSequence, EscapeInTestModeEndsTheSameWay) {
    Start({T88, B88}, true);
    ASSERT_TRUE(ui::BringToFront(main->m_hWnd));
    fake_vuzoz::ClearCalls();
    ui::PressKey(main->m_hWnd, VK_ESCAPE);
    EXPECT_EQ(nullptr, main->m_hWnd);
    EXPECT_EQ(EveryPanelOffThenTerminate(2), fake_vuzoz::Calls());
}

TEST_F(CloseSequence, WindowsEndingTheSessionAsksThenEndsTheSameWay) {
    Start({B88, T88});
    PickUnsaved();
    fake_vuzoz::ClearCalls();
    {
        ui::MessageBoxAnswerer answers({IDCANCEL});
        EXPECT_EQ(FALSE, ::SendMessageW(main->m_hWnd, WM_QUERYENDSESSION, 0, 0));
        EXPECT_EQ(1u, answers.Texts().size());
    }
    EXPECT_TRUE(fake_vuzoz::Calls().empty());
    {
        ui::MessageBoxAnswerer answers({IDNO});
        EXPECT_EQ(TRUE, ::SendMessageW(main->m_hWnd, WM_QUERYENDSESSION, 0, 0));
    }
    ::SendMessageW(main->m_hWnd, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(EveryPanelOffThenTerminate(2), fake_vuzoz::Calls());
}

TEST_F(CloseSequence, EmptiesTheListAndDropsThePagesFirst) {
    Start({B88});
    HWND list = main->DeviceList().m_hWnd;
    HWND page = Page();
    // Watch the list while the window goes: its items are deleted before it is destroyed.
    ::SendMessageW(main->m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(nullptr, reinterpret_cast<HIMAGELIST>(::SendMessageW(list, LVM_GETIMAGELIST, LVSIL_NORMAL, 0)));
    EXPECT_FALSE(::IsWindow(page));
    ui::PumpMessages();
    EXPECT_FALSE(::IsWindow(list));
}

class AboutBox : public MainWindowTest {};

TEST_F(AboutBox, OpensFromSystemCommand16) {
    Start({B88});
    ui::MessageBoxAnswerer answerer({IDOK});
    ::SendMessageW(main->m_hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    ASSERT_EQ(1u, answerer.Texts().size());
    EXPECT_NE(std::wstring::npos, answerer.Texts()[0].find(L"Tollan"));
}

TEST_F(AboutBox, LowBitsOfTheCommandAreIgnored) {
    Start({B88});
    ui::MessageBoxAnswerer answerer({IDOK});
    ::SendMessageW(main->m_hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0);
    EXPECT_EQ(1u, answerer.Texts().size());
}

TEST_F(AboutBox, OtherCommandsDoNotOpenIt) {
    Start({B88});
    ui::MessageBoxAnswerer answerer({IDOK});
    ::SendMessageW(main->m_hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    ui::PumpMessages();
    EXPECT_TRUE(answerer.Texts().empty());
}

}  // namespace
