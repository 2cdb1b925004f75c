// The three constant tables of simulator vocabulary that the configuration pages
// offer in their drop-down lists. Each table is an array of rows in list order,
// ended by one row whose label is null. A row's index is its position in every
// list filled from the table and the item data of that list item.
#ifndef TOLLAN_CONFIG_VOCABULARY_TABLES_H
#define TOLLAN_CONFIG_VOCABULARY_TABLES_H

#include <windows.h>

// A simulator key event that a push button sends.
struct EventEntry  { const wchar_t* label; DWORD event; };

// A toggle switch: the events for its on and off positions and the panel variable
// that shows its state.
struct ToggleEntry { const wchar_t* label; DWORD onEvent; DWORD offEvent; DWORD stateVar; };  // stateVar 0: none

// An LED: the panel variable, comparison code and value text that decide when it lights.
struct LedEntry    { const wchar_t* label; DWORD variable; int comparison; const wchar_t* value; };

extern const EventEntry  g_EventTable[];   // 468 rows + terminator
extern const ToggleEntry g_ToggleTable[];  // 50 rows + terminator
extern const LedEntry    g_LedTable[];     // 211 rows + terminator

#endif
