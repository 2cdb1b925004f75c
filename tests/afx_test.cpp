// The framework layer: message-map dispatch, the dialog procedure's rules, and the
// profile functions over the real registry.
#include "afx/afx.h"
#include "afx/registry_key.h"
#include "resource.h"
#include "test_settings.h"
#include "ui_harness.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

const UINT kRecordMessage = WM_APP + 1;
const UINT kDefaultMessage = WM_APP + 2;
const UINT kThrowMessage = WM_APP + 3;

// The About box template as a modeless dialog that logs what its handlers receive.
class CLoggingDialog : public CDialog {
public:
    CLoggingDialog() : CDialog(IDD_ABOUTBOX) {}

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    std::vector<std::string> log;
    int destroyed = 0;

    void OnClicked(UINT nID) { log.push_back("clicked " + std::to_string(nID)); }
    void OnRangeChange(UINT nID) { log.push_back("change " + std::to_string(nID)); }
    void OnNotifyClick(NMHDR* pNMHDR, LRESULT* pResult) {
        log.push_back("notify " + std::to_string(pNMHDR->idFrom));
        *pResult = 1234;
    }
    BOOL OnRecord(WPARAM wParam, LPARAM, LRESULT* pResult) {
        log.push_back("record " + std::to_string(wParam));
        *pResult = 77;
        return TRUE;
    }
    BOOL OnDefault(WPARAM, LPARAM, LRESULT*) {
        log.push_back("default");
        return FALSE;
    }
    BOOL OnThrow(WPARAM, LPARAM, LRESULT*) { throw std::runtime_error("handler failed"); }
    BOOL OnDestroy(WPARAM, LPARAM, LRESULT*) {
        ++destroyed;
        return FALSE;
    }

private:
    static const MessageMapEntry<CLoggingDialog> s_messageMap[];
};

const MessageMapEntry<CLoggingDialog> CLoggingDialog::s_messageMap[] = {
    OnCommand(BN_CLICKED, 1000, &CLoggingDialog::OnClicked),
    OnCommand(EN_CHANGE, 1005, 1009, &CLoggingDialog::OnRangeChange),
    OnNotify(NM_CLICK, 1000, &CLoggingDialog::OnNotifyClick),
    OnMessage(kRecordMessage, &CLoggingDialog::OnRecord),
    OnMessage(kDefaultMessage, &CLoggingDialog::OnDefault),
    OnMessage(kThrowMessage, &CLoggingDialog::OnThrow),
    OnMessage(WM_DESTROY, &CLoggingDialog::OnDestroy),
};

BOOL CLoggingDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return DispatchMessageMap(*this, s_messageMap, message, wParam, lParam, pResult) ||
           CDialog::OnWndMsg(message, wParam, lParam, pResult);
}

LRESULT Command(HWND dialog, int id, int code) {
    return ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), 0);
}

TEST(AfxMessageMap, CommandsMatchCodeAndControlId) {
    CLoggingDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_ABOUTBOX, nullptr));
    Command(dialog.m_hWnd, 1000, BN_CLICKED);
    Command(dialog.m_hWnd, 1000, BN_DOUBLECLICKED);
    Command(dialog.m_hWnd, 1001, BN_CLICKED);
    Command(dialog.m_hWnd, 1004, EN_CHANGE);
    Command(dialog.m_hWnd, 1005, EN_CHANGE);
    Command(dialog.m_hWnd, 1009, EN_CHANGE);
    Command(dialog.m_hWnd, 1010, EN_CHANGE);
    Command(dialog.m_hWnd, 1007, EN_SETFOCUS);
    EXPECT_EQ((std::vector<std::string>{"clicked 1000", "change 1005", "change 1009"}), dialog.log);
}

