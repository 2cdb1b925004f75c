#include "transfer_test_support.h"

#include "afx/registry_key.h"
#include "mainwnd/device_context_menu.h"
#include "test_settings.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace transfer_test {

namespace {

void DumpKey(HKEY parent, const std::wstring& path, const std::wstring& shown, std::vector<std::wstring>* lines) {
    CKey key;
    if (key.Open(parent, path.c_str()) != ERROR_SUCCESS)
        return;
    lines->push_back(L"[" + shown + L"]");
    for (DWORD index = 0;; ++index) {
        wchar_t name[512];
        DWORD nameLength = 512;
        BYTE data[4096];
        DWORD size = sizeof(data);
        DWORD type = 0;
        if (::RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        std::wstring line = L"[" + shown + L"] " + name + L" type " + std::to_wstring(type) + L" =";
        for (DWORD i = 0; i < size; ++i) {
            wchar_t hex[4];
            std::swprintf(hex, 4, L" %02x", data[i]);
            line += hex;
        }
        lines->push_back(line);
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[512];
        DWORD length = 512;
        if (::RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        DumpKey(parent, path + L"\\" + name, shown + L"\\" + name, lines);
    }
}

std::wstring g_pickPath;
int g_pickerCalls = 0;
bool g_lastSave = false;

bool Picker(HWND, bool save, std::wstring* path) {
    ++g_pickerCalls;
    g_lastSave = save;
    if (g_pickPath.empty())
        return false;
    *path = g_pickPath;
    return true;
}

}  // namespace

std::wstring DumpStore() {
    std::vector<std::wstring> lines;
    DumpKey(HKEY_CURRENT_USER, test_settings::ProfilePath(), L"Settings", &lines);
    std::sort(lines.begin(), lines.end());
    std::wstring text;
    for (const std::wstring& line : lines)
        text += line + L"\n";
    return text;
}

std::wstring TempPath(const std::wstring& name) {
    wchar_t folder[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"tollan-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + name;
}

void WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (file == nullptr)
        return;
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

std::vector<unsigned char> ReadBytes(const std::wstring& path) {
    std::vector<unsigned char> bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr)
        return bytes;
    unsigned char buffer[4096];
    size_t read;
    while ((read = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + read);
    std::fclose(file);
    return bytes;
}

std::vector<unsigned char> Utf16File(const std::wstring& text) {
    std::vector<unsigned char> bytes = {0xFF, 0xFE};
    for (wchar_t c : text) {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>(c >> 8));
    }
    return bytes;
}

std::wstring FileText(const std::wstring& path) {
    std::vector<unsigned char> bytes = ReadBytes(path);
    std::wstring text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
    return text;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty())
        return std::string();
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        (void)::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], size,
                                    nullptr, nullptr);
    return bytes;
}

void PickPath(const std::wstring& path) {
    g_pickPath = path;
    device_menu::SetFilePicker(Picker);
}

int PickerCalls() { return g_pickerCalls; }
bool LastPickWasSave() { return g_lastSave; }

}  // namespace transfer_test
