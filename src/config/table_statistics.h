// Row counts and longest label lengths of the three vocabulary tables, measured
// once at start-up. The configuration pages use them to pre-size their lists.
#ifndef TOLLAN_CONFIG_TABLE_STATISTICS_H
#define TOLLAN_CONFIG_TABLE_STATISTICS_H

#include <cwchar>

extern int g_nEventCount;
extern int g_nEventLabelMax;
extern int g_nToggleCount;
extern int g_nToggleLabelMax;
extern int g_nLedCount;
extern int g_nLedLabelMax;

// Counts the rows of a table up to its terminating row (the first row whose label
// is null) and finds the length in characters of its longest label.
template <class Row>
void MeasureTable(const Row* table, int& rowCount, int& longestLabel)
{
    rowCount = 0;
    longestLabel = 0;
    for (const Row* row = table; row->label != nullptr; ++row) {
        const int length = static_cast<int>(std::wcslen(row->label));
        if (length > longestLabel)
            longestLabel = length;
        ++rowCount;
    }
}

// Measures the event, toggle and LED indicator tables, in that order, into the
// six values above.
void MeasureVocabularyTables();

#endif
