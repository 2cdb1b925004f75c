#include "device/device_key.h"

#include "VUZoz.h"

#include <cstdlib>
#include <cstring>

bool IsUsableDeviceKey(const std::string& key) {
    if (key.empty())
        return false;
    size_t characters = 0;
    for (unsigned char c : key) {
        if (c < 0x20 || c == 0x7F || c == '\\')
            return false;
        // Continuation bytes of UTF-8 do not start a character.
        if ((c & 0xC0) != 0x80)
            ++characters;
    }
    return characters <= kMaxDeviceKeyLength;
}

std::string LibraryDeviceKey(int nDevice) {
    const char* key = nullptr;
    if (BGGetDevKey(nDevice, &key) != BG_OK || key == nullptr)
        return std::string();
    std::string text(key);
    std::free(const_cast<char*>(key));
    return text;
}

CDeviceKey::~CDeviceKey() { Release(); }

void CDeviceKey::Release() {
    std::free(const_cast<char*>(m_pszKey));
    m_pszKey = nullptr;
}

bool CDeviceKey::Get(int nDevice) {
    Release();
    const char* key = nullptr;
    if (BGGetDevKey(nDevice, &key) != BG_OK || key == nullptr)
        return false;
    m_pszKey = key;
    if (IsUsableDeviceKey(m_pszKey))
        return true;
    Release();
    return false;
}

bool CDeviceKey::Keep(const std::string& key) {
    Release();
    if (!IsUsableDeviceKey(key))
        return false;
    char* copy = static_cast<char*>(std::malloc(key.size() + 1));
    if (copy == nullptr)
        return false;
    std::memcpy(copy, key.c_str(), key.size() + 1);
    m_pszKey = copy;
    return true;
}
