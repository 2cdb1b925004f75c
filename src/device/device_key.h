// The device key of a panel as the device library hands it out, released with free.
#ifndef TOLLAN_DEVICE_DEVICE_KEY_H
#define TOLLAN_DEVICE_DEVICE_KEY_H

class CDeviceKey {
public:
    CDeviceKey() : m_pszKey(nullptr) {}
    ~CDeviceKey();
    CDeviceKey(const CDeviceKey&) = delete;
    CDeviceKey& operator=(const CDeviceKey&) = delete;

    // Asks the library for the key of the device; false when it gives none.
    bool Get(int nDevice);
    const char* c_str() const { return m_pszKey; }

private:
    const char* m_pszKey;
};

#endif
