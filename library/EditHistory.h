// The video editor's steps: entry 0 is the file the editing started from,
// every cut or keep appends the file it wrote, undo and redo move between
// them. A new step after an undo drops the steps that were undone.
//
// Step files are named by a number that only grows for as long as the
// history lives (NextStepNumber), never by the number of entries: after
// an undo the next step must not write onto a file the history still
// holds.
//
// UI thread only (the editor's workers report their result to the window,
// which appends it).
#pragma once

#include <string>
#include <vector>

class EditHistory {
public:
    // Starts over on a file: it becomes entry 0 (no entry when empty).
    void Reset(const std::string& file);
    // Forgets every entry; the step numbers go on growing.
    void Clear();

    // The file of the current step; empty when there is none.
    std::string Current() const;
    // The file the editing started from; empty when there is none.
    std::string First() const;
    int Index() const { return m_index; }
    size_t Count() const { return m_entries.size(); }
    const std::vector<std::string>& Entries() const { return m_entries; }
    // A step beyond the first file is current: there is something to save.
    bool HasEdits() const { return m_index >= 1; }

    bool Undo();
    bool Redo();
    // The file a step wrote becomes the current step.
    void Append(const std::string& file);
    // The number of the next step's file.
    int NextStepNumber() { return ++m_stepNumber; }

private:
    std::vector<std::string> m_entries;
    int m_index = -1;
    int m_stepNumber = 0;
};

// The editor's history (library/EditorFile.h holds the file it shows).
extern EditHistory g_editHistory;
