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

void ShowRowsWhenOpen(const CComboBox& list, int rows) {
    (void)list.SendMessage(CB_SETMINVISIBLE, static_cast<WPARAM>(rows));
}

}  // namespace vocabulary_list
