#include "transfer/profile_store.h"

#include "afx/registry_key.h"
#include "afx/win_app.h"
#include "resource.h"
#include "store/pending_save.h"
#include "store/settings_store.h"
#include "transfer/settings_store_io.h"

#include <shlobj.h>

#include <algorithm>

namespace transfer {

namespace {

const wchar_t kExtension[] = L".reg";
const wchar_t kActiveFolder[] = L"Tollan";
const wchar_t kActiveValue[] = L"Profile";

Outcome Done() { return Outcome{true, std::wstring()}; }
Outcome Failed(const std::wstring& message) { return Outcome{false, message}; }

std::wstring Quoted(UINT id, const std::wstring& first, const std::wstring& second = std::wstring()) {
    return FormatString(id, first, second);
}

bool EndsWithNoCase(const std::wstring& text, const std::wstring& end) {
    return text.size() > end.size() && store::SameName(text.substr(text.size() - end.size()), end);
}

bool IsReservedDeviceName(std::wstring base) {
    // Windows takes "CON", "con.txt" or "COM1 " for the device whatever follows the first dot.
    base = base.substr(0, base.find(L'.'));
    while (!base.empty() && base.back() == L' ')
        base.pop_back();
    static const wchar_t* const kNames[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$", L"CLOCK$"};
    for (const wchar_t* name : kNames) {
        if (store::SameName(base, name))
            return true;
    }
    if (base.size() == 4 && (store::SameName(base.substr(0, 3), L"COM") || store::SameName(base.substr(0, 3), L"LPT"))) {
        const wchar_t digit = base[3];
        return (digit >= L'0' && digit <= L'9') || digit == 0x00B9 || digit == 0x00B2 || digit == 0x00B3;
    }
    return false;
}

const SettingSection* FindSection(const SettingsFile& file, const SettingSection& like) {
    for (const SettingSection& section : file.sections) {
        if (section.kind == like.kind && store::SameName(section.deviceKey, like.deviceKey))
            return &section;
    }
    return nullptr;
}

bool SameValue(const SettingValue& a, const SettingValue& b) {
    return a.type == b.type && (a.type == REG_DWORD ? a.number == b.number : a.text == b.text);
}

// Every value of a is in b, with the same type and content.
bool HeldBy(const SettingSection& a, const SettingSection& b) {
    for (const SettingValue& value : a.values) {
        const SettingValue* other = b.Find(value.name.c_str());
        if (other == nullptr || !SameValue(value, *other))
            return false;
    }
    return true;
}

std::wstring ProfileFolderOf(const std::wstring& appData) {
    std::wstring folder = appData;
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    return folder + L"Tollan\\Profiles";
}

}  // namespace

NameProblem CheckProfileName(const std::wstring& name) {
    if (name.empty())
        return NameProblem::Empty;
    if (name.size() > kMaxProfileNameLength)
        return NameProblem::TooLong;
    for (wchar_t c : name) {
        if (c < 0x20 || c == 0x7F || std::wstring(L"\\/:*?\"<>|").find(c) != std::wstring::npos)
            return NameProblem::BadCharacter;
    }
    if (name.back() == L'.' || name.back() == L' ')
        return name.find_first_not_of(L". ") == std::wstring::npos ? NameProblem::Empty : NameProblem::BadEnd;
    if (IsReservedDeviceName(name))
        return NameProblem::Reserved;
    return NameProblem::None;
}

std::wstring DescribeNameProblem(NameProblem problem, const std::wstring& name) {
    switch (problem) {
    case NameProblem::None: break;
    case NameProblem::Empty: return AfxLoadString(IDS_PROFILE_NO_NAME);
    case NameProblem::TooLong: return AfxLoadString(IDS_PROFILE_NAME_TOO_LONG);
    case NameProblem::BadCharacter: return AfxLoadString(IDS_PROFILE_NAME_CHARACTER);
    case NameProblem::BadEnd: return AfxLoadString(IDS_PROFILE_NAME_END);
    case NameProblem::Reserved: return Quoted(IDS_PROFILE_NAME_RESERVED, name);
    }
    return std::wstring();
}

bool SameSettings(const SettingsFile& a, const SettingsFile& b) {
    if (a.sections.size() != b.sections.size())
        return false;
    for (const SettingSection& section : a.sections) {
        const SettingSection* other = FindSection(b, section);
        if (other == nullptr || other->values.size() != section.values.size() || !HeldBy(section, *other))
            return false;
    }
    return true;
}

CProfileStore::CProfileStore(const std::wstring& folder, const std::wstring& settingsPath)
    : m_folder(folder), m_settingsPath(settingsPath) {
    while (m_folder.size() > 3 && m_folder.back() == L'\\')
        m_folder.pop_back();
}

std::wstring CProfileStore::DefaultFolder() {
    wchar_t buffer[MAX_PATH] = L"";
    const DWORD length = ::GetEnvironmentVariableW(L"APPDATA", buffer, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        return ProfileFolderOf(buffer);
    if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer)))
        return ProfileFolderOf(buffer);
    return std::wstring();
}

