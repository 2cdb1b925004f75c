// Looking things up in the fake device library's call log.
#ifndef TOLLAN_TESTS_CALL_LOG_H
#define TOLLAN_TESTS_CALL_LOG_H

#include "fake_vuzoz.h"

#include <string>
#include <vector>

namespace call_log {

// Position of the first call equal to line at or after from, or -1.
inline int IndexOf(const std::string& line, int from = 0) {
    const std::vector<std::string>& calls = fake_vuzoz::Calls();
    for (size_t i = static_cast<size_t>(from); i < calls.size(); ++i) {
        if (calls[i] == line)
            return static_cast<int>(i);
    }
    return -1;
}

inline int Count(const std::string& line) {
    int count = 0;
    for (const std::string& call : fake_vuzoz::Calls())
        count += call == line ? 1 : 0;
    return count;
}

// The LED commands "BG_SetLEDState d l s 0" for LEDs 0..7 with the given states.
inline std::vector<std::string> LedCommands(int device, const std::vector<int>& states) {
    std::vector<std::string> lines;
    for (size_t led = 0; led < states.size(); ++led)
        lines.push_back("BG_SetLEDState " + std::to_string(device) + " " + std::to_string(led) + " " +
                        std::to_string(states[led]) + " 0");
    return lines;
}

}  // namespace call_log

#endif
