// The child windows of a virtual panel: an LED that shows a colour, and an input (push
// button or toggle switch) that tells its parent when the mouse, the Space key or a digit
// key starts or stops holding it. What an input does is the parent's business; the input
// only shows itself up or down as the parent says.
#ifndef VUZOZ_VIRTUAL_CONTROLS_H
#define VUZOZ_VIRTUAL_CONTROLS_H

#include <windows.h>

namespace vuzoz {

// Sent to the parent of an input: wParam is the input's control id, lParam one holder
// and kHoldDown when the holder starts holding.
const UINT kInputHoldMessage = WM_APP + 20;
const LPARAM kHolderMouse = 1;
const LPARAM kHolderSpace = 2;
const LPARAM kHolderKey = 4;  // a digit key, reported by the panel window itself
const LPARAM kHoldDown = 0x100;

// Window style of an input drawn as a toggle switch rather than a push button.
const DWORD kToggleStyle = 0x0001;

// The background of a panel, behind its LEDs and inputs.
const COLORREF kPanelColour = RGB(46, 48, 52);

bool RegisterVirtualControls(HINSTANCE instance);

HWND CreateVirtualLed(HWND parent, int id, const RECT& rect, HINSTANCE instance);
// Repaints only when the colour changes.
void ShowLedColour(HWND led, COLORREF colour);

HWND CreateVirtualInput(HWND parent, int id, const RECT& rect, const wchar_t* text, bool toggle,
                        HINSTANCE instance);
void ShowInputDown(HWND input, bool down);
bool IsInputShownDown(HWND input);

}  // namespace vuzoz

#endif
