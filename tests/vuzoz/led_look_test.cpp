// How a virtual LED looks: lit or dark along the blink clock, coloured by brightness.
#include "vuzoz_led_look.h"

#include <gtest/gtest.h>

namespace {

using vuzoz::LedColour;
using vuzoz::LedLitAt;

vuzoz::SimulatedPanel PanelWithPeriods(int fastOn, int fastOff, int slowOn, int slowOff)
{
    vuzoz::SimulatedPanel panel;
    panel.fastOn = static_cast<unsigned char>(fastOn);
    panel.fastOff = static_cast<unsigned char>(fastOff);
    panel.slowOn = static_cast<unsigned char>(slowOn);
    panel.slowOff = static_cast<unsigned char>(slowOff);
    return panel;
}

// Hundredths lit in one period of the clock that starts at start.
int LitDuring(int state, const vuzoz::SimulatedPanel& panel, unsigned long long start, int length)
{
    int lit = 0;
    for (int t = 0; t < length; ++t)
        lit += LedLitAt(state, panel, start + t) ? 1 : 0;
    return lit;
}

TEST(LedLook, BlinksWithTheOnAndOffTimesOfItsSpeed)
{
    const vuzoz::SimulatedPanel panel = PanelWithPeriods(20, 60, 70, 30);
    EXPECT_EQ(20, LitDuring(BG_LED_FAST, panel, 0, 80));
    EXPECT_EQ(20, LitDuring(BG_LED_FAST, panel, 123457, 80));  // any whole period
    EXPECT_TRUE(LedLitAt(BG_LED_FAST, panel, 80));             // a period starts lit
    EXPECT_TRUE(LedLitAt(BG_LED_FAST, panel, 99));
    EXPECT_FALSE(LedLitAt(BG_LED_FAST, panel, 100));
    EXPECT_EQ(70, LitDuring(BG_LED_SLOW, panel, 0, 100));
    EXPECT_EQ(100, LitDuring(BG_LED_ON, panel, 5, 100));
    EXPECT_EQ(0, LitDuring(BG_LED_OFF, panel, 5, 100));
}

TEST(LedLook, ZeroTimesKeepItDarkOrLit)
{
    EXPECT_EQ(0, LitDuring(BG_LED_FAST, PanelWithPeriods(0, 12, 25, 25), 0, 300));
    EXPECT_EQ(300, LitDuring(BG_LED_FAST, PanelWithPeriods(12, 0, 25, 25), 0, 300));
    EXPECT_EQ(0, LitDuring(BG_LED_SLOW, PanelWithPeriods(12, 12, 0, 0), 0, 300));
}

TEST(LedLook, BrightnessScalesTheLitColourFromDarkToFull)
{
    EXPECT_EQ(vuzoz::kLedDarkColour, LedColour(false, 255));
    EXPECT_EQ(vuzoz::kLedDarkColour, LedColour(true, 0));
    EXPECT_EQ(vuzoz::kLedFullColour, LedColour(true, 255));
    COLORREF previous = LedColour(true, 0);
    for (unsigned level = 16; level <= 255; level += 16) {
        const COLORREF colour = LedColour(true, level);
        EXPECT_GT(GetRValue(colour) + GetGValue(colour), GetRValue(previous) + GetGValue(previous))
            << "brightness " << level;
        previous = colour;
    }
    const COLORREF half = LedColour(true, 128);
    EXPECT_NEAR((GetRValue(vuzoz::kLedDarkColour) + GetRValue(vuzoz::kLedFullColour)) / 2,
                GetRValue(half), 2);
}

}  // namespace