CProfileStore CProfileStore::ForApplication() { return CProfileStore(DefaultFolder(), ProfilePath()); }

std::wstring CProfileStore::PathOf(const std::wstring& name) const { return m_folder + L"\\" + name + kExtension; }

std::vector<std::wstring> CProfileStore::Names() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found = {};
    HANDLE search = ::FindFirstFileW((m_folder + L"\\*" + kExtension).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        // The pattern also matches longer extensions through their short names.
        std::wstring file = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !EndsWithNoCase(file, kExtension))
            continue;
        std::wstring name = file.substr(0, file.size() - std::wcslen(kExtension));
        if (CheckProfileName(name) == NameProblem::None)
            names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size())) == CSTR_LESS_THAN;
    });
    return names;
}

bool CProfileStore::Exists(const std::wstring& name) const {
    if (CheckProfileName(name) != NameProblem::None)
        return false;
    const DWORD attributes = ::GetFileAttributesW(PathOf(name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

Outcome CProfileStore::EnsureFolder() const {
    // Every missing folder of the path, also below a network share (a redirected APPDATA).
    const int made = ::SHCreateDirectoryExW(nullptr, m_folder.c_str(), nullptr);
    if (made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS) {
        const DWORD attributes = ::GetFileAttributesW(m_folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            return Failed(Quoted(IDS_PROFILE_FOLDER_FAILED, m_folder));
    }
    return Done();
}

std::wstring CProfileStore::ActiveKeyPath() const {
    const size_t slash = m_settingsPath.find_last_of(L'\\');
    const std::wstring company = slash == std::wstring::npos ? m_settingsPath : m_settingsPath.substr(0, slash);
    return company + L"\\" + kActiveFolder;
}

std::wstring CProfileStore::ActiveName() const {
    CKey key;
    std::wstring name;
    if (key.Open(HKEY_CURRENT_USER, ActiveKeyPath().c_str()) != ERROR_SUCCESS ||
        key.QueryValue(kActiveValue, name) != ERROR_SUCCESS)
        return std::wstring();
    // A name that is no file name would lead outside the folder.
    return CheckProfileName(name) == NameProblem::None ? name : std::wstring();
}

LONG CProfileStore::SetActiveName(const std::wstring& name) const {
    CKey key;
    if (name.empty()) {
        LONG opened = key.Open(HKEY_CURRENT_USER, ActiveKeyPath().c_str(), KEY_READ | KEY_WRITE);
        if (opened == ERROR_FILE_NOT_FOUND)
            return ERROR_SUCCESS;
        if (opened != ERROR_SUCCESS)
            return opened;
        LONG deleted = ::RegDeleteValueW(key, kActiveValue);
        return deleted == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : deleted;
    }
    LONG created = key.Create(HKEY_CURRENT_USER, ActiveKeyPath().c_str());
    return created != ERROR_SUCCESS ? created : key.SetValue(kActiveValue, name.c_str());
}

ActiveState CProfileStore::CompareWithActive(std::wstring* message) const {
    const std::wstring active = ActiveName();
    if (active.empty())
        return ActiveState::None;
    const SettingsFile stored = ReadAllPanels(m_settingsPath);
    const std::wstring path = PathOf(active);
    std::vector<unsigned char> bytes;
    const LONG read = ReadFileBytes(path, &bytes);
    if (read == ERROR_FILE_NOT_FOUND || read == ERROR_PATH_NOT_FOUND)
        return stored.sections.empty() ? ActiveState::Matches : ActiveState::Missing;
    ParseResult parsed;
    if (read == ERROR_FILE_TOO_LARGE)
        parsed.error = ParseError::TooLarge;
    else if (read == ERROR_SUCCESS)
        parsed = ParseSettingsFile(bytes);
    if (read != ERROR_SUCCESS && read != ERROR_FILE_TOO_LARGE) {
        if (message != nullptr)
            *message = Quoted(IDS_PROFILE_ACTIVE_DAMAGED, path, FormatString(IDS_READ_FAILED, path));
        return ActiveState::Damaged;
    }
    if (parsed.error != ParseError::None) {
        if (message != nullptr)
            *message = Quoted(IDS_PROFILE_ACTIVE_DAMAGED, path, DescribeParseError(parsed));
        return ActiveState::Damaged;
    }
    // Nothing stored is nothing to lose.
    if (stored.sections.empty() || SameSettings(stored, parsed.file))
        return ActiveState::Matches;
    return ActiveState::Differs;
}

Outcome CProfileStore::Save(const std::wstring& name) const {
    const NameProblem problem = CheckProfileName(name);
    if (problem != NameProblem::None)
        return Failed(DescribeNameProblem(problem, name));
    const SettingsFile stored = ReadAllPanels(m_settingsPath);
    if (stored.sections.empty())
        return Failed(AfxLoadString(IDS_NOTHING_STORED));
    Outcome outcome = EnsureFolder();
    if (!outcome.ok)
        return outcome;
    outcome = WriteSettingsFile(stored, PathOf(name));
    if (!outcome.ok)
        return outcome;
    if (SetActiveName(name) != ERROR_SUCCESS)
        return Failed(Quoted(IDS_PROFILE_ACTIVE_NOT_KEPT, name));
    return Done();
}

Outcome CProfileStore::Load(const std::wstring& name, SettingsFile* file) const {
    const NameProblem problem = CheckProfileName(name);
    if (problem != NameProblem::None)
        return Failed(DescribeNameProblem(problem, name));
    if (!Exists(name))
        return Failed(Quoted(IDS_PROFILE_NOT_FOUND, name, PathOf(name)));
    return LoadSettingsFile(PathOf(name), file);
}

Outcome CProfileStore::Apply(const std::wstring& name, const SettingsFile& file) const {
    // The active name is written with the sections, all or nothing. Its key is made first: a
    // key the save itself made could not be taken away again while the save's record is in it.
    CKey activeKey;
    if (activeKey.Create(HKEY_CURRENT_USER, ActiveKeyPath().c_str()) != ERROR_SUCCESS)
        return Failed(AfxLoadString(IDS_WRITE_FAILED));
    activeKey.Close();
    std::vector<store::SectionWrites> writes = SectionWritesOf(m_settingsPath, file.sections);
    writes.emplace_back(ActiveKeyPath());
    writes.back().AddString(kActiveValue, name);
    return Written(store::SaveSections(store::PendingSavePath(m_settingsPath), writes));
}

bool CProfileStore::WouldChangeStore(const SettingsFile& file) const {
    for (const std::wstring& key : file.DeviceKeys()) {
        const SettingsFile stored = ReadPanel(m_settingsPath, key);
        for (const SettingSection& section : file.sections) {
            if (!store::SameName(section.deviceKey, key))
                continue;
            const SettingSection* now = FindSection(stored, section);
            if (now == nullptr || !HeldBy(section, *now))
                return true;
        }
    }
    return false;
}

Outcome CProfileStore::Rename(const std::wstring& from, const std::wstring& to) const {
    const NameProblem problem = CheckProfileName(to);
    if (problem != NameProblem::None)
        return Failed(DescribeNameProblem(problem, to));
    if (!Exists(from))
        return Failed(Quoted(IDS_PROFILE_NOT_FOUND, from, PathOf(from)));
    // Only the case of the name may change in place.
    if (!store::SameName(from, to) && Exists(to))
        return Failed(Quoted(IDS_PROFILE_EXISTS, to));
    bool moved = false;
    if (store::SameName(from, to)) {
        // A change of case alone goes through another name: some file systems take the old
        // name and the new one for the same and leave the case as it was.
        const std::wstring between = PathOf(to) + L".renaming";
        if (::MoveFileW(PathOf(from).c_str(), between.c_str())) {
            moved = ::MoveFileW(between.c_str(), PathOf(to).c_str()) != FALSE;
            if (!moved)
                (void)::MoveFileW(between.c_str(), PathOf(from).c_str());
        }
    } else {
        moved = ::MoveFileW(PathOf(from).c_str(), PathOf(to).c_str()) != FALSE;
    }
    if (!moved)
        return Failed(Quoted(IDS_PROFILE_RENAME_FAILED, from, to));
    if (store::SameName(ActiveName(), from) && SetActiveName(to) != ERROR_SUCCESS)
        return Failed(Quoted(IDS_PROFILE_ACTIVE_NOT_KEPT, to));
    return Done();
}

Outcome CProfileStore::Delete(const std::wstring& name) const {
    if (CheckProfileName(name) != NameProblem::None || !Exists(name))
        return Failed(Quoted(IDS_PROFILE_NOT_FOUND, name, PathOf(name)));
    if (!::DeleteFileW(PathOf(name).c_str()))
        return Failed(Quoted(IDS_PROFILE_DELETE_FAILED, PathOf(name)));
    // The stored settings stay; they belong to no profile now.
    if (store::SameName(ActiveName(), name))
        (void)SetActiveName(std::wstring());
    return Done();
}

SwitchResult SwitchProfile(const CProfileStore& profiles, const std::wstring& name, CSwitchQuestions& questions) {
    SwitchResult result = {SwitchStatus::Failed, std::wstring(), SettingsFile()};
    SettingsFile file;
    Outcome loaded = profiles.Load(name, &file);
    if (!loaded.ok) {
        result.message = loaded.message;
        return result;
    }
    std::wstring damage;
    const std::wstring active = profiles.ActiveName();
    switch (profiles.CompareWithActive(&damage)) {
    case ActiveState::Matches: break;
    case ActiveState::Damaged: result.message = damage; return result;
    case ActiveState::Differs:
    case ActiveState::Missing:
        switch (questions.UpdateActiveFirst(active, name)) {
        case CSwitchQuestions::kYes: {
            Outcome updated = profiles.Save(active);
            if (!updated.ok) {
                result.message = updated.message;
                return result;
            }
            // Switching to the active profile itself: its file holds what is stored now.
            if (store::SameName(active, name)) {
                loaded = profiles.Load(name, &file);
                if (!loaded.ok) {
                    result.message = loaded.message;
                    return result;
                }
            }
            break;
        }
        case CSwitchQuestions::kNo: break;
        case CSwitchQuestions::kCancel: result.status = SwitchStatus::Cancelled; return result;
        }
        break;
    case ActiveState::None:
        if (profiles.WouldChangeStore(file) && !questions.ReplaceSettingsInNoProfile(name)) {
            result.status = SwitchStatus::Cancelled;
            return result;
        }
        break;
    }
    Outcome written = profiles.Apply(name, file);
    if (!written.ok) {
        result.message = written.message;
        return result;
    }
    result.status = SwitchStatus::Switched;
    result.applied = file;
    return result;
}

}  // namespace transfer
