// The device list's pictures: each panel's picture drawn as it is, the selected one on a
// frame of the selection colour around it (the list would blend the picture itself with
// that colour), a mark on every picture when the panels are our simulator's, and the
// panel on show that went drawn greyed and marked as not attached.
#include "mainwnd/main_dialog.h"

#include "device/device_library.h"
#include "resource.h"
#include "scaling/display_scale.h"
#include "scaling/scaled_pictures.h"

namespace {

// Room around each picture for the selection frame, at 100 %.
const int kFrameWidth = 3;

// The list lays its items out by the size of the images it is given: cells as large as
// a picture and its frame. It draws none of them (see OnDeviceListCustomDraw).
BOOL CreateDeviceCells(CImageList& cells, HIMAGELIST pictures, int percent) {
    int width = 0;
    int height = 0;
    if (!ImageList_GetIconSize(pictures, &width, &height))
        return FALSE;
    const int frame = scaling::ScaleLength(kFrameWidth, percent);
    return cells.Attach(ImageList_Create(width + 2 * frame, height + 2 * frame, ILC_COLOR24, 0, 1));
}

// A badge of text at the bottom right of the picture, or at its top left.
void DrawMark(HDC dc, HWND list, const RECT& picture, const std::wstring& mark, COLORREF background, bool atTop) {
    if (mark.empty())
        return;
    // The list's font a little smaller: the mark covers as little of the picture as it can.
    HFONT listFont = reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0));
    LOGFONTW look = {};
    HFONT font = nullptr;
    if (listFont != nullptr && ::GetObjectW(listFont, sizeof(look), &look) != 0) {
        look.lfHeight = look.lfHeight * 9 / 10;
        look.lfWidth = 0;
        font = ::CreateFontIndirectW(&look);
    }
    HGDIOBJ oldFont = font != nullptr ? ::SelectObject(dc, font) : nullptr;
    RECT text = {0, 0, 0, 0};
    (void)::DrawTextW(dc, mark.c_str(), static_cast<int>(mark.size()), &text,
                      DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const int padding = (text.bottom + 4) / 8 + 1;
    RECT badge = {picture.right - text.right - 2 * padding, picture.bottom - text.bottom, picture.right,
                  picture.bottom};
    if (atTop)
        badge = {picture.left, picture.top, picture.left + text.right + 2 * padding, picture.top + text.bottom};
    if (badge.left < picture.left)
        badge.left = picture.left;
    if (badge.right > picture.right)
        badge.right = picture.right;
    HBRUSH fill = ::CreateSolidBrush(background);
    if (fill != nullptr) {
        (void)::FillRect(dc, &badge, fill);
        (void)::DeleteObject(fill);
    }
    (void)::SetBkMode(dc, TRANSPARENT);
    (void)::SetTextColor(dc, atTop ? RGB(255, 255, 255) : RGB(0, 0, 0));
    (void)::DrawTextW(dc, mark.c_str(), static_cast<int>(mark.size()), &badge,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (oldFont != nullptr)
        (void)::SelectObject(dc, oldFont);
    if (font != nullptr)
        (void)::DeleteObject(font);
}

}  // namespace

void CMainDialog::ShowDevicePictures(int percent) {
    CImageList pictures;
    CImageList cells;
    if (!scaling::CreateDevicePictures(pictures, percent) || !CreateDeviceCells(cells, pictures, percent))
        return;  // the list keeps what it has
    m_listDevices.SetImageList(cells, LVSIL_NORMAL);
    m_listDevices.SetImageList(cells, LVSIL_SMALL);
    // Items as wide as their cell: they have no text.
    int width = 0;
    int height = 0;
    if (ImageList_GetIconSize(cells, &width, &height))
        (void)::SendMessageW(m_listDevices.m_hWnd, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(width, 0));
    m_imageDeviceCells.Attach(cells.Detach());
    m_imageDevices.Attach(pictures.Detach());
    (void)::InvalidateRect(m_listDevices.m_hWnd, nullptr, TRUE);
}

void CMainDialog::OnDeviceListCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
    NMLVCUSTOMDRAW* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR);
    *pResult = CDRF_DODEFAULT;
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *pResult = CDRF_NOTIFYITEMDRAW;
        return;
    }
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT || m_imageDevices.m_hImageList == nullptr)
        return;
    const int item = static_cast<int>(draw->nmcd.dwItemSpec);
    HWND list = m_listDevices.m_hWnd;
    RECT cell = {};
    cell.left = LVIR_ICON;
    if (!::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell)))
        return;
    LVITEMW shown = {};
    shown.mask = LVIF_IMAGE | LVIF_STATE;
    shown.iItem = item;
    shown.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    if (!m_listDevices.GetItem(&shown))
        return;
    int width = 0;
    int height = 0;
    (void)ImageList_GetIconSize(m_imageDevices, &width, &height);
    HDC dc = draw->nmcd.hdc;
    const bool selected = (shown.state & LVIS_SELECTED) != 0;
    (void)::FillRect(dc, &cell, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    RECT picture = {cell.left + (cell.right - cell.left - width) / 2, cell.top + (cell.bottom - cell.top - height) / 2,
                    0, 0};
    picture.right = picture.left + width;
    picture.bottom = picture.top + height;
    const bool notAttached = m_bDetached && item == AttachedCount();
    if (notAttached) {
        // Greyed: the picture blended half with white.
        IMAGELISTDRAWPARAMS look = {};
        look.cbSize = sizeof(look);
        look.himl = m_imageDevices;
        look.i = shown.iImage;
        look.hdcDst = dc;
        look.x = picture.left;
        look.y = picture.top;
        look.rgbBk = CLR_NONE;
        look.rgbFg = RGB(255, 255, 255);
        look.fStyle = ILD_BLEND50;
        look.fState = ILS_NORMAL;
        if (!ImageList_DrawIndirect(&look))
            (void)ImageList_Draw(m_imageDevices, shown.iImage, dc, picture.left, picture.top, ILD_BLEND50);
    } else {
        (void)ImageList_Draw(m_imageDevices, shown.iImage, dc, picture.left, picture.top, ILD_NORMAL);
    }
    if (OpenDeviceLibrary().simulated)
        DrawMark(dc, list, picture, AfxLoadString(IDS_SIMULATED_MARK), RGB(255, 214, 0), false);
    if (notAttached)
        DrawMark(dc, list, picture, AfxLoadString(IDS_NOT_ATTACHED_MARK), RGB(96, 96, 96), true);
    if ((shown.state & LVIS_FOCUSED) != 0 && ::GetFocus() == list &&
        (::SendMessageW(list, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0)
        (void)::DrawFocusRect(dc, &cell);
    *pResult = CDRF_SKIPDEFAULT;
}
