// The simulator vocabulary tables and their measuring: counts, label lengths, the
// rows that share an identifier and the rows whose events or values stand apart.
#include "config/table_statistics.h"
#include "config/vocabulary_tables.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// The rows of a table before its terminating row, walked independently of the
// measuring so that a miscounting measure cannot hide itself.
template <class Row>
std::vector<const Row*> RowsOf(const Row* table)
{
    std::vector<const Row*> rows;
    for (const Row* row = table; row->label != nullptr; ++row)
        rows.push_back(row);
    return rows;
}

std::wstring Lowered(const wchar_t* text)
{
    std::wstring lowered(text);
    for (wchar_t& c : lowered)
        c = static_cast<wchar_t>(std::towlower(c));
    return lowered;
}

template <class Row>
std::vector<std::wstring> LabelsOccurringTwice(const std::vector<const Row*>& rows)
{
    std::map<std::wstring, int> seen;
    for (const Row* row : rows)
        ++seen[row->label];
    std::vector<std::wstring> twice;
    for (const auto& entry : seen)
        if (entry.second > 1)
            twice.push_back(entry.first);
    return twice;
}

template <class Row>
void ExpectLabelsPrintableWithin(const std::vector<const Row*>& rows, size_t shortest, size_t longest)
{
    size_t seenShortest = static_cast<size_t>(-1);
    size_t seenLongest = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::wstring label = rows[i]->label;
        for (wchar_t c : label)
            EXPECT_TRUE(c >= 0x20 && c <= 0x7E) << "row " << i << " has character " << static_cast<int>(c);
        if (label.size() < seenShortest)
            seenShortest = label.size();
        if (label.size() > seenLongest)
            seenLongest = label.size();
    }
    EXPECT_EQ(seenShortest, shortest);
    EXPECT_EQ(seenLongest, longest);
}

int LedRowWithLabel(const std::vector<const LedEntry*>& rows, const wchar_t* label)
{
    for (size_t i = 0; i < rows.size(); ++i)
        if (std::wstring(rows[i]->label) == label)
            return static_cast<int>(i);
    return -1;
}

int ToggleRowWithLabel(const std::vector<const ToggleEntry*>& rows, const wchar_t* label)
{
    for (size_t i = 0; i < rows.size(); ++i)
        if (std::wstring(rows[i]->label) == label)
            return static_cast<int>(i);
    return -1;
}

}  // namespace

// ---------------------------------------------------------------------------
// Measuring

TEST(TableStatistics, ShippedTablesGiveTheirCountsAndLongestLabels)
{
    MeasureVocabularyTables();
    EXPECT_EQ(g_nEventCount, 468);
    EXPECT_EQ(g_nEventLabelMax, 28);
    EXPECT_EQ(g_nToggleCount, 50);
    EXPECT_EQ(g_nToggleLabelMax, 19);
    EXPECT_EQ(g_nLedCount, 211);
    EXPECT_EQ(g_nLedLabelMax, 36);
}

TEST(TableStatistics, MeasuringAgainGivesTheSameFigures)
{
    MeasureVocabularyTables();
    MeasureVocabularyTables();
    EXPECT_EQ(g_nEventCount, 468);
    EXPECT_EQ(g_nEventLabelMax, 28);
    EXPECT_EQ(g_nToggleCount, 50);
    EXPECT_EQ(g_nToggleLabelMax, 19);
    EXPECT_EQ(g_nLedCount, 211);
    EXPECT_EQ(g_nLedLabelMax, 36);
}

TEST(TableStatistics, TableOfOnlyTheTerminatorGivesZeroAndZero)
{
    const EventEntry empty[] = { { nullptr, 0 } };
    int count = -1;
    int longest = -1;
    MeasureTable(empty, count, longest);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(longest, 0);
}

TEST(TableStatistics, LongestLabelIsFoundWhereverItStands)
{
    const EventEntry longestFirst[] = { { L"ABCDEFG", 1 }, { L"AB", 2 }, { L"ABC", 3 }, { nullptr, 0 } };
    const EventEntry longestMiddle[] = { { L"AB", 1 }, { L"ABCDEFG", 2 }, { L"ABC", 3 }, { nullptr, 0 } };
    const EventEntry longestLast[] = { { L"AB", 1 }, { L"ABC", 2 }, { L"ABCDEFG", 3 }, { nullptr, 0 } };
    for (const EventEntry* table : { longestFirst, longestMiddle, longestLast }) {
        int count = 0;
        int longest = 0;
        MeasureTable(table, count, longest);
        EXPECT_EQ(count, 3);
        EXPECT_EQ(longest, 7);
    }
}

