// Driving the program's windows from a test as a user would: the main window made
// modeless over the recording fake, clicks, list close-ups, focus moves, and answers to
// message boxes.
#ifndef TOLLAN_TESTS_UI_HARNESS_H
#define TOLLAN_TESTS_UI_HARNESS_H

#include "mainwnd/main_dialog.h"
#include "fake_vuzoz.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

// Lets messages that were posted to this thread's windows arrive.
void PumpMessages();

// BN_CLICKED from control id of dialog, as the control sends it.
void Click(HWND dialog, int id);
// A notification code of a control (EN_CHANGE, CBN_SETFOCUS, ...), as the control sends it.
void SendCommand(HWND dialog, int id, int code);
// The user opens list id of dialog and closes it with item selected (-1: no selection).
void CloseUp(HWND dialog, int id, int item);
// The focus moves into control id (the real focus, with the notifications it brings).
void Focus(HWND dialog, int id);
// What one click on item of the device list gives with one-click activation: the item
// becomes selected (LVN_ITEMCHANGED), then LVN_ITEMACTIVATE; the messages this posts are let in.
void ActivateDeviceItem(CMainDialog& main, int item);

// Real input through the system's input queue. The dialog becomes the foreground window
// and everything that arrives is handled as the program's modal loop handles it
// (IsDialogMessage first), until the queue has been quiet for a moment.
bool BringToFront(HWND dialog);
void PumpDialog(HWND dialog);
void PressKey(HWND dialog, WORD vk, bool shift = false, bool control = false);
void TypeDigits(HWND dialog, const char* digits);
// A left click at point (client coordinates of window).
void ClickAt(HWND dialog, HWND window, POINT point);
// A left click in the middle of control id of dialog.
void ClickControl(HWND dialog, int id);
// The main window's brightness slider, as the user sees it.
CSliderCtrl BrightnessSlider(const CMainDialog& main);
// The control id of the window with the focus; 0 when no window of this thread has it.
int FocusId();
std::wstring Text(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);

// Answers the message boxes that come up on this thread while it lives, with the given
// buttons in turn, and records their texts (the box's static texts, one per line).
class MessageBoxAnswerer {
public:
    // whileOpen, when given, runs as each box comes up, before it is answered.
    explicit MessageBoxAnswerer(std::vector<int> answers, std::function<void()> whileOpen = nullptr);
    ~MessageBoxAnswerer();
    const std::vector<std::wstring>& Texts() const { return m_texts; }
    const std::vector<UINT>& Buttons() const { return m_buttons; }  // MB_YESNO, MB_OK ... of each box

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK m_hook;
    std::vector<int> m_answers;
    std::function<void()> m_whileOpen;
    std::vector<std::wstring> m_texts;
    std::vector<UINT> m_buttons;
    std::vector<HWND> m_seen;
};

// A main window over the fake device library with the given panels attached, made as
// the application makes it, and gone again at the end of the test.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Makes the main window; before this the test may set fake_vuzoz switches (after Reset).
    void Start(const std::vector<tagBGDevHWType>& panels, bool testMode = false);
    void StartPrepared(bool testMode = false);  // fake already Reset and set up by the test
    // WM_CLOSE as the close box sends it.
    void Close();
    HWND Page() const;  // the window of the current page, or null

    std::unique_ptr<CMainDialog> main;
};

}  // namespace ui

#endif
