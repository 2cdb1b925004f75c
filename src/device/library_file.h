// What the file of a panel library is, read without loading it: whether it is a Windows
// library and for which processor, and whether it is our panel simulator.
#ifndef TOLLAN_DEVICE_LIBRARY_FILE_H
#define TOLLAN_DEVICE_LIBRARY_FILE_H

#include <windows.h>

#include <string>

// The machine type of the file's PE header (IMAGE_FILE_MACHINE_I386, _AMD64...), or 0 when
// the file is not a whole Windows executable or library (not one at all, or cut short).
WORD LibraryFileMachine(const std::wstring& path);

// The machine type Tollan itself is built for.
WORD ProgramMachine();

// 32 or 64 for the x86 and x64 machine types, 0 for any other.
int MachineBits(WORD machine);

// True when the file's version resource names it "Tollan panel simulator".
bool IsPanelSimulatorFile(const std::wstring& path);

#endif
