#include "vuzoz_answer_window.h"

#include "vuzoz_module.h"

namespace vuzoz {

namespace {

const wchar_t kClassName[] = L"VUZozSimulatorAnswers";
const UINT kAnswersDueMessage = WM_APP + 1;
const UINT kPanelsChangedMessage = WM_APP + 2;
const UINT_PTR kDemoTimerId = 1;

LRESULT CALLBACK AnswerWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message == WM_NCCREATE) {
            const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            (void)SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                                    reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        AnswerHandler* handler =
            reinterpret_cast<AnswerHandler*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (handler != nullptr) {
            if (message == kAnswersDueMessage) {
                handler->OnAnswersDue(static_cast<unsigned>(wParam));
                return 0;
            }
            if (message == kPanelsChangedMessage) {
                handler->OnPanelsChanged(static_cast<unsigned>(wParam));
                return 0;
            }
            if (message == WM_TIMER && wParam == kDemoTimerId) {
                handler->OnDemoTick();
                return 0;
            }
        }
    } catch (...) {
        // Nothing may leave a window procedure; the answer in hand is lost.
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool RegisterAnswerClass(HINSTANCE instance)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = AnswerWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool AnswerWindow::Create(AnswerHandler* handler)
{
    const HINSTANCE instance = ThisModule();
    if (!RegisterAnswerClass(instance))
        return false;
    m_hwnd = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             instance, handler);
    return m_hwnd != nullptr;
}

void AnswerWindow::Destroy()
{
    if (m_hwnd == nullptr)
        return;
    // Detached from its handler, the window ignores whatever still reaches it.
    (void)SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    if (GetWindowThreadProcessId(m_hwnd, nullptr) == GetCurrentThreadId())
        (void)DestroyWindow(m_hwnd);
    else
        (void)PostMessageW(m_hwnd, WM_CLOSE, 0, 0);  // only its own thread may destroy it
    m_hwnd = nullptr;
}

bool AnswerWindow::PostAnswersDue(unsigned session)
{
    return m_hwnd != nullptr && PostMessageW(m_hwnd, kAnswersDueMessage, session, 0) != FALSE;
}

PostedNotice AnswerWindow::PanelsChangedNotice(unsigned session) const
{
    PostedNotice notice;
    notice.window = m_hwnd;
    notice.message = kPanelsChangedMessage;
    notice.wParam = session;
    return notice;
}

bool AnswerWindow::StartDemoTimer(UINT periodMs)
{
    return m_hwnd != nullptr && SetTimer(m_hwnd, kDemoTimerId, periodMs, nullptr) != 0;
}

}  // namespace vuzoz
