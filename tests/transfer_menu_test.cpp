// The device list's context menu: its items, export and import through it (round trips
// for every panel type, a file moved to another key, refusals, a failed write put back),
// copying from another stored panel, and opening it with the mouse and the keyboard.
#include "config_page_harness.h"
#include "mainwnd/device_context_menu.h"
#include "menu_keys.h"
#include "real_input.h"
#include "resource.h"
#include "test_settings.h"
#include "transfer_test_support.h"
#include "afx/registry_key.h"
#include "transfer/settings_transfer.h"

#include <aclapi.h>

#include <atomic>
#include <cstdlib>
#include <cwchar>
#include <thread>

namespace {

using config_test::DescribeValue;
using device_menu::CDeviceContextMenu;
using transfer_test::DumpStore;

const int kLists[] = {1011, 1012, 1013, 1014, 1015, 1016, 1017, 1018,
                      1020, 1021, 1022, 1023, 1024, 1025, 1026, 1027};

class TransferMenu : public config_test::ConfigPageFixture {
protected:
    void TearDown() override {
        device_menu::SetFilePicker(nullptr);
        for (const std::wstring& path : m_files)
            ::DeleteFileW(path.c_str());
        ConfigPageFixture::TearDown();
    }

    std::wstring File(const std::wstring& name) {
        m_files.push_back(transfer_test::TempPath(name));
        return m_files.back();
    }

    // Chooses a command of the menu of device as the menu does once the user picked it.
    void Choose(int device, UINT command, const std::wstring& path = std::wstring()) {
        transfer_test::PickPath(path);
        CDeviceContextMenu menu(*main, device);
        menu.Run(command);
        ui::PumpMessages();
    }

    std::vector<int> Picks() {
        std::vector<int> picks;
        for (int id : kLists)
            picks.push_back(SelectedItem(id));
        return picks;
    }

    // Picks on the page, blink periods and brightness, then Apply.
    void MakeAndApplySettings() {
        PickButton(0, 5);
        PickButton(3, 17);
        PickButton(7, 2);
        PickLED(1, 9);
        PickLED(6, 30);
        ::SetDlgItemTextW(main->m_hWnd, IDC_FAST_ON, L"7");
        ::SetDlgItemTextW(main->m_hWnd, IDC_SLOW_OFF, L"90");
        ui::BrightnessSlider(*main).SetPos(200);
        Apply();
    }

    void StorePanel(const std::wstring& key, DWORD type, DWORD button, DWORD brightness) {
        test_settings::WriteDword(L"All aircraft\\" + key, type == 1 ? L"Button0" : L"OnButton0", button);
        test_settings::WriteDword(L"All aircraft\\" + key, L"LED2", 0x0A);
        test_settings::WriteString(L"All aircraft\\" + key, L"LEDval2", L"1");
        test_settings::WriteDword(L"Hardware\\" + key, L"Brightness", brightness);
        test_settings::WriteDword(L"Hardware\\" + key, L"Fast On", 3);
        test_settings::WriteDword(L"Hardware\\" + key, L"Type", type);
    }

    // Settings made and applied on a panel of type, exported, cleared and imported again.
    void ExpectRoundTrip(tagBGDevHWType type) {
        Start({type});
        MakeAndApplySettings();
        main->CreatePage(FALSE);  // what the page shows of the stored settings
        std::vector<int> picks = Picks();
        const std::wstring stored = DumpStore();
        std::wstring path = File(L"round-trip.reg");

        Choose(0, ID_EXPORT_SETTINGS, path);
        EXPECT_TRUE(transfer_test::LastPickWasSave());
        test_settings::Clear();
        main->CreatePage(FALSE);  // a page of nothing stored
        ASSERT_NE(picks, Picks());
        ASSERT_EQ(L"12", ui::Text(main->m_hWnd, IDC_FAST_ON));
        fake_vuzoz::ClearCalls();

        ui::MessageBoxAnswerer answers({});
        Choose(0, ID_IMPORT_SETTINGS, path);
        EXPECT_TRUE(answers.Texts().empty());
        EXPECT_FALSE(transfer_test::LastPickWasSave());
        EXPECT_EQ(stored, DumpStore());
        EXPECT_EQ(picks, Picks());
        EXPECT_EQ(L"7", ui::Text(main->m_hWnd, IDC_FAST_ON));
        EXPECT_EQ(L"90", ui::Text(main->m_hWnd, IDC_SLOW_OFF));
        EXPECT_EQ(L"200", ui::Text(main->m_hWnd, IDC_BRIGHTNESS_VALUE));
        EXPECT_EQ(200, fake_vuzoz::Panel(0).brightness);
        EXPECT_EQ(7, fake_vuzoz::Panel(0).fastOn);
        EXPECT_EQ(90, fake_vuzoz::Panel(0).slowOff);
        EXPECT_FALSE(ApplyEnabled());
    }

