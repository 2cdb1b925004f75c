// The profile row of the main window, driven by real mouse and keyboard input: saving
// profiles through the name box, switching with two clicks and with the keyboard (the store
// equals each profile, the page shows it), the questions about unsaved picks and about the
// active profile changed behind its file, Cancel at each, a write failing half-way, names and
// files refused, a panel that is not attached, a file deleted behind Tollan's back, renaming,
// deleting and opening the folder; and Export and Import asking about unsaved picks first.
#include "config_page_harness.h"
#include "mainwnd/device_context_menu.h"
#include "mainwnd/help_guide.h"
#include "profile_test_support.h"
#include "real_input.h"
#include "resource.h"
#include "store/pending_save.h"
#include "store_test_support.h"
#include "test_settings.h"
#include "transfer/profile_store.h"
#include "transfer_test_support.h"

#include <memory>
#include <string>
#include <vector>

namespace {

using transfer_test::DumpStore;
using transfer_test::Narrow;

const tagBGDevHWType B88 = BG_HW_PUSHBUTTON_8X8;
const tagBGDevHWType T88 = BG_HW_TOGGLE_8X8;

// Keys as typed: each character of the text (any language), then the given keys.
std::vector<INPUT> Typing(const std::wstring& text, std::vector<WORD> keys = {VK_RETURN}) {
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        const std::vector<INPUT> character = real_input::CharacterStroke(c);
        inputs.insert(inputs.end(), character.begin(), character.end());
    }
    for (WORD vk : keys) {
        const std::vector<INPUT> key = real_input::KeyStroke(vk);
        inputs.insert(inputs.end(), key.begin(), key.end());
    }
    return inputs;
}

