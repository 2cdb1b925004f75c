// A drop-down list filled from a vocabulary table: its items stand in table order, unsorted,
// and each carries its row index as item data.
#ifndef TOLLAN_CONFIG_VOCABULARY_LIST_H
#define TOLLAN_CONFIG_VOCABULARY_LIST_H

#include "afx/controls.h"

namespace vocabulary_list {

// Adds the labels of rows 0 to rowCount - 1, storage reserved first from the table's
// measured row count and longest label; false when the list could not take them all.
template <class LabelOf>
bool Fill(const CComboBox& list, int rowCount, int longestLabel, LabelOf labelOf) {
    (void)list.InitStorage(rowCount, static_cast<UINT>(longestLabel + 1));  // only a hint
    // Without redrawing, the list does not recompute its scroll bar for every item: the
    // page opens several times faster.
    (void)list.SendMessage(WM_SETREDRAW, FALSE);
    bool filled = true;
    for (int row = 0; row < rowCount && filled; ++row) {
        const int item = list.AddString(labelOf(row));
        filled = item >= 0 && list.SetItemData(item, static_cast<DWORD_PTR>(row)) != CB_ERR;
    }
    (void)list.SendMessage(WM_SETREDRAW, TRUE);
    return filled;
}

// The row of the list's current selection; -1 when nothing is selected.
int SelectedRow(const CComboBox& list, int rowCount);

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
