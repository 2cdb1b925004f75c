// Names the simulated panels. A key depends only on the panel's type and its position
// among the panels of that type, so a panel keeps its key from run to run; keys hold no
// backslash and so can name a registry key.
#ifndef VUZOZ_DEVICE_KEY_H
#define VUZOZ_DEVICE_KEY_H

#include "VUZoz.h"

#include <string>

namespace vuzoz {

// ordinal counts from 1: the second pushbutton panel is "Simulated B88 2".
std::string MakeDeviceKey(tagBGDevHWType type, int ordinal);

}  // namespace vuzoz

#endif
