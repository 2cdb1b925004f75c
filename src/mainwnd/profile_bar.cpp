#include "mainwnd/profile_bar.h"

#include "app/configurator_app.h"
#include "config/config_dialog.h"
#include "device/device_key.h"
#include "mainwnd/help_guide.h"
#include "mainwnd/main_dialog.h"
#include "mainwnd/profile_name_dialog.h"
#include "mainwnd/unsaved_picks_question.h"
#include "resource.h"
#include "store/settings_store.h"
#include "transfer/profile_store.h"

#include <vector>

namespace profile_bar {

namespace {

using transfer::CProfileStore;
using transfer::FormatString;

// The list's items that are no profile file: the active profile whose file is gone, and the
// item that says that no profile is active.
const DWORD_PTR kMissingItem = 1;
const DWORD_PTR kNoProfileItem = 2;

// Posted when the list's selection changed (wParam kPickMade) or its opening was cancelled
// (kPickCancelled): the switch follows once the list is done with the key or click.
const WPARAM kPickMade = 0;
const WPARAM kPickCancelled = 1;
UINT PickedMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"Tollan profile picked");
    return message;
}

// One pick at a time: the list may report one pick twice (a selection change and the end of
// the selection), and the questions of a switch let posted messages in while they are open.
bool g_switching = false;

void PostPicked(CMainDialog& main, WPARAM what) {
    MSG earlier;
    while (::PeekMessageW(&earlier, main.m_hWnd, PickedMessage(), PickedMessage(), PM_REMOVE)) {
    }
    (void)main.PostMessage(PickedMessage(), what);
}

void Tell(const transfer::Outcome& outcome) {
    if (!outcome.ok)
        AfxMessageBox(outcome.message.c_str(), MB_OK | MB_ICONERROR);
}

// The window asks the user what a switch needs to know.
class CWindowQuestions : public transfer::CSwitchQuestions {
public:
    Answer UpdateActiveFirst(const std::wstring& active, const std::wstring& next) override {
        switch (AfxMessageBox(FormatString(IDS_PROFILE_UPDATE_PROMPT, active, next).c_str(),
                              MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES: return kYes;
        case IDNO: return kNo;
        default: return kCancel;
        }
    }
    bool ReplaceSettingsInNoProfile(const std::wstring& next) override {
        return AfxMessageBox(FormatString(IDS_PROFILE_UNSAVED_PROMPT, next).c_str(), MB_YESNO | MB_ICONQUESTION) ==
               IDYES;
    }
};

class CProfileBar {
public:
    explicit CProfileBar(CMainDialog& main) : m_main(main), m_profiles(CProfileStore::ForApplication()) {
        m_list.m_hWnd = main.GetDlgItem(IDC_PROFILE_LIST);
    }

    // The list of the profiles in the folder, the active one selected.
    void Fill() const {
        const std::vector<std::wstring> names = m_profiles.Names();
        const std::wstring active = m_profiles.ActiveName();
        m_list.SendMessage(CB_RESETCONTENT);
        int selected = -1;
        if (active.empty()) {
            selected = m_list.AddString(AfxLoadString(IDS_PROFILE_NONE).c_str());
            m_list.SetItemData(selected, kNoProfileItem);
        } else {
            bool listed = false;
            for (const std::wstring& name : names)
                listed = listed || store::SameName(name, active);
            if (!listed) {
                selected = m_list.AddString(FormatString(IDS_PROFILE_MISSING, active).c_str());
                m_list.SetItemData(selected, kMissingItem);
            }
        }
        for (const std::wstring& name : names) {
            const int item = m_list.AddString(name.c_str());
            if (store::SameName(name, active))
                selected = item;
        }
        m_list.SetCurSel(selected);
        FitDroppedWidth();
        const BOOL any = names.empty() ? FALSE : TRUE;
        (void)::EnableWindow(m_main.GetDlgItem(IDC_PROFILE_RENAME), any);
        (void)::EnableWindow(m_main.GetDlgItem(IDC_PROFILE_DELETE), any);
    }

    // The name of the profile the list shows selected; empty for none, the active one for the
    // item of a missing file.
    std::wstring SelectedName() const {
        const int item = m_list.GetCurSel();
        if (item < 0)
            return std::wstring();
        if (m_list.GetItemData(item) == kNoProfileItem)
            return std::wstring();
        if (m_list.GetItemData(item) == kMissingItem)
            return m_profiles.ActiveName();
        return ItemText(item);
    }

    void OnPicked() {
        if (g_switching)
            return;
        g_switching = true;
        const std::wstring name = SelectedName();
        if (!name.empty() && !store::SameName(name, m_profiles.ActiveName()))
            SwitchTo(name);
        Fill();
        g_switching = false;
    }

