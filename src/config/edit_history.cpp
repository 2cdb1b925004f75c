#include "config/edit_history.h"

void CEditHistory::Record(int target, int before, int after, bool merge) {
    if (before == after)
        return;
    m_changes.resize(m_done);
    if (merge && !m_changes.empty() && m_changes.back().target == target) {
        m_changes.back().after = after;
        if (m_changes.back().before == after)
            m_changes.pop_back();
        m_done = m_changes.size();
        return;
    }
    if (m_changes.size() == kMaxChanges)
        m_changes.erase(m_changes.begin());
    m_changes.push_back(Change{target, before, after});
    m_done = m_changes.size();
}

bool CEditHistory::Undo(Change* change) {
    if (!CanUndo())
        return false;
    *change = m_changes[--m_done];
    return true;
}

bool CEditHistory::Redo(Change* change) {
    if (!CanRedo())
        return false;
    *change = m_changes[m_done++];
    return true;
}

void CEditHistory::Clear() {
    m_changes.clear();
    m_done = 0;
}
