// CEditHistory: the changes made on the page on show, for undo and redo. A change is a
// value of one target that went from one number to another: the row of a list (the list's
// control id, the row before and after) or any other value a control holds (the
// brightness, a blink period). Whoever applies an undone or redone change sets the target
// to the value it is given.
#ifndef TOLLAN_CONFIG_EDIT_HISTORY_H
#define TOLLAN_CONFIG_EDIT_HISTORY_H

#include <cstddef>
#include <vector>

class CEditHistory {
public:
    struct Change {
        int target;  // a control id
        int before;
        int after;
    };

    // The oldest change is forgotten beyond this many.
    static const size_t kMaxChanges = 1000;

    // Adds a change and forgets what could have been redone. A change that leaves the value
    // as it was is no change. With merge, a change of the same target as the last one
    // recorded (and not undone) extends that one instead, as the steps of one slider drag
    // or the digits typed into one field are one change; extended back to its first value
    // it is dropped.
    void Record(int target, int before, int after, bool merge = false);
    bool CanUndo() const { return m_done > 0; }
    bool CanRedo() const { return m_done < m_changes.size(); }
    // The change to take back: its target goes back to before. False when there is none.
    bool Undo(Change* change);
    // The change to make again: its target goes to after. False when there is none.
    bool Redo(Change* change);
    void Clear();

private:
    std::vector<Change> m_changes;
    size_t m_done = 0;  // changes [0, m_done) are made, the rest were undone
};

#endif
