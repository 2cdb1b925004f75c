#include "afx/image_list.h"

#include "afx/win_app.h"

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
    DeleteImageList();
    m_hImageList = ImageList_LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nBitmapID), cx, nGrow,
                                        crMask, IMAGE_BITMAP, LR_CREATEDIBSECTION);
    return m_hImageList != nullptr;
}

BOOL CImageList::DeleteImageList() {
    if (m_hImageList == nullptr)
        return FALSE;
    BOOL deleted = ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return deleted;
}

BOOL CImageList::Attach(HIMAGELIST hImageList) {
    DeleteImageList();
    m_hImageList = hImageList;
    return m_hImageList != nullptr;
}

HIMAGELIST CImageList::Detach() {
    HIMAGELIST detached = m_hImageList;
    m_hImageList = nullptr;
    return detached;
}
