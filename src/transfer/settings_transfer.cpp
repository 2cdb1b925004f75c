#include "transfer/settings_transfer.h"

#include "afx/win_app.h"
#include "resource.h"
#include "store/settings_store.h"
#include "transfer/settings_store_io.h"

namespace transfer {

namespace {

Outcome Done() { return Outcome{true, std::wstring()}; }
Outcome Failed(const std::wstring& message) { return Outcome{false, message}; }

Outcome Write(const SettingsFile& file) { return Written(WriteSections(ProfilePath(), file.sections)); }

Outcome Save(const SettingsFile& file, const std::wstring& path) {
    if (file.sections.empty())
        return Failed(AfxLoadString(IDS_NOTHING_STORED));
    return WriteSettingsFile(file, path);
}

// "Button1" -> "button 2": a per-row value named as the page shows the row.
UINT RowLabelString(const std::wstring& base) {
    struct Label {
        const wchar_t* base;
        UINT id;
    };
    static const Label labels[] = {
        {store::kButton, IDS_ROW_BUTTON},       {store::kOnButton, IDS_ROW_SWITCH_ON},
        {store::kOffButton, IDS_ROW_SWITCH_OFF}, {store::kButtonVar, IDS_ROW_SWITCH_STATE},
        {store::kLED, IDS_ROW_LED},             {store::kLEDcomp, IDS_ROW_LED_COMP},
        {store::kLEDval, IDS_ROW_LED_VALUE},
    };
    for (const Label& label : labels) {
        if (base == label.base)
            return label.id;
    }
    return 0;
}

UINT ParseErrorString(ParseError error) {
    switch (error) {
    case ParseError::TooLarge: return IDS_ERR_TOO_LARGE;
    case ParseError::NotText: return IDS_ERR_NOT_TEXT;
    case ParseError::NoHeader: return IDS_ERR_HEADER;
    case ParseError::LineTooLong: return IDS_ERR_LONG_LINE;
    case ParseError::MalformedLine:
    case ParseError::ValueOutsideSection: return IDS_ERR_MALFORMED;
    case ParseError::ForeignKey:
    case ParseError::KeyDeletion: return IDS_ERR_FOREIGN_KEY;
    case ParseError::BadDeviceKey: return IDS_ERR_DEVICE_KEY;
    case ParseError::RepeatedSection:
    case ParseError::RepeatedValue: return IDS_ERR_REPEATED;
    case ParseError::UnknownValue: return IDS_ERR_UNKNOWN_VALUE;
    case ParseError::WrongType:
    case ParseError::BadNumber:
    case ParseError::BadText:
    case ParseError::BadHardwareType: return IDS_ERR_BAD_VALUE;
    case ParseError::NoSettings:
    case ParseError::None: break;
    }
    return IDS_ERR_NO_SETTINGS;
}

}  // namespace

std::wstring ProfilePath() {
    CWinApp* app = AfxGetApp();
    return app != nullptr ? app->GetAppRegistryPath() : std::wstring();
}

std::wstring FormatString(UINT id, const std::wstring& first, const std::wstring& second) {
    std::wstring text = AfxLoadString(id);
    std::wstring result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 1 < text.size() && (text[i + 1] == L'1' || text[i + 1] == L'2')) {
            result += text[i + 1] == L'1' ? first : second;
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

std::wstring ValueLabel(const std::wstring& name) {
    if (store::StoredValueType(SectionKind::Config, name) != REG_NONE) {
        const std::wstring base = name.substr(0, name.size() - 1);
        const UINT id = RowLabelString(base);
        if (id != 0)
            return FormatString(id, std::to_wstring(name.back() - L'0' + 1));
    }
    return name;
}

std::wstring DescribeParseError(const ParseResult& result) {
    std::wstring detail = result.detail.empty() ? std::wstring() : L"\"" + result.detail + L"\"";
    if (result.error == ParseError::RepeatedValue || result.error == ParseError::WrongType ||
        result.error == ParseError::BadNumber || result.error == ParseError::BadText)
        detail = ValueLabel(result.detail);
    std::wstring reason = FormatString(ParseErrorString(result.error), detail);
    if (result.line <= 0)
        return reason.empty() ? reason : reason + L".";
    return FormatString(IDS_AT_LINE, std::to_wstring(result.line), reason);
}

std::wstring PanelTypeName(DWORD type) {
    switch (type) {
    case 1: return AfxLoadString(IDS_TYPE_B88);
    case 2: return AfxLoadString(IDS_TYPE_T88);
    case 3: return AfxLoadString(IDS_TYPE_RP);
    default: return AfxLoadString(IDS_TYPE_UNKNOWN);
    }
}

Outcome Written(store::SaveResult result) {
    switch (result) {
    case store::kSaveDone: return Done();
    case store::kSaveFailedNotRestored: return Failed(AfxLoadString(IDS_RESTORE_FAILED));
    case store::kSaveFailed: break;
    }
    return Failed(AfxLoadString(IDS_WRITE_FAILED));
}

Outcome WriteSettingsFile(const SettingsFile& file, const std::wstring& path) {
    // An earlier file of the name is replaced only by a whole one.
    const std::wstring partial = path + L".partial";
    if (WriteFileBytes(partial, EncodeSettingsFile(file)) != ERROR_SUCCESS ||
        !::MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        (void)::DeleteFileW(partial.c_str());
        return Failed(FormatString(IDS_EXPORT_FAILED, path));
    }
    return Done();
}

Outcome ExportPanel(const std::wstring& deviceKey, const std::wstring& path) {
    return Save(ReadPanel(ProfilePath(), deviceKey), path);
}

Outcome ExportAll(const std::wstring& path) { return Save(ReadAllPanels(ProfilePath()), path); }

Outcome LoadSettingsFile(const std::wstring& path, SettingsFile* file) {
    std::vector<unsigned char> bytes;
    LONG read = ReadFileBytes(path, &bytes);
    ParseResult result;
    if (read == ERROR_FILE_TOO_LARGE) {
        result.error = ParseError::TooLarge;
    } else if (read != ERROR_SUCCESS) {
        return Failed(FormatString(IDS_READ_FAILED, path));
    } else {
        result = ParseSettingsFile(bytes);
    }
    if (result.error != ParseError::None)
        return Failed(FormatString(IDS_FILE_REFUSED, path, DescribeParseError(result)));
    *file = result.file;
    return Done();
}

Outcome ImportOntoPanel(const SettingsFile& file, const std::wstring& path, const std::wstring& deviceKey,
                        DWORD type) {
    std::vector<std::wstring> keys = file.DeviceKeys();
    DWORD fileType = keys.size() == 1 ? file.HardwareType(keys[0]) : 0;
    if (fileType != type) {
        std::wstring reason = FormatString(IDS_TYPE_MISMATCH, PanelTypeName(fileType), PanelTypeName(type));
        return Failed(FormatString(IDS_FILE_REFUSED, path, reason));
    }
    return Write(WithDeviceKey(file, deviceKey));
}

Outcome ImportAll(const SettingsFile& file) { return Write(file); }

std::wstring ExistingSections(const SettingsFile& file) {
    std::wstring list;
    std::wstring profile = ProfilePath();
    for (const SettingSection& section : file.sections) {
        if (SectionExists(profile, section))
            list += section.Name() + L"\n";
    }
    if (!list.empty())
        list.pop_back();
    return list;
}

Outcome CopyPanel(const std::wstring& fromKey, const std::wstring& toKey, DWORD type) {
    std::wstring profile = ProfilePath();
    SettingsFile source = ReadPanel(profile, fromKey);
    if (source.sections.empty() || source.HardwareType(fromKey) != type)
        return Failed(AfxLoadString(IDS_WRITE_FAILED));
    return Write(WithDeviceKey(source, toKey));
}

}  // namespace transfer
