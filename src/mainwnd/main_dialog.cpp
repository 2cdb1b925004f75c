#include "mainwnd/main_dialog.h"

#include "mainwnd/about_dialog.h"
#include "config/config_dialog.h"
#include "device/device_key.h"
#include "device/device_library.h"
#include "device/device_types.h"
#include "device/panel_leds.h"
#include "mainwnd/error_dialog.h"
#include "afx/focus_handoff.h"
#include "mainwnd/help_guide.h"
#include "mainwnd/profile_bar.h"
#include "paneltest/panel_test_dialog.h"
#include "resource.h"
#include "scaling/display_scale.h"
#include "scaling/scaled_pictures.h"
#include "store/settings_store.h"
#include "transfer/settings_transfer.h"

namespace {

template <class Page>
void DestroyPage(Page*& page) {
    if (page == nullptr)
        return;
    page->DestroyWindow();
    delete page;
    page = nullptr;
}

template <class Page>
void DeletePage(Page*& page) {
    delete page;
    page = nullptr;
}

// Configuration pages talk to the window through its host interface; test pages need none.
void SetPageHost(CConfigDialog& page, CPageHost* host) { page.SetHost(host); }
void SetPageHost(CTestDialog&, CPageHost*) {}

template <class Page>
void OpenPage(Page& page, int device, CWnd* parent) {
    page.m_nDevice = device;
    page.Create(parent);
    page.ShowWindow(SW_SHOW);
}

// Shows the page of type for device in shown: the kept one pointed at the device, or a new
// one made and kept. The pointer is stored before the page asks anything, so reports that
// answer its first requests reach it.
template <class Page>
void ShowPageOfType(Page*& shown, Page* kept, Page* (*newPage)(tagBGDevHWType), tagBGDevHWType type,
                    CPageCache& pages, int device, CWnd* parent, CPageHost* host) {
    if (kept != nullptr && kept->m_hWnd != nullptr) {
        SetPageHost(*kept, host);
        shown = kept;
        kept->PointAtDevice(device);
        kept->ShowWindow(SW_SHOW);
        return;
    }
    // A kept page without a window (its creation failed) is replaced.
    shown = newPage(type);
    if (shown == nullptr)
        return;
    SetPageHost(*shown, host);
    (void)pages.Keep(type, shown);
    OpenPage(*shown, device, parent);
}

}  // namespace

