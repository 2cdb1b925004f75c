#include "vuzoz_simulator_control.h"

#include "vuzoz_simulator.h"

tagBGDevResult VUZozSimulator_PressButtons(int device, unsigned bits)
{
    try {
        vuzoz::Simulator& simulator = vuzoz::Simulator::Instance();
        std::lock_guard<std::mutex> lock(simulator.Mutex());
        return simulator.PressButtons(device, bits);
    } catch (...) {
        return BG_ERR_NOT_READY;
    }
}
