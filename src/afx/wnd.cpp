#include "afx/wnd.h"

#include "afx/menu.h"

std::wstring CWnd::GetWindowText() const {
    int length = ::GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(m_hWnd, &text[0], length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

CMenu CWnd::GetSystemMenu(BOOL bRevert) const {
    return CMenu(::GetSystemMenu(m_hWnd, bRevert));
}
