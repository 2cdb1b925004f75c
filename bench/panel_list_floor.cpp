// The floor of the panels benchmark: a dialog with one list view over the device library
// (the simulator, loaded from the path given), which on WM_DEVICECHANGE at once takes the
// panels afresh (BGTerminate, BGInit, BGGetDevType) and fills its list with one item per
// panel. No settle time, no pages: the least a program can do to follow a plug.
//
//   panel_list_floor <VUZoz.dll>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "VUZoz.h"

namespace {

const int kListId = 1000;

typedef tagBGDevResult(BGAPI* InitFunction)(HWND);
typedef tagBGDevResult(BGAPI* TerminateFunction)();
typedef tagBGDevHWType*(BGAPI* TypesFunction)();

InitFunction g_init = nullptr;
TerminateFunction g_terminate = nullptr;
TypesFunction g_types = nullptr;

void FillList(HWND dialog) {
    HWND list = ::GetDlgItem(dialog, kListId);
    (void)::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    const tagBGDevHWType* types = g_types();
    for (int i = 0; types != nullptr && types[i] != BG_HW_NONE; ++i) {
        wchar_t text[16] = L"Panel";
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = text;
        (void)::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}

INT_PTR CALLBACK FloorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        (void)g_init(dialog);
        FillList(dialog);
        return TRUE;
    case WM_DEVICECHANGE:
        (void)g_terminate();
        (void)g_init(dialog);
        FillList(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
            (void)g_terminate();
            (void)::EndDialog(dialog, 0);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    (void)::InitCommonControlsEx(&controls);
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(commandLine, &count);
    if (arguments == nullptr || count < 1)
        return 2;
    HMODULE library = ::LoadLibraryW(arguments[0]);
    if (library == nullptr)
        return 3;
    g_init = reinterpret_cast<InitFunction>(::GetProcAddress(library, "BGInit"));
    g_terminate = reinterpret_cast<TerminateFunction>(::GetProcAddress(library, "BGTerminate"));
    g_types = reinterpret_cast<TypesFunction>(::GetProcAddress(library, "BGGetDevType"));
    if (g_init == nullptr || g_terminate == nullptr || g_types == nullptr)
        return 4;
    return static_cast<int>(::DialogBoxParamW(instance, MAKEINTRESOURCEW(1), nullptr, FloorDialogProc, 0));
}
