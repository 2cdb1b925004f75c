// One line of the VUZoz call log: the function's name, then each argument in decimal,
// separated by single spaces ("BG_SetLEDState 0 3 2 0"). The simulator writes these
// lines to the file named by VUZOZ_LOG; the tests' recording fake keeps the same lines.
#ifndef VUZOZ_CALL_LINE_H
#define VUZOZ_CALL_LINE_H

#include <initializer_list>
#include <string>

namespace vuzoz {

inline std::string CallLine(const char* function, std::initializer_list<int> args = {})
{
    std::string line(function);
    for (int arg : args) {
        line += ' ';
        line += std::to_string(arg);
    }
    return line;
}

}  // namespace vuzoz

#endif
