// A hidden message-only window that brings the simulator's answers to the thread that
// created it: answers are announced by posting a message to it, and its window procedure
// runs when that thread's message loop dispatches the message.
#ifndef VUZOZ_ANSWER_WINDOW_H
#define VUZOZ_ANSWER_WINDOW_H

#include "vuzoz_file_watcher.h"

#include <windows.h>

namespace vuzoz {

class AnswerHandler {
public:
    // session is the number given to PostAnswersDue.
    virtual void OnAnswersDue(unsigned session) = 0;
    virtual void OnDemoTick() = 0;
    // session is the number given to PanelsChangedNotice.
    virtual void OnPanelsChanged(unsigned session) = 0;

protected:
    ~AnswerHandler() {}
};

class AnswerWindow {
public:
    // Creates the window on the calling thread; the handler must outlive it.
    bool Create(AnswerHandler* handler);
    // On the creating thread the window goes at once; from another thread it is asked to
    // close itself. Either way messages still queued for it reach no handler.
    void Destroy();
    bool PostAnswersDue(unsigned session);
    bool StartDemoTimer(UINT periodMs);
    // What another thread posts to say that the attached panels changed; a post after the
    // window went reaches no one.
    PostedNotice PanelsChangedNotice(unsigned session) const;

private:
    HWND m_hwnd = nullptr;
};

}  // namespace vuzoz

#endif
