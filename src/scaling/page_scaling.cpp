#include "scaling/page_scaling.h"

#include "afx/bitmap_button.h"
#include "resource.h"
#include "scaling/display_scale.h"
#include "scaling/picture_alignment.h"
#include "scaling/scaled_pictures.h"

#include <commctrl.h>

namespace scaling {

namespace {

// The controls a page scales are marked with this subclass; its data says what each is:
// a picture control (the base id of its bitmap) or a numbered label (kLabelMark + column).
const UINT_PTR kScaledChildSubclass = 0x544C5343;  // "TLSC"
const DWORD_PTR kLabelMark = 0x10000;

struct TemplatePicture {
    UINT templateId;
    UINT pictureId;
};

const TemplatePicture kPagePictures[] = {
    {IDD_CONFIG_B88, IDB_PANEL_B88}, {IDD_TEST_B88, IDB_PANEL_B88}, {IDD_CONFIG_T88, IDB_PANEL_T88},
    {IDD_TEST_T88, IDB_PANEL_T88},   {IDD_CONFIG_RP, IDB_PANEL_RP}, {IDD_TEST_RP, IDB_PANEL_RP},
};

UINT PictureOfTemplate(UINT templateId) {
    for (const TemplatePicture& page : kPagePictures) {
        if (page.templateId == templateId)
            return page.pictureId;
    }
    return 0;
}

bool IsPictureControl(HWND control) {
    wchar_t className[16] = L"";
    (void)::GetClassNameW(control, className, 16);
    return ::lstrcmpiW(className, L"Static") == 0 &&
           (::GetWindowLongPtrW(control, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP;
}

// Asks a marked control for its mark: the answer is the mark plus one, 0 for no mark.
UINT MarkQuery() {
    static const UINT query = ::RegisterWindowMessageW(L"Tollan.ScaledChildMark");
    return query;
}

// Hands the picture control its picture back before it is destroyed, so no version of the
// control can delete the shared picture; a copy the control made of it is deleted here.
LRESULT CALLBACK ScaledChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR mark) {
    if (message == MarkQuery() && message != 0)
        return static_cast<LRESULT>(mark + 1);
    if (message == WM_DESTROY && mark < kLabelMark) {
        HBITMAP held = reinterpret_cast<HBITMAP>(::SendMessageW(window, STM_SETIMAGE, IMAGE_BITMAP, 0));
        if (held != nullptr && !IsSharedPicture(held))
            (void)::DeleteObject(held);
    } else if (message == WM_NCDESTROY) {
        (void)::RemoveWindowSubclass(window, ScaledChildProc, id);
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

bool MarkOf(HWND control, DWORD_PTR* mark) {
    if (MarkQuery() == 0)
        return false;
    const LRESULT answer = ::SendMessageW(control, MarkQuery(), 0, 0);
    if (answer <= 0)
        return false;
    *mark = static_cast<DWORD_PTR>(answer - 1);
    return true;
}

RECT RectInParent(HWND child, HWND parent) {
    RECT rect = {};
    (void)::GetWindowRect(child, &rect);
    (void)::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The picture control shows the shared picture, at the picture's own size: a control
// whose style keeps its template size would clip a larger picture.
void ShowPicture(HWND control, UINT pictureId, int percent) {
    HBITMAP shared = SharedPicture(pictureId, percent);
    if (shared == nullptr)
        return;
    if (reinterpret_cast<HBITMAP>(::SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0)) != shared) {
        // What comes back is the control's own copy of the template's picture, or a copy it
        // made of a picture with alpha: either is ours to delete now.
        HBITMAP previous = reinterpret_cast<HBITMAP>(
            ::SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shared)));
        if (previous != nullptr && previous != shared && !IsSharedPicture(previous))
            (void)::DeleteObject(previous);
    }
    BITMAP size = {};
    if (::GetObjectW(shared, sizeof(size), &size) != 0)
        (void)::SetWindowPos(control, nullptr, 0, 0, size.bmWidth, size.bmHeight,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void LayOut(HWND page, int percent) {
    HWND picture = nullptr;
    for (HWND child = ::GetWindow(page, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        DWORD_PTR mark = 0;
        if (MarkOf(child, &mark) && mark < kLabelMark) {
            ShowPicture(child, static_cast<UINT>(mark), percent);
            picture = child;
        }
    }
    if (picture == nullptr)
        return;
    const RECT pictureRect = RectInParent(picture, page);
    for (HWND child = ::GetWindow(page, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        DWORD_PTR mark = 0;
        if (!MarkOf(child, &mark) || mark < kLabelMark)
            continue;
        const RECT aligned = AlignedLabelRect(RectInParent(child, page), pictureRect,
                                              static_cast<int>(mark - kLabelMark), percent);
        (void)::SetWindowPos(child, nullptr, aligned.left, aligned.top, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    (void)::InvalidateRect(page, nullptr, TRUE);
}

}  // namespace

void ScalePage(HWND page, UINT templateId) {
    const UINT pictureId = PictureOfTemplate(templateId);
    if (page == nullptr || pictureId == 0)
        return;
    const int percent = PictureScaleOf(page);
    HWND picture = nullptr;
    for (HWND child = ::GetWindow(page, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (IsPictureControl(child) && ::SetWindowSubclass(child, ScaledChildProc, kScaledChildSubclass, pictureId)) {
            ShowPicture(child, pictureId, percent);
            picture = child;
        }
    }
    if (picture == nullptr)
        return;
    // Found where the dialog manager put them, next to the picture at its new size.
    const RECT pictureRect = RectInParent(picture, page);
    for (HWND child = ::GetWindow(page, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const int column = NumberedColumn(child);
        if (column >= 0 && StandsUnder(RectInParent(child, page), pictureRect))
            (void)::SetWindowSubclass(child, ScaledChildProc, kScaledChildSubclass,
                                      kLabelMark + static_cast<DWORD_PTR>(column));
    }
    LayOut(page, percent);
}

void RescalePage(HWND page, int dpi) {
    if (page != nullptr)
        LayOut(page, PictureScale(dpi));
}

BOOL LoadIndicatorPictures(CBitmapButton& indicator, UINT clearId, UINT setId, int percent) {
    const int scales[] = {200, 150, 125, 100};
    for (int scale : scales) {
        if (scale > percent)
            continue;
        const UINT clear = ScaledPictureId(clearId, scale);
        if (indicator.LoadBitmaps(clear, clear, clear, ScaledPictureId(setId, scale)))
            return TRUE;
    }
    return FALSE;
}

BOOL RescaleIndicator(CBitmapButton& indicator, int percent) {
    const UINT clearId = BasePictureId(indicator.GetBitmapId(CBitmapButton::kNormal));
    const UINT setId = BasePictureId(indicator.GetBitmapId(CBitmapButton::kDisabled));
    if (clearId == 0)
        return FALSE;
    return LoadIndicatorPictures(indicator, clearId, setId, percent);
}

}  // namespace scaling
