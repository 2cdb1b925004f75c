// Tollan.exe with the simulator's virtual panel windows on: what a person does to a
// virtual panel reaches the program as panel input, and what the program sets on a
// panel shows on the virtual panel's LEDs (read from the screen).
#include "../../src/vuzoz/vuzoz_led_look.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "process_support.h"
#include "../support/real_input.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

// Control ids of Tollan's windows (res/resource.h).
const int kLedRadioFirst = 1001;  // + 4 * LED + state (0 Off, 1 Slow, 2 Fast, 3 On)
const int kIndicatorFirst = 1033;
const int kLedListFirst = 1020;
const int kBrightnessSlider = 1041;
const int kFastOn = 1043;
const int kFastOff = 1044;

// The virtual panels' own ids.
const int kFirstInput = 1;
const int kFirstLed = 101;

const BYTE kStartBrightness = 127;  // what the simulator's panels start with

using process_test::TollanPath;
using real_input::CentreOf;
using process_test::WaitUntil;

struct WindowSearch {
    DWORD processId;
    HWND owner;  // nullptr: the main window
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM lParam) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == search->processId && ::IsWindowVisible(window) && ::GetWindow(window, GW_OWNER) == search->owner)
        search->found.push_back(window);
    return TRUE;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[256] = L"";
    ::GetWindowTextW(hwnd, text, 256);
    return text;
}

void SendMouse(DWORD flags, POINT where) {
    ASSERT_TRUE(real_input::Send({real_input::MouseAt(where, flags)}));
    ::Sleep(50);
}

void Click(HWND target) {
    SendMouse(MOUSEEVENTF_LEFTDOWN, CentreOf(target));
    SendMouse(MOUSEEVENTF_LEFTUP, CentreOf(target));
}

void PressKey(WORD key) {
    ASSERT_TRUE(real_input::Send(real_input::KeyStroke(key)));
    ::Sleep(50);
}

COLORREF ScreenPixel(POINT where) {
    HDC screen = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(screen, where.x, where.y);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

// What the centre of a virtual LED shows.
enum class Lens { kDark, kLit, kOther };

Lens LensOf(HWND led, BYTE brightness = kStartBrightness) {
    const COLORREF colour = ScreenPixel(CentreOf(led));
    if (colour == vuzoz::kLedDarkColour)
        return Lens::kDark;
    return colour == vuzoz::LedColour(true, brightness) ? Lens::kLit : Lens::kOther;
}

// Watches an LED for a while: the share of the time it was lit and how often it changed.
struct BlinkWatch {
    double litShare = 0;
    int changes = 0;
    int otherSamples = 0;
};

BlinkWatch Watch(HWND led, DWORD milliseconds) {
    BlinkWatch watch;
    ULONGLONG litTime = 0;
    const ULONGLONG start = ::GetTickCount64();
    ULONGLONG previousTime = start;
    Lens previous = LensOf(led);
    while (previousTime - start < milliseconds) {
        ::Sleep(10);
        const Lens lens = LensOf(led);
        const ULONGLONG now = ::GetTickCount64();
        if (lens == Lens::kOther)
            ++watch.otherSamples;
        if (previous == Lens::kLit)
            litTime += now - previousTime;
        if (lens != previous)
            ++watch.changes;
        previous = lens;
        previousTime = now;
    }
    watch.litShare = static_cast<double>(litTime) / static_cast<double>(previousTime - start);
    return watch;
}

class VirtualPanelProcess : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t folder[MAX_PATH] = L"";
        ::GetTempPathW(MAX_PATH, folder);
        m_logPath = std::wstring(folder) + L"tollan-virtual-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                    std::to_wstring(++s_runs) + L".log";
        ::DeleteFileW(m_logPath.c_str());
        ::SetEnvironmentVariableW(L"VUZOZ_LOG", m_logPath.c_str());
        ::SetEnvironmentVariableW(L"VUZOZ_VIRTUAL", L"1");
        ::SetEnvironmentVariableW(L"VUZOZ_FAIL_INIT", nullptr);
        ::SetEnvironmentVariableW(L"VUZOZ_DEMO", nullptr);
    }

    void TearDown() override {
        if (m_process.hProcess != nullptr && m_main != nullptr)
            (void)process_test::CloseAndWait(m_main, m_process);
        process_test::EndProcess(&m_process);
        ::SetEnvironmentVariableW(L"VUZOZ_VIRTUAL", nullptr);
        ::DeleteFileW(m_logPath.c_str());
    }

    // Starts Tollan with these panels and arguments; waits for its window and its
    // panel windows (in device order).
    void Start(const wchar_t* panels, const std::wstring& arguments, size_t panelCount) {
        ASSERT_TRUE(process_test::StartTollan(panels, arguments, &m_process));
        ASSERT_TRUE(WaitUntil(
            [this, panelCount] {
                WindowSearch main = {m_process.dwProcessId, nullptr, {}};
                ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&main));
                if (main.found.empty())
                    return false;
                m_main = main.found[0];
                WindowSearch owned = {m_process.dwProcessId, m_main, {}};
                ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&owned));
                m_panels = owned.found;
                return m_panels.size() >= panelCount;
            },
            30000))
            << "Tollan's window and " << panelCount << " virtual panels did not appear";
        ASSERT_EQ(panelCount, m_panels.size());
        // Device order is top to bottom.
        std::sort(m_panels.begin(), m_panels.end(), [](HWND a, HWND b) { return CentreOf(a).y < CentreOf(b).y; });
        ::Sleep(300);  // the first answers arrive and the pages settle
    }

    HWND Control(int id) const { return process_test::WaitForControl(m_main, id); }

    HWND PanelChild(size_t panel, int id) const { return ::GetDlgItem(m_panels.at(panel), id); }

    bool LogHas(const std::string& wanted) const {
        FILE* file = _wfopen(m_logPath.c_str(), L"r");
        if (file == nullptr)
            return false;
        char line[256];
        bool found = false;
        while (!found && std::fgets(line, sizeof(line), file) != nullptr) {
            std::string text(line);
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
                text.pop_back();
            found = text == wanted;
        }
        std::fclose(file);
        return found;
    }

    static int s_runs;
    std::wstring m_logPath;
    PROCESS_INFORMATION m_process = {};
    HWND m_main = nullptr;
    std::vector<HWND> m_panels;
};