const MessageMapEntry<CMainDialog> CMainDialog::s_messageMap[] = {
    OnMessage(WM_SYSCOMMAND, &CMainDialog::OnSysCommand),
    OnMessage(WM_PAINT, &CMainDialog::OnPaint),
    OnMessage(WM_QUERYDRAGICON, &CMainDialog::OnQueryDragIcon),
    OnMessage(WM_CLOSE, &CMainDialog::OnClose),
    OnMessage(WM_QUERYENDSESSION, &CMainDialog::OnQueryEndSession),
    OnMessage(WM_ENDSESSION, &CMainDialog::OnEndSession),
    OnMessage(WM_CONTEXTMENU, &CMainDialog::OnContextMenu),
    OnCommand(BN_CLICKED, IDC_APPLY, &CMainDialog::OnApply),
    OnCommand(BN_CLICKED, ID_HELP, &CMainDialog::OnHelp),
    OnMessage(WM_HELP, &CMainDialog::OnHelpKey),
    OnNotify(LVN_ITEMACTIVATE, IDC_DEVICE_LIST, &CMainDialog::OnItemActivate),
    OnNotify(LVN_ITEMCHANGED, IDC_DEVICE_LIST, &CMainDialog::OnItemChanged),
    OnNotify(LVN_KEYDOWN, IDC_DEVICE_LIST, &CMainDialog::OnDeviceListKeyDown),
    OnNotify(NM_SETFOCUS, IDC_DEVICE_LIST, &CMainDialog::OnDeviceListSetFocus),
    OnNotify(NM_KILLFOCUS, IDC_DEVICE_LIST, &CMainDialog::OnDeviceListKillFocus),
    OnNotify(NM_CUSTOMDRAW, IDC_DEVICE_LIST, &CMainDialog::OnDeviceListCustomDraw),
    OnCommand(BN_CLICKED, IDC_DEVICE_LIST, &CMainDialog::OnOpenSelectedDevice),
    OnMessage(kSelectionSettled, &CMainDialog::OnSelectionSettled),
    OnMessage(WM_SHOWWINDOW, &CMainDialog::OnShowWindow),
    OnMessage(kStartPage, &CMainDialog::OnStartPage),
    OnNotify(NM_CUSTOMDRAW, IDC_BRIGHTNESS_SLIDER, &CMainDialog::OnBrightnessCustomDraw),
    OnCommand(BN_CLICKED, IDC_BLINK_APPLY, &CMainDialog::OnBlinkApply),
    OnCommand(EN_SETFOCUS, IDC_FAST_ON, IDC_SLOW_OFF, &CMainDialog::OnBlinkSetFocus),
    OnCommand(EN_KILLFOCUS, IDC_FAST_ON, IDC_SLOW_OFF, &CMainDialog::OnBlinkKillFocus),
    OnCommand(EN_CHANGE, IDC_FAST_ON, IDC_SLOW_OFF, &CMainDialog::OnBlinkChange),
    OnCommand(BN_CLICKED, ID_PAGE_UNDO, &CMainDialog::OnPageUndo),
    OnCommand(BN_CLICKED, ID_PAGE_REDO, &CMainDialog::OnPageRedo),
    OnMessage(WM_DPICHANGED, &CMainDialog::OnDpiChanged),
    OnMessage(kScaleSettled, &CMainDialog::OnScaleSettled),
    OnMessage(WM_TIMER, &CMainDialog::OnTimer),
    OnMessage(kSettingsChanged, &CMainDialog::OnSettingsChanged),
    OnMessage(WM_DEVICECHANGE, &CMainDialog::OnDeviceChange),
};

CMainDialog* GetMainDialog() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return nullptr;
    return static_cast<CMainDialog*>(app->m_pMainWnd);
}

CMainDialog::CMainDialog(CWnd* pParent)
    : CDialog(IDD_MAIN, pParent),
      m_bTestMode(0),
      m_pErrorPage(nullptr),
      m_pTestPage(nullptr),
      m_pConfigPage(nullptr),
      m_bBrightnessLive(false),
      m_bHardwareChanged(false),
      m_storedHardware(),
      m_nLastBrightness(128),
      m_nShownBlink(),
      m_hIcon(::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_TOLLAN))),
      m_pDevTypes(nullptr),
      m_nCurDevice(0),
      m_bStartPending(false),
      m_nShowingValues(0),
      m_bSwitching(false),
      m_bEnded(false),
      m_bStartInTestMode(false),
      m_nBusy(0),
      m_bDetached(false),
      m_detachedType(BG_HW_NONE),
      m_hPanelNotices(nullptr) {}

CMainDialog::~CMainDialog() {
    m_pTestPage = nullptr;
    m_pConfigPage = nullptr;
    m_pages.DeleteAll();
    DeletePage(m_pErrorPage);
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
}

BOOL CMainDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return DispatchMessageMap(*this, s_messageMap, message, wParam, lParam, pResult) ||
           profile_bar::OnMessage(*this, message, wParam, lParam, pResult) ||
           CDialog::OnWndMsg(message, wParam, lParam, pResult);
}

void CMainDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DEVICE_LIST, m_listDevices);
    DDX_Control(pDX, IDC_FAST_ON, m_editFastOn);
    DDX_Control(pDX, IDC_FAST_OFF, m_editFastOff);
    DDX_Control(pDX, IDC_SLOW_ON, m_editSlowOn);
    DDX_Control(pDX, IDC_SLOW_OFF, m_editSlowOff);
    DDX_Control(pDX, IDC_BRIGHTNESS_VALUE, m_editBrightness);
    DDX_Control(pDX, IDC_BRIGHTNESS_SLIDER, m_sliderBrightness);
    DDX_Control(pDX, IDC_APPLY, m_btnApply);
}

