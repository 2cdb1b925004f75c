// The virtual panel windows in this process: opened by BGInit beside the window it gets,
// driven with real mouse and keyboard input, their LEDs read back from the screen.
#include "vuzoz_test_support.h"
#include "../support/real_input.h"

#include "vuzoz_led_look.h"
#include "vuzoz_virtual_panel_title.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

using real_input::CentreOf;
using vuzoz_test::PumpMessages;
using vuzoz_test::Received;
using vuzoz_test::SetEnv;

// Handles this thread's messages for a while, as a message loop would.
void PumpFor(DWORD milliseconds)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    do {
        PumpMessages();
        Sleep(5);
    } while (GetTickCount64() < end);
    PumpMessages();
}

struct OwnedSearch {
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOwned(HWND hwnd, LPARAM lParam)
{
    OwnedSearch* search = reinterpret_cast<OwnedSearch*>(lParam);
    if (GetWindow(hwnd, GW_OWNER) == search->owner)
        search->found.push_back(hwnd);
    return TRUE;
}

std::wstring TextOf(HWND hwnd)
{
    wchar_t text[256] = L"";
    (void)GetWindowTextW(hwnd, text, 256);
    return text;
}

void SendMouse(DWORD flags, POINT where)
{
    ASSERT_TRUE(real_input::Send({real_input::MouseAt(where, flags)}));
}

void SendKey(WORD key, bool up)
{
    ASSERT_TRUE(real_input::Send({real_input::KeyEvent(key, up)}));
}

COLORREF ScreenPixel(POINT where)
{
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, where.x, where.y);
    (void)ReleaseDC(nullptr, screen);
    return colour;
}

class VirtualPanel : public vuzoz_test::SimulatorTest {
protected:
    void SetUp() override
    {
        SimulatorTest::SetUp();
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"VirtualPanelTestOwner";
        (void)RegisterClassExW(&wc);
        m_owner = CreateWindowExW(0, wc.lpszClassName, L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                  0, 400, 300, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(nullptr, m_owner);
        (void)SetForegroundWindow(m_owner);
        PumpFor(50);

        wchar_t dir[MAX_PATH];
        ASSERT_NE(0u, GetTempPathW(MAX_PATH, dir));
        m_logPath = std::wstring(dir) + L"vuzoz_virtual_log_" +
                    std::to_wstring(GetCurrentProcessId()) + L".txt";
        (void)DeleteFileW(m_logPath.c_str());
    }

    void TearDown() override
    {
        SimulatorTest::TearDown();
        if (m_owner != nullptr)
            (void)DestroyWindow(m_owner);
        PumpMessages();
        (void)DeleteFileW(m_logPath.c_str());
    }

    // BGInit with the virtual panels on, the recording callback registered; the panel
    // windows from top to bottom.
    std::vector<HWND> Open(const wchar_t* panels)
    {
        SetEnv(L"VUZOZ_VIRTUAL", L"1");
        SetEnv(L"VUZOZ_LOG", m_logPath.c_str());
        SetEnv(L"VUZOZ_PANELS", panels);
        EXPECT_EQ(BG_OK, BGInit(m_owner));
        EXPECT_EQ(BG_OK, BG_RegisterInputCallback(vuzoz_test::RecordingCallback));
        PumpFor(60);
        return Panels();
    }

    std::vector<HWND> Panels() const
    {
        OwnedSearch search = {m_owner, {}};
        (void)EnumWindows(CollectOwned, reinterpret_cast<LPARAM>(&search));
        std::sort(search.found.begin(), search.found.end(), [](HWND a, HWND b) {
            RECT ra, rb;
            (void)GetWindowRect(a, &ra);
            (void)GetWindowRect(b, &rb);
            return ra.top < rb.top;
        });
        return search.found;
    }

    // The button bits of the kind-1 packets received so far.
    static std::vector<unsigned> ButtonPackets(unsigned short device)
    {
        std::vector<unsigned> bits;
        for (const vuzoz_test::ReceivedPacket& packet : Received()) {
            if (packet.kind == BG_PACKET_BUTTONS && packet.device == device) {
                EXPECT_EQ(GetCurrentThreadId(), packet.thread);
                bits.push_back(static_cast<unsigned>(packet.value));
            }
        }
        return bits;
    }

    std::vector<std::string> InputLines() const
    {
        std::ifstream file(m_logPath.c_str());
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(file, line)) {
            if (line.compare(0, 6, "input ") == 0)
                lines.push_back(line);
        }
        return lines;
    }