// The keyboard of a user who answers the windows a click opens: when the profile name box
// becomes active, or a menu opens, the next input in line is typed into it once it is up.
// Message boxes are left to ui::MessageBoxAnswerer. Records the name box's caption and the
// name it proposed.
class CTypist {
public:
    explicit CTypist(std::vector<std::vector<INPUT>> inputs) : m_inputs(std::move(inputs)) {
        s_typist = this;
        m_hook = ::SetWindowsHookExW(WH_CBT, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~CTypist() {
        ::UnhookWindowsHookEx(m_hook);
        s_typist = nullptr;
    }
    size_t Typed() const { return m_next; }
    std::vector<std::wstring> captions;
    std::vector<std::wstring> proposed;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        CTypist* typist = s_typist;
        HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t className[32] = L"";
        ::GetClassNameW(window, className, 32);
        const bool nameBox = code == HCBT_ACTIVATE && ::GetDlgItem(window, IDC_PROFILE_NAME) != nullptr;
        const bool menu = code == HCBT_CREATEWND && ::lstrcmpW(className, L"#32768") == 0;
        if (typist != nullptr && (nameBox || menu) && typist->m_next < typist->m_inputs.size()) {
            if (nameBox) {
                wchar_t text[256] = L"";
                ::GetWindowTextW(window, text, 256);
                typist->captions.push_back(text);
                ::GetDlgItemTextW(window, IDC_PROFILE_NAME, text, 256);
                typist->proposed.push_back(text);
            }
            // Typed once the window is up and has the focus: its own loop takes the keys.
            (void)::SetTimer(nullptr, 0, 150, Type);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static void CALLBACK Type(HWND, UINT, UINT_PTR timer, DWORD) {
        ::KillTimer(nullptr, timer);
        CTypist* typist = s_typist;
        if (typist == nullptr || typist->m_next >= typist->m_inputs.size())
            return;
        std::vector<INPUT>& inputs = typist->m_inputs[typist->m_next++];
        EXPECT_EQ(inputs.size(), ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)));
    }

    static CTypist* s_typist;
    HHOOK m_hook;
    std::vector<std::vector<INPUT>> m_inputs;
    size_t m_next = 0;
};

CTypist* CTypist::s_typist = nullptr;

std::vector<std::wstring> g_shellRequests;

HINSTANCE WINAPI RecordShellOpen(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR, INT) {
    g_shellRequests.push_back(std::wstring(verb != nullptr ? verb : L"") + L" " + (file != nullptr ? file : L""));
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

class ProfileBar : public config_test::ConfigPageFixture {
protected:
    void SetUp() override {
        ConfigPageFixture::SetUp();
        m_profiles.reset(new profile_test::CProfileFolder);
    }
    void TearDown() override {
        store::SetSectionWrittenHook(nullptr);
        device_menu::SetFilePicker(nullptr);
        ConfigPageFixture::TearDown();
        m_profiles.reset();
    }

    transfer::CProfileStore Profiles() const {
        return transfer::CProfileStore(m_profiles->Folder(), test_settings::ProfilePath());
    }
    HWND Dialog() const { return main->m_hWnd; }

    // The user clicks a button of the row; the windows it opens are answered meanwhile.
    void ClickRow(int id) {
        ASSERT_TRUE(ui::BringToFront(Dialog()));
        ui::ClickControl(Dialog(), id);
        ui::PumpMessages();
    }

    // "Save as profile...", the name typed, Enter.
    void SaveAs(const std::wstring& name) {
        CTypist typist({Typing(name)});
        ClickRow(IDC_PROFILE_SAVE);
        EXPECT_EQ(1u, typist.Typed());
    }

    // The texts of the profile list, and the one it shows.
    std::vector<std::wstring> ListItems() const {
        std::vector<std::wstring> items;
        const int count = static_cast<int>(::SendDlgItemMessageW(Dialog(), IDC_PROFILE_LIST, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[256] = L"";
            ::SendDlgItemMessageW(Dialog(), IDC_PROFILE_LIST, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    }
    std::wstring Shown() const { return ui::Text(Dialog(), IDC_PROFILE_LIST); }

    // Two clicks: the list opens, the item is clicked.
    void PickWithTheMouse(const std::wstring& item) {
        ASSERT_TRUE(ui::BringToFront(Dialog()));
        ui::ClickControl(Dialog(), IDC_PROFILE_LIST);
        HWND list = ::GetDlgItem(Dialog(), IDC_PROFILE_LIST);
        ASSERT_TRUE(::SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0)) << "the first click did not open the list";
        COMBOBOXINFO info = {};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(::GetComboBoxInfo(list, &info));
        const LRESULT index =
            ::SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.c_str()));
        ASSERT_GE(index, 0) << Narrow(item);
        RECT rect = {};
        ASSERT_NE(LB_ERR, ::SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(index),
                                         reinterpret_cast<LPARAM>(&rect)));
        ui::ClickAt(Dialog(), info.hwndList, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
        ui::PumpMessages();
        ui::PumpDialog(Dialog());
    }

    // Alt+P, then the arrow keys on the closed list.
    void PickWithTheKeyboard(WORD arrow) {
        ASSERT_TRUE(ui::BringToFront(Dialog()));
        std::vector<INPUT> keys = {real_input::KeyEvent(VK_MENU, false), real_input::KeyEvent('P', false),
                                   real_input::KeyEvent('P', true), real_input::KeyEvent(VK_MENU, true)};
        ASSERT_EQ(keys.size(), ::SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)));
        ui::PumpDialog(Dialog());
        ASSERT_EQ(IDC_PROFILE_LIST, ui::FocusId());
        ui::PressKey(Dialog(), arrow);
        ui::PumpMessages();
        ui::PumpDialog(Dialog());
    }

    // Picks, brightness and Apply: one state of the pushbutton panel.
    void ApplyState(int row, int led, const wchar_t* brightness) {
        PickButton(0, row);
        PickLED(2, led);
        ::SetDlgItemTextW(Dialog(), IDC_FAST_ON, brightness);
        Apply();
        ASSERT_FALSE(ApplyEnabled());
    }

    std::unique_ptr<profile_test::CProfileFolder> m_profiles;
};