int VirtualPanelProcess::s_runs = 0;

TEST_F(VirtualPanelProcess, OpenBesideTollanWithoutTakingTheFocus) {
    ASSERT_NO_FATAL_FAILURE(Start(L"1,2,3", L"", 3));
    EXPECT_EQ(L"Virtual panel 1: 8x8 pushbutton panel", TextOf(m_panels[0]));
    EXPECT_EQ(L"Virtual panel 2: 8x8 toggle switch panel", TextOf(m_panels[1]));
    EXPECT_EQ(L"Virtual panel 3: radio panel", TextOf(m_panels[2]));
    EXPECT_EQ(m_main, ::GetForegroundWindow());
    RECT main = {};
    ::GetWindowRect(m_main, &main);
    for (HWND panel : m_panels) {
        RECT rect = {};
        ::GetWindowRect(panel, &rect);
        EXPECT_GE(rect.left, main.right);
    }
}

TEST_F(VirtualPanelProcess, PushButtonHeldDisablesItsIndicatorOnTheTestPage) {
    ASSERT_NO_FATAL_FAILURE(Start(L"1", L"test", 1));
    HWND indicator = Control(kIndicatorFirst + 3);
    ASSERT_NE(nullptr, indicator);
    ASSERT_TRUE(::IsWindowEnabled(indicator));
    // Input 3 is the fourth button, labelled "4"; it drives button bit 3.
    HWND button = PanelChild(0, kFirstInput + 3);
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(L"4", TextOf(button));

    SendMouse(MOUSEEVENTF_LEFTDOWN, CentreOf(button));
    EXPECT_TRUE(WaitUntil([indicator] { return !::IsWindowEnabled(indicator); }));
    ::Sleep(300);
    EXPECT_FALSE(::IsWindowEnabled(indicator)) << "released while still held";
    EXPECT_TRUE(::IsWindowEnabled(Control(kIndicatorFirst + 2)));
    SendMouse(MOUSEEVENTF_LEFTUP, CentreOf(button));
    EXPECT_TRUE(WaitUntil([indicator] { return ::IsWindowEnabled(indicator); }));
    EXPECT_TRUE(LogHas("input 0 8"));
    EXPECT_TRUE(LogHas("input 0 0"));
}

TEST_F(VirtualPanelProcess, ToggleSwitchStaysUpUntilClickedAgain) {
    ASSERT_NO_FATAL_FAILURE(Start(L"2", L"test", 1));
    HWND indicator = Control(kIndicatorFirst + 5);
    ASSERT_NE(nullptr, indicator);
    ASSERT_TRUE(::IsWindowEnabled(indicator));
    HWND toggle = PanelChild(0, kFirstInput + 5);
    ASSERT_NE(nullptr, toggle);

    Click(toggle);
    EXPECT_TRUE(WaitUntil([indicator] { return !::IsWindowEnabled(indicator); }));
    ::Sleep(500);
    EXPECT_FALSE(::IsWindowEnabled(indicator)) << "the switch fell back";
    Click(toggle);
    EXPECT_TRUE(WaitUntil([indicator] { return ::IsWindowEnabled(indicator); }));
    EXPECT_TRUE(LogHas("input 0 32"));
    EXPECT_TRUE(LogHas("input 0 0"));
}