TEST(TableStatistics, LabelTyingWithTheMaximumLeavesIt)
{
    const ToggleEntry table[] = {
        { L"Gear", 1, 2, 0 },
        { L"Smoke", 3, 4, 0 },
        { L"Sound", 5, 6, 0 },
        { L"Mach", 7, 8, 0 },
        { L"Pitot", 9, 10, 0 },
        { nullptr, 0, 0, 0 },
    };
    int count = 0;
    int longest = 0;
    MeasureTable(table, count, longest);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(longest, 5);
}

TEST(TableStatistics, StopsAtTheFirstNullLabel)
{
    // Rows after the terminator belong to no table and are not counted.
    const LedEntry table[] = {
        { L"Panel", 0x0A, 1, L"1" },
        { L"Strobe", 0x0B, 1, L"1" },
        { nullptr, 0, 0, nullptr },
        { L"A label far longer than the others", 0x0C, 1, L"1" },
        { nullptr, 0, 0, nullptr },
    };
    int count = 0;
    int longest = 0;
    MeasureTable(table, count, longest);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(longest, 6);
}

TEST(TableStatistics, EmptyLabelIsStillARow)
{
    const EventEntry table[] = { { L"", 1 }, { L"", 2 }, { nullptr, 0 } };
    int count = 0;
    int longest = -1;
    MeasureTable(table, count, longest);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(longest, 0);
}

// ---------------------------------------------------------------------------
// All three tables

TEST(VocabularyTables, RowCountsBeforeTheTerminator)
{
    EXPECT_EQ(RowsOf(g_EventTable).size(), 468u);
    EXPECT_EQ(RowsOf(g_ToggleTable).size(), 50u);
    EXPECT_EQ(RowsOf(g_LedTable).size(), 211u);
}

TEST(VocabularyTables, LabelsArePrintableAsciiOfTheStatedLengths)
{
    ExpectLabelsPrintableWithin(RowsOf(g_EventTable), 4, 28);
    ExpectLabelsPrintableWithin(RowsOf(g_ToggleTable), 4, 19);
    ExpectLabelsPrintableWithin(RowsOf(g_LedTable), 9, 36);
}

TEST(VocabularyTables, NoLabelOccursTwiceInATable)
{
    EXPECT_TRUE(LabelsOccurringTwice(RowsOf(g_EventTable)).empty());
    EXPECT_TRUE(LabelsOccurringTwice(RowsOf(g_ToggleTable)).empty());
    EXPECT_TRUE(LabelsOccurringTwice(RowsOf(g_LedTable)).empty());
}

// ---------------------------------------------------------------------------
// Event table

TEST(VocabularyEventTable, SixteenIdentifiersBelongToTwoRowsEach)
{
    struct SharedPair { DWORD event; const wchar_t* first; const wchar_t* second; };
    const SharedPair expected[] = {
        { 0x10043, L"FLAPS DOWN", L"FLAPS 4" },
        { 0x10187, L"MAGNETO1 OFF", L"STARTER1 OFF" },
        { 0x10188, L"MAGNETO1 RIGHT", L"STARTER1 START" },
        { 0x10189, L"MAGNETO1 LEFT", L"STARTER1 GEN" },
        { 0x1018D, L"MAGNETO2 OFF", L"STARTER2 OFF" },
        { 0x1018E, L"MAGNETO2 RIGHT", L"STARTER2 START" },
        { 0x1018F, L"MAGNETO2 LEFT", L"STARTER2 GEN" },
        { 0x10193, L"MAGNETO3 OFF", L"STARTER3 OFF" },
        { 0x10194, L"MAGNETO3 RIGHT", L"STARTER3 START" },
        { 0x10195, L"MAGNETO3 LEFT", L"STARTER3 GEN" },
        { 0x10199, L"MAGNETO4 OFF", L"STARTER4 OFF" },
        { 0x1019A, L"MAGNETO4 RIGHT", L"STARTER4 START" },
        { 0x1019B, L"MAGNETO4 LEFT", L"STARTER4 GEN" },
        { 0x101E7, L"MAGNETO OFF", L"STARTER OFF" },
        { 0x101E8, L"MAGNETO RIGHT", L"STARTER START" },
        { 0x101E9, L"MAGNETO LEFT", L"STARTER GEN" },
    };

    const std::vector<const EventEntry*> rows = RowsOf(g_EventTable);
    std::map<DWORD, std::vector<size_t>> rowsByEvent;
    for (size_t i = 0; i < rows.size(); ++i)
        rowsByEvent[rows[i]->event].push_back(i);

    std::map<DWORD, std::vector<size_t>> shared;
    for (const auto& entry : rowsByEvent)
        if (entry.second.size() > 1)
            shared.insert(entry);
    ASSERT_EQ(shared.size(), 16u);

    for (const SharedPair& pair : expected) {
        SCOPED_TRACE(testing::Message() << std::hex << pair.event);
        const auto found = shared.find(pair.event);
        ASSERT_NE(found, shared.end());
        ASSERT_EQ(found->second.size(), 2u);
        // Row indices are in ascending order, so the first one is the earlier row.
        EXPECT_STREQ(rows[found->second[0]]->label, pair.first);
        EXPECT_STREQ(rows[found->second[1]]->label, pair.second);
    }
}

