// The program at the display scale of the test run. tests/dpi/run_at_dpi.sh runs these
// suites in a Wine prefix whose LogPixels is TOLLAN_TEST_DPI (96, 120, 144 or 192). The run
// at 96 DPI records the layout of every page in the file TOLLAN_DPI_LAYOUT; the others
// compare with it. What a page shows is read back from the screen.
#include "mainwnd/about_dialog.h"
#include "config/config_panel.h"
#include "paneltest/panel_test_page.h"
#include "resource.h"
#include "screen_pixels.h"
#include "ui_harness.h"
#include "window_layout.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using screen_pixels::Pixels;
using ui::MainWindowTest;
using window_layout::ClassOf;
using window_layout::Describe;
using window_layout::ExpectLaidOutWhole;
using window_layout::RectIn;
using window_layout::ScreenRect;
using window_layout::VisibleChildren;

const tagBGDevHWType B88 = BG_HW_PUSHBUTTON_8X8;
const tagBGDevHWType T88 = BG_HW_TOGGLE_8X8;
const tagBGDevHWType RP = BG_HW_RADIO;

const COLORREF kLedRed = RGB(255, 32, 32);
const COLORREF kLedHighlight = RGB(255, 160, 160);

int TestDpi() {
    const char* dpi = std::getenv("TOLLAN_TEST_DPI");
    return dpi != nullptr ? std::atoi(dpi) : 96;
}

int PercentOf(int dpi) {
    switch (dpi) {
    case 120: return 125;
    case 144: return 150;
    case 192: return 200;
    default: return 100;
    }
}

int Scaled(int length, int percent) { return (length * percent + 50) / 100; }

UINT ScaledId(UINT baseId, int percent) {
    switch (percent) {
    case 125: return baseId + 1000;
    case 150: return baseId + 2000;
    case 200: return baseId + 3000;
    default: return baseId;
    }
}

bool IsPicture(HWND control) {
    return ClassOf(control) == L"Static" && (::GetWindowLongPtrW(control, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP;
}

int IndexOfPicture(const std::vector<HWND>& children) {
    for (size_t i = 0; i < children.size(); ++i) {
        if (IsPicture(children[i]))
            return static_cast<int>(i);
    }
    return -1;
}

// Index of the number k + 1 under the picture: of the two statics with that text (the row
// under the picture and the column between the lists) the upper one.
int IndexOfNumber(const std::vector<HWND>& children, int k) {
    int found = -1;
    for (size_t i = 0; i < children.size(); ++i) {
        wchar_t text[8] = L"";
        ::GetWindowTextW(children[i], text, 8);
        if (ClassOf(children[i]) != L"Static" || text != std::to_wstring(k + 1))
            continue;
        if (found < 0 || ScreenRect(children[i]).top < ScreenRect(children[static_cast<size_t>(found)]).top)
            found = static_cast<int>(i);
    }
    return found;
}

// The horizontal centres, in screen pixels times two, of the LEDs that picture shows.
std::vector<int> LedCentresTimesTwo(HWND picture) {
    const RECT rect = ScreenRect(picture);
    const Pixels shown = screen_pixels::Capture(rect);
    std::vector<int> centres;
    int first = -1;
    for (int x = 0; x <= shown.width; ++x) {
        bool led = false;
        for (int y = 0; x < shown.width && y < shown.height && !led; ++y)
            led = shown.At(x, y) == kLedRed || shown.At(x, y) == kLedHighlight;
        if (led && first < 0)
            first = x;
        if (!led && first >= 0) {
            centres.push_back(2 * rect.left + first + x);
            first = -1;
        }
    }
    return centres;
}

// The horizontal centre, in screen pixels times two, of the ink of a label's text; -1 when
// the label shows no ink.
int InkCentreTimesTwo(HWND label) {
    const RECT rect = ScreenRect(label);
    const Pixels shown = screen_pixels::Capture(rect);
    if (shown.width == 0)
        return -1;
    const COLORREF background = shown.At(0, 0);
    const auto lightness = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    int left = -1;
    int right = -1;
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            if (std::abs(lightness(shown.At(x, y)) - lightness(background)) < 150)
                continue;
            if (left < 0 || x < left)
                left = x;
            if (x > right)
                right = x;
        }
    }
    return left < 0 ? -1 : 2 * rect.left + left + right + 1;
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info = {};
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof(info), &info) == 0)
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

