#include "config/table_statistics.h"

#include "config/vocabulary_tables.h"

int g_nEventCount = 0;
int g_nEventLabelMax = 0;
int g_nToggleCount = 0;
int g_nToggleLabelMax = 0;
int g_nLedCount = 0;
int g_nLedLabelMax = 0;

void MeasureVocabularyTables()
{
    MeasureTable(g_EventTable, g_nEventCount, g_nEventLabelMax);
    MeasureTable(g_ToggleTable, g_nToggleCount, g_nToggleLabelMax);
    MeasureTable(g_LedTable, g_nLedCount, g_nLedLabelMax);
}