TEST(VocabularyEventTable, FlapsDownComesLongBeforeFlaps4)
{
    const std::vector<const EventEntry*> rows = RowsOf(g_EventTable);
    ASSERT_EQ(rows.size(), 468u);
    EXPECT_STREQ(rows[180]->label, L"FLAPS DOWN");
    EXPECT_EQ(rows[180]->event, 0x10043u);
    EXPECT_STREQ(rows[247]->label, L"FLAPS 4");
    EXPECT_EQ(rows[247]->event, 0x10043u);
}

TEST(VocabularyEventTable, IdentifiersSpan0x10002To0x103E3)
{
    DWORD lowest = 0xFFFFFFFF;
    DWORD highest = 0;
    for (const EventEntry* row : RowsOf(g_EventTable)) {
        if (row->event < lowest)
            lowest = row->event;
        if (row->event > highest)
            highest = row->event;
    }
    EXPECT_EQ(lowest, 0x10002u);
    EXPECT_EQ(highest, 0x103E3u);
}

TEST(VocabularyEventTable, RowsFromTheList)
{
    struct Expected { size_t index; const wchar_t* label; DWORD event; };
    const Expected expected[] = {
        { 0, L"Autopilot Master", 0x1002C },
        { 3, L"Takeoff/Go-Around", 0x10145 },
        { 28, L"De-Ice", 0x10023 },
        { 33, L"Landing Gear", 0x10022 },
        { 173, L"SELECT 1", 0x10002 },
        { 218, L"MIXTURE INCR_SMALL", 0x100F0 },
        { 301, L"CROSS FEED LEFT_TO_RIGHT", 0x10160 },
        { 413, L"CONCORDE NOSE VISOR FULL EXT", 0x1034F },
        { 416, L"ENGINE AUTO SHUTDOWN", 0x103E3 },
        { 467, L"SEE OWN AC TOGGLE", 0x10246 },
    };
    const std::vector<const EventEntry*> rows = RowsOf(g_EventTable);
    ASSERT_EQ(rows.size(), 468u);
    for (const Expected& e : expected) {
        SCOPED_TRACE(testing::Message() << "row " << e.index);
        EXPECT_STREQ(rows[e.index]->label, e.label);
        EXPECT_EQ(rows[e.index]->event, e.event);
    }
}

// ---------------------------------------------------------------------------
// Toggle table

TEST(VocabularyToggleTable, NoOnEventOccursTwice)
{
    std::set<DWORD> onEvents;
    for (const ToggleEntry* row : RowsOf(g_ToggleTable))
        EXPECT_TRUE(onEvents.insert(row->onEvent).second) << std::hex << row->onEvent;
}

