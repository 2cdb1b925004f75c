#include "mainwnd/unsaved_picks_question.h"

#include "config/config_dialog.h"
#include "mainwnd/main_dialog.h"
#include "resource.h"

bool AskAboutUnsavedPicks(CMainDialog& main) {
    if (!main.HasUnsavedChanges())
        return true;
    switch (AfxMessageBox(IDS_SAVE_PROMPT, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: {
        const bool saved = main.ConfigPage()->SaveConfig();
        main.UpdateApply();
        return saved;
    }
    case IDNO: return true;
    default: return false;
    }
}
