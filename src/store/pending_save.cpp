#include "store/pending_save.h"

#include "afx/registry_key.h"
#include "store/settings_store.h"

namespace store {

namespace {

const wchar_t kRecordFolder[] = L"Tollan";
const wchar_t kRecordName[] = L"Pending save";
// Set last, once every section of the record is written.
const wchar_t kComplete[] = L"Complete";
const wchar_t kSectionPath[] = L"Path";
const wchar_t kSectionValues[] = L"Values";

typedef SectionWrites::Value Value;

SectionWrittenHook g_sectionWritten = nullptr;

Value* Find(std::vector<Value>& values, const std::wstring& name) {
    for (Value& value : values) {
        if (SameName(value.name, name))
            return &value;
    }
    return nullptr;
}

// What the section holds once the writes are done: what it held, each written value in
// its place or after them in the order written.
std::vector<Value> Outcome(const CSectionSnapshot& before, const SectionWrites& writes) {
    std::vector<Value> values = before.Values();
    for (const Value& written : writes.values) {
        Value* same = Find(values, written.name);
        if (same != nullptr) {
            same->type = written.type;
            same->data = written.data;
        } else {
            values.push_back(written);
        }
    }
    return values;
}

LONG SetValue(HKEY key, const Value& value) {
    const BYTE* bytes = value.data.empty() ? nullptr : value.data.data();
    return ::RegSetValueExW(key, value.name.c_str(), 0, value.type, bytes, static_cast<DWORD>(value.data.size()));
}

std::wstring SectionKeyName(size_t index) { return L"Section " + std::to_wstring(index + 1); }

// The record: one key per section with its path and, below it, every value it will hold.
bool WriteRecord(const std::wstring& recordPath, const std::vector<SectionWrites>& sections,
                 const std::vector<std::vector<Value>>& outcomes) {
    (void)CKey::RecurseDeleteKey(HKEY_CURRENT_USER, recordPath.c_str());
    for (size_t i = 0; i < sections.size(); ++i) {
        const std::wstring sectionKey = recordPath + L"\\" + SectionKeyName(i);
        CKey section;
        CKey values;
        if (section.Create(HKEY_CURRENT_USER, sectionKey.c_str()) != ERROR_SUCCESS ||
            section.SetValue(kSectionPath, sections[i].path.c_str()) != ERROR_SUCCESS ||
            values.Create(HKEY_CURRENT_USER, (sectionKey + L"\\" + kSectionValues).c_str()) != ERROR_SUCCESS)
            return false;
        for (const Value& value : outcomes[i]) {
            if (SetValue(values, value) != ERROR_SUCCESS)
                return false;
        }
    }
    CKey record;
    return record.Open(HKEY_CURRENT_USER, recordPath.c_str(), KEY_READ | KEY_WRITE) == ERROR_SUCCESS &&
           record.SetValue(kComplete, static_cast<DWORD>(1)) == ERROR_SUCCESS;
}

void RemoveEmptyFolder(const std::wstring& recordPath);

// Takes the mark off first: a record cut short while it is removed is not acted on.
void RemoveRecord(const std::wstring& recordPath) {
    CKey record;
    if (record.Open(HKEY_CURRENT_USER, recordPath.c_str(), KEY_READ | KEY_WRITE) == ERROR_SUCCESS)
        (void)::RegDeleteValueW(record, kComplete);
    record.Close();
    (void)CKey::RecurseDeleteKey(HKEY_CURRENT_USER, recordPath.c_str());
    RemoveEmptyFolder(recordPath);
}

// The folder of the record goes too while nothing else is in it.
void RemoveEmptyFolder(const std::wstring& recordPath) {
    const std::wstring folder = recordPath.substr(0, recordPath.find_last_of(L'\\'));
    CKey parent;
    DWORD subkeys = 0;
    DWORD values = 0;
    if (parent.Open(HKEY_CURRENT_USER, folder.c_str()) == ERROR_SUCCESS &&
        ::RegQueryInfoKeyW(parent, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                           nullptr, nullptr) == ERROR_SUCCESS &&
        subkeys == 0 && values == 0) {
        parent.Close();
        (void)::RegDeleteKeyW(HKEY_CURRENT_USER, folder.c_str());
    }
}

bool WriteSection(const SectionWrites& section) {
    CKey key;
    if (key.Create(HKEY_CURRENT_USER, section.path.c_str()) != ERROR_SUCCESS)
        return false;
    for (const Value& value : section.values) {
        if (SetValue(key, value) != ERROR_SUCCESS)
            return false;
    }
    return true;
}

}  // namespace

void SectionWrites::AddDword(const std::wstring& name, DWORD value) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&value);
    values.push_back(Value{name, REG_DWORD, std::vector<BYTE>(bytes, bytes + sizeof(value))});
}