TEST_F(ProfileBar, SavedProfilesSwitchWithTwoClicksAndByKeyboard) {
    Start({B88, T88});
    EXPECT_EQ(L"No profile", Shown());
    EXPECT_FALSE(ui::IsEnabled(Dialog(), IDC_PROFILE_RENAME));
    test_settings::WriteString(config_test::ConfigSection(B88, 0), L"Written by another tool", L"keep");

    ApplyState(config_test::EventRow(L"Landing Gear"), 3, L"7");
    SaveAs(L"Посадка");
    const std::wstring landing = DumpStore();
    EXPECT_EQ(L"Посадка", Shown());
    EXPECT_EQ(L"Посадка", Profiles().ActiveName());
    EXPECT_TRUE(ui::IsEnabled(Dialog(), IDC_PROFILE_RENAME));

    ApplyState(config_test::EventRow(L"MAGNETO1 OFF"), 5, L"40");
    SaveAs(L"Cruise");
    const std::wstring cruise = DumpStore();
    ASSERT_NE(landing, cruise);
    EXPECT_EQ(std::vector<std::wstring>({L"Cruise", L"Посадка"}), ListItems());

    ui::MessageBoxAnswerer none({});
    PickWithTheMouse(L"Посадка");
    EXPECT_EQ(landing, DumpStore());
    EXPECT_EQ(L"Посадка", Shown());
    EXPECT_EQ(L"Landing Gear", SelectedLabel(IDC_BUTTON_LIST_FIRST));
    EXPECT_EQ(L"7", ui::Text(Dialog(), IDC_FAST_ON));
    EXPECT_FALSE(ApplyEnabled());

    PickWithTheKeyboard(VK_UP);  // "Cruise" is above
    EXPECT_EQ(cruise, DumpStore());
    EXPECT_EQ(L"Cruise", Shown());
    EXPECT_EQ(L"MAGNETO1 OFF", SelectedLabel(IDC_BUTTON_LIST_FIRST));
    EXPECT_EQ(L"40", ui::Text(Dialog(), IDC_FAST_ON));
    EXPECT_EQ(L"Cruise", Profiles().ActiveName());
    EXPECT_TRUE(none.Texts().empty()) << Narrow(none.Texts().empty() ? L"" : none.Texts()[0]);
    EXPECT_NE(std::wstring::npos, DumpStore().find(L"Written by another tool"));
}

