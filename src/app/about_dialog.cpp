#include "app/about_dialog.h"

#include "resource.h"

CAboutDialog::CAboutDialog() : CDialog(IDD_ABOUTBOX) {}
