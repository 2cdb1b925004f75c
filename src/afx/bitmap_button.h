// CBitmapButton: an owner-drawn push button that shows one of up to four bitmaps
// (normal, selected, focused, disabled) for its state. It owns the bitmaps.
#ifndef TOLLAN_AFX_BITMAP_BUTTON_H
#define TOLLAN_AFX_BITMAP_BUTTON_H

#include "afx/controls.h"
#include "afx/dialog.h"

class CBitmapButton : public CButton, public CDrawItemTarget {
public:
    CBitmapButton();
    ~CBitmapButton();
    CBitmapButton(const CBitmapButton&) = delete;
    CBitmapButton& operator=(const CBitmapButton&) = delete;

    // Missing images (id 0) fall back to the normal one; FALSE when the normal one fails.
    BOOL LoadBitmaps(UINT nIDBitmapResource, UINT nIDBitmapResourceSel = 0, UINT nIDBitmapResourceFocus = 0,
                     UINT nIDBitmapResourceDisabled = 0);
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    // The bitmap that DrawItem shows for the button's current state.
    HBITMAP GetShownBitmap(UINT itemState) const;
    HBITMAP GetBitmap(int index) const { return m_bitmaps[index]; }
    // The resource the image was loaded from; 0 when it has none.
    UINT GetBitmapId(int index) const { return m_ids[index]; }

    void AttachDrawTarget();

    enum { kNormal, kSelected, kFocused, kDisabled, kImageCount };

private:
    void DeleteBitmaps();

    HBITMAP m_bitmaps[kImageCount];
    UINT m_ids[kImageCount];
};

#endif
