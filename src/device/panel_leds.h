// The LEDs that the program addresses on every panel: eight, 0 to 7.
#ifndef TOLLAN_DEVICE_PANEL_LEDS_H
#define TOLLAN_DEVICE_PANEL_LEDS_H

const int kPanelLedCount = 8;

// Sends one state to LEDs 0 to 7 of the device, in order; the results are not looked at.
void SetAllPanelLeds(int device, int state);

#endif
