#include "config/vocabulary_list.h"

namespace vocabulary_list {

bool SelectedRow(const CComboBox& list, int rowCount, int* row) {
    const int item = list.GetCurSel();
    if (item < 0)
        return false;
    const LRESULT data = static_cast<LRESULT>(list.GetItemData(item));
    if (data != kNoRow && (data < 0 || data >= rowCount))
        return false;
    *row = static_cast<int>(data);
    return true;
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