    std::vector<std::wstring> m_files;
};

TEST_F(TransferMenu, RoundTripOfAPushbuttonPanelRestoresPicksBrightnessAndBlinkPeriods) {
    ExpectRoundTrip(BG_HW_PUSHBUTTON_8X8);
}

TEST_F(TransferMenu, RoundTripOfAToggleSwitchPanelRestoresPicksBrightnessAndBlinkPeriods) {
    ExpectRoundTrip(BG_HW_TOGGLE_8X8);
}

TEST_F(TransferMenu, RoundTripOfARadioPanelRestoresPicksBrightnessAndBlinkPeriods) {
    ExpectRoundTrip(BG_HW_RADIO);
}

TEST_F(TransferMenu, OnePanelFileGoesToTheChosenPanelWhateverKeyItCameFrom) {
    Start({BG_HW_PUSHBUTTON_8X8, BG_HW_PUSHBUTTON_8X8});
    StorePanel(L"Old panel", 1, 0x10187, 33);
    std::wstring path = File(L"old.reg");
    ASSERT_TRUE(transfer::ExportPanel(L"Old panel", path).ok);
    fake_vuzoz::ClearCalls();

    // Onto the second panel, which has no page: its brightness and blink periods go to it.
    Choose(1, ID_IMPORT_SETTINGS, path);
    EXPECT_EQ(L"dword 0x10187", DescribeValue(L"All aircraft\\FAKE-1-1", L"Button0"));
    EXPECT_EQ(L"sz 1", DescribeValue(L"All aircraft\\FAKE-1-1", L"LEDval2"));
    EXPECT_EQ(L"dword 0x21", DescribeValue(L"Hardware\\FAKE-1-1", L"Brightness"));
    EXPECT_FALSE(test_settings::SectionExists(L"All aircraft\\FAKE-1-0"));
    EXPECT_EQ(33, fake_vuzoz::Panel(1).brightness);
    EXPECT_EQ(3, fake_vuzoz::Panel(1).fastOn);

    // Onto the panel of the page: the page shows it at once.
    Choose(0, ID_IMPORT_SETTINGS, path);
    EXPECT_EQ(L"dword 0x10187", DescribeValue(L"All aircraft\\FAKE-1-0", L"Button0"));
    EXPECT_EQ(L"MAGNETO1 OFF", SelectedLabel(IDC_BUTTON_LIST_FIRST));
    EXPECT_EQ(L"33", ui::Text(main->m_hWnd, IDC_BRIGHTNESS_VALUE));
}

TEST_F(TransferMenu, FileOfAnotherPanelTypeIsRefused) {
    Start({BG_HW_TOGGLE_8X8});
    StorePanel(L"Pushbuttons", 1, 0x10022, 50);
    std::wstring path = File(L"b88.reg");
    ASSERT_TRUE(transfer::ExportPanel(L"Pushbuttons", path).ok);
    const std::wstring before = DumpStore();

    ui::MessageBoxAnswerer answers({IDOK});
    Choose(0, ID_IMPORT_SETTINGS, path);
    ASSERT_EQ(1u, answers.Texts().size());
    EXPECT_NE(std::wstring::npos,
              answers.Texts()[0].find(
                  L"The file holds the settings of an 8x8 pushbutton panel, but this panel is an 8x8 toggle switch "
                  L"panel."))
        << transfer_test::Narrow(answers.Texts()[0]);
    EXPECT_EQ(before, DumpStore());

    // A file of one panel without its hardware section names no type: "a panel of unknown type".
    transfer_test::WriteBytes(path, transfer_test::Utf16File(L"Windows Registry Editor Version 5.00\r\n\r\n"
                                                             L"[HKEY_CURRENT_USER\\Software\\Brellow Group\\Settings"
                                                             L"\\All aircraft\\Pushbuttons]\r\n"
                                                             L"\"Button0\"=dword:00010022\r\n"));
    ui::MessageBoxAnswerer again({IDOK});
    Choose(0, ID_IMPORT_SETTINGS, path);
    ASSERT_EQ(1u, again.Texts().size());
    EXPECT_NE(std::wstring::npos, again.Texts()[0].find(L"holds the settings of a panel of unknown type, but"))
        << transfer_test::Narrow(again.Texts()[0]);
    EXPECT_EQ(before, DumpStore());
}

TEST_F(TransferMenu, RefusedFileIsReportedWithItsLine) {
    Start({BG_HW_PUSHBUTTON_8X8});
    std::wstring path = File(L"bad.reg");
    transfer_test::WriteBytes(path, transfer_test::Utf16File(
                                        L"Windows Registry Editor Version 5.00\r\n\r\n"
                                        L"[HKEY_CURRENT_USER\\Software\\Brellow Group\\Settings\\Hardware\\..]\r\n"));
    const std::wstring before = DumpStore();
    ui::MessageBoxAnswerer answers({IDOK});
    Choose(0, ID_IMPORT_SETTINGS, path);
    ASSERT_EQ(1u, answers.Texts().size());
    EXPECT_NE(std::wstring::npos, answers.Texts()[0].find(L"Line 3: \"..\" is not a device key."))
        << answers.Texts()[0];
    EXPECT_EQ(before, DumpStore());
}

TEST_F(TransferMenu, FileOfAllPanelsAsksBeforeReplacingStoredSections) {
    Start({BG_HW_PUSHBUTTON_8X8});
    StorePanel(L"FAKE-1-0", 1, 0x10022, 40);
    StorePanel(L"Gone", 2, 0x10100, 41);
    std::wstring path = File(L"all.reg");
    Choose(0, ID_EXPORT_ALL_SETTINGS, path);
    const std::wstring exported = DumpStore();
    test_settings::WriteDword(L"Hardware\\Gone", L"Brightness", 99);
    const std::wstring changed = DumpStore();

    {
        ui::MessageBoxAnswerer answers({IDNO});
        Choose(0, ID_IMPORT_SETTINGS, path);
        ASSERT_EQ(1u, answers.Texts().size());
        EXPECT_NE(std::wstring::npos, answers.Texts()[0].find(L"Hardware\\Gone"));
        EXPECT_NE(std::wstring::npos, answers.Texts()[0].find(L"All aircraft\\FAKE-1-0"));
        EXPECT_EQ(changed, DumpStore());
    }
    ui::MessageBoxAnswerer answers({IDYES});
    Choose(0, ID_IMPORT_SETTINGS, path);
    EXPECT_EQ(1u, answers.Texts().size());
    EXPECT_EQ(exported, DumpStore());
    EXPECT_EQ(L"40", ui::Text(main->m_hWnd, IDC_BRIGHTNESS_VALUE));
}

TEST_F(TransferMenu, ImportAsksAboutUnsavedPicksFirst) {
    Start({BG_HW_PUSHBUTTON_8X8});
    StorePanel(L"Elsewhere", 1, 0x10187, 60);
    std::wstring path = File(L"elsewhere.reg");
    ASSERT_TRUE(transfer::ExportPanel(L"Elsewhere", path).ok);
    PickButton(2, 40);

    ui::MessageBoxAnswerer answers({IDNO});
    Choose(0, ID_IMPORT_SETTINGS, path);
    ASSERT_EQ(1u, answers.Texts().size());
    EXPECT_EQ(config_test::SavePromptText(), answers.Texts()[0]);
    EXPECT_EQ(L"MAGNETO1 OFF", SelectedLabel(IDC_BUTTON_LIST_FIRST));
    EXPECT_EQ(L"(none)", SelectedLabel(IDC_BUTTON_LIST_FIRST + 2));  // never picked
}

void SetAccess(const std::wstring& section, PACL acl) {
    CKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, (test_settings::ProfilePath() + L"\\" + section).c_str(),
                                      KEY_READ | WRITE_DAC));
    SECURITY_DESCRIPTOR descriptor;
    ::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    ::SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    EXPECT_EQ(ERROR_SUCCESS, ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor));
}