    void Click(HWND target)
    {
        const POINT where = CentreOf(target);
        SendMouse(MOUSEEVENTF_LEFTDOWN, where);
        PumpFor(40);
        SendMouse(MOUSEEVENTF_LEFTUP, where);
        PumpFor(40);
    }

    HWND m_owner = nullptr;
    std::wstring m_logPath;
};

TEST_F(VirtualPanel, NoWindowsUnlessSwitchedOn)
{
    SetEnv(L"VUZOZ_PANELS", L"1,2,3");
    ASSERT_EQ(BG_OK, BGInit(m_owner));
    PumpFor(40);
    EXPECT_TRUE(Panels().empty());
}

TEST_F(VirtualPanel, OneWindowPerPanelBesideTheOwnerWithoutTakingTheFocus)
{
    ASSERT_EQ(m_owner, GetForegroundWindow());
    const std::vector<HWND> panels = Open(L"1,2,3");
    ASSERT_EQ(3u, panels.size());
    EXPECT_EQ(m_owner, GetForegroundWindow());
    EXPECT_EQ(m_owner, GetActiveWindow());

    const LANGID language = vuzoz::UserInterfaceLanguage();
    const wchar_t* english[] = {L"Virtual panel 1: 8x8 pushbutton panel",
                                L"Virtual panel 2: 8x8 toggle switch panel",
                                L"Virtual panel 3: radio panel"};
    RECT ownerRect;
    ASSERT_TRUE(GetWindowRect(m_owner, &ownerRect));
    RECT previous = ownerRect;
    previous.bottom = ownerRect.top;
    for (size_t i = 0; i < panels.size(); ++i) {
        const tagBGDevHWType type = static_cast<tagBGDevHWType>(i + 1);
        EXPECT_EQ(vuzoz::VirtualPanelTitle(static_cast<int>(i + 1), type, language), TextOf(panels[i]));
        if (PRIMARYLANGID(language) != LANG_RUSSIAN) {
            EXPECT_EQ(english[i], TextOf(panels[i]));
        }
        EXPECT_TRUE(IsWindowVisible(panels[i]));
        RECT rect;
        ASSERT_TRUE(GetWindowRect(panels[i], &rect));
        EXPECT_GE(rect.left, ownerRect.right) << "panel " << i;
        EXPECT_GE(rect.top, previous.bottom) << "panel " << i;
        previous = rect;

        const int leds = type == BG_HW_RADIO ? 5 : 8;
        const int inputs = type == BG_HW_RADIO ? 4 : 8;
        for (int led = 0; led < 8; ++led)
            EXPECT_EQ(led < leds, GetDlgItem(panels[i], 101 + led) != nullptr) << "LED " << led;
        for (int input = 0; input < 8; ++input) {
            HWND child = GetDlgItem(panels[i], 1 + input);
            ASSERT_EQ(input < inputs, child != nullptr) << "input " << input;
            if (child != nullptr) {
                EXPECT_EQ(std::to_wstring(input + 1), TextOf(child));
            }
        }
    }
}

