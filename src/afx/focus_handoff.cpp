#include "afx/focus_handoff.h"

namespace {

bool HoldsFocus(HWND window) {
    HWND focus = ::GetFocus();
    return focus != nullptr && (focus == window || ::IsChild(window, focus));
}

}  // namespace

void HandOnFocus(HWND window) {
    if (window == nullptr || !HoldsFocus(window))
        return;
    HWND dialog = ::GetAncestor(window, GA_ROOT);
    if (dialog == nullptr || dialog == window)
        return;
    HWND next = ::GetNextDlgTabItem(dialog, ::GetFocus(), FALSE);
    if (next != nullptr && !HoldsFocus(next) && !(next == window || ::IsChild(window, next))) {
        // As Tab moves it: the dialog manager keeps its default button right.
        ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
        return;
    }
    // Nothing else takes the focus: the dialog itself keeps the keys coming.
    (void)::SetFocus(dialog);
}

void EnableKeepingFocus(HWND window, BOOL enable) {
    if (window == nullptr)
        return;
    if (!enable)
        HandOnFocus(window);
    (void)::EnableWindow(window, enable);
}
