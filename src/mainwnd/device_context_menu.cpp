#include "mainwnd/device_context_menu.h"

#include "config/config_dialog.h"
#include "device/device_key.h"
#include "device/device_types.h"
#include "mainwnd/main_dialog.h"
#include "mainwnd/unsaved_picks_question.h"
#include "resource.h"
#include "store/panel_settings.h"
#include "transfer/settings_store_io.h"
#include "transfer/settings_transfer.h"

#include <commdlg.h>

#include <cwchar>

namespace device_menu {

namespace {

bool CommonFileDialog(HWND owner, bool save, std::wstring* path) {
    std::wstring filter = AfxLoadString(IDS_FILE_FILTER);
    for (wchar_t& c : filter)
        c = c == L'|' ? L'\0' : c;
    filter += L'\0';
    wchar_t file[MAX_PATH] = L"";
    if (save)
        (void)::lstrcpynW(file, path->c_str(), MAX_PATH);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = L"reg";
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    BOOL chosen = save ? ::GetSaveFileNameW(&dialog) : ::GetOpenFileNameW(&dialog);
    if (!chosen)
        return false;
    *path = file;
    return true;
}

FilePicker g_picker = CommonFileDialog;


// The text as a file name: characters no file name may hold become '_'.
std::wstring FileNameOf(std::wstring text) {
    for (wchar_t& c : text) {
        if (c < 32 || std::wstring(L"\\/:*?\"<>|").find(c) != std::wstring::npos)
            c = L'_';
    }
    while (!text.empty() && (text.back() == L'.' || text.back() == L' '))
        text.pop_back();
    return text;
}

// Today as year-month-day, which sorts and reads the same in every language.
std::wstring TodayText() {
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    wchar_t text[16] = L"";
    (void)::swprintf(text, 16, L"%04u-%02u-%02u", now.wYear, now.wMonth, now.wDay);
    return text;
}

void Tell(const transfer::Outcome& outcome) {
    if (!outcome.ok)
        AfxMessageBox(outcome.message.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace

void SetFilePicker(FilePicker picker) { g_picker = picker != nullptr ? picker : CommonFileDialog; }

CDeviceContextMenu::CDeviceContextMenu(CMainDialog& main, int device)
    : m_main(main), m_device(device), m_type(BG_HW_NONE) {
    for (int i = 0; main.DeviceTypes() != nullptr && main.DeviceTypes()[i] != BG_HW_NONE; ++i) {
        CDeviceKey key;
        m_attachedKeys.push_back(key.Get(i) ? store::DeviceKeyText(key.c_str()) : std::wstring());
        if (i == device)
            m_type = static_cast<DWORD>(main.DeviceTypes()[i]);
    }
    if (device < 0 || device >= static_cast<int>(m_attachedKeys.size()) ||
        !IsPanelType(static_cast<tagBGDevHWType>(m_type)))
        return;
    m_deviceKey = m_attachedKeys[static_cast<size_t>(device)];

    std::wstring profile = transfer::ProfilePath();
    std::vector<std::wstring> stored = transfer::StoredDeviceKeys(profile);
    auto isStoredOfType = [&](const std::wstring& key) {
        for (const std::wstring& candidate : stored) {
            if (store::SameName(candidate, key))
                return transfer::StoredHardwareType(profile, candidate) == m_type;
        }
        return false;
    };
    // Attached panels in list order first, then the keys of panels not attached.
    for (size_t i = 0; i < m_attachedKeys.size(); ++i) {
        const std::wstring& key = m_attachedKeys[i];
        if (static_cast<int>(i) != device && !key.empty() && !store::SameName(key, m_deviceKey) && isStoredOfType(key))
            m_sources.push_back(CopySource{key, PanelLabel(static_cast<int>(i))});
    }
    for (const std::wstring& key : stored) {
        bool attached = false;
        for (const std::wstring& attachedKey : m_attachedKeys)
            attached = attached || store::SameName(key, attachedKey);
        if (!attached && isStoredOfType(key))
            m_sources.push_back(CopySource{key, transfer::FormatString(IDS_PANEL_NOT_ATTACHED, key)});
    }
    if (m_sources.size() > ID_COPY_FROM_LAST - ID_COPY_FROM_FIRST + 1)
        m_sources.resize(ID_COPY_FROM_LAST - ID_COPY_FROM_FIRST + 1);
}

std::wstring CDeviceContextMenu::PanelLabel(int device) const {
    return transfer::FormatString(IDS_PANEL_ATTACHED, std::to_wstring(device + 1));
}

bool CDeviceContextMenu::IsCurrent() const { return m_device == m_main.CurrentDevice(); }

HMENU CDeviceContextMenu::Build() const {
    HMENU menu = ::CreatePopupMenu();
    HMENU copyMenu = ::CreatePopupMenu();
    if (menu == nullptr || copyMenu == nullptr) {
        if (menu != nullptr)
            ::DestroyMenu(menu);
        if (copyMenu != nullptr)
            ::DestroyMenu(copyMenu);
        return nullptr;
    }
    for (size_t i = 0; i < m_sources.size(); ++i)
        ::AppendMenuW(copyMenu, MF_STRING, ID_COPY_FROM_FIRST + i, m_sources[i].label.c_str());
    std::wstring profile = transfer::ProfilePath();
    bool panelStored = !transfer::ReadPanel(profile, m_deviceKey).sections.empty();
    bool anyStored = !transfer::StoredDeviceKeys(profile).empty();
    const bool unsaved = IsCurrent() && m_main.HasUnsavedChanges();
    ::AppendMenuW(menu, MF_STRING | (unsaved ? 0u : MF_GRAYED), ID_REVERT_CHANGES,
                  AfxLoadString(IDS_MENU_REVERT).c_str());
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_POPUP | (m_sources.empty() ? MF_GRAYED : 0u), reinterpret_cast<UINT_PTR>(copyMenu),
                  AfxLoadString(IDS_MENU_COPY_FROM).c_str());
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING | (panelStored ? 0u : MF_GRAYED), ID_EXPORT_SETTINGS,
                  AfxLoadString(IDS_MENU_EXPORT).c_str());
    ::AppendMenuW(menu, MF_STRING | (anyStored ? 0u : MF_GRAYED), ID_EXPORT_ALL_SETTINGS,
                  AfxLoadString(IDS_MENU_EXPORT_ALL).c_str());
    ::AppendMenuW(menu, MF_STRING, ID_IMPORT_SETTINGS, AfxLoadString(IDS_MENU_IMPORT).c_str());
    return menu;
}

void CDeviceContextMenu::Run(UINT command) {
    if (m_deviceKey.empty())
        return;
    if (command >= ID_COPY_FROM_FIRST && command - ID_COPY_FROM_FIRST < m_sources.size())
        CopyFrom(m_sources[command - ID_COPY_FROM_FIRST]);
    else if (command == ID_EXPORT_SETTINGS || command == ID_EXPORT_ALL_SETTINGS)
        Export(command == ID_EXPORT_ALL_SETTINGS);
    else if (command == ID_IMPORT_SETTINGS)
        Import();
    else if (command == ID_REVERT_CHANGES && IsCurrent())
        m_main.RevertUnsavedChanges();
}

void CDeviceContextMenu::CopyFrom(const CopySource& source) {
    std::wstring question = transfer::FormatString(IDS_COPY_PROMPT, source.label, PanelLabel(m_device));
    if (AfxMessageBox(question.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // Cancel on the unsaved-changes question leaves everything as it was.
    if (IsCurrent() && !m_main.QuerySavePage())
        return;
    transfer::Outcome outcome = transfer::CopyPanel(source.deviceKey, m_deviceKey, m_type);
    Tell(outcome);
    if (outcome.ok)
        Reload(m_device, m_deviceKey);
}

void CDeviceContextMenu::Export(bool all) {
    if (!AskAboutUnsavedPicks(m_main))
        return;
    std::wstring path = all ? transfer::FormatString(IDS_EXPORT_ALL_FILE_NAME, TodayText()) : m_deviceKey;
    path = FileNameOf(path) + L".reg";
    if (!g_picker(m_main.m_hWnd, true, &path))
        return;
    Tell(all ? transfer::ExportAll(path) : transfer::ExportPanel(m_deviceKey, path));
}

void CDeviceContextMenu::Import() {
    if (!AskAboutUnsavedPicks(m_main))
        return;
    std::wstring path;
    if (!g_picker(m_main.m_hWnd, false, &path))
        return;
    transfer::SettingsFile file;
    transfer::Outcome outcome = transfer::LoadSettingsFile(path, &file);
    if (!outcome.ok) {
        Tell(outcome);
        return;
    }
    std::vector<std::wstring> keys = file.DeviceKeys();
    if (keys.size() == 1) {
        outcome = transfer::ImportOntoPanel(file, path, m_deviceKey, m_type);
        Tell(outcome);
        if (outcome.ok)
            Reload(m_device, m_deviceKey);
        return;
    }
    std::wstring existing = transfer::ExistingSections(file);
    if (!existing.empty() &&
        AfxMessageBox(transfer::FormatString(IDS_REPLACE_PROMPT, existing).c_str(), MB_YESNO | MB_ICONQUESTION) !=
            IDYES)
        return;
    outcome = transfer::ImportAll(file);
    Tell(outcome);
    if (!outcome.ok)
        return;
    for (size_t device = 0; device < m_attachedKeys.size(); ++device) {
        for (const std::wstring& key : keys) {
            if (store::SameName(key, m_attachedKeys[device]))
                Reload(static_cast<int>(device), key);
        }
    }
}

void CDeviceContextMenu::Reload(int device, const std::wstring& deviceKey) {
    m_main.ShowStoredSettings(device, deviceKey);
}

BOOL OnDeviceListContextMenu(CMainDialog& main, HWND from, LPARAM screenPoint) {
    if (from != main.DeviceList().m_hWnd || main.IsTestMode())
        return FALSE;
    POINT point = {static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
    int device = -1;
    if (screenPoint == -1 || (point.x == -1 && point.y == -1)) {
        // From the keyboard: the selected panel, the menu at its picture.
        device = main.DeviceList().GetNextItem(-1, LVNI_SELECTED);
        if (device < 0)
            device = main.CurrentDevice();
        RECT item = {LVIR_ICON, 0, 0, 0};
        if (!main.DeviceList().SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(device),
                                            reinterpret_cast<LPARAM>(&item)))
            return TRUE;
        point = {item.left + (item.right - item.left) / 2, item.top + (item.bottom - item.top) / 2};
        ::ClientToScreen(main.DeviceList().m_hWnd, &point);
    } else {
        LVHITTESTINFO hit = {};
        hit.pt = point;
        ::ScreenToClient(main.DeviceList().m_hWnd, &hit.pt);
        device = static_cast<int>(main.DeviceList().SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    }
    if (device < 0)
        return TRUE;
    // The click that asked for the menu may have moved the selection: the page follows
    // now, not from inside the menu's own message loop.
    main.OpenSelectedDevice();
    CDeviceContextMenu menu(main, device);
    if (menu.DeviceKey().empty())
        return TRUE;
    HMENU popup = menu.Build();
    if (popup == nullptr)
        return TRUE;
    UINT command = static_cast<UINT>(::TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN,
                                                      point.x, point.y, 0, main.m_hWnd, nullptr));
    ::DestroyMenu(popup);
    if (command != 0)
        menu.Run(command);
    return TRUE;
}

}  // namespace device_menu

BOOL CMainDialog::OnContextMenu(WPARAM wParam, LPARAM lParam, LRESULT*) {
    // Nothing to copy into or from before the first page is built.
    if (m_bStartPending)
        return TRUE;
    ++m_nBusy;
    const BOOL handled = device_menu::OnDeviceListContextMenu(*this, reinterpret_cast<HWND>(wParam), lParam);
    --m_nBusy;
    return handled;
}
