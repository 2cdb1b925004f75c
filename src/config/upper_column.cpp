#include "config/upper_column.h"

#include "config/table_statistics.h"
#include "config/vocabulary_tables.h"
#include "store/panel_settings.h"
#include "store/settings_store.h"

namespace {

class CEventColumn : public CUpperColumn {
public:
    int RowCount() const override { return g_nEventCount; }
    int LongestLabel() const override { return g_nEventLabelMax; }
    const wchar_t* Label(int row) const override { return g_EventTable[row].label; }
    int ValueCount() const override { return 1; }
    const wchar_t* ValueName(int) const override { return store::kButton; }
    DWORD ValueOf(int row, int) const override { return g_EventTable[row].event; }
};

class CToggleColumn : public CUpperColumn {
public:
    int RowCount() const override { return g_nToggleCount; }
    int LongestLabel() const override { return g_nToggleLabelMax; }
    const wchar_t* Label(int row) const override { return g_ToggleTable[row].label; }
    int ValueCount() const override { return 3; }
    const wchar_t* ValueName(int value) const override {
        static const wchar_t* const names[] = {store::kOnButton, store::kOffButton, store::kButtonVar};
        return names[value];
    }
    // The on-events of the toggle table are all different, so a switch comes back as
    // the row it was saved from.
    DWORD ValueOf(int row, int value) const override {
        const ToggleEntry& entry = g_ToggleTable[row];
        return value == 0 ? entry.onEvent : value == 1 ? entry.offEvent : entry.stateVar;
    }
};

}  // namespace

void CUpperColumn::WriteValues(store::SettingSection& section, int index, const DWORD* values) const {
    for (int value = 0; value < ValueCount(); ++value)
        section.AddDword(store::IndexedValueName(ValueName(value), index), values[value]);
}

void CUpperColumn::WriteRow(store::SettingSection& section, int index, int row) const {
    DWORD values[kMaxValues] = {};
    for (int value = 0; value < ValueCount(); ++value)
        values[value] = ValueOf(row, value);
    WriteValues(section, index, values);
}

const CUpperColumn& EventColumn() {
    static const CEventColumn column;
    return column;
}

const CUpperColumn& ToggleColumn() {
    static const CToggleColumn column;
    return column;
}
