#include "config/vocabulary_list.h"

namespace vocabulary_list {

int SelectedRow(const CComboBox& list, int rowCount) {
    const int item = list.GetCurSel();
    if (item < 0)
        return -1;
    const LRESULT row = static_cast<LRESULT>(list.GetItemData(item));
    if (row < 0 || row >= rowCount)
        return -1;
    return static_cast<int>(row);
}

void FitDroppedWidth(const CComboBox& list, int textWidth) {
    // The item's margins on both sides, the list's border and its vertical scroll bar.
    const int extra = 2 * 4 + 2 * ::GetSystemMetrics(SM_CXEDGE) + ::GetSystemMetrics(SM_CXVSCROLL);
    (void)list.SetDroppedWidth(static_cast<UINT>(textWidth + extra));
}

void ShowRowsWhenOpen(const CComboBox& list, int rows) {
    (void)list.SendMessage(CB_SETMINVISIBLE, static_cast<WPARAM>(rows));
}

}  // namespace vocabulary_list
