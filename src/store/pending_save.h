// A save of several settings sections that is all or nothing, also when Tollan ends in
// the middle of it. Before a section is touched, what every section will hold afterwards
// is recorded beside the profile ("Software\Brellow Group\Tollan\Pending save"), and the
// record is marked complete only once it is whole; it is removed when the save is done.
// The next start that finds a complete record finishes that save; an incomplete one was
// never acted on and is dropped.
#ifndef TOLLAN_STORE_PENDING_SAVE_H
#define TOLLAN_STORE_PENDING_SAVE_H

#include "store/section_snapshot.h"

#include <windows.h>

#include <string>
#include <vector>

namespace store {

// The values a save writes into one section (a path under HKEY_CURRENT_USER), in the order
// they are written; the section's other values stay as they are.
struct SectionWrites {
    typedef CSectionSnapshot::Value Value;

    explicit SectionWrites(const std::wstring& sectionPath) : path(sectionPath) {}
    void AddDword(const std::wstring& name, DWORD value);
    void AddString(const std::wstring& name, const std::wstring& text);  // REG_SZ with its null

    std::wstring path;
    std::vector<Value> values;
};

enum SaveResult {
    kSaveDone,
    kSaveFailed,               // nothing changed: every section holds what it held before
    kSaveFailedNotRestored,    // a write failed and putting the sections back failed too: the
                               // record stays, and the next start finishes the save
};

// Where the record of a save in progress lives for the profile "Software\<company>\Settings":
// "Software\<company>\Tollan\Pending save".
std::wstring PendingSavePath(const std::wstring& profilePath);

// Writes the sections, recorded first; a section that cannot be read whole is not written.
SaveResult SaveSections(const std::wstring& recordPath, const std::vector<SectionWrites>& sections);

// Called after each section of a save is written, before the next one: where a test makes
// the store fail half-way through a save. Null: nothing is called.
typedef void (*SectionWrittenHook)(const std::wstring& sectionPath);
void SetSectionWrittenHook(SectionWrittenHook hook);

// Finishes a save that a complete record describes, or drops a record that is not complete;
// false when a record is left because the sections could not be written (the next start tries
// again).
bool FinishPendingSave(const std::wstring& recordPath);

}  // namespace store

#endif