BOOL CMainDialog::OnInitDialog() {
    CDialog::OnInitDialog();

    CMenu systemMenu = GetSystemMenu(FALSE);
    if (systemMenu.m_hMenu != nullptr) {
        std::wstring about = AfxLoadString(IDS_ABOUTBOX);
        if (!about.empty()) {
            systemMenu.AppendMenu(MF_SEPARATOR);
            systemMenu.AppendMenu(MF_STRING, IDM_ABOUTBOX, about.c_str());
        }
    }
    scaling::ShowWindowIcons(m_hWnd, IDI_TOLLAN, scaling::WindowDpi(m_hWnd));

    m_btnApply.EnableWindow(FALSE);
    m_bTestMode = 0;
    profile_bar::Attach(*this);
    AttachUndoKeys();

    // Blink periods above 255 cannot be kept: the device and the store take a byte.
    const CEdit* blinkEdits[] = {&m_editFastOn, &m_editFastOff, &m_editSlowOn, &m_editSlowOff};
    for (const CEdit* edit : blinkEdits)
        edit->LimitText(3);
    ShowBlinkPeriods(12, 12, 25, 25);
    m_editBrightness.SetWindowText(L"255");

    m_sliderBrightness.SetRange(0, 255, FALSE);
    m_sliderBrightness.SetTicFreq(16);
    m_sliderBrightness.SetPos(128);
    m_sliderBrightness.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);

    m_nCurDevice = 0;
    const DeviceLibrary& library = OpenDeviceLibrary();
    if (!library.IsLoaded()) {
        ShowErrorPage(DeviceLibraryProblemText(library));
        return TRUE;
    }
    tagBGDevResult init = BGInit(m_hWnd);
    if (init != BG_OK) {
        ShowErrorPage(DeviceLibraryInitFailedText(init));
        return TRUE;
    }
    // The callback exists before any page asks a panel for its state: a library may hold
    // or drop answers while there is none.
    BG_RegisterInputCallback(InputCallback);

    ListDevices();
    RegisterForPanelNotices();

    // The slider waits for the device; it is painted that way from the start.
    m_sliderBrightness.EnableWindow(FALSE);
    // The window shows itself complete first: building the page is most of the start. A
    // modal dialog becomes visible only once its queue is idle (OnShowWindow posts again).
    m_bStartPending = true;
    (void)PostMessage(kStartPage);
    // The dialog gives the focus to its first tab stop, the device list.
    return TRUE;
}

BOOL CMainDialog::OnShowWindow(WPARAM wParam, LPARAM, LRESULT*) {
    if (wParam != FALSE && m_bStartPending)
        (void)PostMessage(kStartPage);
    return FALSE;
}

BOOL CMainDialog::OnStartPage(WPARAM, LPARAM, LRESULT* pResult) {
    *pResult = 0;
    if (!m_bStartPending || m_pDevTypes == nullptr || !IsWindowVisible())
        return TRUE;
    // Posted messages come before WM_PAINT: the window and its controls paint now.
    (void)RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    FinishStart();
    return TRUE;
}

void CMainDialog::FinishStart() {
    m_bStartPending = false;
    CreatePage(m_bStartInTestMode ? TRUE : FALSE);

    m_bBrightnessLive = false;
    m_sliderBrightness.EnableWindow(FALSE);
    m_nCurDevice = 0;
    RequestHardwareState();
    WatchSettings();
    // The user may have moved the list's selection while the page was being built.
    if (m_listDevices.GetNextItem(-1, LVNI_SELECTED) != m_nCurDevice)
        OpenSelectedDevice();
}

