// Makes controls from their layout tag names. The library's own controls
// are registered here; more classes are added with Register.
#pragma once

#include <windows.h>

namespace DuiLib {

class CControlUI;

typedef CControlUI* (*CreateControlFn)();

class CControlFactory {
public:
    // Null for a tag nobody registered.
    static CControlUI* Create(LPCSTR pstrTag);
    static void Register(LPCSTR pstrTag, CreateControlFn fn);
};

}  // namespace DuiLib
