// The About box, opened from the main window's system menu.
#ifndef TOLLAN_MAINWND_ABOUT_DIALOG_H
#define TOLLAN_MAINWND_ABOUT_DIALOG_H

#include "afx/dialog.h"

class CAboutDialog : public CDialog {
public:
    CAboutDialog();

protected:
    // The program icon at the size of the box's scale.
    BOOL OnInitDialog() override;
};

#endif
