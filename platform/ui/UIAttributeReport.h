// What a checking tool learns while it builds layouts: the attributes that
// no handler in a control's SetAttribute chain takes (they would otherwise
// be dropped without a trace), and every pair of an attribute list
// (ApplyAttributeList), so that values nested in lists can be checked too.
// Set per thread, so windows that other threads build meanwhile stay out
// of the report.
#pragma once

#include <windows.h>

namespace DuiLib {

class CControlUI;

class IAttributeReport {
public:
    virtual ~IAttributeReport() = default;
    virtual void UnknownAttribute(CControlUI* pControl, LPCSTR pstrName, LPCSTR pstrValue) = 0;
    virtual void ListAttribute(CControlUI* pControl, LPCSTR pstrName, LPCSTR pstrValue) = 0;
};

// The calling thread's report; returns the previous one. Null, the
// default, reports nothing.
IAttributeReport* SetThreadAttributeReport(IAttributeReport* pReport);
IAttributeReport* GetThreadAttributeReport();

}  // namespace DuiLib