void CMainDialog::ListDevices() {
    TakeDeviceTypesAndKeys();
    // The list view must not destroy the image list it is given twice (normal and small).
    ::SetWindowLongPtrW(m_listDevices.m_hWnd, GWL_STYLE, m_listDevices.GetStyle() | LVS_SHAREIMAGELISTS);
    ShowDevicePictures(scaling::PictureScaleOf(m_hWnd));
    m_listDevices.SetExtendedStyle(m_listDevices.GetExtendedStyle() | LVS_EX_ONECLICKACTIVATE);
    FillDeviceList();
}

void CMainDialog::TakeDeviceTypesAndKeys() {
    // The library's array lives until BGTerminate; the window keeps a copy of its own.
    m_types.clear();
    m_keys.clear();
    const tagBGDevHWType* types = BGGetDevType();
    for (int i = 0; types != nullptr && types[i] != BG_HW_NONE; ++i) {
        m_types.push_back(types[i]);
        m_keys.push_back(LibraryDeviceKey(i));
    }
    m_types.push_back(BG_HW_NONE);
    m_pDevTypes = m_types.data();
}

void CMainDialog::FillDeviceList() {
    m_listDevices.DeleteAllItems();
    const int attached = AttachedCount();
    for (int i = 0; i <= attached; ++i) {
        if (i == attached && !m_bDetached)
            break;
        LVITEMW item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        item.iImage = i < attached ? m_pDevTypes[i] : m_detachedType;
        m_listDevices.InsertItem(&item);
    }
    SelectDeviceItem(m_nCurDevice);
}

int CMainDialog::AttachedCount() const {
    int count = 0;
    while (m_pDevTypes != nullptr && m_pDevTypes[count] != BG_HW_NONE)
        ++count;
    return count;
}

std::string CMainDialog::AttachedKey(int device) const {
    if (device < 0 || static_cast<size_t>(device) >= m_keys.size())
        return std::string();
    return m_keys[static_cast<size_t>(device)];
}

int CMainDialog::LibraryDevice() const {
    if (m_bDetached || m_nCurDevice < 0)
        return -1;
    // Before the panels are taken the controls speak to the first device, as they always did.
    if (m_pDevTypes != nullptr && m_nCurDevice >= AttachedCount())
        return -1;
    return m_nCurDevice;
}

bool CMainDialog::CurrentKeyUnusable() const {
    return LibraryDevice() >= 0 && !IsUsableDeviceKey(AttachedKey(m_nCurDevice));
}

void CMainDialog::RequestHardwareState() {
    const int device = LibraryDevice();
    if (device < 0)
        return;
    BG_GetCurBrightness(device);
    BG_GetCurBlinkPeriod(device);
}

void CMainDialog::EnableHardwareControls() {
    const BOOL enable = m_pConfigPage != nullptr || m_pTestPage != nullptr ? TRUE : FALSE;
    CEdit* const blinkEdits[] = {&m_editFastOn, &m_editFastOff, &m_editSlowOn, &m_editSlowOff};
    for (CEdit* edit : blinkEdits)
        EnableKeepingFocus(edit->m_hWnd, enable);
    EnableKeepingFocus(m_editBrightness.m_hWnd, enable);
    // The slider waits for its device to report (ShowBrightness), or for the page's settings.
    if (!enable) {
        m_bBrightnessLive = false;
        EnableKeepingFocus(m_sliderBrightness.m_hWnd, FALSE);
    }
}

tagBGDevHWType CMainDialog::CurrentDeviceType() const {
    if (m_bDetached)
        return m_detachedType;
    if (m_pDevTypes == nullptr || m_nCurDevice < 0)
        return BG_HW_NONE;
    for (int i = 0; m_pDevTypes[i] != BG_HW_NONE; ++i) {
        if (i == m_nCurDevice)
            return m_pDevTypes[i];
    }
    return BG_HW_NONE;
}

