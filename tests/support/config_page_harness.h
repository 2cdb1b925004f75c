// Driving the configuration pages: the main window over the fake device library with a
// page shown, picks made as a user makes them, and what the page shows and stores.
#ifndef TOLLAN_TESTS_CONFIG_PAGE_HARNESS_H
#define TOLLAN_TESTS_CONFIG_PAGE_HARNESS_H

#include "config/config_panel.h"
#include "ui_harness.h"

#include <string>
#include <vector>

namespace config_test {

// The row of a label in a vocabulary table; fails the test and gives -1 when there is none.
int EventRow(const wchar_t* label);
int ToggleRow(const wchar_t* label);
int LedRow(const wchar_t* label);

// The sections that the fake's default device key names: "All aircraft\FAKE-1-0".
std::wstring ConfigSection(tagBGDevHWType type, int device);
std::wstring HardwareSection(tagBGDevHWType type, int device);

// Names of the 48 values of a toggle switch or radio panel's configuration section.
std::vector<std::wstring> ToggleValueNames();

// A value of a section as text ("dword 0x1002c", "sz 16000", "absent"), so that a whole
// section can be compared at once and a difference reads plainly.
std::wstring DescribeValue(const std::wstring& section, const std::wstring& name);

// The texts of the program's message boxes, as the user reads them in English.
std::wstring SavePromptText();
std::wstring SaveFailedText();

const char* PanelName(tagBGDevHWType type);

class ConfigPageFixture : public ui::MainWindowTest {
protected:
    // The configuration page shown; fails the test when there is none.
    CConfigPanel& Panel();
    HWND PageWindow();

    // Item 0 of every list is "(none)", row r of its table is item r + 1.
    static int ItemOfRow(int row) { return row == CConfigPanel::kNoRow ? 0 : row < 0 ? -1 : row + 1; }
    // The user opens upper list k or LED list k and closes it on row of the table
    // (CConfigPanel::kNoRow: on "(none)"; -1: with nothing selected).
    void PickButton(int k, int row);
    void PickLED(int k, int row);
    // The item the list shows selected, and its text; -1 and "" when none is.
    int SelectedItem(int id);
    std::wstring SelectedLabel(int id);
    // The row of the item the list shows selected: CConfigPanel::kNoRow for "(none)", -1
    // when nothing is selected.
    int ShownRow(int id);

    void Apply();
    bool ApplyEnabled();

    // Real input, handled as the main window's modal loop handles it. The window comes to
    // the front and the focus goes into list id.
    void FocusList(int id);
    void Press(WORD vk, bool shift = false, bool control = false);
    // Opens list id with a click on its arrow, scrolls the open list to item if it is out of
    // sight (as the wheel would) and clicks it.
    void ClickListItem(int id, int item);
    // The states the fake device holds for LEDs 0 to 7.
    std::vector<int> LedStates(int device);
};

}  // namespace config_test

#endif
