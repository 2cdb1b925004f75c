// Tollan.exe /export <file> and /import <file>: the settings of every stored panel to a
// file or back, without a window. The exit code is 0 on success; otherwise the reason
// goes to standard error.
#ifndef TOLLAN_TRANSFER_COMMAND_LINE_TRANSFER_H
#define TOLLAN_TRANSFER_COMMAND_LINE_TRANSFER_H

#include <string>

namespace transfer {

enum class Command { None, Export, Import };

const int kExitOk = 0;
const int kExitFailed = 1;
const int kExitUsage = 2;

// Runs the command on the application's store; an empty path is a usage error.
int RunCommand(Command command, const std::wstring& path);

// Writes a line to the standard error the program was given, or to the console of the
// process that started it.
void WriteToStandardError(const std::wstring& text);

}  // namespace transfer

#endif
