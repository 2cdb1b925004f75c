// The vocabulary of a configuration page's upper column of lists, the one of its buttons
// or switches: the rows the lists offer, the identifier that finds a stored row again and
// the values that a picked row leaves in the device's configuration section. The LED
// column is the same on every page.
#ifndef TOLLAN_CONFIG_UPPER_COLUMN_H
#define TOLLAN_CONFIG_UPPER_COLUMN_H

#include <windows.h>

#include <string>

namespace store {
struct SettingSection;
}

class CUpperColumn {
public:
    // An input stores at most this many numbers.
    static const int kMaxValues = 3;

    virtual int RowCount() const = 0;
    virtual int LongestLabel() const = 0;
    virtual const wchar_t* Label(int row) const = 0;
    // The numbers an input stores, in their stored order; the first is the one that
    // loading reads back ("Button"; "OnButton", "OffButton", "ButtonVar").
    virtual int ValueCount() const = 0;
    virtual const wchar_t* ValueName(int value) const = 0;
    // Number value of row.
    virtual DWORD ValueOf(int row, int value) const = 0;

    const wchar_t* KeyValueName() const { return ValueName(0); }
    // What the value that loading reads holds for a row; loading takes the first row that has it.
    DWORD KeyOf(int row) const { return ValueOf(row, 0); }
    // Adds values[0 .. ValueCount() - 1] of input index to what a save writes into the
    // section, in their stored order.
    void WriteValues(store::SettingSection& section, int index, const DWORD* values) const;
    // The same with the values of row.
    void WriteRow(store::SettingSection& section, int index, int row) const;

protected:
    ~CUpperColumn() {}
};

// The event table, one key event per push button.
const CUpperColumn& EventColumn();
// The toggle table: on-event, off-event and state variable per switch.
const CUpperColumn& ToggleColumn();

#endif
