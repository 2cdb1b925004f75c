// The vocabulary of a configuration page's upper column of lists, the one of its buttons
// or switches: the rows the lists offer, the identifier that finds a stored row again and
// the values that a picked row leaves in the device's configuration section. The LED
// column is the same on every page.
#ifndef TOLLAN_CONFIG_UPPER_COLUMN_H
#define TOLLAN_CONFIG_UPPER_COLUMN_H

#include <windows.h>

#include <string>

class CUpperColumn {
public:
    virtual int RowCount() const = 0;
    virtual int LongestLabel() const = 0;
    virtual const wchar_t* Label(int row) const = 0;
    // Base name of the value that loading reads back ("Button", "OnButton").
    virtual const wchar_t* KeyValueName() const = 0;
    // What that value holds for a row; loading takes the first row that has it.
    virtual DWORD KeyOf(int row) const = 0;
    // Writes the values of input index for row into section, in their stored order;
    // false as soon as one write fails.
    virtual bool WriteRow(const std::wstring& section, int index, int row) const = 0;

protected:
    ~CUpperColumn() {}
};

// The event table, one key event per push button.
const CUpperColumn& EventColumn();
// The toggle table: on-event, off-event and state variable per switch.
const CUpperColumn& ToggleColumn();

#endif
