// Tollan's entry point and its one application object.
#include "app/configurator_app.h"

CConfiguratorApp theApp;

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int) {
    int result = AfxWinMain(hInstance);
    return result != 0 ? result : theApp.m_nExitCode;
}