    void SwitchTo(const std::wstring& name) {
        if (!AskAboutUnsavedPicks(m_main))
            return;
        CWindowQuestions questions;
        const transfer::SwitchResult result = transfer::SwitchProfile(m_profiles, name, questions);
        if (result.status == transfer::SwitchStatus::Failed)
            AfxMessageBox(result.message.c_str(), MB_OK | MB_ICONERROR);
        if (result.status == transfer::SwitchStatus::Switched)
            ShowSwitchedSettings(result.applied);
    }

    void SaveAsProfile() {
        if (!AskAboutUnsavedPicks(m_main))
            return;
        CProfileNameDialog dialog(&m_main, std::wstring(), m_profiles.ActiveName(), [this](const std::wstring& name) {
            const transfer::NameProblem problem = transfer::CheckProfileName(name);
            if (problem != transfer::NameProblem::None) {
                AfxMessageBox(transfer::DescribeNameProblem(problem, name).c_str(), MB_OK | MB_ICONERROR);
                return false;
            }
            return !m_profiles.Exists(name) ||
                   AfxMessageBox(FormatString(IDS_PROFILE_REPLACE_PROMPT, name).c_str(),
                                 MB_YESNO | MB_ICONQUESTION) == IDYES;
        });
        if (dialog.DoModal() == IDOK)
            Tell(m_profiles.Save(dialog.Name()));
        Fill();
    }

    void Rename() {
        const std::wstring from = PickFromMenu(IDC_PROFILE_RENAME);
        if (from.empty())
            return;
        CProfileNameDialog dialog(&m_main, AfxLoadString(IDS_PROFILE_RENAME_TITLE), from,
                                  [this, &from](const std::wstring& name) {
                                      const transfer::NameProblem problem = transfer::CheckProfileName(name);
                                      std::wstring refusal;
                                      if (problem != transfer::NameProblem::None)
                                          refusal = transfer::DescribeNameProblem(problem, name);
                                      else if (!store::SameName(name, from) && m_profiles.Exists(name))
                                          refusal = FormatString(IDS_PROFILE_EXISTS, name);
                                      if (!refusal.empty())
                                          AfxMessageBox(refusal.c_str(), MB_OK | MB_ICONERROR);
                                      return refusal.empty();
                                  });
        if (dialog.DoModal() == IDOK && dialog.Name() != from)
            Tell(m_profiles.Rename(from, dialog.Name()));
        Fill();
    }

    void Delete() {
        const std::wstring name = PickFromMenu(IDC_PROFILE_DELETE);
        if (!name.empty() &&
            AfxMessageBox(FormatString(IDS_PROFILE_DELETE_PROMPT, name).c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES)
            Tell(m_profiles.Delete(name));
        Fill();
    }

    void OpenFolder() const {
        transfer::Outcome outcome = m_profiles.EnsureFolder();
        if (outcome.ok) {
            const HINSTANCE opened = g_pfnShellOpen(m_main.m_hWnd, L"open", m_profiles.Folder().c_str(), nullptr,
                                                    nullptr, SW_SHOWNORMAL);
            if (reinterpret_cast<INT_PTR>(opened) <= 32)
                outcome = transfer::Outcome{false, FormatString(IDS_PROFILE_FOLDER_NOT_OPENED, m_profiles.Folder())};
        }
        Tell(outcome);
    }

private:
    std::wstring ItemText(int item) const {
        const LRESULT length = m_list.SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(item));
        if (length <= 0)
            return std::wstring();
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        m_list.SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<size_t>(length));
        return text;
    }

