#include "device/panel_leds.h"

#include "VUZoz.h"

void SetAllPanelLeds(int device, int state) {
    for (int led = 0; led < kPanelLedCount; ++led)
        (void)BG_SetLEDState(device, led, state, 0);
}