TEST_F(ProfileBar, UnsavedPicksAndAChangedActiveProfileAreAskedAboutAndCancelChangesNothing) {
    Start({B88});
    ApplyState(config_test::EventRow(L"Landing Gear"), 3, L"7");
    SaveAs(L"A");
    ApplyState(config_test::EventRow(L"MAGNETO1 OFF"), 5, L"40");
    SaveAs(L"B");
    const std::vector<unsigned char> fileA = transfer_test::ReadBytes(Profiles().PathOf(L"A"));
    const std::vector<unsigned char> fileB = transfer_test::ReadBytes(Profiles().PathOf(L"B"));
    PickButton(1, config_test::EventRow(L"Landing Gear"));  // not applied
    const std::wstring before = DumpStore();
    const std::wstring savePrompt = config_test::SavePromptText();

    {  // Cancel at the unsaved picks.
        ui::MessageBoxAnswerer answers({IDCANCEL});
        PickWithTheMouse(L"A");
        EXPECT_EQ(std::vector<std::wstring>({savePrompt}), answers.Texts());
    }
    EXPECT_EQ(before, DumpStore());
    EXPECT_EQ(L"B", Shown());
    EXPECT_EQ(L"Landing Gear", SelectedLabel(IDC_BUTTON_LIST_FIRST + 1));
    EXPECT_TRUE(ApplyEnabled());

    {  // Yes stores the picks; then B differs from its file: Cancel there.
        ui::MessageBoxAnswerer answers({IDYES, IDCANCEL});
        PickWithTheMouse(L"A");
        ASSERT_EQ(2u, answers.Texts().size());
        EXPECT_EQ("The stored settings differ from the profile \"B\".\nUpdate \"B\" with them before switching to "
                  "\"A\"?",
                  Narrow(answers.Texts()[1]));
        EXPECT_EQ(static_cast<UINT>(MB_YESNOCANCEL), answers.Buttons()[1]);
    }
    const std::wstring picksStored = DumpStore();
    EXPECT_NE(before, picksStored);
    EXPECT_EQ(L"B", Shown());
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_EQ(fileB, transfer_test::ReadBytes(Profiles().PathOf(L"B")));

    {  // Yes: B takes the stored settings, then A comes in.
        ui::MessageBoxAnswerer answers({IDYES});
        PickWithTheMouse(L"A");
        EXPECT_EQ(1u, answers.Texts().size());
    }
    EXPECT_EQ(L"A", Shown());
    EXPECT_EQ(fileA, transfer_test::ReadBytes(Profiles().PathOf(L"A")));
    EXPECT_NE(fileB, transfer_test::ReadBytes(Profiles().PathOf(L"B")));
    EXPECT_EQ(L"Landing Gear", SelectedLabel(IDC_BUTTON_LIST_FIRST));
    {  // Back to B: the picks stored before are there.
        ui::MessageBoxAnswerer answers({});
        PickWithTheMouse(L"B");
        EXPECT_TRUE(answers.Texts().empty());
    }
    EXPECT_EQ(picksStored, DumpStore());
    EXPECT_EQ(L"Landing Gear", SelectedLabel(IDC_BUTTON_LIST_FIRST + 1));

    // No at the unsaved picks: they are dropped with the page that reloads.
    PickButton(2, config_test::EventRow(L"Landing Gear"));
    {
        ui::MessageBoxAnswerer answers({IDNO});
        PickWithTheMouse(L"A");
        EXPECT_EQ(1u, answers.Texts().size());
    }
    EXPECT_EQ(L"A", Shown());
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_NE(L"Landing Gear", SelectedLabel(IDC_BUTTON_LIST_FIRST + 2));
}

TEST_F(ProfileBar, AFailedWriteInTheMiddleOfASwitchPutsEverythingBack) {
    Start({B88});
    profile_test::StorePanel(L"Elsewhere", 2, 0x10100, 9);
    ApplyState(config_test::EventRow(L"Landing Gear"), 3, L"7");
    SaveAs(L"A");
    ApplyState(config_test::EventRow(L"MAGNETO1 OFF"), 5, L"40");
    profile_test::StorePanel(L"Elsewhere", 2, 0x10100, 10);
    SaveAs(L"B");
    const std::wstring before = DumpStore();

    // The profile's sections in order: FAKE-1-0's, then Elsewhere's; the last one refuses.
    profile_test::LockOnFirstSectionWritten(store_test::KeyPath(L"Hardware\\Elsewhere"));
    {
        ui::MessageBoxAnswerer answers({IDOK});
        PickWithTheMouse(L"A");
        ASSERT_EQ(1u, answers.Texts().size());
        EXPECT_EQ("The settings could not be written. The stored settings are as they were.",
                  Narrow(answers.Texts()[0]));
    }
    store::SetSectionWrittenHook(nullptr);
    EXPECT_TRUE(profile_test::LockHappened());
    ASSERT_TRUE(store_test::AllowAll(store_test::KeyPath(L"Hardware\\Elsewhere")));
    EXPECT_EQ(before, DumpStore());
    EXPECT_EQ(L"B", Shown());
    EXPECT_EQ(L"B", Profiles().ActiveName());
    EXPECT_EQ(L"MAGNETO1 OFF", SelectedLabel(IDC_BUTTON_LIST_FIRST));
}

