// Delegates and event sources: a control's OnNotify/OnEvent lists call
// member functions "bool X::f(void* param)" or plain functions of the same
// shape. A handler that returns false stops the rest of the list.
#pragma once

#include <cstring>
#include <memory>
#include <vector>

namespace DuiLib {

class CDelegateBase {
public:
    virtual ~CDelegateBase() = default;
    virtual CDelegateBase* Copy() const = 0;
    virtual bool Invoke(void* param) = 0;
    // Same target and same function: how "-=" finds the one to remove.
    virtual bool Equals(const CDelegateBase& other) const = 0;
    bool operator()(void* param) { return Invoke(param); }
};

class CDelegateStatic : public CDelegateBase {
public:
    typedef bool (*Fn)(void*);
    explicit CDelegateStatic(Fn fn) : m_fn(fn) {}
    CDelegateBase* Copy() const override { return new CDelegateStatic(*this); }
    bool Invoke(void* param) override { return m_fn(param); }
    bool Equals(const CDelegateBase& other) const override
    {
        auto* o = dynamic_cast<const CDelegateStatic*>(&other);
        return o && o->m_fn == m_fn;
    }

private:
    Fn m_fn;
};

template <class O, class T>
class CDelegate : public CDelegateBase {
public:
    typedef bool (T::*Fn)(void*);
    CDelegate(O* pObj, Fn fn) : m_obj(pObj), m_fn(fn) {}
    CDelegateBase* Copy() const override { return new CDelegate(*this); }
    bool Invoke(void* param) override { return (static_cast<T*>(m_obj)->*m_fn)(param); }
    bool Equals(const CDelegateBase& other) const override
    {
        auto* o = dynamic_cast<const CDelegate*>(&other);
        return o && o->m_obj == m_obj && o->m_fn == m_fn;
    }

private:
    O* m_obj;
    Fn m_fn;
};

template <class O, class T>
CDelegate<O, T> MakeDelegate(O* pObject, bool (T::*pFn)(void*))
{
    return CDelegate<O, T>(pObject, pFn);
}

inline CDelegateStatic MakeDelegate(bool (*pFn)(void*))
{
    return CDelegateStatic(pFn);
}

class CEventSource {
public:
    CEventSource() = default;
    CEventSource(const CEventSource&) = delete;
    CEventSource& operator=(const CEventSource&) = delete;

    explicit operator bool() const { return !m_delegates.empty(); }
    void operator+=(const CDelegateBase& d);
    void operator+=(bool (*pFn)(void*));
    void operator-=(const CDelegateBase& d);
    void operator-=(bool (*pFn)(void*));
    // Calls every handler in order; false as soon as one returns false.
    bool operator()(void* param);
    void Clear() { m_delegates.clear(); }

private:
    std::vector<std::shared_ptr<CDelegateBase>> m_delegates;
};

}  // namespace DuiLib
