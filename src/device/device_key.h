// The device key of a panel as the device library hands it out, released with free.
// A key names the panel's registry sections, so only a key that can name one is used:
// 1 to 200 characters, no backslash (it would make nested keys), no control characters.
#ifndef TOLLAN_DEVICE_DEVICE_KEY_H
#define TOLLAN_DEVICE_DEVICE_KEY_H

#include <string>

const size_t kMaxDeviceKeyLength = 200;

// The key can name a registry section (counted in characters of its UTF-8 text).
bool IsUsableDeviceKey(const std::string& key);

class CDeviceKey {
public:
    CDeviceKey() : m_pszKey(nullptr) {}
    ~CDeviceKey();
    CDeviceKey(const CDeviceKey&) = delete;
    CDeviceKey& operator=(const CDeviceKey&) = delete;

    // Asks the library for the key of the device; false when it gives none, or one that
    // cannot name a registry section.
    bool Get(int nDevice);
    // The key kept for a panel that is no longer attached (it was usable when taken).
    bool Keep(const std::string& key);
    const char* c_str() const { return m_pszKey; }

private:
    void Release();
    const char* m_pszKey;
};

// The key the library gives for the device, as it gives it (empty when none).
std::string LibraryDeviceKey(int nDevice);

#endif
