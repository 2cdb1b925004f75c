// The question about unsaved picks before an action on the stored settings (Export, Import,
// saving or switching a profile): Yes stores them first, No goes on and leaves them on the
// page as unsaved as they were, Cancel stops the action.
#ifndef TOLLAN_MAINWND_UNSAVED_PICKS_QUESTION_H
#define TOLLAN_MAINWND_UNSAVED_PICKS_QUESTION_H

class CMainDialog;

// False when the action must not go on: the user cancelled, or storing the picks failed
// (which the page has reported).
bool AskAboutUnsavedPicks(CMainDialog& main);

#endif
