// The device list's context menu: copy settings from another stored panel of the same
// type, export one panel's or every panel's settings to a file, import a file, and revert
// the unsaved changes of the panel on show. It acts
// on the panel under the mouse, or on the selected one when opened from the keyboard.
#ifndef TOLLAN_MAINWND_DEVICE_CONTEXT_MENU_H
#define TOLLAN_MAINWND_DEVICE_CONTEXT_MENU_H

#include <windows.h>

#include <string>
#include <vector>

class CMainDialog;

namespace device_menu {

// Asks the user for a file to save to (save) or to open; false when the user cancelled.
// On a save, path holds the file name proposed to the user.
typedef bool (*FilePicker)(HWND owner, bool save, std::wstring* path);
// Replaces the common Open and Save dialogs (tests); null restores them.
void SetFilePicker(FilePicker picker);

// A panel whose settings can be copied: its device key and how the menu names it.
struct CopySource {
    std::wstring deviceKey;
    std::wstring label;  // "Panel 2" or "Not attached: <key>"
};

class CDeviceContextMenu {
public:
    CDeviceContextMenu(CMainDialog& main, int device);

    // The device key of the panel; empty when the library gives none (then no menu).
    const std::wstring& DeviceKey() const { return m_deviceKey; }
    const std::vector<CopySource>& CopySources() const { return m_sources; }
    // A new popup menu; the caller destroys it.
    HMENU Build() const;
    // Carries out a command of the menu.
    void Run(UINT command);

private:
    void CopyFrom(const CopySource& source);
    void Export(bool all);
    void Import();
    // The store of the panel changed: reload the page or send the hardware settings.
    void Reload(int device, const std::wstring& deviceKey);
    std::wstring PanelLabel(int device) const;
    bool IsCurrent() const;

    CMainDialog& m_main;
    int m_device;
    DWORD m_type;
    std::wstring m_deviceKey;
    std::vector<std::wstring> m_attachedKeys;  // by device index
    std::vector<CopySource> m_sources;
};

// WM_CONTEXTMENU of the main window: shows the menu when it came from the device list.
BOOL OnDeviceListContextMenu(CMainDialog& main, HWND from, LPARAM screenPoint);

}  // namespace device_menu

#endif
