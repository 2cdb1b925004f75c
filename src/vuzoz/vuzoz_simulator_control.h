// Extra controls of the panel simulator, beyond the device library's own functions, for
// tests and demonstrations. They are not logged as library calls.
#ifndef VUZOZ_SIMULATOR_CONTROL_H
#define VUZOZ_SIMULATOR_CONTROL_H

#include "VUZoz.h"

// The panel's buttons (or switches) change to bits, bit i for button i, as if a person
// pressed them: the panel keeps the new state and a button packet (kind 1) is queued for
// the input callback like any answer. Bits beyond the panel's buttons are dropped.
tagBGDevResult VUZozSimulator_PressButtons(int device, unsigned bits);

#endif
