// Keys pressed in a popup menu while the thread that opened it waits in the menu's loop: a
// second thread waits for the menu to show and presses them as real input.
#ifndef TOLLAN_TESTS_MENU_KEYS_H
#define TOLLAN_TESTS_MENU_KEYS_H

#include "real_input.h"
#include "ui_harness.h"

#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

namespace menu_keys {

struct MenuKeys {
    std::vector<WORD> keys;
    std::atomic<bool> done{false};
};

inline void PressKeysInMenu(MenuKeys* keys) {
    HWND popup = nullptr;
    for (int tries = 0; tries < 100 && popup == nullptr; ++tries) {
        ::Sleep(50);
        popup = ::FindWindowW(L"#32768", nullptr);
        if (popup != nullptr && !::IsWindowVisible(popup))
            popup = nullptr;
    }
    if (popup != nullptr) {
        for (WORD key : keys->keys) {
            (void)real_input::Send(real_input::KeyStroke(key));
            ::Sleep(100);
        }
    }
    keys->done = true;
}

inline void WaitFor(MenuKeys& keys) {
    for (int tries = 0; tries < 200 && !keys.done; ++tries) {
        ui::PumpMessages();
        ::Sleep(20);
    }
    ui::PumpMessages();
}

// Opens a menu with opener (real input) and presses keys in it once it shows; true when the
// input queue took the opening input.
inline bool ChooseInMenu(const std::vector<INPUT>& opener, const std::vector<WORD>& keys) {
    MenuKeys menu;
    menu.keys = keys;
    std::thread presser(PressKeysInMenu, &menu);
    const bool sent = real_input::Send(opener);
    WaitFor(menu);
    presser.join();
    return sent;
}

}  // namespace menu_keys

#endif
