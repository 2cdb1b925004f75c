#include "device/panel_leds.h"

#include "VUZoz.h"

void SetAllPanelLeds(int device, int state) {
    // A page that holds no panel (built ahead, or its panel went) sends nothing.
    if (device < 0)
        return;
    for (int led = 0; led < kPanelLedCount; ++led)
        (void)BG_SetLEDState(device, led, state, 0);
}
