// Publishes the main window to later starts of Tollan the moment the window exists: when
// its dialog receives WM_INITDIALOG, before anything of its own start (which may already
// ask the user something) runs. A hook of the thread that creates the dialog sees it; it is
// removed once the window is published, or at the latest when the publisher goes.
#ifndef TOLLAN_APP_MAIN_WINDOW_PUBLISHER_H
#define TOLLAN_APP_MAIN_WINDOW_PUBLISHER_H

#include "app/single_instance.h"

class CDialog;

class CMainWindowPublisher {
public:
    // dialog: the dialog whose DoModal or Create follows on this thread.
    CMainWindowPublisher(CSingleInstance& instance, const CDialog& dialog, CSingleInstance::Mode mode);
    ~CMainWindowPublisher();
    CMainWindowPublisher(const CMainWindowPublisher&) = delete;
    CMainWindowPublisher& operator=(const CMainWindowPublisher&) = delete;

private:
    static LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam);
    void Unhook();

    CSingleInstance& m_instance;
    const CDialog& m_dialog;
    CSingleInstance::Mode m_mode;
    HHOOK m_hook;
};

#endif
