// What the simulator remembers of one attached panel.
#ifndef VUZOZ_SIMULATED_PANEL_H
#define VUZOZ_SIMULATED_PANEL_H

#include "VUZoz.h"

#include <string>

namespace vuzoz {

const int kMaxLeds = 8;

// LEDs that a panel of this type has: eight on the 8x8 panels, five on the radio panel.
inline int LedCount(tagBGDevHWType type)
{
    return type == BG_HW_RADIO ? 5 : 8;
}

// Button bits that a panel of this type can report: eight buttons or switches on the
// 8x8 panels, four push buttons on the radio panel.
inline unsigned ButtonMask(tagBGDevHWType type)
{
    return type == BG_HW_RADIO ? 0x0Fu : 0xFFu;
}

struct SimulatedPanel {
    unsigned id = 0;  // no other panel of the process ever has it
    tagBGDevHWType type = BG_HW_NONE;
    std::string key;
    bool gone = false;  // unplugged: the library's calls for it do nothing
    unsigned char led[kMaxLeds] = {BG_LED_OFF, BG_LED_OFF, BG_LED_OFF, BG_LED_OFF,
                                   BG_LED_OFF, BG_LED_OFF, BG_LED_OFF, BG_LED_OFF};
    unsigned char buttons = 0;
    unsigned char brightness = 127;
    unsigned char fastOn = 12;
    unsigned char fastOff = 12;
    unsigned char slowOn = 25;
    unsigned char slowOff = 25;
};

}  // namespace vuzoz

#endif
