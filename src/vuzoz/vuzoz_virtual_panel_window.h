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
// A window knows its panel by the panel's id, which no other panel ever has: the host
// ignores the calls of a window whose panel is gone.
class VirtualPanelHost {
public:
    virtual bool ReadPanel(unsigned panelId, SimulatedPanel& panel) = 0;
    virtual void ChangeInput(unsigned panelId, int input, InputChange change) = 0;

protected:
    ~VirtualPanelHost() {}
};

struct VirtualPanelIdentity {
    unsigned panelId = 0;
    tagBGDevHWType type = BG_HW_NONE;
};

// The places of the windows of the attached panels, in list order: a column down the
// owner's right side (or its left, when the screen has no room on the right).
std::vector<POINT> VirtualPanelPlaces(const std::vector<VirtualPanelIdentity>& attached, HWND owner);

// Opens the window of the panel at position (from 0) of the attached panels at its place,
// shown without taking the activation; null when it cannot be made.
HWND OpenVirtualPanel(VirtualPanelHost* host, const VirtualPanelIdentity& panel, size_t position, HWND owner,
                      POINT place);

// Moves a window to its panel's place and names it after the panel's position.
void ReplaceVirtualPanel(HWND window, const VirtualPanelIdentity& panel, size_t position, POINT place);

// On their own thread the windows go at once; from another thread they are asked to go.
// Windows already gone with their owner are passed over.
void CloseVirtualPanels(const std::vector<HWND>& windows);

}  // namespace vuzoz

#endif
