#include "device/device_key.h"

#include "VUZoz.h"

#include <cstdlib>

CDeviceKey::~CDeviceKey() { std::free(const_cast<char*>(m_pszKey)); }

bool CDeviceKey::Get(int nDevice) {
    std::free(const_cast<char*>(m_pszKey));
    m_pszKey = nullptr;
    const char* key = nullptr;
    if (BGGetDevKey(nDevice, &key) != BG_OK || key == nullptr)
        return false;
    m_pszKey = key;
    return true;
}