void CMainDialog::CreatePage(BOOL bTestMode) {
    m_bTestMode = bTestMode ? 1 : 0;
    // The page that goes away must not take the focus with it.
    if (HWND page = CurrentPageWindow(); page != nullptr && ::IsChild(page, ::GetFocus()))
        (void)m_listDevices.SetFocus();
    m_bHardwareChanged = false;
    if (m_listDevices.GetItemCount() == 0) {
        ShowErrorPage(AfxLoadString(IDS_NO_DEVICE));
        return;
    }
    // Nothing can be stored under a key that cannot name a registry section.
    if (!m_bTestMode && CurrentKeyUnusable()) {
        if (m_pConfigPage != nullptr)
            m_pConfigPage->LeaveDevice();
        ShowErrorPage(transfer::FormatString(IDS_DEVICE_KEY_UNUSABLE,
                                             store::DeviceKeyText(AttachedKey(m_nCurDevice).c_str())));
        return;
    }

    DestroyPage(m_pErrorPage);
    // The page shown so far leaves its device as a page that is destroyed leaves it
    // (a configuration page switches the LEDs off), before the next page says anything.
    if (m_pConfigPage != nullptr)
        m_pConfigPage->LeaveDevice();
    CDialog* const previous =
        m_pConfigPage != nullptr ? static_cast<CDialog*>(m_pConfigPage) : static_cast<CDialog*>(m_pTestPage);
    m_pConfigPage = nullptr;
    m_pTestPage = nullptr;

    tagBGDevHWType type = CurrentDeviceType();
    CDialog* const next = m_bTestMode ? static_cast<CDialog*>(m_pages.TestPage(type))
                                      : static_cast<CDialog*>(m_pages.ConfigPage(type));
    // A page of another type is parked: hidden, out of the tab order, kept for its type.
    if (previous != nullptr && previous != next && previous->m_hWnd != nullptr)
        (void)previous->ShowWindow(SW_HIDE);
    if (m_bTestMode)
        ShowPageOfType(m_pTestPage, m_pages.TestPage(type), CPageCache::NewTestPage, type, m_pages, m_nCurDevice,
                       this, static_cast<CPageHost*>(this));
    else
        ShowPageOfType(m_pConfigPage, m_pages.ConfigPage(type), CPageCache::NewConfigPage, type, m_pages,
                       m_nCurDevice, this, static_cast<CPageHost*>(this));
    PlacePageInTabOrder(CurrentPageWindow());
    UpdateApply();
    EnableHardwareControls();
    BuildPagesAheadWhenIdle();
}

void CMainDialog::ShowErrorPage(const std::wstring& text) {
    StopBuildingAhead();
    // The page shown goes as it always went (its own WM_DESTROY); the parked ones have left
    // their devices already and go silently.
    if (m_pConfigPage != nullptr && m_pConfigPage->m_hWnd != nullptr)
        (void)m_pConfigPage->DestroyWindow();
    if (m_pTestPage != nullptr && m_pTestPage->m_hWnd != nullptr)
        (void)m_pTestPage->DestroyWindow();
    m_pTestPage = nullptr;
    m_pConfigPage = nullptr;
    m_pages.DeleteAll();
    DestroyPage(m_pErrorPage);
    m_pErrorPage = new CErrorDialog;
    m_pErrorPage->Create(this);
    m_pErrorPage->ShowWindow(SW_SHOW);
    m_pErrorPage->m_staticText.SetWindowText(text.c_str());
    PlacePageInTabOrder(m_pErrorPage->m_hWnd);
    UpdateApply();
    EnableHardwareControls();
}

HWND CMainDialog::CurrentPageWindow() const {
    if (m_pConfigPage != nullptr)
        return m_pConfigPage->m_hWnd;
    if (m_pTestPage != nullptr)
        return m_pTestPage->m_hWnd;
    if (m_pErrorPage != nullptr)
        return m_pErrorPage->m_hWnd;
    return nullptr;
}

