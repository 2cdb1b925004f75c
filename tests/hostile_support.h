// Hostile input for the pages: a seeded dice that gives the same sequence with every
// standard library, random stored sections, and the checks every page must pass whatever
// it was given.
#ifndef TOLLAN_TESTS_HOSTILE_SUPPORT_H
#define TOLLAN_TESTS_HOSTILE_SUPPORT_H

#include <windows.h>

#include "VUZoz.h"

#include <cstdint>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace hostile {

class Dice {
public:
    explicit Dice(uint32_t seed) : m_engine(seed) {}
    uint32_t Below(uint32_t n) { return n == 0 ? 0 : static_cast<uint32_t>(m_engine() % n); }
    bool OneIn(uint32_t n) { return Below(n) == 0; }
    uint32_t Any() { return static_cast<uint32_t>(m_engine()); }

private:
    std::mt19937 m_engine;
};

using NameSet = std::set<std::pair<std::wstring, DWORD>>;

// The value names and types Apply writes into a configuration section of a panel type,
// and into every hardware section.
NameSet ConfigLayout(tagBGDevHWType type);
NameSet HardwareLayout();

// Fills section (a path under the profile) with a random state of a configuration or a
// hardware section: missing and extra values, wrong types and sizes, numbers no row
// carries, 0, 0xFFFFFFFF, empty and huge strings. Returns the extra values written, by
// name and type. The section key itself may be left out, or stored as a value.
NameSet WriteRandomConfig(Dice& dice, tagBGDevHWType type, const std::wstring& section);
NameSet WriteRandomHardware(Dice& dice, const std::wstring& section);

// Tells whether anything below the profile key (a value, a key) changed since it was made.
class ProfileWatch {
public:
    ProfileWatch();
    ~ProfileWatch();
    ProfileWatch(const ProfileWatch&) = delete;
    ProfileWatch& operator=(const ProfileWatch&) = delete;
    bool Watching() const { return m_event != nullptr; }
    bool Changed() const;

private:
    HKEY m_key;
    HANDLE m_event;
};

// List id of page shows either no selection or a real row of its table (index = row, the
// text its label): the one place that says what a list may show.
void ExpectListShowsNothingOrARealRow(HWND page, int id, int rowCount,
                                      const std::function<const wchar_t*(int)>& labelOf);

// The brightness and the four blink periods that the main window shows, each within 0..255.
void ExpectHardwareControlsInRange(HWND main);

}  // namespace hostile

#endif