// A key whose writes are refused: the honest way to make a registry write fail.
void DenyWrites(const std::wstring& section) {
    test_settings::WriteDword(section, L"Type", 1);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ASSERT_TRUE(::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
    EXPLICIT_ACCESSW access = {};
    access.grfAccessPermissions = KEY_READ | DELETE | WRITE_DAC;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = NO_INHERITANCE;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    access.Trustee.ptstrName = static_cast<LPWSTR>(everyone);
    PACL acl = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::SetEntriesInAclW(1, &access, nullptr, &acl));
    SetAccess(section, acl);
    ::LocalFree(acl);
    ::FreeSid(everyone);
}

TEST_F(TransferMenu, FailedWritePutsTheSectionsBackAndTellsTheUser) {
    Start({BG_HW_PUSHBUTTON_8X8});
    test_settings::WriteDword(L"All aircraft\\FAKE-1-0", L"Button0", 0x1002C);
    DenyWrites(L"Hardware\\FAKE-1-0");
    StorePanel(L"Source", 1, 0x10187, 70);
    std::wstring path = File(L"source.reg");
    ASSERT_TRUE(transfer::ExportPanel(L"Source", path).ok);
    main->CreatePage(FALSE);
    const std::wstring before = DumpStore();

    ui::MessageBoxAnswerer answers({IDOK});
    Choose(0, ID_IMPORT_SETTINGS, path);
    ASSERT_EQ(1u, answers.Texts().size());
    EXPECT_EQ(L"The settings could not be written. The stored settings are as they were.", answers.Texts()[0]);
    EXPECT_EQ(before, DumpStore());
    EXPECT_EQ(L"dword 0x1002c", DescribeValue(L"All aircraft\\FAKE-1-0", L"Button0"));
    EXPECT_EQ(L"absent", DescribeValue(L"All aircraft\\FAKE-1-0", L"LED2"));
    SetAccess(L"Hardware\\FAKE-1-0", nullptr);  // everyone may write again, and delete
    test_settings::Clear();
    EXPECT_FALSE(test_settings::SectionExists(L"Hardware\\FAKE-1-0"));
}

