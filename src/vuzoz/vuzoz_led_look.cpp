#include "vuzoz_led_look.h"

namespace vuzoz {

namespace {

bool BlinkLit(unsigned on, unsigned off, unsigned long long hundredths)
{
    if (on == 0)
        return false;
    return hundredths % (on + off) < on;
}

BYTE Blend(BYTE dark, BYTE full, unsigned brightness)
{
    return static_cast<BYTE>(dark + (static_cast<int>(full) - dark) * static_cast<int>(brightness) / 255);
}

}  // namespace

bool LedLitAt(int state, const SimulatedPanel& panel, unsigned long long hundredths)
{
    switch (state) {
    case BG_LED_ON:
        return true;
    case BG_LED_SLOW:
        return BlinkLit(panel.slowOn, panel.slowOff, hundredths);
    case BG_LED_FAST:
        return BlinkLit(panel.fastOn, panel.fastOff, hundredths);
    default:
        return false;
    }
}

COLORREF LedColour(bool lit, unsigned brightness)
{
    if (!lit)
        return kLedDarkColour;
    if (brightness > 255)
        brightness = 255;
    return RGB(Blend(GetRValue(kLedDarkColour), GetRValue(kLedFullColour), brightness),
               Blend(GetGValue(kLedDarkColour), GetGValue(kLedFullColour), brightness),
               Blend(GetBValue(kLedDarkColour), GetBValue(kLedFullColour), brightness));
}

}  // namespace vuzoz
