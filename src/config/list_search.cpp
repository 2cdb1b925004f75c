#include "config/list_search.h"

#include <commctrl.h>

namespace {

const UINT_PTR kSubclassId = 0x5EA7;
const UINT_PTR kEndTimerId = 0x5EA7;

}  // namespace

namespace list_search {

std::wstring Fold(const std::wstring& text) {
    std::wstring folded(text);
    if (!folded.empty())
        (void)::CharLowerBuffW(&folded[0], static_cast<DWORD>(folded.size()));
    return folded;
}

int FindItem(const std::vector<std::wstring>& foldedLabels, const std::wstring& foldedText, int start, bool wrap) {
    const int count = static_cast<int>(foldedLabels.size());
    if (foldedText.empty() || count == 0)
        return -1;
    if (start < 0 || start >= count)
        start = wrap ? 0 : count;
    for (int n = 0; n < count; ++n) {
        const int item = start + n;
        if (item >= count && !wrap)
            break;
        const int wrapped = item % count;
        if (foldedLabels[static_cast<size_t>(wrapped)].find(foldedText) != std::wstring::npos)
            return wrapped;
    }
    return -1;
}

HWND CreateTextWindow(HWND page) {
    HWND text = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_BORDER | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, page,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextWindowId)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (text != nullptr)
        (void)::SendMessageW(text, WM_SETFONT, ::SendMessageW(page, WM_GETFONT, 0, 0), FALSE);
    return text;
}

}  // namespace list_search

CListSearch::CListSearch() : m_keyWindow(nullptr), m_labels(nullptr), m_lastKeyTime(0), m_tipShown(false) {}

CListSearch::~CListSearch() { Detach(); }

bool CListSearch::Attach(const CComboBox& list, const std::vector<std::wstring>* foldedLabels, HWND tip) {
    Detach();
    m_list = list;
    m_labels = foldedLabels;
    m_tip.m_hWnd = tip;
    // An editable list takes its keys in its edit field.
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    HWND keyWindow = list.m_hWnd;
    if (list.GetComboBoxInfo(&info) && info.hwndItem != nullptr)
        keyWindow = info.hwndItem;
    if (!::SetWindowSubclass(keyWindow, KeyProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_keyWindow = keyWindow;
    return true;
}

void CListSearch::Detach() {
    if (m_keyWindow == nullptr)
        return;
    if (::IsWindow(m_keyWindow)) {
        (void)::KillTimer(m_keyWindow, kEndTimerId);
        (void)::RemoveWindowSubclass(m_keyWindow, KeyProc, kSubclassId);
    }
    m_keyWindow = nullptr;
}

void CListSearch::Reset() {
    if (!m_text.empty() || m_tipShown)
        EndSearch();
    m_lastText.clear();
    m_lastKeyTime = 0;
}

LRESULT CALLBACK CListSearch::KeyProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR self) {
    CListSearch* search = reinterpret_cast<CListSearch*>(self);
    switch (message) {
    case WM_CHAR:
        // Letters, digits and the like search; Backspace takes the last one back. Tab,
        // Enter, Escape and control keys keep their meaning.
        if (wParam >= L' ' || wParam == L'\b') {
            search->OnChar(static_cast<wchar_t>(wParam));
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_F3) {
            search->OnNextMatch();
            return 0;
        }
        if (wParam == VK_ESCAPE || wParam == VK_RETURN || wParam == VK_TAB)
            search->EndSearch();
        break;
    case WM_MOUSEWHEEL:
        // The wheel over an editable list turns its selection, as over any other list.
        if (hWnd != search->m_list.m_hWnd)
            return search->m_list.SendMessage(WM_MOUSEWHEEL, wParam, lParam);
        break;
    case WM_TIMER:
        if (wParam == kEndTimerId) {
            search->EndSearch();
            return 0;
        }
        break;
    case WM_KILLFOCUS:
        search->EndSearch();
        break;
    case WM_NCDESTROY:
        search->Detach();
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hWnd, message, wParam, lParam);
}

void CListSearch::OnChar(wchar_t c) {
    const DWORD now = ::GetTickCount();
    if (now - m_lastKeyTime > kKeystrokeGapMs)
        m_text.clear();
    m_lastKeyTime = now;
    if (c == L'\b') {
        if (m_text.empty())
            return;
        m_text.pop_back();
    } else {
        m_text.push_back(c);
    }
    if (m_text.empty()) {
        EndSearch();
        return;
    }
    m_lastText = m_text;
    (void)::SetTimer(m_keyWindow, kEndTimerId, kKeystrokeGapMs, nullptr);
    ShowTip();
    Search(0, false);
}

void CListSearch::OnNextMatch() {
    if (m_lastText.empty())
        return;
    Search(m_list.GetCurSel() + 1, true);
}

void CListSearch::Search(int start, bool wrap) {
    if (m_labels == nullptr)
        return;
    const int item = list_search::FindItem(*m_labels, list_search::Fold(m_lastText), start, wrap);
    // Text that no label contains selects nothing: the list keeps its row.
    if (item >= 0 && item < m_list.GetCount())
        Select(item);
}

void CListSearch::Select(int item) const {
    if (m_list.GetDroppedState()) {
        (void)m_list.SetCurSel(item);  // only the highlight: Enter or a click picks
        return;
    }
    if (m_list.GetCurSel() == item)
        return;
    (void)m_list.SetCurSel(item);
    // The owner hears of the new selection as it hears of a key that moved it.
    HWND owner = ::GetParent(m_list.m_hWnd);
    (void)::SendMessageW(owner, WM_COMMAND, MAKEWPARAM(m_list.GetDlgCtrlID(), CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(m_list.m_hWnd));
}

void CListSearch::ShowTip() {
    if (m_tip.m_hWnd == nullptr)
        return;
    m_tip.SetWindowText(m_text.c_str());
    SIZE size = {};
    HDC dc = ::GetDC(m_tip.m_hWnd);
    if (dc != nullptr) {
        HGDIOBJ old = ::SelectObject(dc, m_tip.GetFont());
        (void)::GetTextExtentPoint32W(dc, m_text.c_str(), static_cast<int>(m_text.size()), &size);
        (void)::SelectObject(dc, old);
        (void)::ReleaseDC(m_tip.m_hWnd, dc);
    }
    // Just above the list, where neither the list nor its open part covers it.
    RECT rect = {};
    (void)::GetWindowRect(m_list.m_hWnd, &rect);
    (void)::MapWindowPoints(nullptr, ::GetParent(m_tip.m_hWnd), reinterpret_cast<POINT*>(&rect), 2);
    const int width = size.cx + 2 * ::GetSystemMetrics(SM_CXBORDER) + 4;
    const int height = size.cy + 2 * ::GetSystemMetrics(SM_CYBORDER);
    (void)::SetWindowPos(m_tip.m_hWnd, HWND_TOP, rect.left, rect.top - height, width, height,
                         SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m_tipShown = true;
}

void CListSearch::EndSearch() {
    m_text.clear();
    if (m_keyWindow != nullptr)
        (void)::KillTimer(m_keyWindow, kEndTimerId);
    if (m_tip.m_hWnd != nullptr && m_tipShown)
        (void)m_tip.ShowWindow(SW_HIDE);
    m_tipShown = false;
}