SIZE IconSize(HICON icon) {
    ICONINFO info = {};
    if (icon == nullptr || !::GetIconInfo(icon, &info))
        return SIZE{0, 0};
    const SIZE size = BitmapSize(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask);
    if (info.hbmColor != nullptr)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr)
        ::DeleteObject(info.hbmMask);
    return size;
}

// Pixels of one horizontal dialog unit of window's font, at 96 DPI.
double DialogUnitWidthAt96(HWND window, int dpi) {
    RECT units = {0, 0, 400, 0};
    ::MapDialogRect(window, &units);
    return units.right / 400.0 * 96.0 / dpi;
}

// The thread loads the resources of this language while it lives.
class UserInterfaceLanguage {
public:
    explicit UserInterfaceLanguage(LANGID language)
        : m_language(::GetThreadUILanguage()), m_locale(::GetThreadLocale()) {
        ::SetThreadUILanguage(language);
        ::SetThreadLocale(MAKELCID(language, SORT_DEFAULT));
    }
    ~UserInterfaceLanguage() {
        ::SetThreadUILanguage(m_language);
        ::SetThreadLocale(m_locale);
    }

private:
    LANGID m_language;
    LCID m_locale;
};

struct Language {
    const char* name;
    LANGID id;
};

const Language kLanguages[] = {{"en", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)},
                               {"ru", MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT)}};

struct PageKind {
    const char* name;
    std::vector<tagBGDevHWType> panels;
    bool testMode;
    UINT picture;          // 0: none
    UINT indicatorPicture;  // bit-clear picture of the indicators; 0: none
    bool numbersUnderLeds;  // the numbers under the picture stand under its LEDs
};

const PageKind kPages[] = {
    {"config-b88", {B88}, false, IDB_PANEL_B88, 0, true},
    {"config-t88", {T88}, false, IDB_PANEL_T88, 0, true},
    {"config-rp", {RP}, false, IDB_PANEL_RP, 0, false},
    {"test-b88", {B88}, true, IDB_PANEL_B88, IDB_BUTTON_UP, false},
    {"test-t88", {T88}, true, IDB_PANEL_T88, IDB_TOGGLE_END, false},
    {"test-rp", {RP}, true, IDB_PANEL_RP, IDB_BUTTON_UP, false},
    {"error", {}, false, 0, 0, false},
};

// The layout at 96 DPI: the rectangles of each page's visible controls in window order, and
// how many panels the device list shows at once.
class RecordedLayout {
public:
    static std::string Path() {
        const char* path = std::getenv("TOLLAN_DPI_LAYOUT");
        return path != nullptr ? path : "dpi-layout-96.txt";
    }

    bool Load() {
        std::ifstream file(Path());
        std::string line;
        while (std::getline(file, line)) {
            std::istringstream fields(line);
            std::string kind;
            std::string key;
            fields >> kind >> key;
            if (kind == "list") {
                fields >> m_listCounts[key];
            } else if (kind == "page") {
                size_t count = 0;
                fields >> count;
                std::vector<RECT>& rects = m_pages[key];
                for (size_t i = 0; i < count; ++i) {
                    RECT rect = {};
                    fields >> rect.left >> rect.top >> rect.right >> rect.bottom;
                    rects.push_back(rect);
                }
            }
        }
        return !m_pages.empty();
    }

    void Save() const {
        std::ofstream file(Path());
        for (const auto& page : m_pages) {
            file << "page " << page.first << " " << page.second.size();
            for (const RECT& rect : page.second)
                file << " " << rect.left << " " << rect.top << " " << rect.right << " " << rect.bottom;
            file << "\n";
        }
        for (const auto& list : m_listCounts)
            file << "list " << list.first << " " << list.second << "\n";
    }