TEST_F(VirtualPanel, GoToTheLeftOfAnOwnerAtTheRightEdgeOfTheScreen)
{
    RECT work;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    ASSERT_TRUE(MoveWindow(m_owner, work.right - 400, work.top + 50, 400, 300, TRUE));
    const std::vector<HWND> panels = Open(L"1,3");
    ASSERT_EQ(2u, panels.size());
    for (HWND panel : panels) {
        RECT rect;
        ASSERT_TRUE(GetWindowRect(panel, &rect));
        EXPECT_LE(rect.right, work.right - 400);
        EXPECT_GE(rect.left, work.left);
        EXPECT_GE(rect.top, work.top + 50);
    }
}

TEST_F(VirtualPanel, TitlesInRussian)
{
    const LANGID russian = MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT);
    EXPECT_EQ(L"Виртуальная панель 1: кнопочная панель 8x8",
              vuzoz::VirtualPanelTitle(1, BG_HW_PUSHBUTTON_8X8, russian));
    EXPECT_EQ(L"Виртуальная панель 2: панель тумблеров 8x8",
              vuzoz::VirtualPanelTitle(2, BG_HW_TOGGLE_8X8, russian));
    EXPECT_EQ(L"Виртуальная панель 3: радиопанель", vuzoz::VirtualPanelTitle(3, BG_HW_RADIO, russian));
}

TEST_F(VirtualPanel, PushButtonIsDownWhileTheMouseHoldsIt)
{
    const std::vector<HWND> panels = Open(L"3,1");
    ASSERT_EQ(2u, panels.size());
    HWND button = GetDlgItem(panels[1], 4);
    ASSERT_NE(nullptr, button);
    const POINT where = CentreOf(button);
    SendMouse(MOUSEEVENTF_LEFTDOWN, where);
    PumpFor(60);
    EXPECT_EQ(std::vector<unsigned>{0x08}, ButtonPackets(1));
    PumpFor(150);  // held: nothing more
    EXPECT_EQ(std::vector<unsigned>{0x08}, ButtonPackets(1));
    SendMouse(MOUSEEVENTF_LEFTUP, where);
    PumpFor(60);
    EXPECT_EQ((std::vector<unsigned>{0x08, 0x00}), ButtonPackets(1));
    EXPECT_TRUE(ButtonPackets(0).empty());
    EXPECT_EQ((std::vector<std::string>{"input 1 8", "input 1 0"}), InputLines());
    // Clicked, the panel window is active; the program's own window was until then.
    EXPECT_EQ(panels[1], GetActiveWindow());
}

TEST_F(VirtualPanel, SpaceDigitsAndTabWhileThePanelIsActive)
{
    const std::vector<HWND> panels = Open(L"1");
    ASSERT_EQ(1u, panels.size());
    Click(GetDlgItem(panels[0], 1));
    ASSERT_EQ(panels[0], GetActiveWindow());
    ASSERT_EQ(GetDlgItem(panels[0], 1), GetFocus());
    Received().clear();

    SendKey(VK_TAB, false);
    SendKey(VK_TAB, true);
    PumpFor(30);
    EXPECT_EQ(GetDlgItem(panels[0], 2), GetFocus());
    SendKey(VK_SPACE, false);
    PumpFor(40);
    SendKey('6', false);
    PumpFor(40);
    SendKey(VK_SPACE, true);
    PumpFor(40);
    SendKey('6', true);
    PumpFor(40);
    EXPECT_EQ((std::vector<unsigned>{0x02, 0x22, 0x20, 0x00}), ButtonPackets(0));

    // Keys pressed while another window is active are not the panel's.
    (void)SetForegroundWindow(m_owner);
    PumpFor(40);
    Received().clear();
    SendKey('3', false);
    SendKey('3', true);
    PumpFor(40);
    EXPECT_TRUE(ButtonPackets(0).empty());
}