TEST(AfxMessageMap, NotificationResultReachesTheSender) {
    CLoggingDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_ABOUTBOX, nullptr));
    NMHDR header = {dialog.m_hWnd, 1000, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(1234, ::SendMessageW(dialog.m_hWnd, WM_NOTIFY, 1000, reinterpret_cast<LPARAM>(&header)));
    header.idFrom = 1001;
    EXPECT_EQ(0, ::SendMessageW(dialog.m_hWnd, WM_NOTIFY, 1001, reinterpret_cast<LPARAM>(&header)));
    EXPECT_EQ(std::vector<std::string>{"notify 1000"}, dialog.log);
}

TEST(AfxMessageMap, WindowMessagesAndDefaultProcessing) {
    CLoggingDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_ABOUTBOX, nullptr));
    EXPECT_EQ(77, ::SendMessageW(dialog.m_hWnd, kRecordMessage, 5, 0));
    EXPECT_EQ(0, ::SendMessageW(dialog.m_hWnd, kDefaultMessage, 0, 0));
    EXPECT_EQ((std::vector<std::string>{"record 5", "default"}), dialog.log);
}

TEST(AfxMessageMap, AnExceptionStopsAtTheDialogProcedure) {
    CLoggingDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_ABOUTBOX, nullptr));
    EXPECT_EQ(0, ::SendMessageW(dialog.m_hWnd, kThrowMessage, 0, 0));
    // The dialog goes on working.
    EXPECT_EQ(77, ::SendMessageW(dialog.m_hWnd, kRecordMessage, 1, 0));
}

TEST(AfxDialog, DestroyWindowRunsTheHandlerButDeletingDoesNot) {
    CLoggingDialog destroyed;
    ASSERT_TRUE(destroyed.Create(IDD_ABOUTBOX, nullptr));
    EXPECT_TRUE(destroyed.DestroyWindow());
    EXPECT_EQ(1, destroyed.destroyed);
    EXPECT_EQ(nullptr, destroyed.m_hWnd);

    CLoggingDialog* deleted = new CLoggingDialog;
    ASSERT_TRUE(deleted->Create(IDD_ABOUTBOX, nullptr));
    HWND window = deleted->m_hWnd;
    delete deleted;
    EXPECT_FALSE(::IsWindow(window));
}

TEST(AfxDialog, OkEndsAModelessDialogWithItsResult) {
    CLoggingDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_ABOUTBOX, nullptr));
    HWND window = dialog.m_hWnd;
    ui::Click(window, IDOK);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(IDOK, dialog.GetResult());
}

TEST(AfxDialog, DataExchangeBindsControlsAndReportsMissingOnes) {
    CLoggingDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_ABOUTBOX, nullptr));
    CButton ok;
    CDataExchange dx(&dialog, FALSE);
    DDX_Control(&dx, IDOK, ok);
    EXPECT_EQ(::GetDlgItem(dialog.m_hWnd, IDOK), ok.m_hWnd);
    EXPECT_FALSE(dx.m_bFailed);
}

TEST(AfxDialog, BitmapButtonShowsTheDisabledImageWhileDisabled) {
    CBitmapButton button;
    ASSERT_TRUE(button.LoadBitmaps(IDB_BUTTON_UP, IDB_BUTTON_UP, IDB_BUTTON_UP, IDB_BUTTON_DOWN));
    HBITMAP normal = button.GetBitmap(CBitmapButton::kNormal);
    HBITMAP disabled = button.GetBitmap(CBitmapButton::kDisabled);
    ASSERT_NE(nullptr, disabled);
    EXPECT_EQ(normal, button.GetShownBitmap(0));
    EXPECT_EQ(disabled, button.GetShownBitmap(ODS_DISABLED));
    EXPECT_EQ(disabled, button.GetShownBitmap(ODS_DISABLED | ODS_FOCUS));
    EXPECT_NE(disabled, button.GetShownBitmap(ODS_FOCUS));
}

class AfxProfile : public ::testing::Test {
protected:
    void SetUp() override { test_settings::Clear(); }
    void TearDown() override { test_settings::Clear(); }
};

