// The on-screen stand-in of one simulated panel: a small window owned by the program's
// main window with the panel's LEDs (child ids 101 + LED index) and its inputs (child ids
// 1 + input index). It reads the panel's state from its host several times a second and
// hands every press or release of an input to the host.
#ifndef VUZOZ_VIRTUAL_PANEL_WINDOW_H
#define VUZOZ_VIRTUAL_PANEL_WINDOW_H

#include "vuzoz_simulated_panel.h"

#include <windows.h>

#include <vector>

namespace vuzoz {

const int kFirstInputId = 1;
const int kFirstLedId = 101;

enum class InputChange { kSet, kClear, kFlip };

// Its functions take the host's lock themselves; the windows call them with no lock held.
// session tells a window of an earlier BGInit, whose calls the host ignores.
class VirtualPanelHost {
public:
    virtual bool ReadPanel(unsigned session, int device, SimulatedPanel& panel) = 0;
    virtual void ChangeInput(unsigned session, int device, int input, InputChange change) = 0;

protected:
    ~VirtualPanelHost() {}
};

// Opens one window per panel beside the owner (stacked down its right side), shown
// without taking the activation. A window that cannot be made is left out.
std::vector<HWND> OpenVirtualPanels(VirtualPanelHost* host, unsigned session,
                                    const std::vector<tagBGDevHWType>& types, HWND owner);

// On their own thread the windows go at once; from another thread they are asked to go.
// Windows already gone with their owner are passed over.
void CloseVirtualPanels(const std::vector<HWND>& windows);

}  // namespace vuzoz

#endif