TEST_F(ProfileBar, RefusedNamesKeepTheBoxOpenAndChangeNothing) {
    Start({B88});
    ApplyState(config_test::EventRow(L"Landing Gear"), 3, L"7");
    const std::wstring before = DumpStore();
    {
        ui::MessageBoxAnswerer answers({IDOK, IDOK, IDOK});
        CTypist typist({Typing(L"CON"), Typing(L"a/b"), Typing(L"Night."), Typing(L"", {VK_ESCAPE})});
        ClickRow(IDC_PROFILE_SAVE);
        EXPECT_EQ(4u, typist.Typed());
        ASSERT_EQ(3u, answers.Texts().size());
        EXPECT_EQ("\"CON\" is a name Windows keeps for a device. Choose another profile name.",
                  Narrow(answers.Texts()[0]));
        EXPECT_EQ("A profile name cannot contain the characters \\ / : * ? \" < > | or tabs and line breaks.",
                  Narrow(answers.Texts()[1]));
        EXPECT_EQ("A profile name cannot end with a dot or a space.", Narrow(answers.Texts()[2]));
        EXPECT_EQ(std::vector<std::wstring>({L"Save as profile", L"Save as profile", L"Save as profile",
                                             L"Save as profile"}),
                  typist.captions);
    }
    EXPECT_EQ(before, DumpStore());
    EXPECT_TRUE(profile_test::FilesIn(m_profiles->Folder()).empty());
    EXPECT_EQ(L"No profile", Shown());

    // A name that exists is asked about; No keeps the box open with the name proposed.
    SaveAs(L"Kept");
    const std::vector<unsigned char> kept = transfer_test::ReadBytes(Profiles().PathOf(L"Kept"));
    ApplyState(config_test::EventRow(L"MAGNETO1 OFF"), 5, L"40");
    {
        ui::MessageBoxAnswerer answers({IDNO});
        CTypist typist({Typing(L"KEPT"), Typing(L"", {VK_ESCAPE})});
        ClickRow(IDC_PROFILE_SAVE);
        ASSERT_EQ(1u, answers.Texts().size());
        EXPECT_EQ("The profile \"KEPT\" exists. Replace it with the stored settings?", Narrow(answers.Texts()[0]));
        EXPECT_EQ(L"Kept", typist.proposed[0]);  // the active profile is proposed
    }
    EXPECT_EQ(kept, transfer_test::ReadBytes(Profiles().PathOf(L"Kept")));
    {
        ui::MessageBoxAnswerer answers({IDYES});
        SaveAs(L"Kept");
    }
    EXPECT_NE(kept, transfer_test::ReadBytes(Profiles().PathOf(L"Kept")));
}