TEST_F(AfxProfile, NumbersAreDwordsAndComeBack) {
    CWinApp* app = AfxGetApp();
    EXPECT_TRUE(app->WriteProfileInt(L"Section", L"Value", 0x10187));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), test_settings::ValueType(L"Section", L"Value"));
    EXPECT_EQ(0x10187u, app->GetProfileInt(L"Section", L"Value", 5));
    EXPECT_TRUE(app->WriteProfileInt(L"Section", L"Value", 300));
    EXPECT_EQ(300u, app->GetProfileInt(L"Section", L"Value", 5));
}

TEST_F(AfxProfile, AbsentOrOtherTypeGivesTheDefault) {
    CWinApp* app = AfxGetApp();
    EXPECT_EQ(25u, app->GetProfileInt(L"Nowhere", L"Value", 25));
    EXPECT_TRUE(app->WriteProfileString(L"Section", L"Text", L"16000"));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), test_settings::ValueType(L"Section", L"Text"));
    EXPECT_EQ(12u, app->GetProfileInt(L"Section", L"Text", 12));
    std::wstring text;
    ASSERT_TRUE(test_settings::ReadString(L"Section", L"Text", &text));
    EXPECT_EQ(L"16000", text);
}

TEST_F(AfxProfile, TextsComeBackAndOtherTypesGiveTheDefault) {
    CWinApp* app = AfxGetApp();
    EXPECT_EQ(L"none", app->GetProfileString(L"Section", L"Text", L"none"));
    EXPECT_TRUE(app->WriteProfileString(L"Section", L"Text", L"16000"));
    EXPECT_EQ(L"16000", app->GetProfileString(L"Section", L"Text"));
    EXPECT_TRUE(app->WriteProfileString(L"Section", L"Empty", L""));
    EXPECT_EQ(L"", app->GetProfileString(L"Section", L"Empty", L"x"));
    EXPECT_TRUE(app->WriteProfileInt(L"Section", L"Number", 1));
    EXPECT_EQ(L"x", app->GetProfileString(L"Section", L"Number", L"x"));
}

TEST_F(AfxProfile, BackslashInASectionMakesNestedKeys) {
    CWinApp* app = AfxGetApp();
    EXPECT_TRUE(app->WriteProfileInt(L"All aircraft\\Panel A", L"Button0", 1));
    EXPECT_TRUE(app->WriteProfileInt(L"All aircraft\\Panel B", L"Button0", 2));
    EXPECT_TRUE(test_settings::SectionExists(L"All aircraft"));
    EXPECT_EQ(1u, app->GetProfileInt(L"All aircraft\\Panel A", L"Button0", 0));
    EXPECT_EQ(2u, app->GetProfileInt(L"All aircraft\\Panel B", L"Button0", 0));
}

TEST_F(AfxProfile, AWriteThatCannotBeDoneReportsFailure) {
    CWinApp* app = AfxGetApp();
    std::wstring tooLong(300, L'k');
    EXPECT_FALSE(app->WriteProfileInt(tooLong.c_str(), L"Value", 1));
    EXPECT_FALSE(app->WriteProfileString(tooLong.c_str(), L"Value", L"1"));
}

TEST_F(AfxProfile, SettingsLiveUnderTheRegistryKeyAndProfileName) {
    EXPECT_EQ(test_settings::ProfilePath(), AfxGetApp()->GetAppRegistryPath());
    EXPECT_STREQ(L"Settings", AfxGetApp()->m_pszProfileName);
}

TEST(AfxRegistryKey, RecurseDeleteKeyRemovesTheWholeTree) {
    std::wstring root = test_settings::ProfilePath() + L"\\Tree";
    {
        CKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, (root + L"\\A\\B").c_str()));
        ASSERT_EQ(ERROR_SUCCESS, key.SetValue(L"V", 1u));
    }
    EXPECT_EQ(ERROR_SUCCESS, CKey::RecurseDeleteKey(HKEY_CURRENT_USER, root.c_str()));
    CKey gone;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, gone.Open(HKEY_CURRENT_USER, root.c_str()));
}

}  // namespace
