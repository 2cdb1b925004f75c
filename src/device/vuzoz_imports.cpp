// The twelve functions of VUZoz.h in Tollan.exe: each forwards to the VUZoz.dll that was
// loaded. Without a complete library none of them calls anything; they answer
// BG_ERR_NOT_READY (or null) as the library does before BGInit.
#include "device/device_library.h"

const DeviceLibrary& OpenDeviceLibrary() {
    static const DeviceLibrary library = LoadDeviceLibrary();
    return library;
}

namespace {

const DeviceLibraryFunctions& Functions() { return OpenDeviceLibrary().functions; }

}  // namespace

extern "C" {

tagBGDevResult BGAPI BGInit(HWND hWnd) {
    auto f = Functions().pBGInit;
    return f != nullptr ? f(hWnd) : BG_ERR_NOT_READY;
}

tagBGDevResult BGAPI BGTerminate(void) {
    auto f = Functions().pBGTerminate;
    return f != nullptr ? f() : BG_ERR_NOT_READY;
}

tagBGDevHWType* BGAPI BGGetDevType(void) {
    auto f = Functions().pBGGetDevType;
    return f != nullptr ? f() : nullptr;
}

tagBGDevResult BGAPI BGGetDevKey(int device, const char** ppKey) {
    auto f = Functions().pBGGetDevKey;
    return f != nullptr ? f(device, ppKey) : BG_ERR_NOT_READY;
}

tagBGDevResult BGAPI BG_RegisterInputCallback(BGInputCallback callback) {
    auto f = Functions().pRegisterInputCallback;
    return f != nullptr ? f(callback) : BG_ERR_NOT_READY;
}

tagBGDevResult BGAPI BG_SetLEDState(int device, int led, int state, int reserved) {
    auto f = Functions().pSetLEDState;
    return f != nullptr ? f(device, led, state, reserved) : BG_ERR_NOT_READY;
}

tagBGDevResult BGAPI BG_GetLEDStatus(int device, int led) {
    auto f = Functions().pGetLEDStatus;
    return f != nullptr ? f(device, led) : BG_ERR_NOT_READY;
}

tagBGDevResult BGAPI BG_GetButtonStatus(int device) {
    auto f = Functions().pGetButtonStatus;
    return f != nullptr ? f(device) : BG_ERR_NOT_READY;
}

tagBGDevResult BGAPI BG_SetBrightness(int device, int level) {
    auto f = Functions().pSetBrightness;
    return f != nullptr ? f(device, level) : BG_ERR_NOT_READY;
}

tagBGDevResult BGAPI BG_GetCurBrightness(int device) {
    auto f = Functions().pGetCurBrightness;
    return f != nullptr ? f(device) : BG_ERR_NOT_READY;
}

tagBGDevResult BGAPI BG_SetBlinkPeriod(int device, int slowOn, int fastOn, int slowOff, int fastOff) {
    auto f = Functions().pSetBlinkPeriod;
    return f != nullptr ? f(device, slowOn, fastOn, slowOff, fastOff) : BG_ERR_NOT_READY;
}

tagBGDevResult BGAPI BG_GetCurBlinkPeriod(int device) {
    auto f = Functions().pGetCurBlinkPeriod;
    return f != nullptr ? f(device) : BG_ERR_NOT_READY;
}

}  // extern "C"