    std::map<std::string, std::vector<RECT>> m_pages;
    std::map<std::string, int> m_listCounts;
};

class DisplayScalePages : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        dpi = TestDpi();
        percent = PercentOf(dpi);
    }

    void StartShown(const std::vector<tagBGDevHWType>& panels, bool testMode) {
        Start(panels, testMode);
        ::RedrawWindow(main->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ui::PumpMessages();
    }

    void CheckPicture(HWND page, UINT pictureId, int shownPercent) {
        const std::vector<HWND> children = VisibleChildren(page);
        const int index = IndexOfPicture(children);
        ASSERT_GE(index, 0);
        HWND picture = children[static_cast<size_t>(index)];
        const RECT rect = ScreenRect(picture);
        EXPECT_EQ(Scaled(200, shownPercent), rect.right - rect.left);
        EXPECT_EQ(Scaled(56, shownPercent), rect.bottom - rect.top);
        const Pixels expected = screen_pixels::OfResource(ScaledId(pictureId, shownPercent));
        ASSERT_EQ(Scaled(200, shownPercent), expected.width);
        // The part the page shows: a picture larger than the page's dialog units is cut there.
        RECT visible = {};
        const RECT pageRect = ScreenRect(page);
        ::IntersectRect(&visible, &rect, &pageRect);
        const Pixels shown = screen_pixels::Capture(visible);
        // Controls that the dialog units put over a picture larger than them cover it there.
        std::vector<RECT> covering;
        for (HWND child : children) {
            RECT over = {};
            RECT other = ScreenRect(child);
            if (child != picture && ::IntersectRect(&over, &other, &rect) && !::EqualRect(&over, &rect))
                covering.push_back(over);
        }
        int differences = 0;
        for (int y = 0; y < visible.bottom - visible.top; ++y) {
            for (int x = 0; x < visible.right - visible.left; ++x) {
                const POINT at = {visible.left + x, visible.top + y};
                bool covered = false;
                for (const RECT& over : covering)
                    covered = covered || ::PtInRect(&over, at);
                if (!covered && expected.At(at.x - rect.left, at.y - rect.top) != shown.At(x, y))
                    ++differences;
            }
        }
        EXPECT_EQ(0, differences) << "pixels of the picture that differ from the " << shownPercent << " % picture";
        if (shownPercent == PercentOf(dpi)) {
            EXPECT_TRUE(covering.empty()) << "controls over the picture";
        }
    }

    // Each number under the picture stands under its LED, as the screen shows them.
    void CheckNumbersUnderLeds(HWND page) {
        const std::vector<HWND> children = VisibleChildren(page);
        const int pictureIndex = IndexOfPicture(children);
        ASSERT_GE(pictureIndex, 0);
        const std::vector<int> leds = LedCentresTimesTwo(children[static_cast<size_t>(pictureIndex)]);
        ASSERT_EQ(8u, leds.size());
        for (int k = 0; k < 8; ++k) {
            const int label = IndexOfNumber(children, k);
            ASSERT_GE(label, 0) << "number " << k + 1;
            const int ink = InkCentreTimesTwo(children[static_cast<size_t>(label)]);
            ASSERT_GE(ink, 0) << "number " << k + 1 << " shows nothing";
            const RECT rect = ScreenRect(children[static_cast<size_t>(label)]);
            EXPECT_LE(std::abs(ink - leds[static_cast<size_t>(k)]), 4)
                << "number " << k + 1 << " at " << ink / 2.0 << " (label " << rect.left << " to " << rect.right
                << "), its LED at " << leds[static_cast<size_t>(k)] / 2.0;
        }
    }

    // The device list shows each panel's picture of the scale exactly, the selected one
    // framed, every item whole in the list.
    // wholeItems false: the list keeps its size while its pictures grew (Wine does not scale
    // a dialog's controls when the scale changes), so only the part of each picture that the
    // list shows is compared.
    void CheckDevicePictures(int shownPercent, bool wholeItems = true) {
        HWND list = main->DeviceList().m_hWnd;
        const Pixels strip = screen_pixels::OfResource(ScaledId(IDB_DEVICE_LIST, shownPercent));
        ASSERT_EQ(4 * Scaled(104, shownPercent), strip.width);
        ASSERT_EQ(Scaled(34, shownPercent), strip.height);
        const int width = strip.width / 4;
        RECT client = {};
        ::GetClientRect(list, &client);
        for (int item = 0; item < main->DeviceList().GetItemCount(); ++item) {
            RECT bounds = {};
            bounds.left = LVIR_BOUNDS;
            ASSERT_TRUE(::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&bounds)));
            if (wholeItems) {
                EXPECT_LE(bounds.right - bounds.left, client.right) << "the list is narrower than its pictures";
            }
            RECT cell = {};
            cell.left = LVIR_ICON;
            ASSERT_TRUE(::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell)));
            const LONG cellWidth = cell.right - cell.left;
            if (!wholeItems)
                cell.right = std::min(cell.right, client.right);
            ::MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&cell), 2);
            const Pixels shown = screen_pixels::Capture(cell);
            const int type = static_cast<int>(main->DeviceTypes()[item]);
            // The picture somewhere in its cell with a margin on every side, every pixel as drawn.
            const int margin = (cellWidth - width) / 2;
            EXPECT_GT(margin, 0) << "item " << item << " has no room for the selection frame";
            bool found = false;
            for (int top = 1; !found && top + strip.height < shown.height; ++top) {
                for (int left = 1; !found && left + width < (wholeItems ? shown.width : width + 2 * margin); ++left) {
                    bool same = true;
                    for (int y = 0; same && y < strip.height; ++y) {
                        for (int x = 0; same && x < width && left + x < shown.width; ++x) {
                            const COLORREF colour = strip.At(type * width + x, y);
                            same = colour == RGB(4, 0, 0) || colour == shown.At(left + x, top + y);
                        }
                    }
                    found = same;
                }
            }
            EXPECT_TRUE(found) << "item " << item << " does not show its picture of the scale as drawn";
        }
    }

    // How many panels the list shows at once: at 96 DPI recorded, at the others as many.
    void CheckDeviceListCount(const std::string& key, RecordedLayout& layout) {
        HWND list = main->DeviceList().m_hWnd;
        RECT client = {};
        ::GetClientRect(list, &client);
        RECT item = {};
        item.left = LVIR_BOUNDS;
        ASSERT_TRUE(::SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)));
        const int perPage = static_cast<int>(::SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
        EXPECT_GT(perPage, 0);
        if (dpi == 96) {
            layout.m_listCounts[key] = perPage;
        } else {
            // The list grows with the dialog font, which Wine grows a little less than the DPI at
            // 120 DPI (1.16 times): there one panel fewer may fit.
            EXPECT_LE(std::abs(layout.m_listCounts[key] - perPage), 1)
                << "panels the device list shows at once (items " << item.bottom - item.top << " pixels high in "
                << client.bottom << ")";
        }
    }

    void CheckIndicators(UINT clearPicture) {
        ASSERT_NE(nullptr, main->TestPage());
        CTestPanel& page = *static_cast<CTestPanel*>(main->TestPage());
        const Pixels expected = screen_pixels::OfResource(ScaledId(clearPicture, percent));
        ASSERT_EQ(Scaled(30, percent), expected.width);
        for (int i = 0; i < page.GetIndicatorCount(); ++i) {
            const CBitmapButton& indicator = page.m_indicators[i];
            for (int image = 0; image < CBitmapButton::kImageCount; ++image) {
                const SIZE size = BitmapSize(indicator.GetBitmap(image));
                EXPECT_EQ(Scaled(30, percent), size.cx) << "indicator " << i << " image " << image;
                EXPECT_EQ(Scaled(30, percent), size.cy) << "indicator " << i << " image " << image;
            }
            const RECT rect = ScreenRect(indicator.m_hWnd);
            const int width = std::min<int>(rect.right - rect.left, expected.width);
            const int height = std::min<int>(rect.bottom - rect.top, expected.height);
            const Pixels shown = screen_pixels::Capture(rect);
            EXPECT_EQ(0, screen_pixels::Differences(expected, shown, 0, 0, width, height)) << "indicator " << i;
        }
    }

    int dpi = 96;
    int percent = 100;
};

