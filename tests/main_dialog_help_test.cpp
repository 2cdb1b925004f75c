// Help: the Help button and F1 anywhere in the main window ask the shell to open the
// guide of the user interface language; a missing guide is reported with its path.
#include "mainwnd/help_guide.h"
#include "resource.h"
#include "ui_harness.h"

#include <string>
#include <vector>

namespace {

const tagBGDevHWType B88 = BG_HW_PUSHBUTTON_8X8;

struct ShellRequest {
    HWND owner;
    std::wstring verb;
    std::wstring file;
};
std::vector<ShellRequest> g_requests;

HINSTANCE WINAPI RecordShellOpen(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR, INT) {
    g_requests.push_back({owner, verb != nullptr ? verb : L"", file != nullptr ? file : L""});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

bool EndsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class MainDialogHelp : public ui::MainWindowTest {
protected:
    void SetUp() override {
        ui::MainWindowTest::SetUp();
        g_requests.clear();
        m_shellOpen = g_pfnShellOpen;
        g_pfnShellOpen = RecordShellOpen;
    }
    void TearDown() override {
        g_pfnShellOpen = m_shellOpen;
        if (!m_movedGuide.empty())
            (void)::MoveFileW(m_movedGuide.c_str(), GuideFolder().c_str());
        ui::MainWindowTest::TearDown();
    }

    static std::wstring GuideFolder() {
        std::wstring path = UserGuidePath();
        return path.substr(0, path.find_last_of(L'\\'));
    }

    // Clicks the Help button as the mouse does: the button's own click handling.
    void ClickHelp() {
        ::SendMessageW(::GetDlgItem(main->m_hWnd, ID_HELP), BM_CLICK, 0, 0);
        ui::PumpMessages();
    }

    std::wstring m_movedGuide;
    ShellOpenFunction m_shellOpen = nullptr;
};

TEST_F(MainDialogHelp, UserInterfaceLanguageGuideOpensFromTheHelpButton) {
    Start({B88});
    ClickHelp();
    ASSERT_EQ(1u, g_requests.size());
    bool russian = PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_RUSSIAN;
    EXPECT_TRUE(EndsWith(g_requests[0].file, russian ? L"\\help\\ru\\index.html" : L"\\help\\en\\index.html"))
        << std::string(g_requests[0].file.begin(), g_requests[0].file.end());
    EXPECT_EQ(L"open", g_requests[0].verb);
    EXPECT_EQ(main->m_hWnd, g_requests[0].owner);
    // The guide is really there, beside the program, in both languages.
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(g_requests[0].file.c_str()));
    std::wstring help = GuideFolder().substr(0, GuideFolder().find_last_of(L'\\'));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((help + L"\\en\\index.html").c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((help + L"\\ru\\index.html").c_str()));
}

TEST_F(MainDialogHelp, F1OpensTheGuideWhereverTheFocusIs) {
    Start({B88});
    ::SetForegroundWindow(main->m_hWnd);
    // The focus in a blink period field, then in a list of the configuration page.
    ui::Focus(main->m_hWnd, IDC_FAST_ON);
    ui::PressKey(main->m_hWnd, VK_F1);
    ui::PumpMessages();
    ASSERT_EQ(1u, g_requests.size());
    EXPECT_EQ(UserGuidePath(), g_requests[0].file);

    HWND page = Page();
    ASSERT_NE(nullptr, page);
    ui::Focus(page, IDC_BUTTON_LIST_FIRST);
    ui::PressKey(main->m_hWnd, VK_F1);
    ui::PumpMessages();
    ASSERT_EQ(2u, g_requests.size());
    EXPECT_EQ(UserGuidePath(), g_requests[1].file);
}

TEST_F(MainDialogHelp, AMissingGuideIsReportedWithWhereItWasExpected) {
    Start({B88});
    m_movedGuide = GuideFolder() + L"-away";
    ASSERT_TRUE(::MoveFileW(GuideFolder().c_str(), m_movedGuide.c_str()));
    {
        ui::MessageBoxAnswerer answerer({IDOK});
        ClickHelp();
        ASSERT_EQ(1u, answerer.Texts().size());
        EXPECT_NE(std::wstring::npos, answerer.Texts()[0].find(UserGuidePath()));
    }
    EXPECT_TRUE(g_requests.empty()) << "nothing handed to the shell";
}

}  // namespace