TEST_F(VirtualPanel, ToggleSwitchStaysUntilClickedAgain)
{
    const std::vector<HWND> panels = Open(L"2");
    ASSERT_EQ(1u, panels.size());
    HWND toggle = GetDlgItem(panels[0], 8);
    Click(toggle);
    PumpFor(100);
    EXPECT_EQ(std::vector<unsigned>{0x80}, ButtonPackets(0));
    ASSERT_EQ(BG_OK, BG_GetButtonStatus(0));
    PumpFor(40);
    EXPECT_EQ((std::vector<unsigned char>{BG_REPORT_BUTTONS, 0x80}), Received().back().bytes);
    Click(toggle);
    EXPECT_EQ((std::vector<unsigned>{0x80, 0x00}), ButtonPackets(0));
    EXPECT_EQ((std::vector<std::string>{"input 0 128", "input 0 0"}), InputLines());
}

TEST_F(VirtualPanel, LedsDrawTheirStateAndBrightness)
{
    const std::vector<HWND> panels = Open(L"3");
    ASSERT_EQ(1u, panels.size());
    const POINT led = CentreOf(GetDlgItem(panels[0], 105));
    EXPECT_EQ(vuzoz::kLedDarkColour, ScreenPixel(led));
    ASSERT_EQ(BG_OK, BG_SetLEDState(0, 4, BG_LED_ON, 0));
    PumpFor(60);
    EXPECT_EQ(vuzoz::LedColour(true, 127), ScreenPixel(led));
    ASSERT_EQ(BG_OK, BG_SetBrightness(0, 255));
    PumpFor(60);
    EXPECT_EQ(vuzoz::kLedFullColour, ScreenPixel(led));
    ASSERT_EQ(BG_OK, BG_SetBrightness(0, 0));
    PumpFor(60);
    EXPECT_EQ(vuzoz::kLedDarkColour, ScreenPixel(led));
    // The other LEDs stayed off.
    EXPECT_EQ(vuzoz::kLedDarkColour, ScreenPixel(CentreOf(GetDlgItem(panels[0], 101))));
}

TEST_F(VirtualPanel, ClosingHidesAndTerminatingDestroys)
{
    const std::vector<HWND> panels = Open(L"1,3");
    ASSERT_EQ(2u, panels.size());
    (void)SendMessageW(panels[0], WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpFor(30);
    EXPECT_TRUE(IsWindow(panels[0]));
    EXPECT_FALSE(IsWindowVisible(panels[0]));
    // The panel still answers.
    ASSERT_EQ(BG_OK, BG_GetLEDStatus(0, 0));
    PumpFor(30);
    EXPECT_FALSE(Received().empty());

    ASSERT_EQ(BG_OK, BGTerminate());
    EXPECT_FALSE(IsWindow(panels[0]));
    EXPECT_FALSE(IsWindow(panels[1]));
    // A second start opens them afresh, once.
    ASSERT_EQ(BG_OK, BGInit(m_owner));
    ASSERT_EQ(BG_OK, BGInit(m_owner));
    PumpFor(30);
    EXPECT_EQ(2u, Panels().size());
}

TEST_F(VirtualPanel, TerminatingOnAnotherThreadClosesThemOnTheirOwn)
{
    const std::vector<HWND> panels = Open(L"1,2");
    ASSERT_EQ(2u, panels.size());
    tagBGDevResult result = BG_ERR_NOT_READY;
    std::thread other([&result] { result = BGTerminate(); });
    other.join();
    ASSERT_EQ(BG_OK, result);
    PumpFor(30);
    EXPECT_FALSE(IsWindow(panels[0]));
    EXPECT_FALSE(IsWindow(panels[1]));
}

TEST_F(VirtualPanel, GoWithTheirOwner)
{
    const std::vector<HWND> panels = Open(L"1");
    ASSERT_EQ(1u, panels.size());
    ASSERT_TRUE(DestroyWindow(m_owner));
    m_owner = nullptr;
    EXPECT_FALSE(IsWindow(panels[0]));
    EXPECT_EQ(BG_OK, BGTerminate());  // nothing left to close
}

}  // namespace