TEST_F(DisplayScalePages, EveryPageInBothLanguagesAtTheScaleOfTheScreen) {
    HDC screen = ::GetDC(nullptr);
    const int screenDpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, screenDpi) << "the Wine prefix does not run at the DPI of the test";

    // The run has the dialog font it is meant to have: Tahoma, as Windows draws dialogs, or a
    // wide font in its place (TOLLAN_TEST_FONTS=wide).
    {
        Start({B88});
        const double unit = DialogUnitWidthAt96(main->m_hWnd, dpi);
        const char* fonts = std::getenv("TOLLAN_TEST_FONTS");
        if (fonts != nullptr && std::string(fonts) == "wide")
            EXPECT_GE(unit, 1.6) << "pixels per dialog unit: the wide font is not in use";
        else
            EXPECT_LE(unit, 1.6) << "pixels per dialog unit: Tahoma is not in use";
        std::printf("[ dialog font ] %.3f pixels per horizontal dialog unit at 96 DPI\n", unit);
        main->DestroyWindow();
        ui::PumpMessages();
        main.reset();
    }

    RecordedLayout layout;
    if (dpi != 96) {
        ASSERT_TRUE(layout.Load()) << "no layout recorded at 96 DPI in " << RecordedLayout::Path();
    }

    for (const Language& language : kLanguages) {
        UserInterfaceLanguage use(language.id);
        for (const PageKind& kind : kPages) {
            const std::string key = std::string(language.name) + "-" + kind.name;
            SCOPED_TRACE(key + " at " + std::to_string(dpi) + " DPI");
            StartShown(kind.panels, kind.testMode);
            const bool russian = language.id == kLanguages[1].id;
            ASSERT_EQ(russian, ui::Text(main->m_hWnd, IDC_APPLY) != L"Apply") << "the page is not in " << language.name;
            HWND page = Page();
            ASSERT_NE(nullptr, page);
            ASSERT_TRUE(::IsWindowVisible(page));

            const std::vector<HWND> children = VisibleChildren(page);
            ASSERT_FALSE(children.empty());
            std::vector<RECT> rects;
            for (HWND child : children)
                rects.push_back(RectIn(child, page));
            ExpectLaidOutWhole(page, children);
            if (&kind == &kPages[0])
                ExpectLaidOutWhole(main->m_hWnd, VisibleChildren(main->m_hWnd));
            if (dpi == 96) {
                layout.m_pages[key] = rects;
            } else {
                const std::vector<RECT>& at96 = layout.m_pages[key];
                ASSERT_EQ(at96.size(), rects.size()) << "controls of the page";
                // The numbers keep their place along the picture, in proportion to it.
                const int picture = IndexOfPicture(children);
                for (int k = 0; kind.picture != 0 && !kind.testMode && k < 8; ++k) {
                    const size_t number = static_cast<size_t>(IndexOfNumber(children, k));
                    const size_t p = static_cast<size_t>(picture);
                    const int offset96 = at96[number].left + at96[number].right - 2 * at96[p].left;
                    const int offset = rects[number].left + rects[number].right - 2 * rects[p].left;
                    EXPECT_LE(std::abs(offset - Scaled(offset96, percent)), 4) << "number " << k + 1;
                }
            }
            if (kind.picture != 0)
                CheckPicture(page, kind.picture, percent);
            if (kind.numbersUnderLeds)
                CheckNumbersUnderLeds(page);
            if (kind.indicatorPicture != 0)
                CheckIndicators(kind.indicatorPicture);
            if (!kind.panels.empty()) {
                CheckDevicePictures(percent);
                CheckDeviceListCount(key, layout);
            }
        }
    }
    if (dpi == 96 && !HasFailure())
        layout.Save();
}

