// Reading a test page as the user sees it: which radio of each LED column is checked,
// which picture each indicator shows, and every control's state at once.
#ifndef TOLLAN_TESTS_TEST_PAGE_SUPPORT_H
#define TOLLAN_TESTS_TEST_PAGE_SUPPORT_H

#include "ui_harness.h"

#include "paneltest/panel_test_page.h"

#include <ostream>
#include <string>
#include <vector>

namespace test_page {

// One panel type as its test page must show it.
struct PageKind {
    const char* name;
    tagBGDevHWType type;
    int leds;
    int indicators;
    UINT bitClearPicture;
    UINT bitSetPicture;
};

extern const PageKind kPushbuttonPage;
extern const PageKind kTogglePage;
extern const PageKind kRadioPage;

inline std::ostream& operator<<(std::ostream& out, const PageKind& kind) { return out << kind.name; }

int RadioId(int led, int state);
int IndicatorId(int button);

// The checks of LED column led in state order Off, Slow, Fast, On: "1000" is Off.
std::string Column(HWND page, int led);
// Column text with only state checked.
std::string Only(int state);
std::vector<std::string> Grid(HWND page, int leds);
std::vector<std::string> AllOff(int leds);

// The picture (one of the page's two ids) that indicator button shows for its state as
// CBitmapButton::GetShownBitmap picks it; 0 when it is neither.
UINT ShownPicture(const CTestPanel& page, const PageKind& kind, int button);
// The picture the indicator really paints into a device context; 0 when neither.
UINT PaintedPicture(const CTestPanel& page, const PageKind& kind, int button);

// Id, check state, enabled and visible flag and text of every control of the page.
std::vector<std::string> Snapshot(HWND page);

// The calls that a test page makes: LED commands and the LED and button requests.
std::vector<std::string> PageCalls();

}  // namespace test_page

#endif