TEST_F(TransferMenu, ItemsOfTheMenu) {
    Start({BG_HW_PUSHBUTTON_8X8});
    CDeviceContextMenu empty(*main, 0);
    EXPECT_EQ(L"FAKE-1-0", empty.DeviceKey());
    HMENU menu = empty.Build();
    ASSERT_NE(nullptr, menu);
    ASSERT_EQ(7, ::GetMenuItemCount(menu));
    wchar_t text[128];
    const wchar_t* expected[] = {L"Revert unsaved changes", L"", L"Copy settings from", L"", L"Export settings...",
                                 L"Export all settings...", L"Import settings..."};
    for (int i = 0; i < 7; ++i) {
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        EXPECT_STREQ(expected[i], text);
    }
    // Nothing unsaved, nothing stored: nothing to revert, copy or export yet.
    EXPECT_TRUE(::GetMenuState(menu, ID_REVERT_CHANGES, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(::GetMenuState(menu, 2, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(::GetMenuState(menu, ID_EXPORT_SETTINGS, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(::GetMenuState(menu, ID_EXPORT_ALL_SETTINGS, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(::GetMenuState(menu, ID_IMPORT_SETTINGS, MF_BYCOMMAND) & MF_GRAYED);
    ::DestroyMenu(menu);

    StorePanel(L"FAKE-1-0", 1, 0x10022, 1);
    menu = CDeviceContextMenu(*main, 0).Build();
    EXPECT_FALSE(::GetMenuState(menu, ID_EXPORT_SETTINGS, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(::GetMenuState(menu, ID_EXPORT_ALL_SETTINGS, MF_BYCOMMAND) & MF_GRAYED);
    ::DestroyMenu(menu);
}

class TransferCopy : public TransferMenu {};

TEST_F(TransferCopy, BetweenTwoAttachedIdenticalPanels) {
    Start({BG_HW_TOGGLE_8X8, BG_HW_RADIO, BG_HW_TOGGLE_8X8});
    StorePanel(L"FAKE-2-2", 2, 0x10100, 150);
    StorePanel(L"FAKE-3-1", 3, 0x10100, 151);  // another type: not offered
    CDeviceContextMenu menu(*main, 0);
    ASSERT_EQ(1u, menu.CopySources().size());
    EXPECT_EQ(L"Panel 3", menu.CopySources()[0].label);

    {
        ui::MessageBoxAnswerer answers({IDNO});
        Choose(0, ID_COPY_FROM_FIRST);
        ASSERT_EQ(1u, answers.Texts().size());
        EXPECT_NE(std::wstring::npos, answers.Texts()[0].find(L"Copy the settings of Panel 3 to Panel 1?"));
        EXPECT_FALSE(test_settings::SectionExists(L"All aircraft\\FAKE-2-0"));
    }
    fake_vuzoz::ClearCalls();
    ui::MessageBoxAnswerer answers({IDYES});
    Choose(0, ID_COPY_FROM_FIRST);
    EXPECT_EQ(1u, answers.Texts().size());
    EXPECT_EQ(L"dword 0x10100", DescribeValue(L"All aircraft\\FAKE-2-0", L"OnButton0"));
    EXPECT_EQ(L"dword 0x96", DescribeValue(L"Hardware\\FAKE-2-0", L"Brightness"));
    EXPECT_EQ(L"dword 0x2", DescribeValue(L"Hardware\\FAKE-2-0", L"Type"));
    EXPECT_EQ(150, fake_vuzoz::Panel(0).brightness);
    EXPECT_EQ(3, fake_vuzoz::Panel(0).fastOn);
    EXPECT_EQ(L"150", ui::Text(main->m_hWnd, IDC_BRIGHTNESS_VALUE));
    EXPECT_EQ(L"3", ui::Text(main->m_hWnd, IDC_FAST_ON));
    EXPECT_GE(SelectedItem(IDC_BUTTON_LIST_FIRST), 0);
}

TEST_F(TransferCopy, FromTheKeyOfAPanelNoLongerAttached) {
    Start({BG_HW_RADIO});
    StorePanel(L"Old radio", 3, 0x10100, 77);
    StorePanel(L"Old pushbuttons", 1, 0x10022, 78);
    CDeviceContextMenu menu(*main, 0);
    ASSERT_EQ(1u, menu.CopySources().size());
    EXPECT_EQ(L"Not attached: Old radio", menu.CopySources()[0].label);
    PickLED(4, 3);  // unsaved: asked about first

    ui::MessageBoxAnswerer answers({IDYES, IDNO});
    Choose(0, ID_COPY_FROM_FIRST);
    ASSERT_EQ(2u, answers.Texts().size());
    EXPECT_NE(std::wstring::npos, answers.Texts()[0].find(L"Not attached: Old radio"));
    EXPECT_EQ(config_test::SavePromptText(), answers.Texts()[1]);
    EXPECT_EQ(L"dword 0x4d", DescribeValue(L"Hardware\\FAKE-3-0", L"Brightness"));
    EXPECT_EQ(L"77", ui::Text(main->m_hWnd, IDC_BRIGHTNESS_VALUE));
    EXPECT_EQ(L"(none)", SelectedLabel(IDC_LED_LIST_FIRST + 4));  // never picked
    // The source stays as it was.
    EXPECT_EQ(L"dword 0x4d", DescribeValue(L"Hardware\\Old radio", L"Brightness"));
}

// Real input: a right click on a panel's picture opens the menu, keys choose in it.
TEST_F(TransferMenu, OpensOnARightClickAndWithShiftF10) {
    Start({BG_HW_PUSHBUTTON_8X8, BG_HW_PUSHBUTTON_8X8});
    StorePanel(L"FAKE-1-1", 1, 0x10022, 5);
    // The second panel's page is open already: the right click below changes no selection,
    // so no page is made while the menu comes up.
    ui::ActivateDeviceItem(*main, 1);
    ::SetForegroundWindow(main->m_hWnd);
    ::SetFocus(main->DeviceList().m_hWnd);
    transfer_test::PickPath(L"");
    int calls = transfer_test::PickerCalls();

    // Right click on the second panel, then the last item: Import settings... (cancelled).
    RECT item = {LVIR_ICON, 0, 0, 0};
    ASSERT_TRUE(main->DeviceList().SendMessage(LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item)));
    POINT point = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ::ClientToScreen(main->DeviceList().m_hWnd, &point);
    EXPECT_TRUE(menu_keys::ChooseInMenu(real_input::ClickAt(point, /*right*/ true), {VK_UP, VK_RETURN}));
    EXPECT_EQ(calls + 1, transfer_test::PickerCalls());
    EXPECT_FALSE(transfer_test::LastPickWasSave());

    // Shift+F10 on the selected panel, then two up: Export all settings... (cancelled).
    ::SetFocus(main->DeviceList().m_hWnd);
    EXPECT_TRUE(menu_keys::ChooseInMenu(real_input::KeyStroke(VK_F10, /*shift*/ true), {VK_UP, VK_UP, VK_RETURN}));
    EXPECT_EQ(calls + 2, transfer_test::PickerCalls());
    EXPECT_TRUE(transfer_test::LastPickWasSave());
}

// The Save dialog that Export opens, as the user sees it: the file name it proposes, read
// from its file name box, before the user cancels it with Escape.
struct SaveDialogWatch {
    DWORD thread = 0;
    std::wstring fileName;
    std::atomic<bool> done{false};
};

BOOL CALLBACK FindSaveDialog(HWND window, LPARAM found) {
    wchar_t kind[16] = L"";
    ::GetClassNameW(window, kind, 16);
    if (std::wstring(kind) == L"#32770" && ::IsWindowVisible(window) && ::GetWindow(window, GW_OWNER) != nullptr) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void ReadSaveDialog(SaveDialogWatch* watch) {
    HWND dialog = nullptr;
    for (int tries = 0; tries < 200 && dialog == nullptr; ++tries) {
        ::Sleep(50);
        ::EnumThreadWindows(watch->thread, FindSaveDialog, reinterpret_cast<LPARAM>(&dialog));
    }
    if (dialog != nullptr) {
        ::Sleep(200);  // the dialog fills its boxes after it shows
        // The file name box: a combo box (cmb13) in the Explorer-style dialog, an edit (edt1) in the old one.
        const int boxes[] = {0x47c, 0x480};
        for (int id : boxes) {
            HWND box = ::GetDlgItem(dialog, id);
            wchar_t text[MAX_PATH] = L"";
            if (box != nullptr && ::IsWindowVisible(box) && ::GetWindowTextW(box, text, MAX_PATH) > 0) {
                watch->fileName = text;
                break;
            }
        }
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    watch->done = true;
}

TEST_F(TransferMenu, ExportProposesTheFileNameOfThePanelOrOfAllWithTheDate) {
    Start({BG_HW_PUSHBUTTON_8X8});
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    wchar_t today[16] = L"";
    ::swprintf(today, 16, L"%04u-%02u-%02u", now.wYear, now.wMonth, now.wDay);
    const struct {
        UINT command;
        std::wstring expected;
    } exports[] = {{ID_EXPORT_SETTINGS, L"FAKE-1-0.reg"},
                   {ID_EXPORT_ALL_SETTINGS, std::wstring(L"Tollan settings ") + today + L".reg"}};
    for (const auto& exported : exports) {
        SaveDialogWatch watch;
        watch.thread = ::GetCurrentThreadId();
        std::thread reader(ReadSaveDialog, &watch);
        device_menu::SetFilePicker(nullptr);  // the real Save dialog
        CDeviceContextMenu menu(*main, 0);
        menu.Run(exported.command);
        reader.join();
        ui::PumpMessages();
        EXPECT_TRUE(watch.done);
        // The dialog may leave out the extension it adds itself.
        const std::wstring shown = watch.fileName;
        EXPECT_TRUE(shown == exported.expected || shown + L".reg" == exported.expected)
            << "the Save dialog proposes \"" << std::string(shown.begin(), shown.end()) << "\"";
    }
}

// CTest runs this suite a second time under LC_ALL=ru_RU.UTF-8.
TEST_F(TransferMenu, ItemsInTheUserInterfaceLanguage) {
    Start({BG_HW_PUSHBUTTON_8X8});
    const char* locale = std::getenv("LC_ALL");
    bool russian = locale != nullptr && std::string(locale).compare(0, 2, "ru") == 0;
    HMENU menu = CDeviceContextMenu(*main, 0).Build();
    ASSERT_NE(nullptr, menu);
    wchar_t text[128];
    ::GetMenuStringW(menu, ID_REVERT_CHANGES, text, 128, MF_BYCOMMAND);
    EXPECT_STREQ(russian ? L"Отменить несохранённые изменения" : L"Revert unsaved changes", text);
    ::GetMenuStringW(menu, 2, text, 128, MF_BYPOSITION);
    EXPECT_STREQ(russian ? L"Скопировать настройки из" : L"Copy settings from", text);
    ::GetMenuStringW(menu, ID_IMPORT_SETTINGS, text, 128, MF_BYCOMMAND);
    EXPECT_STREQ(russian ? L"Импорт настроек..." : L"Import settings...", text);
    ::DestroyMenu(menu);
}

}  // namespace