TEST_F(DisplayScalePages, WindowIconsAndTheAboutBoxIconHaveTheSizeOfTheScale) {
    Start({B88});
    const SIZE big = IconSize(reinterpret_cast<HICON>(::SendMessageW(main->m_hWnd, WM_GETICON, ICON_BIG, 0)));
    const SIZE smallIcon = IconSize(reinterpret_cast<HICON>(::SendMessageW(main->m_hWnd, WM_GETICON, ICON_SMALL, 0)));
    EXPECT_EQ(::MulDiv(32, dpi, 96), big.cx);
    EXPECT_EQ(::MulDiv(32, dpi, 96), big.cy);
    EXPECT_EQ(::MulDiv(16, dpi, 96), smallIcon.cx);
    EXPECT_EQ(::MulDiv(16, dpi, 96), smallIcon.cy);

    CAboutDialog about;
    ASSERT_TRUE(about.Create(IDD_ABOUTBOX, nullptr));
    HWND iconControl = nullptr;
    for (HWND child = ::GetWindow(about.m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && ClassOf(child) == L"Static")
            iconControl = child;
    }
    ASSERT_NE(nullptr, iconControl);
    const SIZE shown = IconSize(reinterpret_cast<HICON>(::SendMessageW(iconControl, STM_GETICON, 0, 0)));
    EXPECT_EQ(::MulDiv(32, dpi, 96), shown.cx);
    EXPECT_EQ(::MulDiv(32, dpi, 96), shown.cy);
    about.DestroyWindow();
}

