// How a simulated LED looks at a given moment: lit or dark by its state and the panel's
// blink periods, and the colour of its lens by the panel's brightness.
#ifndef VUZOZ_LED_LOOK_H
#define VUZOZ_LED_LOOK_H

#include "vuzoz_simulated_panel.h"

#include <windows.h>

namespace vuzoz {

// The lens of an LED that is off; a lit LED at brightness 0 looks the same.
const COLORREF kLedDarkColour = RGB(70, 32, 16);
// The lens of an LED that is lit at full brightness (255).
const COLORREF kLedFullColour = RGB(255, 176, 32);

// Blinking runs on a clock shared by every LED, in hundredths of a second: a blinking
// LED is lit for the first "on" hundredths of each on + off period. An on time of 0
// keeps it dark, an off time of 0 keeps it lit.
bool LedLitAt(int state, const SimulatedPanel& panel, unsigned long long hundredths);

// From the dark colour (brightness 0) to the full colour (255) in proportion.
inline COLORREF LedColour(bool lit, unsigned brightness)
{
    if (!lit)
        return kLedDarkColour;
    if (brightness > 255)
        brightness = 255;
    auto blend = [brightness](int dark, int full) {
        return static_cast<BYTE>(dark + (full - dark) * static_cast<int>(brightness) / 255);
    };
    return RGB(blend(GetRValue(kLedDarkColour), GetRValue(kLedFullColour)),
               blend(GetGValue(kLedDarkColour), GetGValue(kLedFullColour)),
               blend(GetBValue(kLedDarkColour), GetBValue(kLedFullColour)));
}

}  // namespace vuzoz

#endif
