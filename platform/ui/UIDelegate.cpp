#include "platform/ui/UIDelegate.h"

namespace DuiLib {

void CEventSource::operator+=(const CDelegateBase& d)
{
    for (auto& existing : m_delegates)
        if (existing->Equals(d)) return;
    m_delegates.emplace_back(d.Copy());
}

void CEventSource::operator+=(bool (*pFn)(void*))
{
    *this += CDelegateStatic(pFn);
}

void CEventSource::operator-=(const CDelegateBase& d)
{
    for (auto it = m_delegates.begin(); it != m_delegates.end(); ++it) {
        if ((*it)->Equals(d)) {
            m_delegates.erase(it);
            return;
        }
    }
}

void CEventSource::operator-=(bool (*pFn)(void*))
{
    *this -= CDelegateStatic(pFn);
}

bool CEventSource::operator()(void* param)
{
    // A handler may add or remove handlers: walk a snapshot.
    auto snapshot = m_delegates;
    for (auto& d : snapshot)
        if (!d->Invoke(param)) return false;
    return true;
}

}  // namespace DuiLib
