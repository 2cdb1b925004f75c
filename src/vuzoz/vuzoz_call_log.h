// Appends each library call to the file named by the Log setting (VUZOZ_LOG), one line per call.
#ifndef VUZOZ_CALL_LOG_H
#define VUZOZ_CALL_LOG_H

#include <string>

namespace vuzoz {

// Does nothing when the Log setting is missing or empty. It is read on every call, and
// every line reaches the file before the call returns, so the log is complete even when
// the program is killed.
void AppendCallLine(const std::string& line);

}  // namespace vuzoz

#endif
