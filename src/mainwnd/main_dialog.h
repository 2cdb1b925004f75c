// CMainDialog: the program's window. The device list on the left, one page for the
// selected device to its right, OK / Apply / Help and the brightness and blink controls
// along the bottom. It owns the program's use of the device library. The window paints
// before its first page is built; a page, once built, stays for its panel type.
#ifndef TOLLAN_MAINWND_MAIN_DIALOG_H
#define TOLLAN_MAINWND_MAIN_DIALOG_H

#include "afx/afx.h"
#include "config/page_keys.h"
#include "config/page_host.h"
#include "mainwnd/page_cache.h"
#include "store/settings_store.h"
#include "store/settings_watcher.h"
#include "VUZoz.h"

#include <dbt.h>

#include <string>
#include <vector>

class CErrorDialog;
class CTestDialog;
class CConfigDialog;

class CMainDialog : public CDialog, private CPageHost {
public:
    explicit CMainDialog(CWnd* pParent = nullptr);
    ~CMainDialog() override;

    // The mode of the first page: test pages when bTestMode (the command line's /test).
    void SetStartMode(bool bTestMode) { m_bStartInTestMode = bTestMode; }

    // Enables or disables Apply; TRUE if it was enabled before. Apply hands the focus on
    // before it is disabled.
    BOOL EnableApply(BOOL bEnable) override;
    // TRUE when a configuration page is shown and it or the brightness and blink controls
    // hold something the store does not have yet.
    BOOL HasUnsavedChanges() const;
    // Apply enabled exactly when something is unsaved.
    void UpdateApply() override;
    // The user let the brightness and blink changes go.
    void DropHardwareChanges() override;
    // The configuration page on show, the brightness and the blink periods show what is
    // stored again, as they were loaded or saved last; the page's history is cleared.
    void RevertUnsavedChanges();

    void ShowBrightness(BYTE level);
    void ShowBlinkPeriods(BYTE fastOn, BYTE fastOff, BYTE slowOn, BYTE slowOff);
    void ApplyBlinkPeriods();
    // Writes brightness, blink periods and type into the device's hardware section and
    // disables Apply; FALSE (Apply left as it was) when a registry write failed.
    BOOL SaveHardwareSettings(const char* deviceKey);
    // What saving the hardware section writes (brightness, blink periods, type, in that
    // order), for a save of both sections; after it succeeded, HardwareSettingsSaved.
    void WriteHardwareSettings(store::SettingSection& section) const override;
    void HardwareSettingsSaved() override;
    void LoadHardwareSettings(const char* deviceKey);
    void LoadHardwareSettings(const store::PanelSettings& stored) override;
    void AcceptStoredHardware(const store::PanelSettings& stored) override;

    // The page factory: shows the page of the selected device's type for the mode, pointed
    // at that device; the page shown before leaves its device and is parked, hidden.
    void CreatePage(BOOL bTestMode);
    // Makes item of the device list the current device, after asking about unsaved
    // changes; a cancelled question leaves the list's selection on the current device.
    void SwitchToDevice(int item);
    // Asks about unsaved changes before the configuration page goes away; FALSE when
    // whatever asked must not go on (the user cancelled, or the save failed).
    BOOL QuerySavePage();
    // The store of device changed (an import, a copy, a profile): the page on show loads it
    // again; another panel gets its stored brightness and blink periods.
    void ShowStoredSettings(int device, const std::wstring& deviceKey);
    // Opens the page of the device the list shows selected (a right click selects too).
    void OpenSelectedDevice();
    // FALSE from OnInitDialog until the first page has been built after the first paint;
    // until then the user's actions wait or do nothing.
    bool IsStarted() const { return !m_bStartPending; }

