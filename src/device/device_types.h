// Hardware types of the panels the program has pages for.
#ifndef TOLLAN_DEVICE_DEVICE_TYPES_H
#define TOLLAN_DEVICE_DEVICE_TYPES_H

#include "VUZoz.h"

inline bool IsPanelType(tagBGDevHWType type) {
    return type == BG_HW_PUSHBUTTON_8X8 || type == BG_HW_TOGGLE_8X8 || type == BG_HW_RADIO;
}

#endif
