// CPageHost: what a configuration page needs from the window that shows it. The window
// keeps the controls the page's panel shares with every page (Apply, the brightness slider
// and the blink periods); the page asks it through this and knows nothing else of it.
#ifndef TOLLAN_CONFIG_PAGE_HOST_H
#define TOLLAN_CONFIG_PAGE_HOST_H

#include <windows.h>

class CConfigDialog;
namespace store {
struct PanelSettings;
struct SettingSection;
}  // namespace store

class CPageHost {
public:
    // Enables or disables Apply; TRUE if it was enabled before.
    virtual BOOL EnableApply(BOOL bEnable) = 0;
    // Apply enabled exactly when something is unsaved.
    virtual void UpdateApply() = 0;
    // The brightness and blink controls show something else than is stored, changed by the
    // user, and they are page's (the page shown).
    virtual bool HardwareChanged(const CConfigDialog& page) const = 0;
    // The user let the brightness and blink changes go.
    virtual void DropHardwareChanges() = 0;
    // The brightness and blink controls, and the device, take what stored holds.
    virtual void LoadHardwareSettings(const store::PanelSettings& stored) = 0;
    // What stored holds for the brightness and blink periods is what the controls are
    // compared with from now on; they keep what they show.
    virtual void AcceptStoredHardware(const store::PanelSettings& stored) = 0;
    // What saving the hardware section writes (brightness, blink periods, type, in that order);
    // once it is stored, HardwareSettingsSaved.
    virtual void WriteHardwareSettings(store::SettingSection& section) const = 0;
    virtual void HardwareSettingsSaved() = 0;
    // An undone or redone change of the page's history that is the window's: the brightness
    // (IDC_BRIGHTNESS_SLIDER) or a blink period (IDC_FAST_ON ... IDC_SLOW_OFF) takes value,
    // on the screen and on the panel.
    virtual void SetHardwareValue(int target, int value) = 0;

protected:
    ~CPageHost() = default;
};

#endif