TEST(VocabularyToggleTable, SingleEventRowsAndTheirStateVariables)
{
    int withStateVariable = 0;
    std::set<std::wstring> withoutStateVariable;
    for (const ToggleEntry* row : RowsOf(g_ToggleTable)) {
        if (row->onEvent != row->offEvent)
            continue;
        if (row->stateVar != 0)
            ++withStateVariable;
        else
            withoutStateVariable.insert(row->label);
    }
    EXPECT_EQ(withStateVariable + static_cast<int>(withoutStateVariable.size()), 16);
    EXPECT_EQ(withStateVariable, 12);
    const std::set<std::wstring> named = { L"COM Receive All", L"ADF Sound", L"COM1_TRANSMIT", L"COM2_TRANSMIT" };
    EXPECT_EQ(withoutStateVariable, named);
}

TEST(VocabularyToggleTable, TwoEventRowsWithAStateVariable)
{
    std::set<std::wstring> withStateVariable;
    int withoutStateVariable = 0;
    for (const ToggleEntry* row : RowsOf(g_ToggleTable)) {
        if (row->onEvent == row->offEvent)
            continue;
        if (row->stateVar != 0)
            withStateVariable.insert(row->label);
        else
            ++withoutStateVariable;
    }
    const std::set<std::wstring> named = { L"Autopilot Master", L"Panel Lights", L"Strobe Lights", L"Landing Lights" };
    EXPECT_EQ(withStateVariable, named);
    EXPECT_EQ(withoutStateVariable, 30);
}

TEST(VocabularyToggleTable, EveryStateVariableIsAnLedVariable)
{
    std::set<DWORD> ledVariables;
    for (const LedEntry* row : RowsOf(g_LedTable))
        ledVariables.insert(row->variable);
    int checked = 0;
    for (const ToggleEntry* row : RowsOf(g_ToggleTable)) {
        if (row->stateVar == 0)
            continue;
        ++checked;
        EXPECT_EQ(ledVariables.count(row->stateVar), 1u) << "state variable of row " << row->label;
    }
    EXPECT_EQ(checked, 16);
}

TEST(VocabularyToggleTable, StateVariablesMatchTheirLedRows)
{
    const std::vector<const ToggleEntry*> toggles = RowsOf(g_ToggleTable);
    const std::vector<const LedEntry*> leds = RowsOf(g_LedTable);
    struct Match { const wchar_t* toggle; const wchar_t* led; DWORD variable; };
    const Match matches[] = {
        { L"Panel Lights", L"Panel Lights On", 0x0A },
        { L"Flight Director", L"FLIGHT_DIRECTOR_ACTIVE", 0x318 },
        { L"Autopilot Master", L"AUTOPILOT ACTIVE", 0x67 },
    };
    for (const Match& m : matches) {
        SCOPED_TRACE(testing::Message() << "toggle row " << m.toggle);
        const int toggle = ToggleRowWithLabel(toggles, m.toggle);
        const int led = LedRowWithLabel(leds, m.led);
        ASSERT_GE(toggle, 0);
        ASSERT_GE(led, 0);
        EXPECT_EQ(toggles[toggle]->stateVar, m.variable);
        EXPECT_EQ(leds[led]->variable, m.variable);
    }
    EXPECT_EQ(LedRowWithLabel(leds, L"AUTOPILOT ACTIVE"), 13);
}

TEST(VocabularyToggleTable, AutothrottleRowsDifferOnlyInLetterCase)
{
    const std::vector<const ToggleEntry*> rows = RowsOf(g_ToggleTable);
    ASSERT_EQ(rows.size(), 50u);
    EXPECT_STREQ(rows[2]->label, L"AutoThrottle Arm");
    EXPECT_EQ(rows[2]->onEvent, 0x10144u);
    EXPECT_STREQ(rows[32]->label, L"Autothrottle Arm");
    EXPECT_EQ(rows[32]->onEvent, 0x1010Cu);

    // They are the only two labels of the table that meet when case is ignored.
    std::map<std::wstring, std::vector<size_t>> byLowered;
    for (size_t i = 0; i < rows.size(); ++i)
        byLowered[Lowered(rows[i]->label)].push_back(i);
    std::vector<std::vector<size_t>> meeting;
    for (const auto& entry : byLowered)
        if (entry.second.size() > 1)
            meeting.push_back(entry.second);
    const std::vector<std::vector<size_t>> expected = { { 2, 32 } };
    EXPECT_EQ(meeting, expected);
}

