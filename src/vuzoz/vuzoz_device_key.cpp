#include "vuzoz_device_key.h"

namespace vuzoz {

namespace {

const char* TypeName(tagBGDevHWType type)
{
    switch (type) {
    case BG_HW_PUSHBUTTON_8X8:
        return "B88";
    case BG_HW_TOGGLE_8X8:
        return "T88";
    case BG_HW_RADIO:
        return "RP";
    default:
        return "Unknown";
    }
}

}  // namespace

std::string MakeDeviceKey(tagBGDevHWType type, int ordinal)
{
    return MakeDeviceKey(type, std::to_string(ordinal));
}

std::string MakeDeviceKey(tagBGDevHWType type, const std::string& serial)
{
    return std::string("Simulated ") + TypeName(type) + " " + serial;
}

}  // namespace vuzoz
