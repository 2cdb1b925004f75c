// Profiles: the stored settings of every panel saved under a name the user gives, one
// settings file each (<folder>\<name>.reg, the export format), and the name of the active
// profile beside the settings ("Software\<company>\Tollan", value "Profile"). Switching
// writes a profile's sections all or nothing, together with its name as the active one.
#ifndef TOLLAN_TRANSFER_PROFILE_STORE_H
#define TOLLAN_TRANSFER_PROFILE_STORE_H

#include "transfer/settings_transfer.h"

#include <string>
#include <vector>

namespace transfer {

const size_t kMaxProfileNameLength = 100;

// Why Windows cannot use a name as the name of a profile's file.
enum class NameProblem { None, Empty, TooLong, BadCharacter, BadEnd, Reserved };
NameProblem CheckProfileName(const std::wstring& name);
// The message that refuses the name, in the user interface language.
std::wstring DescribeNameProblem(NameProblem problem, const std::wstring& name);

// Two sets of sections that hold the same values (in any order; names in any case).
bool SameSettings(const SettingsFile& a, const SettingsFile& b);

// How the stored settings stand against the active profile's file.
enum class ActiveState {
    None,      // no profile is active
    Matches,   // its file holds exactly the stored settings (or nothing is stored)
    Differs,   // its file holds other settings
    Missing,   // its file is gone
    Damaged,   // its file cannot be read or is refused; see the message
};

class CProfileStore {
public:
    // folder: where the profile files are; settingsPath: the store's profile key, relative
    // to HKEY_CURRENT_USER ("Software\Brellow Group\Settings").
    CProfileStore(const std::wstring& folder, const std::wstring& settingsPath);

    // %APPDATA%\Tollan\Profiles (the environment's APPDATA first, then the shell's folder).
    static std::wstring DefaultFolder();
    // The store of the application's settings in the default folder.
    static CProfileStore ForApplication();

    const std::wstring& Folder() const { return m_folder; }
    std::wstring PathOf(const std::wstring& name) const;
    // The names of the profile files, sorted as the user's language sorts; a missing folder
    // has none.
    std::vector<std::wstring> Names() const;
    bool Exists(const std::wstring& name) const;
    // Creates the folder (and its parents) when missing.
    Outcome EnsureFolder() const;

    // The active profile's name; empty when none is, or when the registry holds a name no
    // profile can have.
    std::wstring ActiveName() const;
    // The registry value that keeps the active name; empty clears it.
    LONG SetActiveName(const std::wstring& name) const;
    ActiveState CompareWithActive(std::wstring* message = nullptr) const;

    // The stored settings of every panel into the profile's file, which replaces an earlier
    // one only once it is whole; the profile becomes the active one.
    Outcome Save(const std::wstring& name) const;
    // The profile's file, checked as an import checks it; nothing is written.
    Outcome Load(const std::wstring& name, SettingsFile* file) const;
    // Writes the file's sections into the store and the name as the active profile, all or
    // nothing.
    Outcome Apply(const std::wstring& name, const SettingsFile& file) const;
    // True when applying the file would change a stored value.
    bool WouldChangeStore(const SettingsFile& file) const;
    Outcome Rename(const std::wstring& from, const std::wstring& to) const;
    Outcome Delete(const std::wstring& name) const;

    // Where the active name is kept, relative to HKEY_CURRENT_USER.
    std::wstring ActiveKeyPath() const;

private:
    std::wstring m_folder;
    std::wstring m_settingsPath;
};

// What a switch asks on its way; the command line answers without asking.
class CSwitchQuestions {
public:
    enum Answer { kYes, kNo, kCancel };
    // The stored settings differ from the active profile's file (or it is gone): kYes
    // updates that profile first, kNo goes on without, kCancel stops.
    virtual Answer UpdateActiveFirst(const std::wstring& active, const std::wstring& next) = 0;
    // No profile is active, and the switch would replace stored settings: true goes on.
    virtual bool ReplaceSettingsInNoProfile(const std::wstring& next) = 0;

protected:
    ~CSwitchQuestions() {}
};

enum class SwitchStatus { Switched, Cancelled, Failed };

struct SwitchResult {
    SwitchStatus status;
    std::wstring message;  // why, when Failed
    SettingsFile applied;  // the profile's sections, when Switched
};

// Makes the profile the active one: checks the name and the file, settles the active
// profile's differences by asking, then writes the profile's sections (every device key it
// holds, all or nothing; keys it does not hold stay as they are).
SwitchResult SwitchProfile(const CProfileStore& profiles, const std::wstring& name, CSwitchQuestions& questions);

}  // namespace transfer

#endif