TEST(VocabularyToggleTable, LabelsSharedWithTheEventTable)
{
    std::map<std::wstring, DWORD> eventByLabel;
    for (const EventEntry* row : RowsOf(g_EventTable))
        eventByLabel[row->label] = row->event;
    int shared = 0;
    int sameEvents = 0;
    for (const ToggleEntry* row : RowsOf(g_ToggleTable)) {
        const auto found = eventByLabel.find(row->label);
        if (found == eventByLabel.end())
            continue;
        ++shared;
        if (row->onEvent == found->second && row->offEvent == found->second)
            ++sameEvents;
    }
    EXPECT_EQ(shared, 32);
    EXPECT_EQ(sameEvents, 8);
    EXPECT_EQ(eventByLabel[L"Autopilot Master"], 0x1002Cu);
    EXPECT_EQ(eventByLabel[L"Logo Lights"], 0x10348u);
}

TEST(VocabularyToggleTable, IdentifiersAreEventsAndVariables)
{
    for (const ToggleEntry* row : RowsOf(g_ToggleTable)) {
        SCOPED_TRACE(testing::Message() << "row " << row->label);
        EXPECT_GE(row->onEvent, 0x10002u);
        EXPECT_LE(row->onEvent, 0x103E3u);
        EXPECT_GE(row->offEvent, 0x10002u);
        EXPECT_LE(row->offEvent, 0x103E3u);
        if (row->stateVar != 0) {
            EXPECT_GE(row->stateVar, 0x0Au);
            EXPECT_LE(row->stateVar, 0x389u);
        }
    }
}

TEST(VocabularyToggleTable, RowsFromTheList)
{
    struct Expected { size_t index; const wchar_t* label; DWORD on; DWORD off; DWORD state; };
    const Expected expected[] = {
        { 0, L"Autopilot Master", 0x10100, 0x100FF, 0x67 },
        { 3, L"COM Receive All", 0x103A2, 0x103A2, 0 },
        { 16, L"Panel Lights", 0x10208, 0x10209, 0x0A },
        { 19, L"Logo Lights", 0x10348, 0x10348, 0x26C },
        { 29, L"Landing Gear", 0x1021F, 0x10220, 0 },
        { 30, L"Concorde Nose Visor", 0x1034F, 0x10350, 0 },
        { 42, L"AP_PANEL_ALTITUDE", 0x10237, 0x10238, 0 },
        { 49, L"COM2_TRANSMIT", 0x103A0, 0x103A0, 0 },
    };
    const std::vector<const ToggleEntry*> rows = RowsOf(g_ToggleTable);
    ASSERT_EQ(rows.size(), 50u);
    for (const Expected& e : expected) {
        SCOPED_TRACE(testing::Message() << "row " << e.index);
        EXPECT_STREQ(rows[e.index]->label, e.label);
        EXPECT_EQ(rows[e.index]->onEvent, e.on);
        EXPECT_EQ(rows[e.index]->offEvent, e.off);
        EXPECT_EQ(rows[e.index]->stateVar, e.state);
    }
}

// ---------------------------------------------------------------------------
// LED indicator table

TEST(VocabularyLedTable, ComparisonCodesAndValueTexts)
{
    std::map<int, int> codes;
    std::map<std::wstring, int> values;
    for (const LedEntry* row : RowsOf(g_LedTable)) {
        ++codes[row->comparison];
        ASSERT_NE(row->value, nullptr) << row->label;
        ++values[row->value];
    }
    const std::map<int, int> expectedCodes = { { 1, 206 }, { 2, 5 } };
    const std::map<std::wstring, int> expectedValues = { { L"1", 202 }, { L"0", 5 }, { L"16000", 4 } };
    EXPECT_EQ(codes, expectedCodes);
    EXPECT_EQ(values, expectedValues);
}

TEST(VocabularyLedTable, RowsOutside28To36LightOnOne)
{
    const std::vector<const LedEntry*> rows = RowsOf(g_LedTable);
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i >= 28 && i <= 36)
            continue;
        EXPECT_EQ(rows[i]->comparison, 1) << "row " << i;
        EXPECT_STREQ(rows[i]->value, L"1") << "row " << i;
    }
}

