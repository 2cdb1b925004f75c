// Real keyboard and mouse input, given through the system's input queue (SendInput) as a
// user gives it. Header-only: the program's tests, the simulator's and the whole-process
// tests all use it.
#ifndef TOLLAN_TESTS_REAL_INPUT_H
#define TOLLAN_TESTS_REAL_INPUT_H

#include <windows.h>

#include <vector>

namespace real_input {

// A key going down or up, with its scan code.
inline INPUT KeyEvent(WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// A key pressed and let go, with Ctrl and Shift held around it if asked.
inline std::vector<INPUT> KeyStroke(WORD vk, bool shift = false, bool control = false) {
    std::vector<INPUT> inputs;
    if (control)
        inputs.push_back(KeyEvent(VK_CONTROL, false));
    if (shift)
        inputs.push_back(KeyEvent(VK_SHIFT, false));
    inputs.push_back(KeyEvent(vk, false));
    inputs.push_back(KeyEvent(vk, true));
    if (shift)
        inputs.push_back(KeyEvent(VK_SHIFT, true));
    if (control)
        inputs.push_back(KeyEvent(VK_CONTROL, true));
    return inputs;
}

// A character typed, whatever the keyboard layout.
inline std::vector<INPUT> CharacterStroke(wchar_t c) {
    INPUT down = {};
    down.type = INPUT_KEYBOARD;
    down.ki.wScan = c;
    down.ki.dwFlags = KEYEVENTF_UNICODE;
    INPUT up = down;
    up.ki.dwFlags |= KEYEVENTF_KEYUP;
    return {down, up};
}

// The mouse moved to a point of the screen, with the button flags (MOUSEEVENTF_LEFTDOWN ...).
inline INPUT MouseAt(POINT screen, DWORD flags = 0) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (screen.x * 65536 + width / 2) / width;
    input.mi.dy = (screen.y * 65536 + height / 2) / height;
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
    return input;
}

// The mouse moved to a point of the screen and clicked there.
inline std::vector<INPUT> ClickAt(POINT screen, bool right = false) {
    return {MouseAt(screen), MouseAt(screen, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN),
            MouseAt(screen, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)};
}

// The wheel turned by notches: positive away from the user, negative towards.
inline INPUT WheelTurn(int notches) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(notches * WHEEL_DELTA);
    return input;
}

// Whether the input queue took every event.
inline bool Send(std::vector<INPUT> inputs) {
    return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

// The middle of a window, in screen coordinates.
inline POINT CentreOf(HWND window) {
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

}  // namespace real_input

#endif