// Tab goes from the device list into the page and on to the controls below it.
void CMainDialog::PlacePageInTabOrder(HWND page) const {
    if (page == nullptr)
        return;
    (void)::SetWindowPos(page, m_listDevices.m_hWnd, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void CMainDialog::OnApply(UINT) {
    ++m_nBusy;
    if (IsPanelType(CurrentDeviceType()) && m_pConfigPage != nullptr)
        m_pConfigPage->SaveConfig();
    --m_nBusy;
    UpdateApply();
}

void CMainDialog::OnHelp(UINT) { OpenUserGuide(m_hWnd); }

BOOL CMainDialog::OnHelpKey(WPARAM, LPARAM, LRESULT* pResult) {
    OpenUserGuide(m_hWnd);
    *pResult = TRUE;
    return TRUE;
}

void CMainDialog::OnOK() {
    // Enter in one of the page's lists has done its work there (the row it shows is the
    // pick): it does not end the program. The OK button itself has the focus when clicked.
    const HWND page = CurrentPageWindow();
    if (page != nullptr && ::IsChild(page, ::GetFocus()))
        return;
    if (!QuerySavePage())
        return;
    EndWindow();
    CDialog::OnOK();
}

void CMainDialog::OnCancel() {
    if (!QuerySavePage())
        return;
    EndWindow();
    CDialog::OnCancel();
}

BOOL CMainDialog::OnClose(WPARAM, LPARAM, LRESULT*) {
    // Cancelled: the window stays as it is.
    if (!QuerySavePage())
        return TRUE;
    EndWindow();
    // The default processing ends the dialog like Cancel.
    return FALSE;
}

BOOL CMainDialog::OnQueryEndSession(WPARAM, LPARAM, LRESULT* pResult) {
    // Windows asks before it ends the session: unsaved changes are asked about first.
    *pResult = QuerySavePage();
    return TRUE;
}

BOOL CMainDialog::OnEndSession(WPARAM wParam, LPARAM, LRESULT* pResult) {
    *pResult = 0;
    if (wParam != FALSE)
        EndWindow();
    return TRUE;
}

void CMainDialog::EndWindow() {
    // Closed before the first page was built, or before the pages ahead were: none will be.
    m_bStartPending = false;
    StopBuildingAhead();
    if (m_hWnd != nullptr)
        (void)::KillTimer(m_hWnd, kPanelsSettleTimer);
    UnregisterPanelNotices();
    if (m_bEnded)
        return;
    m_bEnded = true;
    m_settingsWatcher.Stop();
    // Every panel is left dark, whatever the mode and whatever page showed it.
    for (int device = 0; m_pDevTypes != nullptr && m_pDevTypes[device] != BG_HW_NONE; ++device) {
        if (IsPanelType(m_pDevTypes[device]))
            SetAllPanelLeds(device, BG_LED_OFF);
    }
    m_listDevices.DeleteAllItems();
    m_listDevices.SetImageList(nullptr, LVSIL_NORMAL);
    m_listDevices.SetImageList(nullptr, LVSIL_SMALL);
    m_imageDevices.DeleteImageList();
    m_pTestPage = nullptr;
    m_pConfigPage = nullptr;
    m_pages.DeleteAll();
    DeletePage(m_pErrorPage);
    if (OpenDeviceLibrary().IsLoaded())
        BGTerminate();
    m_pDevTypes = nullptr;
    m_types.clear();
    m_keys.clear();
}

BOOL CMainDialog::OnSysCommand(WPARAM wParam, LPARAM, LRESULT*) {
    if ((wParam & 0xFFF0) != IDM_ABOUTBOX)
        return FALSE;
    CAboutDialog about;
    about.DoModal();
    return TRUE;
}

BOOL CMainDialog::OnPaint(WPARAM, LPARAM, LRESULT*) {
    if (!IsIconic())
        return FALSE;
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(&client);
    int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &paint);
    return TRUE;
}

BOOL CMainDialog::OnQueryDragIcon(WPARAM, LPARAM, LRESULT* pResult) {
    *pResult = reinterpret_cast<LRESULT>(m_hIcon);
    return TRUE;
}