// The pictures of the pages are loaded once per process and scale; the copy of the picture
// that each picture control loads from the template is deleted at once.
class DisplayScalePictures : public DisplayScalePages {
protected:
    static LRESULT CALLBACK RecordSetImage(int code, WPARAM wParam, LPARAM lParam) {
        const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == STM_SETIMAGE && call->wParam == IMAGE_BITMAP) {
            s_given.push_back(reinterpret_cast<HBITMAP>(call->lParam));
            s_returned.push_back(reinterpret_cast<HBITMAP>(call->lResult));
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static std::vector<HBITMAP> s_given;
    static std::vector<HBITMAP> s_returned;
};

std::vector<HBITMAP> DisplayScalePictures::s_given;
std::vector<HBITMAP> DisplayScalePictures::s_returned;

TEST_F(DisplayScalePictures, SharedByEveryPageAndTheTemplatesCopyDeleted) {
    s_given.clear();
    s_returned.clear();
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, RecordSetImage, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    Start({B88, T88});
    HWND first = VisibleChildren(Page())[static_cast<size_t>(IndexOfPicture(VisibleChildren(Page())))];
    const HBITMAP shared = reinterpret_cast<HBITMAP>(::SendMessageW(first, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ui::ActivateDeviceItem(*main, 1);
    Close();
    // The pictures outlive the pages of a window; the next window's page gets the same one.
    EXPECT_EQ(OBJ_BITMAP, static_cast<int>(::GetObjectType(shared)));
    Start({B88});
    HWND second = VisibleChildren(Page())[static_cast<size_t>(IndexOfPicture(VisibleChildren(Page())))];
    EXPECT_NE(first, second) << "a new page";
    EXPECT_EQ(shared, reinterpret_cast<HBITMAP>(::SendMessageW(second, STM_GETIMAGE, IMAGE_BITMAP, 0)));
    Close();
    ::UnhookWindowsHookEx(hook);

    EXPECT_EQ(OBJ_BITMAP, static_cast<int>(::GetObjectType(shared)));
    ASSERT_GE(s_given.size(), 3u);
    EXPECT_EQ(shared, s_given[0]);
    int templateCopies = 0;
    for (size_t i = 0; i < s_returned.size(); ++i) {
        if (s_given[i] == nullptr)
            continue;  // the control gives its picture back before it goes
        ASSERT_NE(nullptr, s_returned[i]) << "the control had no picture of its own";
        EXPECT_NE(shared, s_returned[i]);
        EXPECT_EQ(0, static_cast<int>(::GetObjectType(s_returned[i]))) << "the template's copy was not deleted";
        ++templateCopies;
    }
    EXPECT_EQ(3, templateCopies) << "three pages with a picture each";
}

// WM_DPICHANGED as the system sends it when the window moves to a monitor of another scale.
// Wine here cannot move a window between monitors of different scales (and does not change
// the fonts of a dialog): the message is sent by the test, the page's dialog units stay.
class DisplayScaleChange : public DisplayScalePages {
protected:
    // A scale whose picture still fits the page at the dialog units of this run.
    int OtherDpi() const { return dpi == 96 ? 120 : 96; }

    // The system suggests a rectangle for the new scale; Wine keeps the dialog units of the
    // page, so the suggestion here only grows (or shrinks back) a little, keeping the page whole.
    void ChangeDpi(int newDpi, int grow) {
        suggested = ScreenRect(main->m_hWnd);
        suggested.right += grow;
        suggested.bottom += grow;
        ::SendMessageW(main->m_hWnd, WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi), reinterpret_cast<LPARAM>(&suggested));
        ui::PumpMessages();
        Repaint();
    }

    void Repaint() {
        ::RedrawWindow(main->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        // The screen shows the new size once the display has caught up with the window.
        ui::PumpDialog(main->m_hWnd);
    }

    std::vector<RECT> PageLayout() {
        std::vector<RECT> rects;
        for (HWND child : VisibleChildren(Page()))
            rects.push_back(RectIn(child, Page()));
        return rects;
    }

    RECT suggested = {};
};

bool SameRect(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

TEST_F(DisplayScaleChange, ConfigurationPageAndDeviceListFollowTheNewScale) {
    StartShown({B88, RP}, false);
    // The radio panel's page is kept hidden (built ahead, or made and left) while the pushbutton panel's shows.
    ui::ActivateDeviceItem(*main, 1);
    ui::ActivateDeviceItem(*main, 0);
    const std::vector<RECT> before = PageLayout();
    const int other = OtherDpi();
    const int otherPercent = PercentOf(other);
    ChangeDpi(other, 8);

    EXPECT_TRUE(SameRect(suggested, ScreenRect(main->m_hWnd))) << "the window takes the suggested rectangle";
    CheckDevicePictures(otherPercent, false);
    const SIZE big = IconSize(reinterpret_cast<HICON>(::SendMessageW(main->m_hWnd, WM_GETICON, ICON_BIG, 0)));
    EXPECT_EQ(::MulDiv(32, other, 96), big.cx);
    CheckPicture(Page(), IDB_PANEL_B88, otherPercent);
    CheckNumbersUnderLeds(Page());
    ui::ActivateDeviceItem(*main, 1);
    Repaint();
    CheckPicture(Page(), IDB_PANEL_RP, otherPercent);
    ui::ActivateDeviceItem(*main, 0);

    // Back: the page is laid out as it was, and a page opened now is too.
    ChangeDpi(dpi, -8);
    EXPECT_TRUE(SameRect(suggested, ScreenRect(main->m_hWnd)));
    const std::vector<RECT> after = PageLayout();
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_TRUE(SameRect(before[i], after[i])) << Describe(VisibleChildren(Page())[i]);
    CheckPicture(Page(), IDB_PANEL_B88, percent);
    CheckNumbersUnderLeds(Page());
    CheckDevicePictures(percent);
}

TEST_F(DisplayScaleChange, TestPageIndicatorsFollowTheNewScale) {
    StartShown({T88}, true);
    const int other = OtherDpi();
    ChangeDpi(other, 8);
    const int saved = percent;
    percent = PercentOf(other);
    CheckPicture(Page(), IDB_PANEL_T88, percent);
    CheckIndicators(IDB_TOGGLE_END);
    percent = saved;
}

}  // namespace
