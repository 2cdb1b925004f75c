// Names the simulated panels. A panel named with a serial is known by it; any other
// panel by its type and its position among the panels of that type without a serial, so
// a panel keeps its key from run to run. Keys hold no backslash and so can name a
// registry key.
#ifndef VUZOZ_DEVICE_KEY_H
#define VUZOZ_DEVICE_KEY_H

#include "VUZoz.h"

#include <string>

namespace vuzoz {

// ordinal counts from 1: the second pushbutton panel is "Simulated B88 2".
std::string MakeDeviceKey(tagBGDevHWType type, int ordinal);

// serial is 1 to 16 letters or digits: "Simulated B88 A7".
std::string MakeDeviceKey(tagBGDevHWType type, const std::string& serial);

}  // namespace vuzoz

#endif
