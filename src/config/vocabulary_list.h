// A drop-down list filled from a vocabulary table. Its first item stands for no row at all
// ("(none)"); the table's rows follow in table order, unsorted, so row r is item r + 1. Each
// item carries its row index as item data, the first one kNoRow.
#ifndef TOLLAN_CONFIG_VOCABULARY_LIST_H
#define TOLLAN_CONFIG_VOCABULARY_LIST_H

#include "afx/controls.h"

namespace vocabulary_list {

// The row of the first item: nothing is picked.
const int kNoRow = -2;
const int kNoneItem = 0;

inline int ItemOfRow(int row) { return row == kNoRow ? kNoneItem : row + 1; }
// How many rows of the table the list offers.
inline int RowsShown(const CComboBox& list) {
    const int count = list.GetCount();
    return count > 1 ? count - 1 : 0;
}

// Adds noneLabel, then the labels of rows 0 to rowCount - 1, storage reserved first from the
// table's measured row count and longest label; false when the list could not take them all.
template <class LabelOf>
bool Fill(const CComboBox& list, const wchar_t* noneLabel, int rowCount, int longestLabel, LabelOf labelOf) {
    (void)list.InitStorage(rowCount + 1, static_cast<UINT>(longestLabel + 1));  // only a hint
    // Without redrawing, the list does not recompute its scroll bar for every item: the
    // page opens several times faster.
    (void)list.SendMessage(WM_SETREDRAW, FALSE);
    int item = list.AddString(noneLabel);
    bool filled = item == kNoneItem && list.SetItemData(item, static_cast<DWORD_PTR>(kNoRow)) != CB_ERR;
    for (int row = 0; row < rowCount && filled; ++row) {
        item = list.AddString(labelOf(row));
        filled = item >= 0 && list.SetItemData(item, static_cast<DWORD_PTR>(row)) != CB_ERR;
    }
    (void)list.SendMessage(WM_SETREDRAW, TRUE);
    return filled;
}

// The row of the list's current selection (kNoRow for the first item) in *row; false when
// nothing is selected.
bool SelectedRow(const CComboBox& list, int rowCount, int* row);

// The width in pixels of the widest of rowCount labels in the list's own font.
template <class LabelOf>
int WidestLabel(const CComboBox& list, int rowCount, LabelOf labelOf) {
    int widest = 0;
    HDC dc = ::GetDC(list.m_hWnd);
    if (dc == nullptr)
        return 0;
    HGDIOBJ old = ::SelectObject(dc, list.GetFont());
    for (int row = 0; row < rowCount; ++row) {
        const wchar_t* label = labelOf(row);
        SIZE size = {};
        if (::GetTextExtentPoint32W(dc, label, lstrlenW(label), &size) && size.cx > widest)
            widest = size.cx;
    }
    (void)::SelectObject(dc, old);
    (void)::ReleaseDC(list.m_hWnd, dc);
    return widest;
}

// Widens the open list so that labels up to textWidth pixels wide fit beside its scroll
// bar; the open list is never narrower than the list itself.
void FitDroppedWidth(const CComboBox& list, int textWidth);

// Makes the open list show about rows items at a time.
void ShowRowsWhenOpen(const CComboBox& list, int rows);

}  // namespace vocabulary_list

#endif