void SectionWrites::AddString(const std::wstring& name, const std::wstring& text) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    values.push_back(Value{name, REG_SZ, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t))});
}

void SetSectionWrittenHook(SectionWrittenHook hook) { g_sectionWritten = hook; }

std::wstring PendingSavePath(const std::wstring& profilePath) {
    const size_t slash = profilePath.find_last_of(L'\\');
    const std::wstring company = slash == std::wstring::npos ? profilePath : profilePath.substr(0, slash);
    return company + L"\\" + kRecordFolder + L"\\" + kRecordName;
}

SaveResult SaveSections(const std::wstring& recordPath, const std::vector<SectionWrites>& sections) {
    std::vector<CSectionSnapshot> before(sections.size());
    std::vector<std::vector<Value>> outcomes;
    for (size_t i = 0; i < sections.size(); ++i) {
        if (!before[i].Capture(HKEY_CURRENT_USER, sections[i].path))
            return kSaveFailed;
        outcomes.push_back(Outcome(before[i], sections[i]));
    }
    if (!WriteRecord(recordPath, sections, outcomes)) {
        RemoveRecord(recordPath);
        return kSaveFailed;
    }
    bool written = true;
    for (const SectionWrites& section : sections) {
        written = written && WriteSection(section);
        if (written && g_sectionWritten != nullptr)
            g_sectionWritten(section.path);
    }
    if (!written) {
        bool restored = true;
        for (auto it = before.rbegin(); it != before.rend(); ++it)
            restored = it->Restore() && restored;
        if (!restored)
            return kSaveFailedNotRestored;  // the record stays: a later start makes the sections whole
        RemoveRecord(recordPath);
        return kSaveFailed;
    }
    RemoveRecord(recordPath);
    return kSaveDone;
}

bool FinishPendingSave(const std::wstring& recordPath) {
    CKey record;
    if (record.Open(HKEY_CURRENT_USER, recordPath.c_str()) != ERROR_SUCCESS) {
        RemoveEmptyFolder(recordPath);  // left by a Tollan that ended while it removed a record
        return true;
    }
    DWORD complete = 0;
    const bool whole = record.QueryValue(kComplete, complete) == ERROR_SUCCESS && complete == 1;
    record.Close();
    if (!whole) {
        RemoveRecord(recordPath);
        return true;
    }
    bool finished = true;
    for (size_t i = 0;; ++i) {
        const std::wstring sectionKey = recordPath + L"\\" + SectionKeyName(i);
        CKey section;
        if (section.Open(HKEY_CURRENT_USER, sectionKey.c_str()) != ERROR_SUCCESS)
            break;
        std::wstring path;
        CKey valuesKey;
        std::vector<Value> values;
        if (section.QueryValue(kSectionPath, path) != ERROR_SUCCESS || path.empty() ||
            valuesKey.Open(HKEY_CURRENT_USER, (sectionKey + L"\\" + kSectionValues).c_str()) != ERROR_SUCCESS ||
            !CSectionSnapshot::ReadValues(valuesKey, values)) {
            finished = false;
            continue;
        }
        finished = CSectionSnapshot::Hold(HKEY_CURRENT_USER, path, values) && finished;
    }
    if (finished)
        RemoveRecord(recordPath);
    return finished;
}

}  // namespace store
