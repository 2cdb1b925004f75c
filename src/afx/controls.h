// Views of the common controls the program uses: each method sends one message.
#ifndef TOLLAN_AFX_CONTROLS_H
#define TOLLAN_AFX_CONTROLS_H

#include "afx/wnd.h"

#include <commctrl.h>

class CStatic : public CWnd {
};

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int nCheck) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
};

class CEdit : public CWnd {
public:
    void LimitText(int nChars) const { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nChars)); }
};

class CComboBox : public CWnd {
public:
    int InitStorage(int nItems, UINT nBytes) const {
        return static_cast<int>(SendMessage(CB_INITSTORAGE, static_cast<WPARAM>(nItems), nBytes));
    }
    int AddString(LPCWSTR text) const {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int SetItemData(int nIndex, DWORD_PTR data) const {
        return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(data)));
    }
    DWORD_PTR GetItemData(int nIndex) const {
        return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
    }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int nSelect) const {
        return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nSelect)));
    }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    BOOL GetDroppedState() const { return static_cast<BOOL>(SendMessage(CB_GETDROPPEDSTATE)); }
    void ShowDropDown(BOOL bShow = TRUE) const { SendMessage(CB_SHOWDROPDOWN, static_cast<WPARAM>(bShow)); }
    int SetDroppedWidth(UINT nWidth) const {
        return static_cast<int>(SendMessage(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(nWidth)));
    }
    int GetDroppedWidth() const { return static_cast<int>(SendMessage(CB_GETDROPPEDWIDTH)); }
    BOOL GetComboBoxInfo(COMBOBOXINFO* pcbi) const {
        return static_cast<BOOL>(SendMessage(CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(pcbi)));
    }
};

class CSliderCtrl : public CWnd {
public:
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE) const {
        SendMessage(TBM_SETRANGE, static_cast<WPARAM>(bRedraw), MAKELPARAM(nMin, nMax));
    }
    void SetTicFreq(int nFreq) const { SendMessage(TBM_SETTICFREQ, static_cast<WPARAM>(nFreq)); }
    void SetPos(int nPos) const { SendMessage(TBM_SETPOS, TRUE, nPos); }
    int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
};

class CListCtrl : public CWnd {
public:
    int InsertItem(const LVITEMW* pItem) const {
        return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(pItem)));
    }
    BOOL DeleteAllItems() const { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    HIMAGELIST SetImageList(HIMAGELIST hImageList, int nImageListType) const {
        return reinterpret_cast<HIMAGELIST>(
            SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType), reinterpret_cast<LPARAM>(hImageList)));
    }
    HIMAGELIST GetImageList(int nImageListType) const {
        return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, static_cast<WPARAM>(nImageListType)));
    }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    DWORD SetExtendedStyle(DWORD dwNewStyle) const {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(dwNewStyle)));
    }
    BOOL GetItem(LVITEMW* pItem) const {
        return static_cast<BOOL>(SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(pItem)));
    }
    int GetNextItem(int nItem, int nFlags) const {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), MAKELPARAM(nFlags, 0)));
    }
};

#endif
