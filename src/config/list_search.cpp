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

Match MatchOf(const std::wstring& foldedLabel, const std::wstring& foldedText) {
    if (foldedText.empty())
        return Match::kNone;
    Match match = Match::kNone;
    for (size_t at = foldedLabel.find(foldedText); at != std::wstring::npos;
         at = foldedLabel.find(foldedText, at + 1)) {
        if (at == 0 || !::IsCharAlphaNumericW(foldedLabel[at - 1]))
            return Match::kWordStart;
        match = Match::kInsideWord;
    }
    return match;
}

int FirstMatch(const std::vector<std::wstring>& foldedLabels, const std::wstring& foldedText) {
    int inside = -1;
    const int count = static_cast<int>(foldedLabels.size());
    for (int item = 0; item < count; ++item) {
        const Match match = MatchOf(foldedLabels[static_cast<size_t>(item)], foldedText);
        if (match == Match::kWordStart)
            return item;
        if (match == Match::kInsideWord && inside < 0)
            inside = item;
    }
    return inside;
}

int NextMatch(const std::vector<std::wstring>& foldedLabels, const std::wstring& foldedText, int current) {
    // Every match in search order: those at a word's start, then those inside a word.
    std::vector<int> atStart;
    std::vector<int> inside;
    const int count = static_cast<int>(foldedLabels.size());
    for (int item = 0; item < count; ++item) {
        const Match match = MatchOf(foldedLabels[static_cast<size_t>(item)], foldedText);
        if (match == Match::kWordStart)
            atStart.push_back(item);
        else if (match == Match::kInsideWord)
            inside.push_back(item);
    }
    atStart.insert(atStart.end(), inside.begin(), inside.end());
    if (atStart.empty())
        return -1;
    for (size_t n = 0; n < atStart.size(); ++n) {
        if (atStart[n] == current)
            return atStart[(n + 1) % atStart.size()];
    }
    return atStart.front();
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
    if (m_labels == nullptr)
        return;
    // Text that no label contains selects nothing: the list keeps its row.
    const int item = list_search::FirstMatch(*m_labels, list_search::Fold(m_text));
    if (item >= 0 && item < m_list.GetCount())
        Select(item);
}

void CListSearch::OnNextMatch() {
    if (m_lastText.empty() || m_labels == nullptr)
        return;
    const int item = list_search::NextMatch(*m_labels, list_search::Fold(m_lastText), m_list.GetCurSel());
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
