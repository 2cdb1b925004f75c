// Finding a row of a vocabulary list by any part of its label. Letters typed into the list
// within a second of each other make up a search text that is looked for, case-insensitive,
// in every label, and shown in a small box just above the list while the search goes on. A
// label where the text begins a word comes before one where it begins inside a word ("light"
// finds "All Lights" before "Flight Director"), and labels of the same kind come in item
// order. In a closed list the first such row becomes the selection at once, and the list's
// owner hears of it as of any key that changes the selection (CBN_SELCHANGE); in an open list
// only the highlight moves, and Enter or a click picks it. F3 goes on to the next row in the
// same order, coming round at the end. The search replaces the list's own first-letter search.
#ifndef TOLLAN_CONFIG_LIST_SEARCH_H
#define TOLLAN_CONFIG_LIST_SEARCH_H

#include "afx/controls.h"

#include <string>
#include <vector>

namespace list_search {

// Lower-case copy of text, for comparing without regard to case.
std::wstring Fold(const std::wstring& text);

// How a folded label holds folded text: not at all, only inside words, or at the start of
// a word somewhere (at its first character or after one that is neither letter nor digit).
enum class Match { kNone, kInsideWord, kWordStart };
Match MatchOf(const std::wstring& foldedLabel, const std::wstring& foldedText);

// The item a search for folded text finds first; -1 when none holds it or text is empty.
int FirstMatch(const std::vector<std::wstring>& foldedLabels, const std::wstring& foldedText);
// The item the search finds after item current, coming round after the last; the first one
// when current holds no match.
int NextMatch(const std::vector<std::wstring>& foldedLabels, const std::wstring& foldedText, int current);

// The control id of the box that shows the search text on a page.
const int kTextWindowId = 0x5EA7;

// The hidden box on page that shows the search text of its lists.
HWND CreateTextWindow(HWND page);

}  // namespace list_search

class CListSearch {
public:
    // Letters further apart than this start a new search text.
    static const DWORD kKeystrokeGapMs = 1000;

    CListSearch();
    ~CListSearch();
    CListSearch(const CListSearch&) = delete;
    CListSearch& operator=(const CListSearch&) = delete;

    // Searches list, whose items have the folded labels foldedLabels (which outlive this),
    // and shows the text in the box tip. False when the list's keys could not be taken over.
    bool Attach(const CComboBox& list, const std::vector<std::wstring>* foldedLabels, HWND tip);
    void Detach();
    // Forgets the search text, also the one F3 would look for again, and hides its box.
    void Reset();

    // The search text as typed so far; empty when no search goes on.
    const std::wstring& Text() const { return m_text; }

private:
    static LRESULT CALLBACK KeyProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);
    void OnChar(wchar_t c);
    void OnNextMatch();
    void Select(int item) const;
    void ShowTip();
    void EndSearch();

    CComboBox m_list;
    HWND m_keyWindow;  // the list itself, or the edit of an editable list
    const std::vector<std::wstring>* m_labels;
    CStatic m_tip;
    std::wstring m_text;
    std::wstring m_lastText;  // what F3 looks for once the search has ended
    DWORD m_lastKeyTime;
    bool m_tipShown;
};

#endif