TEST_F(ProfileBar, DamagedFilesMissingFilesAndPanelsNotAttached) {
    Start({B88});
    ApplyState(config_test::EventRow(L"Landing Gear"), 3, L"7");
    SaveAs(L"A");
    const int fastOnBefore = fake_vuzoz::Panel(0).fastOn;

    // A profile of a panel that is not attached: its sections come in, the page stays.
    transfer_test::WriteBytes(
        Profiles().PathOf(L"Other PC"),
        transfer_test::Utf16File(L"Windows Registry Editor Version 5.00\r\n\r\n"
                                 L"[HKEY_CURRENT_USER\\Software\\Brellow Group\\Settings\\Hardware\\Not here]\r\n"
                                 L"\"Brightness\"=dword:00000021\r\n\"Type\"=dword:00000002\r\n"));
    {
        ui::MessageBoxAnswerer answers({});
        PickWithTheMouse(L"Other PC");
        EXPECT_TRUE(answers.Texts().empty());
    }
    EXPECT_EQ(L"Other PC", Shown());
    DWORD brightness = 0;
    EXPECT_TRUE(test_settings::ReadDword(L"Hardware\\Not here", L"Brightness", &brightness));
    EXPECT_EQ(0x21u, brightness);
    EXPECT_EQ(L"Landing Gear", SelectedLabel(IDC_BUTTON_LIST_FIRST));
    EXPECT_EQ(fastOnBefore, fake_vuzoz::Panel(0).fastOn);

    // A damaged file is refused with its line; nothing changes.
    transfer_test::WriteBytes(Profiles().PathOf(L"Bad"),
                              transfer_test::Utf16File(L"Windows Registry Editor Version 5.00\r\n\r\n"
                                                       L"[HKEY_LOCAL_MACHINE\\Software\\Evil]\r\n"));
    const std::wstring withOther = DumpStore();
    {
        ui::MessageBoxAnswerer answers({IDOK});
        PickWithTheMouse(L"Bad");
        ASSERT_EQ(1u, answers.Texts().size());
        EXPECT_EQ(0u, answers.Texts()[0].find(L"The file " + Profiles().PathOf(L"Bad") + L" was not imported; "
                                                                                          L"nothing was changed.\nLine 3: "))
            << Narrow(answers.Texts()[0]);
    }
    EXPECT_EQ(withOther, DumpStore());
    EXPECT_EQ(L"Other PC", Shown());

    // The active profile's file deleted behind Tollan's back: shown as missing, made again by Yes.
    ASSERT_TRUE(::DeleteFileW(Profiles().PathOf(L"Other PC").c_str()));
    ::DeleteFileW(Profiles().PathOf(L"Bad").c_str());
    {
        ui::MessageBoxAnswerer answers({IDYES});
        PickWithTheMouse(L"A");  // the list is filled again as it opens
        ASSERT_EQ(1u, answers.Texts().size());
        EXPECT_NE(std::wstring::npos, answers.Texts()[0].find(L"differ from the profile \"Other PC\""));
    }
    EXPECT_TRUE(Profiles().Exists(L"Other PC"));
    EXPECT_EQ(L"A", Shown());
    ASSERT_TRUE(::DeleteFileW(Profiles().PathOf(L"A").c_str()));
    ASSERT_TRUE(ui::BringToFront(Dialog()));
    ui::ClickControl(Dialog(), IDC_PROFILE_LIST);  // the user opens the list to look
    EXPECT_EQ(std::vector<std::wstring>({L"A (missing)", L"Other PC"}), ListItems());
    ui::PressKey(Dialog(), VK_ESCAPE);
    ui::PumpMessages();
    EXPECT_EQ(L"A (missing)", Shown());
    EXPECT_EQ(L"A", Profiles().ActiveName());
}

