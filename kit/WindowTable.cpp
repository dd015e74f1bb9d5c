#include "kit/WindowTable.h"

#include <vector>

namespace {

bool Valid(WindowId id)
{
    return id >= WindowId(0) && id < WindowId::Count;
}

}  // namespace

WindowTable& GetWindowTable()
{
    static WindowTable table;
    return table;
}

void WindowTable::SetRules(WindowId id, WindowRules rules)
{
    if (Valid(id)) m_rules[(int)id] = rules;
}

const WindowRules& WindowTable::Rules(WindowId id) const
{
    static const WindowRules none;
    return Valid(id) ? m_rules[(int)id] : none;
}

void WindowTable::Register(WindowId id, WindowEntry entry)
{
    if (Valid(id)) m_entries[(int)id] = std::move(entry);
}

void WindowTable::Clear()
{
    for (int i = 0; i < (int)WindowId::Count; ++i) {
        m_rules[i] = WindowRules();
        m_entries[i] = WindowEntry();
        m_open[i] = nullptr;
    }
}

bool WindowTable::Has(WindowId id) const
{
    return Valid(id) && m_entries[(int)id].open != nullptr;
}

const WindowEntry& WindowTable::Entry(WindowId id) const
{
    static const WindowEntry none;
    return Valid(id) ? m_entries[(int)id] : none;
}

DuiLib::CWindowWnd* WindowTable::Current(WindowId id) const
{
    return Valid(id) ? m_open[(int)id] : nullptr;
}

void WindowTable::Hold(WindowId id, DuiLib::CWindowWnd* window)
{
    if (Valid(id) && m_rules[(int)id].reuse != WindowReuse::NotKept) m_open[(int)id] = window;
}

DuiLib::CWindowWnd* WindowTable::Open(WindowId id, const WindowRequest& request)
{
    if (!Has(id)) return nullptr;
    const WindowReuse reuse = m_rules[(int)id].reuse;
    if (DuiLib::CWindowWnd* open = m_open[(int)id]) {
        if (reuse == WindowReuse::BringForward) BringForward(open);
        return open;
    }
    // The entry's function may register or open other windows: it is copied
    // before the call.
    auto make = m_entries[(int)id].open;
    DuiLib::CWindowWnd* window = make(request);
    if (window && reuse != WindowReuse::NotKept) m_open[(int)id] = window;
    return window;
}

void WindowTable::Forget(const DuiLib::CWindowWnd* window)
{
    if (!window) return;
    for (DuiLib::CWindowWnd*& open : m_open)
        if (open == window) open = nullptr;
}

void WindowTable::Close(WindowId id)
{
    DuiLib::CWindowWnd* window = Current(id);
    if (!window) return;
    // Let go first: the window may end (and be deleted) inside its close.
    m_open[(int)id] = nullptr;
    auto close = m_entries[(int)id].close;
    if (close)
        close(*window);
    else if (::IsWindow(window->GetHWND()))
        window->Close(1);
}

bool WindowTable::MayCloseAll()
{
    for (int i = 0; i < (int)WindowId::Count; ++i) {
        auto mayClose = m_entries[i].mayClose;
        if (m_open[i] && mayClose && !mayClose(*m_open[i])) return false;
    }
    return true;
}

void WindowTable::CloseAll(const std::vector<WindowId>& first)
{
    for (WindowId id : first) Close(id);
    for (int i = 0; i < (int)WindowId::Count; ++i) Close(WindowId(i));
}

void WindowTable::BringForward(DuiLib::CWindowWnd* window)
{
    if (!window || !::IsWindow(window->GetHWND())) return;
    window->ShowWindow(true);
    ::SetForegroundWindow(window->GetHWND());
}
