#include "library/EditHistory.h"

EditHistory g_editHistory;

void EditHistory::Reset(const std::string& file)
{
    m_entries.clear();
    if (!file.empty()) m_entries.push_back(file);
    m_index = m_entries.empty() ? -1 : 0;
}

void EditHistory::Clear()
{
    m_entries.clear();
    m_index = -1;
}

std::string EditHistory::Current() const
{
    return m_index >= 0 && m_index < (int)m_entries.size() ? m_entries[m_index] : std::string();
}

std::string EditHistory::First() const
{
    return m_entries.empty() ? std::string() : m_entries[0];
}

bool EditHistory::Undo()
{
    if (m_index < 1) return false;
    --m_index;
    return true;
}

bool EditHistory::Redo()
{
    if (m_index < 0 || m_index + 1 >= (int)m_entries.size()) return false;
    ++m_index;
    return true;
}

void EditHistory::Append(const std::string& file)
{
    m_entries.resize(m_index + 1);
    m_entries.push_back(file);
    m_index = (int)m_entries.size() - 1;
}