TEST(VocabularyLedTable, BrakeAndGearRows)
{
    struct Expected { size_t index; const wchar_t* label; DWORD variable; int comparison; const wchar_t* value; };
    const Expected expected[] = {
        { 28, L"BRAKE_IND", 0x142, 2, L"0" },
        { 29, L"PARKING_BRAKE_POS", 0x143, 2, L"16000" },
        { 30, L"GEAR_HANDLE_POS", 0x14B, 1, L"0" },
        { 31, L"GEAR_NOSE_UP", 0x14C, 1, L"0" },
        { 32, L"GEAR_NOSE_DOWN", 0x14C, 2, L"16000" },
        { 33, L"GEAR_LEFT_UP", 0x14D, 1, L"0" },
        { 34, L"GEAR_LEFT_DOWN", 0x14D, 2, L"16000" },
        { 35, L"GEAR_RIGHT_UP", 0x14E, 1, L"0" },
        { 36, L"GEAR_RIGHT_DOWN", 0x14E, 2, L"16000" },
    };
    const std::vector<const LedEntry*> rows = RowsOf(g_LedTable);
    ASSERT_EQ(rows.size(), 211u);
    for (const Expected& e : expected) {
        SCOPED_TRACE(testing::Message() << "row " << e.index);
        EXPECT_STREQ(rows[e.index]->label, e.label);
        EXPECT_EQ(rows[e.index]->variable, e.variable);
        EXPECT_EQ(rows[e.index]->comparison, e.comparison);
        EXPECT_STREQ(rows[e.index]->value, e.value);
    }
}

TEST(VocabularyLedTable, OnlyTheGearVariablesBelongToTwoRows)
{
    // Each shared variable: an up row followed directly by its down row.
    const std::vector<const LedEntry*> rows = RowsOf(g_LedTable);
    std::map<DWORD, std::vector<size_t>> rowsByVariable;
    for (size_t i = 0; i < rows.size(); ++i)
        rowsByVariable[rows[i]->variable].push_back(i);
    std::map<DWORD, std::vector<size_t>> shared;
    for (const auto& entry : rowsByVariable)
        if (entry.second.size() > 1)
            shared.insert(entry);
    const std::map<DWORD, std::vector<size_t>> expected = {
        { 0x14C, { 31, 32 } },
        { 0x14D, { 33, 34 } },
        { 0x14E, { 35, 36 } },
    };
    EXPECT_EQ(shared, expected);
    for (const auto& entry : shared) {
        const LedEntry* up = rows[entry.second[0]];
        const LedEntry* down = rows[entry.second[1]];
        EXPECT_EQ(up->comparison, 1) << up->label;
        EXPECT_STREQ(up->value, L"0");
        EXPECT_EQ(down->comparison, 2) << down->label;
        EXPECT_STREQ(down->value, L"16000");
    }
}

TEST(VocabularyLedTable, VariablesSpan0x0ATo0x389)
{
    DWORD lowest = 0xFFFFFFFF;
    DWORD highest = 0;
    for (const LedEntry* row : RowsOf(g_LedTable)) {
        if (row->variable < lowest)
            lowest = row->variable;
        if (row->variable > highest)
            highest = row->variable;
    }
    EXPECT_EQ(lowest, 0x0Au);
    EXPECT_EQ(highest, 0x389u);
}

TEST(VocabularyLedTable, RowsFromTheList)
{
    struct Expected { size_t index; const wchar_t* label; DWORD variable; };
    const Expected expected[] = {
        { 0, L"Panel Lights On", 0x0A },
        { 13, L"AUTOPILOT ACTIVE", 0x67 },
        { 20, L"AUTOPILOT_APROACH_HOLD", 0x70 },
        { 57, L"RECIP_ENGINE1_COOLANT_RESERVOIR_PCT", 0x18E },
        { 63, L"RECIP_ENGINE1_EMERGENCY_BOOST_ACTIVE", 0x198 },
        { 141, L"RECOGNITION_LIGHTS", 0x26E },
        { 179, L"FLIGHT_DIRECTOR_ACTIVE", 0x318 },
        { 210, L"STRUCTURAL_DEICE_SWITCH", 0x389 },
    };
    const std::vector<const LedEntry*> rows = RowsOf(g_LedTable);
    ASSERT_EQ(rows.size(), 211u);
    for (const Expected& e : expected) {
        SCOPED_TRACE(testing::Message() << "row " << e.index);
        EXPECT_STREQ(rows[e.index]->label, e.label);
        EXPECT_EQ(rows[e.index]->variable, e.variable);
        EXPECT_EQ(rows[e.index]->comparison, 1);
        EXPECT_STREQ(rows[e.index]->value, L"1");
    }
}
