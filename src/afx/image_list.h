// CImageList: owns an image list handle until DeleteImageList or destruction.
#ifndef TOLLAN_AFX_IMAGE_LIST_H
#define TOLLAN_AFX_IMAGE_LIST_H

#include <windows.h>
#include <commctrl.h>

class CImageList {
public:
    CImageList() : m_hImageList(nullptr) {}
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // Images of width cx side by side in bitmap resource nBitmapID; crMask is transparent.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL DeleteImageList();
    // Takes over an image list (the one held before is destroyed) / gives it up undestroyed.
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    operator HIMAGELIST() const { return m_hImageList; }
    int GetImageCount() const { return m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0; }

    HIMAGELIST m_hImageList;
};

#endif
