#include "vuzoz_led_look.h"

namespace vuzoz {

namespace {

bool BlinkLit(unsigned on, unsigned off, unsigned long long hundredths)
{
    if (on == 0)
        return false;
    return hundredths % (on + off) < on;
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

}  // namespace vuzoz
