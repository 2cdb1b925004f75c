// Tollan.exe /export <file> and /import <file>: the settings of every stored panel to a
// file or back; /profile <name>, /save-profile <name> and /profiles: switch, save and list
// profiles. None of them opens a window or asks anything. The exit code is 0 on success;
// otherwise the reason goes to standard error.
#ifndef TOLLAN_TRANSFER_COMMAND_LINE_TRANSFER_H
#define TOLLAN_TRANSFER_COMMAND_LINE_TRANSFER_H

#include <string>

namespace transfer {

enum class Command { None, Export, Import, SwitchProfile, SaveProfile, ListProfiles };

const int kExitOk = 0;
const int kExitFailed = 1;
const int kExitUsage = 2;

// True for the commands that take a file or a profile name after them.
bool TakesArgument(Command command);

// Runs the command on the application's store (profiles in their default folder); an empty
// argument of a command that takes one is a usage error.
int RunCommand(Command command, const std::wstring& argument);

// Writes a line to the standard output or error the program was given, or to the console
// of the process that started it.
void WriteToStandardOutput(const std::wstring& text);
void WriteToStandardError(const std::wstring& text);

}  // namespace transfer

#endif
