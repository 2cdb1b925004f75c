#include "config/upper_column.h"

#include "afx/win_app.h"
#include "app/table_statistics.h"
#include "config/vocabulary_tables.h"
#include "store/settings_store.h"

namespace {

bool WriteNumber(const std::wstring& section, const wchar_t* name, int index, DWORD value) {
    return AfxGetApp()->WriteProfileInt(section.c_str(), store::IndexedValueName(name, index).c_str(),
                                        static_cast<int>(value)) != FALSE;
}

class CEventColumn : public CUpperColumn {
public:
    int RowCount() const override { return g_nEventCount; }
    int LongestLabel() const override { return g_nEventLabelMax; }
    const wchar_t* Label(int row) const override { return g_EventTable[row].label; }
    const wchar_t* KeyValueName() const override { return store::kButton; }
    DWORD KeyOf(int row) const override { return g_EventTable[row].event; }
    bool WriteRow(const std::wstring& section, int index, int row) const override {
        return WriteNumber(section, store::kButton, index, g_EventTable[row].event);
    }
};

class CToggleColumn : public CUpperColumn {
public:
    int RowCount() const override { return g_nToggleCount; }
    int LongestLabel() const override { return g_nToggleLabelMax; }
    const wchar_t* Label(int row) const override { return g_ToggleTable[row].label; }
    const wchar_t* KeyValueName() const override { return store::kOnButton; }
    // The on-events of the toggle table are all different, so a switch comes back as
    // the row it was saved from.
    DWORD KeyOf(int row) const override { return g_ToggleTable[row].onEvent; }
    bool WriteRow(const std::wstring& section, int index, int row) const override {
        const ToggleEntry& entry = g_ToggleTable[row];
        return WriteNumber(section, store::kOnButton, index, entry.onEvent) &&
               WriteNumber(section, store::kOffButton, index, entry.offEvent) &&
               WriteNumber(section, store::kButtonVar, index, entry.stateVar);
    }
};

}  // namespace

const CUpperColumn& EventColumn() {
    static const CEventColumn column;
    return column;
}

const CUpperColumn& ToggleColumn() {
    static const CToggleColumn column;
    return column;
}