TEST_F(VirtualPanelProcess, LedShowsTheStateSetOnTheTestPage) {
    ASSERT_NO_FATAL_FAILURE(Start(L"1", L"test", 1));
    HWND led = PanelChild(0, kFirstLed + 0);
    ASSERT_NE(nullptr, led);
    // The panel window may not have painted yet when the page is up.
    EXPECT_TRUE(WaitUntil([led] { return LensOf(led) == Lens::kDark; }));

    Click(Control(kLedRadioFirst + 3));  // LED 0 On
    EXPECT_TRUE(WaitUntil([led] { return LensOf(led) == Lens::kLit; }));
    EXPECT_EQ(Lens::kDark, LensOf(PanelChild(0, kFirstLed + 1)));
    Click(Control(kLedRadioFirst + 0));  // LED 0 Off
    EXPECT_TRUE(WaitUntil([led] { return LensOf(led) == Lens::kDark; }));

    // Brightness 0 from the keyboard: a lit LED draws dark.
    Click(Control(kLedRadioFirst + 3));
    ASSERT_TRUE(WaitUntil([led] { return LensOf(led) == Lens::kLit; }));
    Click(Control(kBrightnessSlider));
    PressKey(VK_HOME);
    EXPECT_TRUE(WaitUntil([this] { return LogHas("BG_SetBrightness 0 0"); }));
    EXPECT_TRUE(WaitUntil([led] { return LensOf(led, 0) == Lens::kDark; }));
    ::Sleep(200);
    EXPECT_EQ(Lens::kDark, LensOf(led, 0));
}

TEST_F(VirtualPanelProcess, FastBlinkFollowsTheSetPeriods) {
    ASSERT_NO_FATAL_FAILURE(Start(L"1", L"test", 1));
    HWND led = PanelChild(0, kFirstLed + 0);
    ASSERT_NE(nullptr, led);
    ::SendMessageW(Control(kFastOn), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"20"));
    ::SendMessageW(Control(kFastOff), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"60"));
    ASSERT_TRUE(WaitUntil([this] { return LogHas("BG_SetBlinkPeriod 0 25 20 25 60"); }));
    Click(Control(kLedRadioFirst + 2));  // LED 0 Fast
    ASSERT_TRUE(WaitUntil([this] { return LogHas("BG_SetLEDState 0 0 2 0"); }));
    ::Sleep(100);

    // On 0.2 s, off 0.6 s: lit a quarter of the time, four changes in 1.6 s.
    BlinkWatch watch = Watch(led, 1600);
    EXPECT_NEAR(0.25, watch.litShare, 0.12);
    EXPECT_GE(watch.changes, 3);
    EXPECT_LE(watch.changes, 6);
    EXPECT_EQ(0, watch.otherSamples);

    // On 0.6 s, off 0.2 s: three quarters.
    ::SendMessageW(Control(kFastOn), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"60"));
    ::SendMessageW(Control(kFastOff), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"20"));
    ASSERT_TRUE(WaitUntil([this] { return LogHas("BG_SetBlinkPeriod 0 25 60 25 20"); }));
    watch = Watch(led, 1600);
    EXPECT_NEAR(0.75, watch.litShare, 0.12);
    EXPECT_GE(watch.changes, 3);
    EXPECT_LE(watch.changes, 6);
}

TEST_F(VirtualPanelProcess, FocusedListBlinksItsLedInConfigurationMode) {
    ASSERT_NO_FATAL_FAILURE(Start(L"1", L"", 1));
    HWND list = Control(kLedListFirst + 2);
    ASSERT_NE(nullptr, list);
    Click(list);
    PressKey(VK_ESCAPE);  // the list closes and keeps the focus
    ASSERT_TRUE(WaitUntil([this] { return LogHas("BG_SetLEDState 0 2 2 0"); }));
    ::Sleep(100);

    const BlinkWatch focused = Watch(PanelChild(0, kFirstLed + 2), 1000);
    EXPECT_GE(focused.changes, 4) << "the LED of the focused list does not blink";
    EXPECT_GT(focused.litShare, 0.2);
    EXPECT_LT(focused.litShare, 0.8);
    const BlinkWatch other = Watch(PanelChild(0, kFirstLed + 1), 300);
    EXPECT_EQ(0, other.changes);
    EXPECT_EQ(0.0, other.litShare);
}

}  // namespace