TEST_F(ProfileBar, RenameDeleteAndTheFolderFromTheRow) {
    Start({B88});
    ApplyState(config_test::EventRow(L"Landing Gear"), 3, L"7");
    SaveAs(L"Alpha");
    SaveAs(L"Beta");
    const std::wstring before = DumpStore();

    {  // Rename: the menu of profiles (Down Down: the second), the name box proposing it.
        CTypist typist({Typing(L"", {VK_DOWN, VK_DOWN, VK_RETURN}), Typing(L"Бета")});
        ClickRow(IDC_PROFILE_RENAME);
        EXPECT_EQ(2u, typist.Typed());
        EXPECT_EQ(std::vector<std::wstring>({L"Rename profile"}), typist.captions);
        EXPECT_EQ(std::vector<std::wstring>({L"Beta"}), typist.proposed);
    }
    EXPECT_EQ(std::vector<std::wstring>({L"Alpha", L"Бета"}), Profiles().Names());
    EXPECT_EQ(L"Бета", Profiles().ActiveName());
    EXPECT_EQ(L"Бета", Shown());
    {  // A name that exists is refused.
        ui::MessageBoxAnswerer answers({IDOK});
        CTypist typist({Typing(L"", {VK_DOWN, VK_RETURN}), Typing(L"Бета"), Typing(L"", {VK_ESCAPE})});
        ClickRow(IDC_PROFILE_RENAME);
        ASSERT_EQ(1u, answers.Texts().size());
        EXPECT_EQ("A profile named \"Бета\" exists already.", Narrow(answers.Texts()[0]));
        EXPECT_EQ(L"Alpha", typist.proposed[0]);
    }
    EXPECT_EQ(std::vector<std::wstring>({L"Alpha", L"Бета"}), Profiles().Names());

    {  // Delete the active one: asked, then gone; the stored settings stay.
        ui::MessageBoxAnswerer answers({IDYES});
        CTypist typist({Typing(L"", {VK_DOWN, VK_DOWN, VK_RETURN})});
        ClickRow(IDC_PROFILE_DELETE);
        ASSERT_EQ(1u, answers.Texts().size());
        EXPECT_EQ("Delete the profile \"Бета\"?\nThe stored settings stay as they are.", Narrow(answers.Texts()[0]));
    }
    EXPECT_EQ(std::vector<std::wstring>({L"Alpha"}), Profiles().Names());
    EXPECT_EQ(L"No profile", Shown());
    EXPECT_EQ(before, DumpStore());
    {  // No keeps it.
        ui::MessageBoxAnswerer answers({IDNO});
        CTypist typist({Typing(L"", {VK_DOWN, VK_RETURN})});
        ClickRow(IDC_PROFILE_DELETE);
        EXPECT_EQ(1u, answers.Texts().size());
    }
    EXPECT_EQ(std::vector<std::wstring>({L"Alpha"}), Profiles().Names());

    // The folder, made when missing, goes to the shell.
    profile_test::RemoveTree(m_profiles->AppData() + L"\\Tollan");
    g_shellRequests.clear();
    const ShellOpenFunction shellOpen = g_pfnShellOpen;
    g_pfnShellOpen = RecordShellOpen;
    ClickRow(IDC_PROFILE_FOLDER);
    g_pfnShellOpen = shellOpen;
    EXPECT_EQ(std::vector<std::wstring>({L"open " + m_profiles->Folder()}), g_shellRequests);
    const DWORD attributes = ::GetFileAttributesW(m_profiles->Folder().c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
}

TEST_F(ProfileBar, TestModeHasNoProfileToSwitch) {
    Start({B88}, true);
    EXPECT_FALSE(ui::IsEnabled(Dialog(), IDC_PROFILE_LIST));
    EXPECT_FALSE(ui::IsEnabled(Dialog(), IDC_PROFILE_SAVE));
    EXPECT_TRUE(ui::IsEnabled(Dialog(), IDC_PROFILE_FOLDER));
}

// Export and Import ask about unsaved picks before the file is chosen.
TEST_F(ProfileBar, ExportAndImportAskAboutUnsavedPicksFirst) {
    Start({B88});
    ApplyState(config_test::EventRow(L"Landing Gear"), 3, L"7");
    PickButton(1, config_test::EventRow(L"MAGNETO1 OFF"));
    const std::wstring before = DumpStore();
    const std::wstring path = transfer_test::TempPath(L"unsaved.reg");
    for (UINT command : {ID_EXPORT_SETTINGS, ID_EXPORT_ALL_SETTINGS, ID_IMPORT_SETTINGS}) {
        SCOPED_TRACE(command);
        const int pickerCalls = transfer_test::PickerCalls();
        ui::MessageBoxAnswerer answers({IDCANCEL});
        transfer_test::PickPath(path);
        device_menu::CDeviceContextMenu(*main, 0).Run(command);
        EXPECT_EQ(std::vector<std::wstring>({config_test::SavePromptText()}), answers.Texts());
        EXPECT_EQ(pickerCalls, transfer_test::PickerCalls());
        EXPECT_EQ(before, DumpStore());
        EXPECT_TRUE(ApplyEnabled());
    }
    {  // No: the stored settings are exported, the picks stay unsaved.
        ui::MessageBoxAnswerer answers({IDNO});
        device_menu::CDeviceContextMenu(*main, 0).Run(ID_EXPORT_SETTINGS);
        EXPECT_NE(std::wstring::npos, transfer_test::FileText(path).find(L"\"Button1\"=dword:00000000"));
        EXPECT_TRUE(ApplyEnabled());
    }
    {  // Yes: stored first, then exported.
        ui::MessageBoxAnswerer answers({IDYES});
        device_menu::CDeviceContextMenu(*main, 0).Run(ID_EXPORT_SETTINGS);
        EXPECT_NE(std::wstring::npos, transfer_test::FileText(path).find(L"\"Button1\"=dword:00010187"));
        EXPECT_FALSE(ApplyEnabled());
    }
    ::DeleteFileW(path.c_str());
}

}  // namespace
