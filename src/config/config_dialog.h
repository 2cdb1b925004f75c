// CConfigDialog: the base of the configuration pages. It holds the device index and
// the changed flag and declares loading and saving.
#ifndef TOLLAN_CONFIG_CONFIG_DIALOG_H
#define TOLLAN_CONFIG_CONFIG_DIALOG_H

#include "afx/afx.h"

class CConfigDialog : public CDialog {
public:
    CConfigDialog(UINT nIDTemplate, CWnd* pParent);

    virtual bool LoadConfig();
    virtual bool SaveConfig();
    // Creates the page window from its own template as a child of pParentWnd.
    virtual BOOL Create(CWnd* pParentWnd);
    using CDialog::Create;

    // When the page or the main window's brightness and blink controls hold unsaved
    // changes, asks with string 106 (Yes / No / Cancel): Yes saves, No lets them go.
    // False when whatever asked must not go on: Cancel, or a save that failed.
    bool QuerySaveChanges();

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    int m_nDevice;
    bool m_bChanged;

protected:
    // LED led fast-blinking, the other seven off.
    void HighlightLED(int led) const;
    // The user picked a row: the page has unsaved picks and Apply becomes usable.
    void MarkChanged();

private:
    static const MessageMapEntry<CConfigDialog> s_messageMap[];

    BOOL OnDestroy(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL OnClose(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};

#endif
