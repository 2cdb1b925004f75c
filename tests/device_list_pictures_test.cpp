// The device list as the screen shows it: every panel's picture exactly as drawn, the
// selected one on a frame of the selection colour that follows the selection, and the
// mark of the simulated panels only when the library is our simulator.
#include "linked_device_library.h"
#include "resource.h"
#include "scaling/display_scale.h"
#include "screen_pixels.h"
#include "ui_harness.h"

#include <commctrl.h>

#include <algorithm>

namespace {

using screen_pixels::Pixels;
using ui::MainWindowTest;

const tagBGDevHWType B88 = BG_HW_PUSHBUTTON_8X8;
const tagBGDevHWType T88 = BG_HW_TOGGLE_8X8;
const tagBGDevHWType RP = BG_HW_RADIO;

const COLORREF kMaskColour = RGB(4, 0, 0);
const COLORREF kMarkColour = RGB(255, 214, 0);

class MainDialogDevicePictures : public MainWindowTest {
protected:
    void TearDown() override {
        MainWindowTest::TearDown();
        linked_device_library::Restore();
    }

    void Repaint() {
        ::RedrawWindow(main->DeviceList().m_hWnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        ui::PumpMessages();
    }

    // The item's whole cell as the screen shows it.
    Pixels Cell(int item, RECT* where = nullptr) {
        RECT cell = {};
        cell.left = LVIR_ICON;
        EXPECT_TRUE(::SendMessageW(main->DeviceList().m_hWnd, LVM_GETITEMRECT, static_cast<WPARAM>(item),
                                   reinterpret_cast<LPARAM>(&cell)));
        ::MapWindowPoints(main->DeviceList().m_hWnd, nullptr, reinterpret_cast<POINT*>(&cell), 2);
        if (where != nullptr)
            *where = cell;
        return screen_pixels::Capture(cell);
    }

    // The panel picture of type as the resources hold it (the device list's strip, 100 %).
    static Pixels Picture(tagBGDevHWType type) {
        const Pixels strip = screen_pixels::OfResource(IDB_DEVICE_LIST);
        const int width = strip.width / 4;
        Pixels picture;
        picture.width = width;
        picture.height = strip.height;
        for (int y = 0; y < strip.height; ++y) {
            for (int x = 0; x < width; ++x)
                picture.colours.push_back(strip.At(static_cast<int>(type) * width + x, y));
        }
        return picture;
    }

    // Where in shown the picture stands with every pixel as drawn (its transparent pixels
    // aside); {-1, -1} when nowhere.
    static POINT FindPicture(const Pixels& picture, const Pixels& shown) {
        for (int top = 0; top + picture.height <= shown.height; ++top) {
            for (int left = 0; left + picture.width <= shown.width; ++left) {
                bool same = true;
                for (int y = 0; same && y < picture.height; ++y) {
                    for (int x = 0; same && x < picture.width; ++x) {
                        const COLORREF colour = picture.At(x, y);
                        same = colour == kMaskColour || colour == shown.At(left + x, top + y);
                    }
                }
                if (same)
                    return POINT{left, top};
            }
        }
        return POINT{-1, -1};
    }

    // Pixels of shown outside the picture at place that have colour.
    static int AroundPicture(const Pixels& shown, const Pixels& picture, POINT place, COLORREF colour) {
        int count = 0;
        for (int y = 0; y < shown.height; ++y) {
            for (int x = 0; x < shown.width; ++x) {
                const bool inside = x >= place.x && x < place.x + picture.width && y >= place.y &&
                                    y < place.y + picture.height;
                count += !inside && shown.At(x, y) == colour ? 1 : 0;
            }
        }
        return count;
    }

    static int Count(const Pixels& shown, COLORREF colour) {
        int count = 0;
        for (COLORREF c : shown.colours)
            count += c == colour ? 1 : 0;
        return count;
    }
};

TEST_F(MainDialogDevicePictures, EveryPictureAsDrawnAndTheSelectedOneFramed) {
    if (scaling::PictureScaleOf(::GetDesktopWindow()) != 100)
        GTEST_SKIP() << "the display scale tests check the other scales";
    const std::vector<tagBGDevHWType> panels = {B88, T88, RP};
    Start(panels);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    ASSERT_TRUE(ui::BringToFront(main->m_hWnd));
    ::SetFocus(main->DeviceList().m_hWnd);
    // The selection moves as the user moves it: with the Down key in the list.
    for (int selected = 0; selected < 3; ++selected) {
        SCOPED_TRACE("panel " + std::to_string(selected + 1) + " selected");
        Repaint();
        for (int item = 0; item < 3; ++item) {
            const Pixels picture = Picture(panels[static_cast<size_t>(item)]);
            const Pixels shown = Cell(item);
            const POINT place = FindPicture(picture, shown);
            ASSERT_GE(place.x, 0) << "item " << item << ": its picture is not shown as drawn";
            const int frame = AroundPicture(shown, picture, place, highlight);
            if (item == selected) {
                // A frame on every side of the picture.
                EXPECT_GT(place.x, 0);
                EXPECT_GT(place.y, 0);
                EXPECT_LT(place.x + picture.width, shown.width);
                EXPECT_LT(place.y + picture.height, shown.height);
                EXPECT_GE(frame, 2 * (picture.width + picture.height)) << "item " << item << " is not framed";
            } else {
                EXPECT_EQ(0, frame) << "item " << item << " looks selected";
            }
        }
        // The whole item fits the list.
        RECT client = {};
        ::GetClientRect(main->DeviceList().m_hWnd, &client);
        RECT bounds = {};
        bounds.left = LVIR_BOUNDS;
        ASSERT_TRUE(::SendMessageW(main->DeviceList().m_hWnd, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&bounds)));
        EXPECT_LE(bounds.right - bounds.left, client.right) << "the list is narrower than its pictures";
        if (selected < 2) {
            ui::PressKey(main->m_hWnd, VK_DOWN);
            ui::PumpDialog(main->m_hWnd);
            ASSERT_EQ(selected + 1, main->CurrentDevice());
        }
    }
}

TEST_F(MainDialogDevicePictures, TheMakersPanelsCarryNoMark) {
    linked_device_library::PretendSimulated(false);
    Start({B88, RP});
    Repaint();
    for (int item = 0; item < 2; ++item)
        EXPECT_EQ(0, Count(Cell(item), kMarkColour)) << "item " << item;
}

TEST_F(MainDialogDevicePictures, SimulatedPanelsAreMarkedWithText) {
    linked_device_library::PretendSimulated(true);
    Start({B88, RP});
    Repaint();
    for (int item = 0; item < 2; ++item) {
        const Pixels shown = Cell(item);
        EXPECT_GT(Count(shown, kMarkColour), 50) << "item " << item << " has no mark";
        // The mark is a filled box: what is not its colour inside it is its text.
        RECT box = {shown.width, shown.height, -1, -1};
        for (int y = 0; y < shown.height; ++y) {
            for (int x = 0; x < shown.width; ++x) {
                if (shown.At(x, y) != kMarkColour)
                    continue;
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
        int ink = 0;
        for (int y = box.top; y < box.bottom; ++y) {
            for (int x = box.left; x < box.right; ++x) {
                const COLORREF c = shown.At(x, y);
                ink += GetRValue(c) + GetGValue(c) + GetBValue(c) < 300 ? 1 : 0;
            }
        }
        EXPECT_GT(ink, 10) << "item " << item << ": the mark shows no text";
    }
}

}  // namespace
