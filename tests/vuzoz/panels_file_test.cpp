// The panels file: panels plugged in and unplugged by editing it while the library runs.
#include "panels_file_test_support.h"

#include "vuzoz_simulator_control.h"
#include "vuzoz_virtual_controls.h"
#include "vuzoz_virtual_panel_title.h"

#include <dbt.h>

#include <algorithm>
#include <thread>

namespace {

using vuzoz_test::DeviceChanges;
using vuzoz_test::PumpFor;
using vuzoz_test::PumpMessages;
using vuzoz_test::Received;
using vuzoz_test::SetEnv;

using PanelsFile = vuzoz_test::PanelsFileTest;

// Every call of a panel with valid arguments, with its result.
std::vector<tagBGDevResult> EveryPanelCall(int device)
{
    return {BG_SetLEDState(device, 0, BG_LED_ON, 0),
            BG_GetLEDStatus(device, 0),
            BG_GetButtonStatus(device),
            BG_SetBrightness(device, 10),
            BG_GetCurBrightness(device),
            BG_SetBlinkPeriod(device, 1, 2, 3, 4),
            BG_GetCurBlinkPeriod(device),
            VUZozSimulator_PressButtons(device, 1)};
}

void ExpectAll(bool succeed, const std::vector<tagBGDevResult>& results)
{
    for (size_t i = 0; i < results.size(); ++i)
        EXPECT_EQ(succeed, results[i] == BG_OK) << "call " << i;
}

TEST_F(PanelsFile, NamesThePanelsAheadOfTheVariable)
{
    SetEnv(L"VUZOZ_PANELS", L"3,3");
    StartWithFile("# my desk\r\n1:A7\r\n\r\n2, 1\r\n");
    EXPECT_EQ((std::vector<int>{1, 2, 1}), AttachedTypes());
    EXPECT_EQ((std::vector<std::string>{"Simulated B88 A7", "Simulated T88 1", "Simulated B88 1"}),
              Keys());
    EXPECT_TRUE(PlugLines().empty());  // attached at BGInit, not plugged in
}

TEST_F(PanelsFile, EditingItPlugsInAndUnplugsAndTellsTheWindowOfBGInit)
{
    StartWithFile("1:A1\n2:B2\n");
    PumpFor(100);
    EXPECT_TRUE(DeviceChanges().empty());

    WriteList("2:B2\n3:C3\n");
    ASSERT_TRUE(WaitForDeviceChange())
        << "no WM_DEVICECHANGE within " << vuzoz_test::kPlugDeadlineMs << " ms";
    ASSERT_EQ(1u, DeviceChanges().size());
    EXPECT_EQ(static_cast<WPARAM>(DBT_DEVNODES_CHANGED), DeviceChanges()[0].wParam);
    EXPECT_EQ(0, DeviceChanges()[0].lParam);
    EXPECT_EQ(GetCurrentThreadId(), DeviceChanges()[0].thread);
    EXPECT_EQ((std::vector<std::string>{"unplug Simulated B88 A1", "plug Simulated RP C3"}),
              PlugLines());
    EXPECT_TRUE(Received().empty());  // no packet tells of it

    // The program learns the new panels at its next BGInit.
    EXPECT_EQ((std::vector<int>{1, 2}), AttachedTypes());
    EXPECT_EQ((std::vector<std::string>{"Simulated B88 A1", "Simulated T88 B2"}), Keys());
    TakePanelsAfresh();
    EXPECT_EQ((std::vector<int>{2, 3}), AttachedTypes());
    EXPECT_EQ((std::vector<std::string>{"Simulated T88 B2", "Simulated RP C3"}), Keys());

    // Saving the same list again, or only its comments, plugs nothing.
    WriteList("# unchanged\n2:B2\n3:C3\n");
    EXPECT_FALSE(WaitForDeviceChange(300));
    EXPECT_EQ(2u, PlugLines().size());
}

TEST_F(PanelsFile, ChangesTakeEffectOnlyAsTheThreadOfBGInitHandlesItsMessages)
{
    StartWithFile("1:A1\n3:C1\n");
    WriteList("3:C1\n");
    Sleep(400);  // no message handled: the panel is still there
    EXPECT_EQ(BG_OK, BG_SetBrightness(0, 5));
    EXPECT_TRUE(PlugLines().empty());

    std::thread other([] { PumpMessages(); });  // another thread's loop does not do it
    other.join();
    EXPECT_EQ(BG_OK, BG_SetBrightness(0, 6));

    ASSERT_TRUE(WaitForDeviceChange());
    EXPECT_NE(BG_OK, BG_SetBrightness(0, 7));
    EXPECT_EQ(std::vector<std::string>{"unplug Simulated B88 A1"}, PlugLines());
}

TEST_F(PanelsFile, CallsForAGonePanelDoNothingAndItsAnswersAreNotDelivered)
{
    StartWithFile("1:A1,3:C1");
    const tagBGDevHWType* types = BGGetDevType();
    ASSERT_EQ(BG_OK, BG_SetBrightness(1, 40));
    // Answers asked for while no callback is registered wait for one.
    ASSERT_EQ(BG_OK, BG_RegisterInputCallback(nullptr));
    ASSERT_EQ(BG_OK, BG_GetCurBrightness(0));
    ASSERT_EQ(BG_OK, BG_GetCurBrightness(1));

    WriteList("3:C1");
    ASSERT_TRUE(WaitForDeviceChange());
    ASSERT_EQ(BG_OK, BG_RegisterInputCallback(vuzoz_test::RecordingCallback));
    PumpMessages();
    ASSERT_EQ(1u, Received().size());  // only the panel still there answers
    EXPECT_EQ(1, Received()[0].device);
    EXPECT_EQ((std::vector<unsigned char>{BG_REPORT_BRIGHTNESS, 40}), Received()[0].bytes);
    Received().clear();

    ExpectAll(false, EveryPanelCall(0));
    ExpectAll(true, EveryPanelCall(1));
    PumpMessages();
    for (const vuzoz_test::ReceivedPacket& packet : Received())
        EXPECT_EQ(1, packet.device);
    EXPECT_FALSE(Received().empty());

    // Until the next BGInit the array and the keys stay what BGInit found.
    EXPECT_EQ(types, BGGetDevType());
    EXPECT_EQ((std::vector<int>{1, 3}), AttachedTypes());
    EXPECT_EQ((std::vector<std::string>{"Simulated B88 A1", "Simulated RP C1"}), Keys());
    const char* key = nullptr;
    EXPECT_NE(BG_OK, BGGetDevKey(2, &key));
}

TEST_F(PanelsFile, APanelPluggedInHasNoDeviceIndexAndSendsNothingUntilTheNextInit)
{
    StartWithFile("1:A1");
    WriteList("1:A1\n2:N1\n");
    ASSERT_TRUE(WaitForDeviceChange());
    EXPECT_EQ(std::vector<int>{1}, AttachedTypes());
    ExpectAll(false, EveryPanelCall(1));
    PumpFor(50);
    EXPECT_TRUE(Received().empty());

    TakePanelsAfresh();
    EXPECT_EQ((std::vector<std::string>{"Simulated B88 A1", "Simulated T88 N1"}), Keys());
    ExpectAll(true, EveryPanelCall(1));
}

TEST_F(PanelsFile, APanelUnpluggedAndPluggedInAgainIsNewAndItsOldIndexStaysGone)
{
    StartWithFile("1:A1");
    WriteList("");
    ASSERT_TRUE(WaitForDeviceChange());
    WriteList("1:A1");
    ASSERT_TRUE(WaitForDeviceChange());
    EXPECT_EQ((std::vector<std::string>{"unplug Simulated B88 A1", "plug Simulated B88 A1"}),
              PlugLines());
    ExpectAll(false, EveryPanelCall(0));

    TakePanelsAfresh();
    ExpectAll(true, EveryPanelCall(0));
}

TEST_F(PanelsFile, WithoutTheFileTheListIsTheVariableOrTheDefault)
{
    SetEnv(L"VUZOZ_PANELS", L"3");
    StartWithFile("1:A1");
    DeleteList();
    ASSERT_TRUE(WaitForDeviceChange());
    EXPECT_EQ((std::vector<std::string>{"unplug Simulated B88 A1", "plug Simulated RP 1"}), PlugLines());

    // Back again, the file names the panels.
    WriteList("1:A1");
    ASSERT_TRUE(WaitForDeviceChange());
    EXPECT_EQ((std::vector<std::string>{"unplug Simulated B88 A1", "plug Simulated RP 1",
                                        "unplug Simulated RP 1", "plug Simulated B88 A1"}),
              PlugLines());

    // Without the variable: one of each type.
    vuzoz_test::UnsetEnv(L"VUZOZ_PANELS");
    DeleteList();
    ASSERT_TRUE(WaitForDeviceChange());
    TakePanelsAfresh();
    EXPECT_EQ((std::vector<std::string>{"Simulated B88 1", "Simulated T88 1", "Simulated RP 1"}),
              Keys());
}

TEST_F(PanelsFile, AFileThatIsNotThereAtInitIsWatchedForAndAnEmptyVariableSetsNone)
{
    SetEnv(L"VUZOZ_PANELS", L"2");
    SetEnv(L"VUZOZ_PANELS_FILE", m_path.c_str());
    SetEnv(L"VUZOZ_LOG", m_logPath.c_str());
    ASSERT_EQ(BG_OK, BGInit(m_owner));
    EXPECT_EQ((std::vector<std::string>{"Simulated T88 1"}), Keys());
    WriteList("3:Z9");
    ASSERT_TRUE(WaitForDeviceChange());
    EXPECT_EQ((std::vector<std::string>{"unplug Simulated T88 1", "plug Simulated RP Z9"}), PlugLines());
    ASSERT_EQ(BG_OK, BGTerminate());

    // An empty variable names no file, whatever VUZoz.ini says: nothing is watched.
    SetEnv(L"VUZOZ_PANELS_FILE", L"");
    ASSERT_EQ(BG_OK, BGInit(m_owner));
    EXPECT_EQ(std::vector<int>{2}, AttachedTypes());
    WriteList("1");
    EXPECT_FALSE(WaitForDeviceChange(300));
}

TEST_F(PanelsFile, ChangesReachNoWindowWhenBGInitHadNone)
{
    WriteList("1:A1");
    SetEnv(L"VUZOZ_PANELS_FILE", m_path.c_str());
    SetEnv(L"VUZOZ_LOG", m_logPath.c_str());
    ASSERT_EQ(BG_OK, BGInit(nullptr));
    WriteList("2:B1");
    const ULONGLONG end = GetTickCount64() + vuzoz_test::kSettleWaitMs;
    while (PlugLines().size() < 2 && GetTickCount64() < end)
        PumpFor(10);
    EXPECT_EQ((std::vector<std::string>{"unplug Simulated B88 A1", "plug Simulated T88 B1"}),
              PlugLines());
    EXPECT_TRUE(DeviceChanges().empty());
    EXPECT_NE(BG_OK, BG_SetBrightness(0, 1));
}

// The virtual panels: one window per attached panel, titled by its place in the list.
class PanelsFileVirtual : public vuzoz_test::PanelsFileTest {
protected:
    std::vector<HWND> PanelWindows() const
    {
        struct Search {
            HWND owner;
            std::vector<HWND> found;
        } search = {m_owner, {}};
        (void)EnumWindows(
            [](HWND hwnd, LPARAM lParam) -> BOOL {
                Search* s = reinterpret_cast<Search*>(lParam);
                if (GetWindow(hwnd, GW_OWNER) == s->owner)
                    s->found.push_back(hwnd);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        std::sort(search.found.begin(), search.found.end(), [](HWND a, HWND b) {
            RECT ra, rb;
            (void)GetWindowRect(a, &ra);
            (void)GetWindowRect(b, &rb);
            return ra.top < rb.top;
        });
        return search.found;
    }

    static std::wstring TitleOf(HWND hwnd)
    {
        wchar_t text[256] = L"";
        (void)GetWindowTextW(hwnd, text, 256);
        return text;
    }

    static void ExpectTitle(int position, tagBGDevHWType type, const wchar_t* english, HWND hwnd)
    {
        const LANGID language = vuzoz::UserInterfaceLanguage();
        EXPECT_EQ(vuzoz::VirtualPanelTitle(position, type, language), TitleOf(hwnd));
        if (PRIMARYLANGID(language) != LANG_RUSSIAN) {
            EXPECT_EQ(english, TitleOf(hwnd));
        }
    }

    // A real click in the middle of a window.
    static void Click(HWND target)
    {
        RECT rect;
        ASSERT_TRUE(GetWindowRect(target, &rect));
        INPUT input[2] = {};
        for (INPUT& one : input) {
            one.type = INPUT_MOUSE;
            one.mi.dx = (rect.left + rect.right) / 2 * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
            one.mi.dy = (rect.top + rect.bottom) / 2 * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        }
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
        ASSERT_EQ(1u, SendInput(1, &input[0], sizeof(INPUT)));
        PumpFor(40);
        ASSERT_EQ(1u, SendInput(1, &input[1], sizeof(INPUT)));
        PumpFor(40);
    }

    std::vector<std::string> InputLines() const
    {
        std::istringstream log(vuzoz_test::ReadWholeFile(m_logPath));
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(log, line)) {
            if (line.compare(0, 6, "input ") == 0)
                lines.push_back(line);
        }
        return lines;
    }
};

TEST_F(PanelsFileVirtual, WindowsOpenAndCloseWithTheirPanels)
{
    SetEnv(L"VUZOZ_VIRTUAL", L"1");
    StartWithFile("1:A1\n3:C1\n");
    PumpFor(60);
    const std::vector<HWND> before = PanelWindows();
    ASSERT_EQ(2u, before.size());
    ExpectTitle(1, BG_HW_PUSHBUTTON_8X8, L"Virtual panel 1: 8x8 pushbutton panel", before[0]);
    ExpectTitle(2, BG_HW_RADIO, L"Virtual panel 2: radio panel", before[1]);

    WriteList("3:C1\n2:T5\n");
    ASSERT_TRUE(WaitForDeviceChange());
    PumpFor(60);
    EXPECT_FALSE(IsWindow(before[0]));
    const std::vector<HWND> after = PanelWindows();
    ASSERT_EQ(2u, after.size());
    EXPECT_EQ(before[1], after[0]);  // the radio panel's window stays, named by its new place
    ExpectTitle(1, BG_HW_RADIO, L"Virtual panel 1: radio panel", after[0]);
    ExpectTitle(2, BG_HW_TOGGLE_8X8, L"Virtual panel 2: 8x8 toggle switch panel", after[1]);
    EXPECT_TRUE(IsWindowVisible(after[1]));
    EXPECT_EQ(m_owner, GetForegroundWindow());  // opened without taking the activation

    // The new panel's switch moves, but its input reaches no one before the next BGInit.
    HWND newSwitch = GetDlgItem(after[1], 3);
    ASSERT_NE(nullptr, newSwitch);
    Click(newSwitch);
    EXPECT_TRUE(vuzoz::IsInputShownDown(newSwitch));
    EXPECT_TRUE(Received().empty());
    EXPECT_TRUE(InputLines().empty());
    // The radio panel still has its device index from BGInit.
    Click(GetDlgItem(after[0], 2));
    EXPECT_EQ((std::vector<std::string>{"input 1 2", "input 1 0"}), InputLines());
    ASSERT_FALSE(Received().empty());
    EXPECT_EQ(1, Received()[0].device);

    // At the next BGInit the windows open afresh for the panels of the file.
    TakePanelsAfresh();
    PumpFor(60);
    const std::vector<HWND> fresh = PanelWindows();
    ASSERT_EQ(2u, fresh.size());
    ExpectTitle(1, BG_HW_RADIO, L"Virtual panel 1: radio panel", fresh[0]);
    ExpectTitle(2, BG_HW_TOGGLE_8X8, L"Virtual panel 2: 8x8 toggle switch panel", fresh[1]);

    // Unplugging everything closes every window; BGTerminate has none left to close.
    WriteList("");
    ASSERT_TRUE(WaitForDeviceChange());
    PumpFor(30);
    EXPECT_TRUE(PanelWindows().empty());
    EXPECT_EQ(BG_OK, BGTerminate());
}

}  // namespace