    // The open list is as wide as its longest name, and never narrower than the list itself.
    void FitDroppedWidth() const {
        HDC dc = ::GetDC(m_list.m_hWnd);
        if (dc == nullptr)
            return;
        HGDIOBJ font = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(m_list.SendMessage(WM_GETFONT)));
        int widest = 0;
        for (int item = 0; item < m_list.GetCount(); ++item) {
            const std::wstring text = ItemText(item);
            SIZE size = {};
            if (::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size))
                widest = size.cx > widest ? size.cx : widest;
        }
        ::SelectObject(dc, font);
        ::ReleaseDC(m_list.m_hWnd, dc);
        RECT list = {};
        (void)::GetWindowRect(m_list.m_hWnd, &list);
        const int margins = 2 * ::GetSystemMetrics(SM_CXEDGE) + ::GetSystemMetrics(SM_CXVSCROLL) + 8;
        const int width = widest + margins > list.right - list.left ? widest + margins : list.right - list.left;
        (void)m_list.SetDroppedWidth(static_cast<UINT>(width));
    }

    // The profiles in a menu under the button, the active one checked; the one picked, or
    // empty. The menu's commands are returned, never sent: they need no ids of the window.
    std::wstring PickFromMenu(int button) const {
        const std::vector<std::wstring> names = m_profiles.Names();
        const std::wstring active = m_profiles.ActiveName();
        HMENU menu = ::CreatePopupMenu();
        if (menu == nullptr || names.empty()) {
            if (menu != nullptr)
                ::DestroyMenu(menu);
            return std::wstring();
        }
        for (size_t i = 0; i < names.size(); ++i) {
            const UINT checked = store::SameName(names[i], active) ? MF_CHECKED : MF_UNCHECKED;
            ::AppendMenuW(menu, MF_STRING | checked, i + 1, names[i].c_str());
        }
        RECT place = {};
        (void)::GetWindowRect(m_main.GetDlgItem(button), &place);
        const UINT picked = static_cast<UINT>(::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN |
                                                                         TPM_TOPALIGN | TPM_LEFTBUTTON,
                                                                place.left, place.bottom, 0, m_main.m_hWnd, nullptr));
        ::DestroyMenu(menu);
        return picked >= 1 && picked <= names.size() ? names[picked - 1] : std::wstring();
    }

    // The switched panels show their new settings: the page on show reloads, the other attached
    // panels get their brightness and blink periods.
    void ShowSwitchedSettings(const transfer::SettingsFile& applied) const {
        for (int device = 0; m_main.DeviceTypes() != nullptr && m_main.DeviceTypes()[device] != BG_HW_NONE; ++device) {
            CDeviceKey key;
            if (!key.Get(device))
                continue;
            const std::wstring deviceKey = store::DeviceKeyText(key.c_str());
            bool held = false;
            for (const std::wstring& switched : applied.DeviceKeys())
                held = held || store::SameName(switched, deviceKey);
            if (!held)
                continue;
            m_main.ShowStoredSettings(device, deviceKey);
        }
    }

    CMainDialog& m_main;
    CProfileStore m_profiles;
    CComboBox m_list;
};

bool InTestMode() {
    const CConfiguratorApp* app = static_cast<const CConfiguratorApp*>(AfxGetApp());
    return app != nullptr && app->m_bTestMode != 0;
}

}  // namespace

void Attach(CMainDialog& main) {
    const int ids[] = {IDC_PROFILE_LABEL, IDC_PROFILE_LIST, IDC_PROFILE_SAVE, IDC_PROFILE_RENAME, IDC_PROFILE_DELETE};
    if (InTestMode()) {
        // Test mode stores nothing: there is nothing to switch, save, rename or delete.
        for (int id : ids)
            (void)::EnableWindow(main.GetDlgItem(id), FALSE);
        return;
    }
    CProfileBar(main).Fill();
}

BOOL OnMessage(CMainDialog& main, UINT message, WPARAM wParam, LPARAM, LRESULT* pResult) {
    if (message == PickedMessage()) {
        *pResult = 0;
        // A pick before the first page is built waits for nothing: the page could not reload.
        if ((wParam == kPickCancelled || !main.IsStarted()) && !g_switching)
            CProfileBar(main).Fill();
        else if (!InTestMode())
            CProfileBar(main).OnPicked();
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    // Test mode stores nothing; its profiles folder may still be opened.
    if (id < IDC_PROFILE_LIST || id > IDC_PROFILE_FOLDER || (InTestMode() && id != IDC_PROFILE_FOLDER))
        return FALSE;
    *pResult = 0;
    CProfileBar bar(main);
    if (id == IDC_PROFILE_LIST) {
        switch (code) {
        case CBN_DROPDOWN:
        case CBN_SETFOCUS:
            if (!g_switching)
                bar.Fill();
            break;
        // The list is closing: what it shows is put right once it has closed.
        case CBN_SELENDCANCEL: PostPicked(main, kPickCancelled); break;
        case CBN_SELENDOK: PostPicked(main, kPickMade); break;
        case CBN_SELCHANGE:
            // A key or the wheel on the closed list picks at once; in the open list only Enter
            // or a click does (CBN_SELENDOK).
            if (!::SendDlgItemMessageW(main.m_hWnd, IDC_PROFILE_LIST, CB_GETDROPPEDSTATE, 0, 0))
                PostPicked(main, kPickMade);
            break;
        default: break;
        }
        return TRUE;
    }
    if (code != BN_CLICKED || !main.IsStarted())
        return TRUE;
    switch (id) {
    case IDC_PROFILE_SAVE: bar.SaveAsProfile(); break;
    case IDC_PROFILE_RENAME: bar.Rename(); break;
    case IDC_PROFILE_DELETE: bar.Delete(); break;
    case IDC_PROFILE_FOLDER: bar.OpenFolder(); break;
    default: break;
    }
    return TRUE;
}

}  // namespace profile_bar
