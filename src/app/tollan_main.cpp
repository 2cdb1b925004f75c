// Tollan's entry point and its one application object.
#include "app/configurator_app.h"

CConfiguratorApp theApp;

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int) { return AfxWinMain(hInstance); }