    static int InputCallback(tagBGDevHWType type, unsigned short device, unsigned short kind, void* data);

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // What the window shows: the device list, the page shown now (one of the three, or
    // none), the device it is about and whether pages are of the test mode.
    CListCtrl DeviceList() const { return m_listDevices; }
    CConfigDialog* ConfigPage() const { return m_pConfigPage; }
    CTestDialog* TestPage() const { return m_pTestPage; }
    CErrorDialog* ErrorPage() const { return m_pErrorPage; }
    int CurrentDevice() const { return m_nCurDevice; }
    // The panel on show has gone since its page was opened: its page stays, shown as the
    // last item of the device list, greyed, until the user switches away; nothing is sent to it.
    bool IsCurrentDetached() const { return m_bDetached; }
    // The panels the library reports attached (the device list may hold one more: the
    // panel on show that went).
    int AttachedCount() const;
    // The device key of an attached panel as the library gave it at the last take of the
    // panels (empty when it gave none).
    std::string AttachedKey(int device) const;
    bool IsTestMode() const { return m_bTestMode != 0; }
    // The types of the attached panels as the library gave them, ending with BG_HW_NONE;
    // null when the library could not be used.
    const tagBGDevHWType* DeviceTypes() const { return m_pDevTypes; }
    // The brightness slider follows the device (it has reported its brightness).
    bool IsBrightnessLive() const { return m_bBrightnessLive; }
    HICON Icon() const { return m_hIcon; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    static const MessageMapEntry<CMainDialog> s_messageMap[];

    bool HardwareChanged(const CConfigDialog& page) const override;
    void SetHardwareValue(int target, int value) override;

    // The brightness and blink controls in the history of the page on show
    // (hardware_history.cpp).
    void AttachUndoKeys();
    // The configuration page whose history the keys and the controls' changes go to; null
    // in test mode or without a page.
    CConfigDialog* PageWithHistory() const;
    void RecordHardwareChange(int target, int before, int after);
    store::HardwareSettings ShownHardware() const;
    bool HardwareDiffersFromStored() const;
    // The controls and the panel take hardware; nothing of it is a change of the user's.
    void ShowHardware(const store::HardwareSettings& hardware);
    const CEdit* BlinkEdit(UINT nID) const;
    void OnPageUndo(UINT nID);
    void OnPageRedo(UINT nID);
    // Every way out of the window ends here once the user let it go: the panels' LEDs
    // off, the pages gone, the library ended.
    void EndWindow();
    // Takes the types and keys of the attached panels from the library; the device list
    // holds one picture per attached panel, and the panel on show that went, if any.
    void ListDevices();
    void TakeDeviceTypesAndKeys();
    void FillDeviceList();
    // The device the library knows the panel on show by; -1 when it went.
    int LibraryDevice() const;
    // The brightness and blink controls are usable exactly when a panel's page is shown.
    void EnableHardwareControls();
    // The current device's key cannot name a registry section: its configuration page is
    // a message instead (config mode); see device/device_key.h.
    bool CurrentKeyUnusable() const;

    // Panels plugged in or out (panel_arrivals.cpp): each notice re-arms a short timer;
    // when it runs out, and the window is not in a question, a menu or a save, the panels
    // are taken afresh from the library and the window follows.
    BOOL OnDeviceChange(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    void RegisterForPanelNotices();
    void UnregisterPanelNotices();
    void ArmPanelsSettle();
    void OnPanelsSettled();
    bool IsInTheMiddleOfSomething() const;
    void TakePanelsAfresh();
    // The page on show keeps its panel, now device, after a fresh take: its LEDs, brightness
    // and blink periods are sent again as the page and the controls have them.
    void ReattachShownPage(int device);
    void DetachShownPage();
    // The first requests of a page's panel: brightness and blink periods.
    void RequestHardwareState();

    CListCtrl m_listDevices;
    CEdit m_editFastOn;
    CEdit m_editFastOff;
    CEdit m_editSlowOn;
    CEdit m_editSlowOff;
    CEdit m_editBrightness;
    CSliderCtrl m_sliderBrightness;
    CButton m_btnApply;

    int m_bTestMode;
    // The page shown now, or null; pages of other types wait hidden in m_pages.
    CErrorDialog* m_pErrorPage;
    CTestDialog* m_pTestPage;
    CConfigDialog* m_pConfigPage;
    bool m_bBrightnessLive;
    // The user changed the brightness or a blink period, and the controls show something
    // else than was loaded or saved last (m_storedHardware).
    bool m_bHardwareChanged;
    store::HardwareSettings m_storedHardware;
    int m_nLastBrightness;
    // The blink periods the edits showed after their last change, by IDC_FAST_ON + index.
    int m_nShownBlink[4];
    static const int kUndoKeyControls = 6;
    CPageKeys m_undoKeys[kUndoKeyControls];
    HICON m_hIcon;
    tagBGDevHWType* m_pDevTypes;
    int m_nCurDevice;

    // Posted when the device list's selection changed: the page follows once the list
    // has finished with the key or click that moved it.
    static const UINT kSelectionSettled = WM_APP + 1;
    // Posted when the window may be able to paint before its first page is built.
    static const UINT kStartPage = WM_APP + 2;
    // Posted when the window moved to a monitor of another scale: the page is laid out again
    // once the system has scaled the dialogs.
    static const UINT kScaleSettled = WM_APP + 3;
    // Ticks while pages of attached panel types are still to be built ahead.
    static const UINT_PTR kBuildAheadTimer = 1;
    // Posted by the watcher of the settings when they changed (outside_changes.cpp).
    static const UINT kSettingsChanged = WM_APP + 5;
    // A change of the settings that came during a question or a menu is looked at after it.
    static const UINT_PTR kSettingsRetryTimer = 3;
    static const UINT kSettingsRetryMilliseconds = 200;
    // Runs out once the notices of panels plugged in or out have settled.
    static const UINT_PTR kPanelsSettleTimer = 2;

    // Handlers of the message map.
    BOOL OnSysCommand(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL OnPaint(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL OnQueryDragIcon(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL OnClose(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL OnQueryEndSession(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL OnEndSession(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL OnContextMenu(WPARAM wParam, LPARAM lParam, LRESULT* pResult);  // device_context_menu.cpp
    void OnApply(UINT nID);
    void OnHelp(UINT nID);
    BOOL OnHelpKey(WPARAM wParam, LPARAM lParam, LRESULT* pResult);  // WM_HELP: F1 anywhere in the window
    void OnItemActivate(NMHDR* pNMHDR, LRESULT* pResult);
    void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnBrightnessCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    void OnBlinkApply(UINT nID);
    void OnBlinkSetFocus(UINT nID);
    void OnBlinkKillFocus(UINT nID);
    void OnBlinkChange(UINT nID);
    void OnOpenSelectedDevice(UINT nID);
    void OnDeviceListKeyDown(NMHDR* pNMHDR, LRESULT* pResult);
    void OnDeviceListSetFocus(NMHDR* pNMHDR, LRESULT* pResult);
    void OnDeviceListKillFocus(NMHDR* pNMHDR, LRESULT* pResult);
    void OnDeviceListCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);  // device_list_pictures.cpp
    BOOL OnSelectionSettled(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL OnShowWindow(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL OnStartPage(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL OnDpiChanged(WPARAM wParam, LPARAM lParam, LRESULT* pResult);    // display_scale_change.cpp
    BOOL OnScaleSettled(WPARAM wParam, LPARAM lParam, LRESULT* pResult);  // display_scale_change.cpp
    BOOL OnTimer(WPARAM wParam, LPARAM lParam, LRESULT* pResult);         // pages_ahead.cpp
    BOOL OnSettingsChanged(WPARAM wParam, LPARAM lParam, LRESULT* pResult);  // outside_changes.cpp
    bool OnSettingsRetryTimer();
    // Watches the store for changes made outside Tollan, once the first page is shown.
    void WatchSettings();

    // Pages built ahead (pages_ahead.cpp): once a page is shown, the pages of the other
    // attached panel types of the mode are built one per idle moment, hidden and pointed at
    // no device, so that a switch to them only points them at their device.
    void BuildPagesAheadWhenIdle();
    void StopBuildingAhead();
    // Builds the page of one more attached type; false when there was none left to build.
    bool BuildOnePageAhead();

    // The rest of the start, once the window has painted: the first page, the input
    // callback and the first requests, then a selection the user made meanwhile.
    void FinishStart();

    // The device list's pictures at percent, and cells of their size with room for the
    // selection frame (device_list_pictures.cpp).
    void ShowDevicePictures(int percent);
    // Marks item selected and focused in the device list (-1: nothing).
    void SelectDeviceItem(int item);
    // Replaces the page with the error page showing this text.
    void ShowErrorPage(const std::wstring& text);
    tagBGDevHWType CurrentDeviceType() const;
    HWND CurrentPageWindow() const;
    void PlacePageInTabOrder(HWND page) const;
    int ReadBlinkEdit(const CEdit& edit) const;

    CImageList m_imageDevices;      // the pictures the list's items show
    CImageList m_imageDeviceCells;  // the list's image list: empty, of the size of a framed picture
    CPageCache m_pages;
    bool m_bStartPending;
    // Values the program itself writes into the brightness and blink controls are no user
    // change while this is above zero.
    int m_nShowingValues;
    bool m_bSwitching;
    // The window has let its panels and the library go (EndWindow).
    bool m_bEnded;
    bool m_bStartInTestMode;
    store::CSettingsWatcher m_settingsWatcher;
    // Above zero while a question, a save or a menu of the window runs.
    int m_nBusy;

    // The types of the attached panels ending with BG_HW_NONE (m_pDevTypes points here),
    // and their keys as the library gave them, by device index.
    std::vector<tagBGDevHWType> m_types;
    std::vector<std::string> m_keys;
    // The panel on show went (IsCurrentDetached): its type and key.
    bool m_bDetached;
    tagBGDevHWType m_detachedType;
    std::string m_detachedKey;
    HDEVNOTIFY m_hPanelNotices;
};

// The main window of the running application, or null when there is none.
CMainDialog* GetMainDialog();

#endif
