// CMainDialog: the program's window. The device list on the left, one page for the
// selected device to its right, OK / Apply / Help and the brightness and blink controls
// along the bottom. It owns the program's use of the device library.
#ifndef TOLLAN_MAINWND_MAIN_DIALOG_H
#define TOLLAN_MAINWND_MAIN_DIALOG_H

#include "afx/afx.h"
#include "VUZoz.h"

class CErrorDialog;
class CTestDialog;
class CConfigDialog;

class CMainDialog : public CDialog {
public:
    explicit CMainDialog(CWnd* pParent = nullptr);
    ~CMainDialog() override;

    // Enables or disables Apply; TRUE if it was enabled before.
    BOOL EnableApply(BOOL bEnable);

    void ShowBrightness(BYTE level);
    void ShowBlinkPeriods(BYTE fastOn, BYTE fastOff, BYTE slowOn, BYTE slowOff);
    void ApplyBlinkPeriods();
    // Writes brightness, blink periods and type into the device's hardware section and
    // disables Apply; FALSE (Apply left as it was) when a registry write failed.
    BOOL SaveHardwareSettings(const char* deviceKey);
    void LoadHardwareSettings(const char* deviceKey);

    // The page factory: replaces the page with the one for the selected device.
    void CreatePage(BOOL bTestMode);

    static int InputCallback(tagBGDevHWType type, unsigned short device, unsigned short kind, void* data);

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    CListCtrl m_listDevices;
    CEdit m_editFastOn;
    CEdit m_editFastOff;
    CEdit m_editSlowOn;
    CEdit m_editSlowOff;
    CEdit m_editBrightness;
    CSliderCtrl m_sliderBrightness;
    CButton m_btnApply;

    int m_bTestMode;
    CErrorDialog* m_pErrorPage;
    CTestDialog* m_pTestPage;
    CConfigDialog* m_pConfigPage;
    bool m_bBrightnessLive;
    int m_nLastBrightness;
    HICON m_hIcon;
    tagBGDevHWType* m_pDevTypes;
    int m_nCurDevice;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    static const MessageMapEntry<CMainDialog> s_messageMap[];

    // Handlers of the message map.
    BOOL OnSysCommand(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL OnPaint(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL OnQueryDragIcon(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL OnClose(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
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

    void DestroyPages();
    // Replaces the page with the error page showing this text.
    void ShowErrorPage(const std::wstring& text);
    // Asks about unsaved picks of the configuration page before it goes away.
    void QuerySavePage();
    tagBGDevHWType CurrentDeviceType() const;
    int ReadBlinkEdit(const CEdit& edit) const;

    CImageList m_imageDevices;
};

// The main window of the running application, or null when there is none.
CMainDialog* GetMainDialog();

#endif
