// The C functions of VUZoz.h: each call is logged, then handed to the simulator under
// its lock. No exception leaves these functions.
#include "VUZoz.h"

#include "vuzoz_call_log.h"
#include "vuzoz_simulator.h"
#include "vuzoz_call_line.h"

#include <initializer_list>
#include <vector>

namespace {

using vuzoz::Simulator;

template <typename Operation>
tagBGDevResult Call(const char* function, std::initializer_list<int> args, Operation operation,
                    tagBGDevResult onException = BG_ERR_NOT_READY)
{
    try {
        Simulator& simulator = Simulator::Instance();
        std::lock_guard<std::mutex> lock(simulator.Mutex());
        vuzoz::AppendCallLine(vuzoz::CallLine(function, args));
        return operation(simulator);
    } catch (...) {
        return onException;
    }
}

}  // namespace

extern "C" {

// Answers go to a window of the library's own; hWnd owns the virtual panel windows and
// hears of panels plugged in or unplugged.
tagBGDevResult BGInit(HWND hWnd)
{
    const tagBGDevResult result = Call(
        "BGInit", {}, [hWnd](Simulator& s) { return s.Init(hWnd); }, BG_ERR_INIT_FAILED);
    if (result == BG_OK) {
        try {
            Simulator::Instance().SyncVirtualPanels();
        } catch (...) {
            // The panels work on without their windows.
        }
    }
    return result;
}

tagBGDevResult BGTerminate(void)
{
    std::vector<HWND> windows;
    const tagBGDevResult result = Call("BGTerminate", {}, [&windows](Simulator& s) {
        windows = s.TakeVirtualPanels();
        return s.Terminate();
    });
    // Closing a window may activate one of the program's, whose handlers may call the
    // library: no lock while the windows go.
    vuzoz::CloseVirtualPanels(windows);
    return result;
}

tagBGDevHWType* BGGetDevType(void)
{
    tagBGDevHWType* types = nullptr;
    (void)Call("BGGetDevType", {}, [&types](Simulator& s) {
        types = s.DevTypes();
        return BG_OK;
    });
    return types;
}

tagBGDevResult BGGetDevKey(int device, const char** ppKey)
{
    return Call("BGGetDevKey", {device},
                [device, ppKey](Simulator& s) { return s.DevKey(device, ppKey); });
}

tagBGDevResult BG_RegisterInputCallback(BGInputCallback callback)
{
    return Call("BG_RegisterInputCallback", {callback != nullptr ? 1 : 0},
                [callback](Simulator& s) { return s.RegisterCallback(callback); });
}

tagBGDevResult BG_SetLEDState(int device, int led, int state, int reserved)
{
    return Call("BG_SetLEDState", {device, led, state, reserved},
                [=](Simulator& s) { return s.SetLedState(device, led, state); });
}

tagBGDevResult BG_GetLEDStatus(int device, int led)
{
    return Call("BG_GetLEDStatus", {device, led},
                [=](Simulator& s) { return s.RequestLedState(device, led); });
}

tagBGDevResult BG_GetButtonStatus(int device)
{
    return Call("BG_GetButtonStatus", {device},
                [=](Simulator& s) { return s.RequestButtons(device); });
}

tagBGDevResult BG_SetBrightness(int device, int level)
{
    return Call("BG_SetBrightness", {device, level},
                [=](Simulator& s) { return s.SetBrightness(device, level); });
}

tagBGDevResult BG_GetCurBrightness(int device)
{
    return Call("BG_GetCurBrightness", {device},
                [=](Simulator& s) { return s.RequestBrightness(device); });
}

tagBGDevResult BG_SetBlinkPeriod(int device, int slowOn, int fastOn, int slowOff, int fastOff)
{
    return Call("BG_SetBlinkPeriod", {device, slowOn, fastOn, slowOff, fastOff}, [=](Simulator& s) {
        return s.SetBlinkPeriod(device, slowOn, fastOn, slowOff, fastOff);
    });
}

tagBGDevResult BG_GetCurBlinkPeriod(int device)
{
    return Call("BG_GetCurBlinkPeriod", {device},
                [=](Simulator& s) { return s.RequestBlinkPeriod(device); });
}

}  // extern "C"
