#include "afx/bitmap_button.h"

#include "afx/win_app.h"

CBitmapButton::CBitmapButton() {
    for (int i = 0; i < kImageCount; ++i) {
        m_bitmaps[i] = nullptr;
        m_ids[i] = 0;
    }
}

CBitmapButton::~CBitmapButton() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        AfxSetDrawItemTarget(m_hWnd, nullptr);
    DeleteBitmaps();
}

void CBitmapButton::DeleteBitmaps() {
    for (int i = 0; i < kImageCount; ++i) {
        if (m_bitmaps[i] != nullptr)
            ::DeleteObject(m_bitmaps[i]);
        m_bitmaps[i] = nullptr;
        m_ids[i] = 0;
    }
}

BOOL CBitmapButton::LoadBitmaps(UINT nIDBitmapResource, UINT nIDBitmapResourceSel, UINT nIDBitmapResourceFocus,
                                UINT nIDBitmapResourceDisabled) {
    DeleteBitmaps();
    const UINT ids[kImageCount] = {nIDBitmapResource, nIDBitmapResourceSel, nIDBitmapResourceFocus,
                                   nIDBitmapResourceDisabled};
    for (int i = 0; i < kImageCount; ++i) {
        if (ids[i] != 0)
            m_bitmaps[i] = ::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(ids[i]));
        if (m_bitmaps[i] != nullptr)
            m_ids[i] = ids[i];
    }
    if (m_hWnd != nullptr)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return m_bitmaps[kNormal] != nullptr;
}

void CBitmapButton::AttachDrawTarget() { AfxSetDrawItemTarget(m_hWnd, this); }

HBITMAP CBitmapButton::GetShownBitmap(UINT itemState) const {
    // A disabled button shows its disabled image even while it keeps the focus.
    HBITMAP shown = m_bitmaps[kNormal];
    if ((itemState & ODS_DISABLED) && m_bitmaps[kDisabled] != nullptr)
        shown = m_bitmaps[kDisabled];
    else if ((itemState & ODS_SELECTED) && m_bitmaps[kSelected] != nullptr)
        shown = m_bitmaps[kSelected];
    else if ((itemState & ODS_FOCUS) && m_bitmaps[kFocused] != nullptr)
        shown = m_bitmaps[kFocused];
    return shown;
}

void CBitmapButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    HBITMAP bitmap = GetShownBitmap(lpDrawItemStruct->itemState);
    if (bitmap == nullptr)
        return;
    HDC memory = ::CreateCompatibleDC(lpDrawItemStruct->hDC);
    if (memory == nullptr)
        return;
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    const RECT& rect = lpDrawItemStruct->rcItem;
    ::BitBlt(lpDrawItemStruct->hDC, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, memory, 0,
             0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
}
