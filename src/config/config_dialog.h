// CConfigDialog: the base of the configuration pages. It holds the device index, the
// changed flag and the history of the page's changes, and declares loading and saving. The
// main window keeps one page per panel type and points it at whichever device of that type
// is shown.
#ifndef TOLLAN_CONFIG_CONFIG_DIALOG_H
#define TOLLAN_CONFIG_CONFIG_DIALOG_H

#include "afx/afx.h"
#include "config/edit_history.h"

#include <string>

class CDeviceKey;
class CPageHost;

class CConfigDialog : public CDialog {
public:
    // m_nDevice of a page built ahead of its first use: it holds no device, reads no
    // settings and sends nothing until it is pointed at one.
    static const int kNoDevice = -1;

    CConfigDialog(UINT nIDTemplate, CWnd* pParent);

    // The window that shows the page; null: the page stands alone and asks nobody.
    void SetHost(CPageHost* host) { m_pHost = host; }

    virtual bool LoadConfig();
    virtual bool SaveConfig();
    // The store holds something else for the device than what the page loaded or last saved:
    // it was changed outside Tollan.
    virtual bool StoreChangedOutside() const { return false; }
    // What the page and the brightness and blink controls show is not what the store holds:
    // a save would change something.
    virtual bool ShownDiffersFromStored() const { return true; }
    // The page keeps its changes over a change made outside Tollan: what is stored now counts
    // as what the page loaded.
    virtual void AcceptStored() {}
    // Creates the page window from its own template as a child of pParentWnd.
    virtual BOOL Create(CWnd* pParentWnd);
    using CDialog::Create;

    // Makes the page the one of device: the LEDs and lists as a page freshly made for it
    // has them, its settings loaded. OnInitDialog (of a page not built ahead) and every
    // later switch come through here.
    virtual void PointAtDevice(int device);
    // The page stops being the one of its device, which is left as a page that goes away
    // leaves it (all LEDs off); until it is pointed at a device again it sends nothing,
    // not even when its window is destroyed.
    void LeaveDevice();
    // The page's panel went (unplugged): the page keeps its picks and the panel's key, which
    // a save still writes to, and sends nothing; LeaveDevice has nothing left to switch off.
    void Detach(const std::string& deviceKey);
    // The page's panel is attached again, as device: the page is its page again, picks kept,
    // and the LEDs are as the page has them (the row of the focused list blinking).
    void Reattach(int device);
    bool IsDetached() const { return m_bDetached; }

    // When the page or the main window's brightness and blink controls hold unsaved
    // changes, asks with string 106 (Yes / No / Cancel): Yes saves, No lets them go.
    // False when whatever asked must not go on: Cancel, or a save that failed.
    bool QuerySaveChanges();

    // What the page shows differs from what it loaded or saved last.
    virtual bool DiffersFromStored() const;
    // The page shows what it loaded or saved last again; its history is cleared.
    virtual void RevertToStored();

    // The changes made since the page was loaded or saved, the last one first to undo. The
    // page records the picks of its lists (target: the list's control id, values: rows);
    // the host records changes of its brightness and blink controls here too, and receives
    // them back (CPageHost::SetHardwareValue) when they are undone or redone.
    CEditHistory& History() { return m_history; }
    // Takes back or makes again the last change of the history; false when there was none.
    // The page's commands ID_PAGE_UNDO and ID_PAGE_REDO do the same.
    bool Undo();
    bool Redo();

    // The state of the panel's buttons or switches (bit k: input k) as the device reported
    // it, in configuration mode, while the page is the one shown.
    virtual void OnPanelInput(BYTE buttons);

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    int m_nDevice;
    // The page differs from what it loaded or saved last (DiffersFromStored, kept up to date).
    bool m_bChanged;
    // The page is the one of m_nDevice (it has not left it).
    bool m_bHoldsDevice;

protected:
    // The key the page loads and saves under: its device's, or the one kept while detached.
    bool GetDeviceKey(CDeviceKey& key) const;
    // LED led fast-blinking, the other seven off.
    void HighlightLED(int led) const;
    // Something the page shows changed: m_bChanged follows DiffersFromStored, and Apply
    // follows it.
    void UpdateChanged();
    // Sets one of the page's own targets to value; false when target is none of them.
    virtual bool SetTarget(int target, int value);

    CPageHost* m_pHost;

private:
    bool m_bDetached;
    std::string m_strDetachedKey;

    static const MessageMapEntry<CConfigDialog> s_messageMap[];

    void OnUndo(UINT nID);
    void OnRedo(UINT nID);
    void SetChangedTarget(int target, int value);

    CEditHistory m_history;

    BOOL OnDestroy(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL OnClose(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};

#endif
